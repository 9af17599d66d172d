#pragma once
// Key codes as the program knows them (the virtual-key numbers: F1 is 112) and character codes.
class QKeyEvent;

namespace vb {
enum { vbKeyBack = 8, vbKeyTab = 9, vbKeyReturn = 13, vbKeyEscape = 27, vbKeySpace = 32, vbKeyF1 = 112 };
int VirtualKey(const QKeyEvent* e);
int KeyAscii(const QKeyEvent* e); // 0 when the key gives no character
} // namespace vb
