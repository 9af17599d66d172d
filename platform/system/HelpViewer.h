#pragma once
// The program's help window: shows the help file (HTML, despite its .hlp name) in a browser with
// working internal links, Back and Contents buttons. One window is reused for every request.
// Tests watch the requests through Seams::helpViewer.
#include <QString>
#include <functional>

class QWidget;

namespace vb::Help {

// Anchor of the help file's contents page.
inline constexpr const char* ContentsAnchor = "inhalt";

// Opens the help file at its contents page. A missing or unreadable file gets a message in the
// help window itself.
void ShowContents(const QString& helpFilePath);

// A hook replaces the window: it receives the file path and the anchor that would be shown.
// An empty hook brings the real window back.
using ViewerHook = std::function<void(const QString& path, const QString& anchor)>;

// The help window once it has been opened, else nullptr.
QWidget* Window();

} // namespace vb::Help
