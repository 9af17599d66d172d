#pragma once
// Picture buttons: the highlight while the mouse is over a button, tooltips from the string
// table, and the background handlers that end a highlight and drag a borderless window.
#include "platform/picture/Picture.h"

#include <span>

namespace vb {
class ComboBox;
class Control;
class Form;
class Image;
class Label;
} // namespace vb

namespace Schaltflaechen {

// The picture a button or picture box shows (empty for other controls).
vb::Picture Bild(const vb::Control* c);
void Bild_setzen(vb::Control* c, const vb::Picture& p);

void Schaltflaeche_hervorheben(vb::Control& target, float X, float Y, vb::Control& source);

// Wires the hover behaviour of the window's picture buttons from the hover columns of its layout
// rows: the tooltip string (0: none), the store control in Schaltflaechenlader ("" the button's
// own name) and the pattern: 'S' tooltip and highlight, 'H' highlight only, 'T' tooltip only,
// 'G' a member of the window's button group (see Gruppe_zeigen).
// Every highlighted button's store picture is found (or derived from its face) here, when the
// window loads; a button without one throws std::logic_error.
void Hover_verdrahten(vb::Form& f);

// A window's button group (its rows of pattern 'G': the fit buttons, the scissors, the paint
// colours) has one chosen member, the one tagged "1". A member under the mouse shows its tooltip
// and its lit picture; the window's background puts the group right again with Gruppe_zeigen:
// the chosen member lit, the others bare (all bare while none is chosen).
void Gruppe_zeigen(vb::Form& f);

// Background handlers: drag the window with the left button; end the highlight (with
// nurUnterEins the control keeps it when its tag is "1" or more).
void Fenster_ziehen(vb::Form& f, int Button);
void Hover_zuruecksetzen(bool nurUnterEins);

// A thumbnail frame under the mouse takes the store's frame highlight, ending any other.
void Rahmen_hervorheben(vb::Image& rahmen, float X, float Y);

// Opens a list over its label: the other lists of its group close, label and list (and the
// controls that share their tooltip) take the tooltip (a string number; 0: none) and the list
// shows in front.
void Liste_oeffnen(vb::Label& label, vb::ComboBox& liste, int tooltip, std::span<vb::ComboBox* const> gruppe = {},
                   std::span<vb::Control* const> auchTooltip = {});

// The program's help, as the help button shows it.
void Hilfe_zeigen();
// A window's key handler: F1 shows the help and is used up.
void Hilfetaste(int& KeyCode);

} // namespace Schaltflaechen
