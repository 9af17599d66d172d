#pragma once
// Copying and deleting files through the shell's file operation.
#include <QString>
#include <optional>

class FileOP {
public:
    // Silent, without questions; an existing target is replaced. Returns the shell's result.
    int Copy(QString& dateinamen, QString& zielverzeichnis, std::optional<bool> nurDateien = std::nullopt);
    void Move(QString& dateinamen, QString& zielverzeichnis, std::optional<bool> nurDateien = std::nullopt);
    void Delete(QString& dateinamen, std::optional<bool> nurDateien = std::nullopt);
    void DeleteDir(const QString& ordner, std::optional<bool> inklusiveUnterverzeichnisse = std::nullopt);
};
