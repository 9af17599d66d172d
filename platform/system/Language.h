#pragma once
// The toolkit's own texts (standard dialogs, context menus, message box buttons) in German.

namespace vb {
// Installs the toolkit's German translations once; false when they are not installed.
bool InstallGermanTranslations();
} // namespace vb
