#pragma once
// Everything a test may replace in the runtime, in one place: the answers of dialogs and
// message boxes, the shell and help viewer, the end of the program, the screen, the cursor, the
// window manager's moves, the folders and mounted volumes, the key-value store file, the phone
// link's devices, the random numbers, the desktop picture and screenshot portal, the scanner's
// windows and the clipboard.
// Tests reset all of it at once (ResetSeams, which also gives up the single-instance claim)
// or change one entry for a scope (Scoped). A new seam is a member here with its real-world
// default, read where the runtime uses it; ResetSeams and the fixture then cover it.
#include "platform/system/CommonDialog.h"
#include "platform/window/DriveListBox.h"
#include "platform/system/HelpViewer.h"
#include "platform/system/MsgBox.h"
#include "platform/system/Rnd.h"
#include "platform/window/Screen.h"
#include "platform/system/Shell.h"
#include "platform/capture/Twain.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <utility>

namespace vb {

class Form;

struct PortalOverride {
    QString address;
    int timeoutMs = 60000;
};

struct Seams {
    // Called whenever a window is shown modally, after its activation.
    std::function<void(Form&)> modal;
    MsgBoxHandler msgBox;                 // empty: the real message box
    DialogHook dialog;                    // empty: the real dialogs
    Shell::Hook shell;                    // empty: the real desktop
    Help::ViewerHook helpViewer;          // empty: the real help window
    std::function<void(int)> endHandler;  // empty: the process ends; else it is told and App::Ended is thrown

    std::optional<ScreenMetrics> screen;  // empty: the real display
    std::optional<QPoint> cursor;         // empty: the real cursor
    std::optional<QRect> cursorClip;      // the rectangle the cursor is kept in
    std::function<void(Form&)> systemMove; // empty: the window manager moves the window

    QString programFolder;                // empty: the executable's folder
    QString systemFolder = QStringLiteral("/etc");
    QString storeFile;                    // empty: the user's configuration folder
    std::optional<std::vector<Volume>> volumes; // empty: the volumes the system has mounted

    std::array<QString, 4> comPortDevices; // empty entry: the default device of that port
    int phoneLinkTimeoutMs = 1000;
    int phoneCablePowerUpMs = 1000;       // wait after raising the cable's supply line

    RndSource rnd;                        // empty: the program's own random numbers

    // The desktop as a screen grab reads it (a null picture: the screen cannot be read); empty:
    // the real screens.
    std::optional<QImage> desktop;
    // The screenshot portal on the bus at this address, with its answer timeout; empty: decided
    // by the session.
    std::optional<PortalOverride> portal;
    // Answers for the scanner's windows: the source window once its search has ended, the scan
    // window at each event. Empty: they run as for the user.
    std::function<void(ScanSourceWindow&)> scanSourceWindow;
    std::function<void(ScanWindow&, ScanWindow::Event)> scanWindow;

    // A clipboard of the process's own instead of the desktop's.
    bool privateClipboard = false;
    QImage clipboard;
};

// The one set of seams of the process.
Seams& seams();

// Every seam back to the real platform; also drops the state the runtime derived from them
// (the single-instance claim, an open serial port, the confined cursor, the picture the photo
// windows remembered for a file) and starts the random numbers afresh. SANE's configuration is the one exception: SANE keeps the folder it first read,
// so tests give their own with Scanner::UseConfiguration (the test entry: no scanner).
void ResetSeams();

// Replaces one seam until the end of the scope.
template <class T>
class Scoped {
public:
    template <class V>
    Scoped(T Seams::*member, V&& value) : m_member(member), m_old(std::exchange(seams().*member, T(std::forward<V>(value)))) {}
    ~Scoped() { seams().*m_member = std::move(m_old); }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

private:
    T Seams::*m_member;
    T m_old;
};
template <class T, class V>
Scoped(T Seams::*, V&&) -> Scoped<T>;

} // namespace vb
