#pragma once
// The seams of a run nobody sits at (the tests, the benchmarks, the screenshot tool): a message
// box that is not answered must not hang, so it gets OK; dialogs are cancelled; the desktop's
// shell and help viewer are never asked; SANE sees no scanner and the scanner windows are cancelled.
#include "platform/capture/Scanner.h"
#include "platform/system/Seams.h"

#include <QDir>
#include <optional>

inline void UseQuietSeams(vb::Seams& s) {
    s.msgBox = [](const QString&, int, const QString&) { return int(vb::vbOK); };
    s.dialog = [](const vb::DialogRequest&) { return std::optional<vb::DialogAnswer>(); };
    s.shell = [](const QString&, const QString&) { return true; };
    s.helpViewer = [](const QString&, const QString&) {};
    vb::Scanner::UseConfiguration({});
    s.scanSourceWindow = [](vb::ScanSourceWindow& w) { w.Abbrechen_Click(); };
    s.scanWindow = [](vb::ScanWindow& w, vb::ScanWindow::Event) { w.Abbrechen_Click(); };
}

// Every seam at its setting for such a run in a program of its own: the quiet answers above, and
// the program folder, system folder (folder/etc), key-value store, clipboard and serial devices
// (ports that are not there) all the run's own.
inline void UseTestSeams(const QString& folder) {
    vb::ResetSeams();
    vb::Seams& s = vb::seams();
    UseQuietSeams(s);
    const QDir dir(folder);
    dir.mkpath(QStringLiteral("etc"));
    s.programFolder = folder;
    s.systemFolder = dir.filePath(QStringLiteral("etc"));
    s.storeFile = dir.filePath(QStringLiteral("registry.ini"));
    s.privateClipboard = true;
    for (int n = 1; n <= 4; ++n) s.comPortDevices[size_t(n - 1)] = dir.filePath(QStringLiteral("no-such-port-%1").arg(n));
    s.phoneCablePowerUpMs = 0; // a fake phone on a pseudo-terminal needs no power-up time
}
