#include "frame/Dateiauswahldialog.h"

#include "platform/system/CommonDialog.h"

#include <QDir>

Dateiauswahldialog& Dateiauswahl() {
    static Dateiauswahldialog d;
    return d;
}

namespace {
// Without a filter every file is offered.
QString filterOderAlle(const QString& filterstring) {
    return filterstring.isEmpty() ? QStringLiteral("Alle Dateien (*.*)|*.*") : filterstring;
}
} // namespace

QString Dateiauswahldialog::OpenFile(const QString& filterstring, const QString& dateiname) {
    return vb::GetOpenFileName(filterOderAlle(filterstring), dateiname);
}

QString Dateiauswahldialog::SaveFile(const QString& dateiname, const QString& filterstring, const QString& ordner) {
    return vb::GetSaveFileName(dateiname, filterOderAlle(filterstring), ordner.isEmpty() ? QDir::currentPath() : ordner);
}
