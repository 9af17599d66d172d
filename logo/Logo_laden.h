#pragma once
// Loading a picture file into the logo editor: fitted or stretched to the logo size.
#include <QString>

namespace Logo_laden {
// Ziel False: the main window's surfaces; True: the photo editor's.
void Bild_in_Logo_laden(const QString& Pfad, bool Ziel);
void Logo_in_Editor_laden(const QString& Pfad);
} // namespace Logo_laden
