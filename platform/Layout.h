#pragma once
// One row of a window's layout table: a control's name, kind, element index and place in twips,
// the control that contains it, and the face the skin paints for it (empty: nothing painted).
#include "platform/Control.h"

namespace vb {

struct LayoutItem {
    const char* name;
    Kind kind;
    int index; // -1 outside control arrays
    double left, top, width, height;
    const char* container = ""; // "" the window; else the name of a picture box listed earlier
    const char* face = "";      // skin face, see Skin.h
};

} // namespace vb
