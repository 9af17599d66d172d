#include "platform/Registry.h"

#include "platform/Seams.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QtEndian>

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

QSettings open() { return QSettings(StoreFile(), QSettings::IniFormat); }
} // namespace

QString StoreFile() {
    if (!storeFile().isEmpty()) return storeFile();
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(dir);
    return dir + QStringLiteral("/registry.ini");
}
bool KeyExists(const QString& key) {
    QSettings s = open();
    return s.contains(group(key) + QLatin1Char('/') + kMarker);
}

void CreateKey(const QString& key) {
    QSettings s = open();
    QString path;
    for (const QString& part : group(key).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += (path.isEmpty() ? QString() : QStringLiteral("/")) + part;
        s.setValue(path + QLatin1Char('/') + kMarker, true);
    }
}

void DeleteKey(const QString& key) {
    QSettings s = open();
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

void SetValue(const QString& key, const QString& name, const QVariant& value) {
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
    SetValueData(key, name, d);
}

std::optional<Data> ValueData(const QString& key, const QString& name) {
    QSettings s = open();
    const QVariant v = s.value(valuePath(key, name));
    if (!v.isValid()) return std::nullopt;
    return decodeData(v);
}

void SetValueData(const QString& key, const QString& name, const Data& data) {
    CreateKey(key);
    QSettings s = open();
    s.setValue(valuePath(key, name), encodeData(data));
}

void DeleteValue(const QString& key, const QString& name) {
    QSettings s = open();
    s.remove(valuePath(key, name));
}

bool ValueExists(const QString& key, const QString& name) {
    QSettings s = open();
    return s.contains(valuePath(key, name));
}

QStringList ValueNames(const QString& key) {
    QSettings s = open();
    s.beginGroup(group(key));
    QStringList names;
    for (const QString& n : s.childKeys())
        if (n != kMarker) names << decodeName(n);
    return names;
}

QStringList SubKeys(const QString& key) {
    QSettings s = open();
    s.beginGroup(group(key));
    return s.childGroups();
}

} // namespace vb::Registry
