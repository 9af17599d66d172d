#pragma once
// A per-user key-value store in place of the system registry: keys are paths such as
// "Software\Zaroreriri\Morlikvast", values are named and typed (the registry's type numbers:
// 1 text, 2 text with environment references, 3 bytes, 4 32-bit number, 5 big-endian 32-bit
// number, 7 list of texts), each held as its type and its bytes.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <optional>

namespace vb::Registry {

// The file that holds the store; tests point it into their own folder (Seams::storeFile).
QString StoreFile();

// A value as the store keeps it.
struct Data {
    int type = 0;
    QByteArray bytes;
    bool operator==(const Data&) const = default;
};

bool KeyExists(const QString& key);
void CreateKey(const QString& key);
void DeleteKey(const QString& key);     // with its values and sub-keys
// Plain values: texts are kept as type 1, whole numbers as type 4, byte arrays as type 3.
QVariant Value(const QString& key, const QString& name, const QVariant& missing = QVariant());
void SetValue(const QString& key, const QString& name, const QVariant& value);
// Typed values; "" names the key's default value.
std::optional<Data> ValueData(const QString& key, const QString& name);
void SetValueData(const QString& key, const QString& name, const Data& data);
void DeleteValue(const QString& key, const QString& name);
bool ValueExists(const QString& key, const QString& name);
QStringList ValueNames(const QString& key);
QStringList SubKeys(const QString& key);

} // namespace vb::Registry
