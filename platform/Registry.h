#pragma once
// A per-user key-value store in place of the system registry: keys are paths such as
// "Software\Zaroreriri\Morlikvast", values are named strings or numbers.
#include <QString>
#include <QVariant>

namespace vb::Registry {

// The file that holds the store; tests point it into their own folder.
QString StoreFile();
void SetStoreFile(const QString& path);

bool KeyExists(const QString& key);
void CreateKey(const QString& key);
void DeleteKey(const QString& key);     // with its values and sub-keys
QVariant Value(const QString& key, const QString& name, const QVariant& missing = QVariant());
void SetValue(const QString& key, const QString& name, const QVariant& value);
void DeleteValue(const QString& key, const QString& name);
QStringList ValueNames(const QString& key);
QStringList SubKeys(const QString& key);

} // namespace vb::Registry
