#pragma once
// Tests under a real window manager: an X server (Xvfb) with openbox, driven with xdotool as a
// user drives it. An outer test starts the server and runs the inner tests inside it.
#include <QPoint>
#include <QStringList>
#include <functional>

namespace openbox {
// True inside the X server that Run started.
bool Inside();
// Lets the program run until the condition holds or the time is up.
bool Wait(const std::function<bool()>& until, int ms = 5000);
// Runs xdotool while the program goes on handling its events.
bool Xdotool(const QStringList& args);
// The real pointer, moved and pressed through the X server's test extension as xdotool does,
// without starting a program for each step: to a point of the screen, a button down or up.
void PointerTo(QPoint p);
void Button(int button, bool down);
// A click, or a double-click, of a button at the pointer.
void Click(int button, int times = 1);
// Starts Xvfb (width x height) with openbox and runs, inside it, each "program:filter" of this
// test program's folder in turn; expects that many tests to pass and none to be skipped.
void Run(const QStringList& runs, int tests, int width, int height);
} // namespace openbox
