#pragma once
// A window's picture buttons and its dragging, driven as the user does it through the real
// handlers, judged by whole pictures of the window.
#include <QImage>
#include <QPoint>
#include <functional>
#include <optional>
#include <vector>

namespace vb {
class Control;
class Form;
} // namespace vb

struct Knopf {
    vb::Control* control;
    int tooltip;       // 0: none
    const char* store; // the store control that lights it
    // The face it shows lit; nullptr: its own face lit (a group member: its own face chosen).
    const char* licht = nullptr;
};

long storeHandle(const char* name);
QImage fensterbild(vb::Form& f);

// The window as it is, but with the button showing the face it should light with, at its size.
QImage mitLicht(vb::Form& f, const Knopf& k);

// Every button of the list lights alone with its store picture, which is its own face lit, and
// its tooltip; it darkens when the mouse reaches the background or leaves the button on any
// side, and leaves the whole window as it was.
void knoepfePruefen(vb::Form& f, const std::vector<Knopf>& knoepfe, const std::function<void()>& hintergrund);

// A spot of the window where the mouse reaches this control and nothing above it (nullptr: the
// window's own background).
std::optional<QPoint> stelleVon(vb::Form& f, const vb::Control* c);

// A press at p, three moves with the button held, the release and one more move, as the toolkit
// delivers them to whatever lies at p.
void ziehen(vb::Form& f, QPoint p, Qt::MouseButton knopf);
