#include "platform/system/Registry.h"

#include "platform/system/Seams.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QtEndian>
#include <optional>
#include <utility>
#include <vector>

namespace vb::Registry {
namespace {
QString& storeFile() { return seams().storeFile; }
// Keys use backslashes; the settings file groups use slashes.
QString group(const QString& key) {
    QString g = key;
    g.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return g.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}
// Keys are marked present by a value of their own, so that empty keys exist too.
const QString kMarker = QStringLiteral(".key");

// Value names may hold any character, but the settings file reads slashes as groups; the
// default value ("") is kept as "@".
QString encodeName(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("@");
    QString out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == QLatin1Char('%') || c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('@') ||
            (i == 0 && c == QLatin1Char('.')))
            out += QLatin1Char('%') + QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else out += c;
    }
    return out;
}
QString decodeName(const QString& stored) {
    if (stored == QLatin1String("@")) return QString();
    QString out;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        bool ok = false;
        if (stored[i] == QLatin1Char('%') && i + 2 < stored.size()) {
            const int c = stored.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out += QChar(c);
                i += 2;
                continue;
            }
        }
        out += stored[i];
    }
    return out;
}
QString valuePath(const QString& key, const QString& name) { return group(key) + QLatin1Char('/') + encodeName(name); }

// In the file a value reads like the registry's own export: sz:text, dword:0000000a, hex(3):0a0b.
QString encodeData(const Data& d) {
    if (d.type == 1 && d.bytes.endsWith('\0')) {
        const QByteArray text = d.bytes.chopped(1);
        if (!text.contains('\0') && QString::fromUtf8(text).toUtf8() == text)
            return QStringLiteral("sz:") + QString::fromUtf8(text);
    }
    if (d.type == 4 && d.bytes.size() == 4)
        return QStringLiteral("dword:%1").arg(qFromLittleEndian<quint32>(d.bytes.constData()), 8, 16, QLatin1Char('0'));
    return QStringLiteral("hex(%1):").arg(d.type) + QString::fromLatin1(d.bytes.toHex());
}
Data decodeData(const QVariant& v) {
    const QString s = v.typeId() == QMetaType::QStringList ? v.toStringList().join(QStringLiteral(", ")) : v.toString();
    if (s.startsWith(QLatin1String("sz:"))) return {1, s.mid(3).toUtf8() + '\0'};
    if (s.startsWith(QLatin1String("dword:"))) {
        bool ok = false;
        const quint32 n = s.mid(6).toUInt(&ok, 16);
        if (ok) {
            QByteArray b(4, '\0');
            qToLittleEndian(n, b.data());
            return {4, b};
        }
    }
    if (s.startsWith(QLatin1String("hex("))) {
        const qsizetype close = s.indexOf(QLatin1String("):"));
        bool ok = false;
        const int type = s.mid(4, close - 4).toInt(&ok);
        if (close > 4 && ok) return {type, QByteArray::fromHex(s.mid(close + 2).toLatin1())};
    }
    // Written by hand: a text.
    return {1, s.toUtf8() + '\0'};
}

// The store as one call sees it: its own reading of the file, or the one of the batch under way.
QSettings* g_batch = nullptr;
int g_reads = 0, g_writes = 0;
bool g_batchChanged = false;
class Offen {
public:
    Offen() {
        if (g_batch) return;
        m_own.emplace(StoreFile(), QSettings::IniFormat);
        ++g_reads;
    }
    ~Offen() {
        if (m_own) sync();
        else
            for (; m_groups > 0; --m_groups) g_batch->endGroup();
    }
    Offen(const Offen&) = delete;
    bool contains(const QString& k) const { return s().contains(k); }
    QVariant value(const QString& k) const { return s().value(k); }
    void setValue(const QString& k, const QVariant& v) {
        s().setValue(k, v);
        m_changed = true;
        if (!m_own) g_batchChanged = true;
    }
    void remove(const QString& k) {
        s().remove(k);
        m_changed = true;
        if (!m_own) g_batchChanged = true;
    }
    void beginGroup(const QString& g) {
        s().beginGroup(g);
        ++m_groups;
    }
    QStringList childKeys() const { return s().childKeys(); }
    QStringList childGroups() const { return s().childGroups(); }
    // Inside a batch the file is written once, at its end.
    void sync() {
        if (!m_own || !m_changed) return;
        m_own->sync();
        ++g_writes;
        m_changed = false;
    }
    QSettings::Status status() const { return s().status(); }

private:
    QSettings& s() const { return m_own ? const_cast<QSettings&>(*m_own) : *g_batch; }
    std::optional<QSettings> m_own;
    bool m_changed = false;
    int m_groups = 0;
};
Offen open() { return {}; }
} // namespace

