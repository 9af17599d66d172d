#pragma once
// The windows' skin, painted from their layout tables: the background of a window or layer
// shows every button in its normal look; the highlight pictures show the same face lit.
//
// Faces (the layout table's last column):
//   "btn:<glyph>[:<caption>]"  a button drawn on its container's background
//   "own:<glyph>[:<caption>]"  the same look, carried by the control as its own picture
//   "tab:<caption>" / "tabon:<caption>"  a tab in its back and front look, as the control's own picture
//   "panel" "well" "title" "frame" "display"  areas drawn on the background
//   "layer"  a picture box whose own background is painted with its children's faces
//   "multi"  (text boxes) several lines
//   "combo"  a closed list drawn on the background; a label with this face writes its caption
//            where the list writes its text, clear of the arrow (Label::ListLook)
#include "platform/picture/Colour.h"

#include <QImage>
#include <QSize>

namespace vb {
class Form;
struct LayoutItem;

namespace Skin {
// The skin's colours (runtime colour values), also for the windows that fill with them.
namespace Colour {
inline constexpr long Body = RGB(0xDD, 0xE3, 0xE7), BodyDark = RGB(0xC6, 0xD0, 0xD6);
inline constexpr long Title = RGB(0x1F, 0x4B, 0x5A), Title2 = RGB(0x2F, 0x6B, 0x7C), Ink = RGB(0x1E, 0x2B, 0x31);
inline constexpr long Button = RGB(0xF6, 0xF8, 0xF9), ButtonEdge = RGB(0x8C, 0x9C, 0xA6);
inline constexpr long Hot = RGB(0xFF, 0xDD, 0x7A), HotEdge = RGB(0xC0, 0x8E, 0x12);
inline constexpr long Selected = RGB(0xA8, 0xD8, 0xB0), SelectedEdge = RGB(0x3E, 0x8A, 0x4C);
inline constexpr long Well = RGB(0x34, 0x44, 0x4B), WellEdge = RGB(0x1A, 0x24, 0x28), Frame = RGB(0xF0, 0xF3, 0xF5);
inline constexpr long DisplayBezel = RGB(0x3B, 0x44, 0x48);
// The phone display's green, and the paler green of its unlit pixels.
inline constexpr long DisplayGreen = RGB(123, 139, 90), DisplayPale = RGB(155, 164, 126);
} // namespace Colour

enum class Look { Normal, Hot, Selected };
// Paints the backgrounds of the window and its layers and the own pictures of its controls.
void Paint(Form& form);
// Paints the own picture of one control of the window (a row added after the window loaded).
void PaintControl(Form& form, const LayoutItem& row);
// One face at the given size.
QImage Face(const char* face, QSize px, Look look);
} // namespace Skin
} // namespace vb
