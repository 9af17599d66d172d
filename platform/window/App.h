#pragma once
// The running program: its folder, pending events, and the end of the process.
#include <QString>
#include <functional>

namespace vb::App {
// The folder of the executable, without a trailing separator (tests give another one, Seams::programFolder).
QString Path();
QString Title();
// The program's help file ("" until the program sets it).
QString HelpFile();
void SetHelpFile(const QString& path);
// Lets pending window events run.
void DoEvents();
// Ends the program at once, without unload handlers. Tests replace the ending.
[[noreturn]] void End(int code = 0);
struct Ended {
    int code;
};
} // namespace vb::App
