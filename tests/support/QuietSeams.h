#pragma once
// The seams of a run nobody sits at (the tests, the screenshot tool): a message box that is not
// answered must not hang, so it gets OK; dialogs are cancelled; the desktop's shell and help
// viewer are never asked; SANE sees no scanner and the scanner windows are cancelled.
#include "platform/Scanner.h"
#include "platform/Seams.h"

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
