#include "platform/system/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vb {

bool InstallGermanTranslations() {
    static QTranslator* installed = nullptr;
    if (installed) return true;
    auto* app = QCoreApplication::instance();
    if (!app) return false;
    // Dates and numbers in the dialogs follow the language too.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* t = new QTranslator(app);
    // "qt_de" pulls in the base module's texts and those of the other installed modules.
    if (!t->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qt"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(t)) {
        delete t;
        return false;
    }
    installed = t;
    return true;
}

} // namespace vb
