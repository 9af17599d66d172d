#pragma once
// A per-user key-value store in place of the system registry: keys are paths such as
// "Software\Zaroreriri\Morlikvast", values are named and typed (the registry's type numbers:
// 1 text, 2 text with environment references, 3 bytes, 4 32-bit number, 5 big-endian 32-bit
// number, 7 list of texts), each held as its type and its bytes.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

class QSettings;

namespace vb::Registry {

// The file that holds the store; tests point it into their own folder (Seams::storeFile).
QString StoreFile();

// A value as the store keeps it.
struct Data {
    int type = 0;
    QByteArray bytes;
    bool operator==(const Data&) const = default;
};

// While a batch lives, every call below works on one reading of the store file, which is written
// once when the batch ends (Commit, or its end): a list of many values costs one read and one
// write. Batches do not nest; an inner one joins the outer.
class Batch {
public:
    Batch();
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
    // Writes the store now; false when the file could not be written.
    bool Commit();

private:
    std::unique_ptr<QSettings> m_settings;
};
// How often the store file has been read and written since the program started.
int StoreReads();
int StoreWrites();

bool KeyExists(const QString& key);
// The writes answer whether the store holds the change.
bool CreateKey(const QString& key);
void DeleteKey(const QString& key);     // with its values and sub-keys
// Plain values: texts are kept as type 1, whole numbers as type 4, byte arrays as type 3.
QVariant Value(const QString& key, const QString& name, const QVariant& missing = QVariant());
bool SetValue(const QString& key, const QString& name, const QVariant& value);
// Typed values; "" names the key's default value.
std::optional<Data> ValueData(const QString& key, const QString& name);
bool SetValueData(const QString& key, const QString& name, const Data& data);
void DeleteValue(const QString& key, const QString& name);
bool ValueExists(const QString& key, const QString& name);
QStringList ValueNames(const QString& key);
QStringList SubKeys(const QString& key);

} // namespace vb::Registry
