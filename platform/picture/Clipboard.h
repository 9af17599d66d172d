#pragma once
// The system clipboard; its content is replaced by every picture put there.
#include <QImage>

namespace vb::Clipboard {
void Clear();
void SetData(const QImage& picture); // bitmap format
QImage GetData();
} // namespace vb::Clipboard
