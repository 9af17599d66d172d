#include "imaging/cRegistry.h"

#include "platform/system/Registry.h"
#include "platform/system/VBError.h"

#include <QtEndian>

namespace {
QString rootName(uint32_t hKey) {
    switch (hKey) {
    case cRegistry::HKEY_CLASSES_ROOT: return QStringLiteral("HKEY_CLASSES_ROOT");
    case cRegistry::HKEY_CURRENT_USER: return QStringLiteral("HKEY_CURRENT_USER");
    case cRegistry::HKEY_LOCAL_MACHINE: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case cRegistry::HKEY_USERS: return QStringLiteral("HKEY_USERS");
    case cRegistry::HKEY_PERFORMANCE_DATA: return QStringLiteral("HKEY_PERFORMANCE_DATA");
    case cRegistry::HKEY_CURRENT_CONFIG: return QStringLiteral("HKEY_CURRENT_CONFIG");
    case cRegistry::HKEY_DYN_DATA: return QStringLiteral("HKEY_DYN_DATA");
    default: return QString();
    }
}

// A 16- or 32-bit whole number, as the 32-bit value types take it.
std::optional<int32_t> wholeNumber(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (ok && n >= INT32_MIN && n <= INT32_MAX) return int32_t(n);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}
} // namespace

QString cRegistry::storeKey() const {
    const QString root = rootName(ClassKey);
    if (root.isEmpty()) return QString();
    return SectionKey.isEmpty() ? root : root + QLatin1Char('\\') + SectionKey;
}

bool cRegistry::sectionIsRoot() const {
    QString s = SectionKey;
    s.remove(QLatin1Char('\\'));
    return s.isEmpty();
}

void cRegistry::raise(long number, const QString& description) const {
    throw vb::VBError(number, vb::AppExeName() + QStringLiteral(".cRegistry"), description);
}

bool cRegistry::KeyExists() const {
    const QString key = storeKey();
    if (key.isEmpty()) return false;
    return sectionIsRoot() || vb::Registry::KeyExists(key);
}

bool cRegistry::CreateKey() {
    const QString key = storeKey();
    if (key.isEmpty() || !vb::Registry::CreateKey(key)) raise(kError, QStringLiteral("Failed to create registry Key: '") + SectionKey);
    return true;
}

bool cRegistry::DeleteKey() {
    if (sectionIsRoot() || !KeyExists())
        raise(kError, QStringLiteral("Failed to delete registry Key: '") + rootNumber() + QStringLiteral("',Section: '") +
                          SectionKey);
    vb::Registry::DeleteKey(storeKey());
    return true;
}

bool cRegistry::DeleteValue() {
    if (!KeyExists())
        raise(kError, QStringLiteral("Failed to open key '") + rootNumber() + QStringLiteral("',Section: '") + SectionKey +
                          QStringLiteral("' for delete access"));
    if (!vb::Registry::ValueExists(storeKey(), ValueKey))
        raise(kError, QStringLiteral("Failed to delete registry Key: '") + rootNumber() + QStringLiteral("',Section: '") +
                          SectionKey + QStringLiteral("',Key: '") + ValueKey);
    vb::Registry::DeleteValue(storeKey(), ValueKey);
    return true;
}

QVariant cRegistry::Value() {
    if (!KeyExists()) return Default;
    const std::optional<vb::Registry::Data> d = vb::Registry::ValueData(storeKey(), ValueKey);
    if (!d) return Default;
    ValueType = d->type;
    switch (d->type) {
    case REG_SZ:
    case REG_MULTI_SZ:
    case REG_EXPAND_SZ: {
        // The stored size less its terminating zero; a list of texts keeps its separating zeros.
        const QString text = QString::fromUtf8(d->bytes.left(std::max<qsizetype>(0, d->bytes.size() - 1)));
        return d->type == REG_EXPAND_SZ ? ExpandEnvStr(text) : text;
    }
    case REG_DWORD: {
        QByteArray b = d->bytes.left(4);
        b.resize(4, '\0');
        return qFromLittleEndian<qint32>(b.constData());
    }
    case REG_DWORD_BIG_ENDIAN: {
        QByteArray b = d->bytes.left(4);
        b.resize(4, '\0');
        return ByteArrayToLong(b);
    }
    default:
        return d->bytes;
    }
}

