#pragma once
// Keeps the cursor inside a control while something is dragged in it.
namespace vb {
class Control;
}

namespace MausPositionAendern {
// Confines the cursor to the control's rectangle on the screen (once, until released).
void Maus_einfangen(vb::Control& Steuerelement);
// Gives the cursor back the confinement it had before.
void Maus_freigeben(vb::Control& Steuerelement);
} // namespace MausPositionAendern
