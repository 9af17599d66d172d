#include "frame/Dateiauswahldialog.h"

#include "platform/CommonDialog.h"

#include <QDir>

Dateiauswahldialog& Dateiauswahl() {
    static Dateiauswahldialog d;
    return d;
}

QString Dateiauswahldialog::OpenFile(const QString& filterstring, const QString& dateiname) {
    const QString filter = filterstring.isEmpty() ? QStringLiteral("Alle Dateien (*.*)|*.*") : filterstring;
    return vb::GetOpenFileName(filter, dateiname);
}

QString Dateiauswahldialog::SaveFile(const QString& dateiname, const QString& filterstring, const QString& ordner) {
    return vb::GetSaveFileName(dateiname, filterstring, ordner.isEmpty() ? QDir::currentPath() : ordner);
}