void cRegistry::SetValue(const QVariant& vValue) {
    const QString failed = QStringLiteral("Failed to set registry value Key: '") + rootNumber() +
                           QStringLiteral("',Section: '") + SectionKey + QStringLiteral("',Key: '") + ValueKey +
                           QStringLiteral("' to value: '") + vValue.toString() + QLatin1Char('\'');
    const QString key = storeKey();
    if (key.isEmpty() || !vb::Registry::CreateKey(key)) raise(kError, failed);
    vb::Registry::Data d;
    switch (ValueType) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        const QString text = vValue.toString();
        const qsizetype first = text.indexOf(QLatin1Char('%'));
        d.type = first >= 0 && text.indexOf(QLatin1Char('%'), first + 1) > first ? REG_EXPAND_SZ : REG_SZ;
        d.bytes = text.toUtf8() + '\0';
        break;
    }
    case REG_BINARY:
        if (vValue.typeId() != QMetaType::QByteArray) raise(kError, failed);
        d = {REG_BINARY, vValue.toByteArray()};
        break;
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
        const std::optional<int32_t> n = wholeNumber(vValue);
        if (!n) raise(kError, failed);
        d = {REG_DWORD, QByteArray(4, '\0')};
        qToLittleEndian(*n, d.bytes.data());
        break;
    }
    default:
        raise(kSetValueError, failed);
    }
    if (!vb::Registry::SetValueData(key, ValueKey, d)) raise(kSetValueError, failed);
}

bool cRegistry::EnumerateValues(QStringList& sKeyNames, int& iKeyCount) const {
    sKeyNames.clear();
    if (KeyExists()) sKeyNames = vb::Registry::ValueNames(storeKey());
    iKeyCount = int(sKeyNames.size());
    return true;
}

bool cRegistry::EnumerateSections(QStringList& sSect, int& iSectCount) const {
    sSect.clear();
    try {
        if (KeyExists()) sSect = vb::Registry::SubKeys(storeKey());
    } catch (const vb::VBError& e) {
        raise(kEnumSectionsError, e.Description());
    }
    iSectCount = int(sSect.size());
    return true;
}

void cRegistry::CreateEXEAssociation(const QString& sExePath, const QString& sClassName,
                                     const QString& sClassDescription, const QString& sAssociation,
                                     int lDefaultIconIndex) {
    const QString command = sExePath + QStringLiteral(" \"%1\"");
    ClassKey = HKEY_CLASSES_ROOT;
    ValueKey = QString();
    SectionKey = QLatin1Char('.') + sAssociation;
    SetValue(sClassName);
    SectionKey = QLatin1Char('.') + sAssociation + QStringLiteral("\\shell\\open\\command");
    SetValue(command);
    SectionKey = sClassName;
    SetValue(sClassDescription);
    SectionKey = sClassName + QStringLiteral("\\shell\\open\\command");
    SetValue(command);
    if (lDefaultIconIndex != -1) {
        SectionKey = sClassName + QStringLiteral("\\DefaultIcon");
        SetValue(sExePath + QLatin1Char(',') + QString::number(lDefaultIconIndex));
    }
}

int32_t cRegistry::ByteArrayToLong(const QByteArray& bytes) { return qFromBigEndian<qint32>(bytes.constData()); }

QString cRegistry::ExpandEnvStr(const QString& sIn) {
    // %NAME% of a set variable becomes its value; anything else stays, and an unmatched "%" may
    // still open the next reference.
    QString out;
    qsizetype i = 0;
    while (i < sIn.size()) {
        const qsizetype open = sIn.indexOf(QLatin1Char('%'), i);
        if (open < 0) break;
        const qsizetype close = sIn.indexOf(QLatin1Char('%'), open + 1);
        if (close < 0) break;
        out += sIn.mid(i, open - i);
        const QString name = sIn.mid(open + 1, close - open - 1);
        if (!name.isEmpty() && qEnvironmentVariableIsSet(name.toLocal8Bit().constData())) {
            out += qEnvironmentVariable(name.toLocal8Bit().constData());
            i = close + 1;
        } else {
            out += sIn.mid(open, close - open);
            i = close;
        }
    }
    out += sIn.mid(i);
    return out;
}
