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
#include <QImage>
#include <QSize>

namespace vb {
class Form;
struct LayoutItem;

namespace Skin {
enum class Look { Normal, Hot, Selected };
// Paints the backgrounds of the window and its layers and the own pictures of its controls.
void Paint(Form& form);
// One face at the given size.
QImage Face(const char* face, QSize px, Look look);
} // namespace Skin
} // namespace vb
