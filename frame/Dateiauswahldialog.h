#pragma once
// The platform's open and save dialogs with a filter of descriptions and patterns joined by "|".
#include <QString>

class Dateiauswahldialog {
public:
    // The chosen path, or "" when the user cancels.
    QString OpenFile(const QString& filterstring = QString(), const QString& dateiname = QString());
    QString SaveFile(const QString& dateiname = QString(), const QString& filterstring = QString(), const QString& ordner = QString());
};

// The program-wide instance.
Dateiauswahldialog& Dateiauswahl();