Batch::Batch() {
    if (g_batch) return;
    m_settings = std::make_unique<QSettings>(StoreFile(), QSettings::IniFormat);
    g_batch = m_settings.get();
    g_batchChanged = false;
    ++g_reads;
}
Batch::~Batch() { Commit(); }
bool Batch::Commit() {
    if (!m_settings) return true;
    g_batch = nullptr;
    m_settings->sync();
    if (g_batchChanged) ++g_writes;
    const bool ok = m_settings->status() == QSettings::NoError;
    m_settings.reset();
    return ok;
}
int StoreReads() { return g_reads; }
int StoreWrites() { return g_writes; }

QString StoreFile() {
    if (!storeFile().isEmpty()) return storeFile();
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(dir);
    return dir + QStringLiteral("/registry.ini");
}
bool KeyExists(const QString& key) {
    Offen s = open();
    return s.contains(group(key) + QLatin1Char('/') + kMarker);
}

namespace {
// Writes the entries (path, value) into the file. A store that cannot take them (a folder
// without rights, a full disk) has taken nothing, and the settings object, which keeps its
// changes for the next write, is given the old entries back so that nothing reads the new ones.
bool schreiben(const std::vector<std::pair<QString, QVariant>>& eintraege) {
    if (eintraege.empty()) return true;
    Offen s = open();
    std::vector<QVariant> alt;
    for (const auto& [pfad, wert] : eintraege) {
        alt.push_back(s.value(pfad));
        s.setValue(pfad, wert);
    }
    s.sync();
    // Inside a batch nothing is written yet: the batch's commit tells.
    if (s.status() == QSettings::NoError) return true;
    for (size_t i = 0; i < eintraege.size(); ++i) {
        if (alt[i].isValid()) s.setValue(eintraege[i].first, alt[i]);
        else s.remove(eintraege[i].first);
    }
    return false;
}

// The markers of the key and of every key above it that the store does not hold yet.
std::vector<std::pair<QString, QVariant>> neueMarken(const QString& key) {
    Offen s = open();
    std::vector<std::pair<QString, QVariant>> marken;
    QString path;
    for (const QString& part : group(key).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += (path.isEmpty() ? QString() : QStringLiteral("/")) + part;
        if (!s.contains(path + QLatin1Char('/') + kMarker)) marken.emplace_back(path + QLatin1Char('/') + kMarker, true);
    }
    return marken;
}
} // namespace

// An existing key is only opened.
bool CreateKey(const QString& key) { return schreiben(neueMarken(key)); }

void DeleteKey(const QString& key) {
    Offen s = open();
    s.remove(group(key));
}

QVariant Value(const QString& key, const QString& name, const QVariant& missing) {
    const std::optional<Data> d = ValueData(key, name);
    if (!d) return missing;
    QByteArray b = d->bytes;
    switch (d->type) {
    case 1:
    case 2:
    case 7:
        if (b.endsWith('\0')) b.chop(1);
        return QString::fromUtf8(b);
    case 4:
        if (b.size() == 4) return qFromLittleEndian<qint32>(b.constData());
        break;
    case 5:
        if (b.size() == 4) return qFromBigEndian<qint32>(b.constData());
        break;
    default:
        break;
    }
    return b;
}

bool SetValue(const QString& key, const QString& name, const QVariant& value) {
    Data d;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        d.type = 4;
        d.bytes = QByteArray(4, '\0');
        qToLittleEndian(quint32(value.toLongLong()), d.bytes.data());
        break;
    }
    case QMetaType::QByteArray:
        d = {3, value.toByteArray()};
        break;
    default:
        d = {1, value.toString().toUtf8() + '\0'};
        break;
    }
    return SetValueData(key, name, d);
}

std::optional<Data> ValueData(const QString& key, const QString& name) {
    Offen s = open();
    const QVariant v = s.value(valuePath(key, name));
    if (!v.isValid()) return std::nullopt;
    return decodeData(v);
}

bool SetValueData(const QString& key, const QString& name, const Data& data) {
    // The key's markers and the value in one write: both land or neither.
    auto eintraege = neueMarken(key);
    eintraege.emplace_back(valuePath(key, name), encodeData(data));
    return schreiben(eintraege);
}

void DeleteValue(const QString& key, const QString& name) {
    Offen s = open();
    s.remove(valuePath(key, name));
}

bool ValueExists(const QString& key, const QString& name) {
    Offen s = open();
    return s.contains(valuePath(key, name));
}

QStringList ValueNames(const QString& key) {
    Offen s = open();
    s.beginGroup(group(key));
    QStringList names;
    for (const QString& n : s.childKeys())
        if (n != kMarker) names << decodeName(n);
    return names;
}

QStringList SubKeys(const QString& key) {
    Offen s = open();
    s.beginGroup(group(key));
    return s.childGroups();
}

} // namespace vb::Registry
