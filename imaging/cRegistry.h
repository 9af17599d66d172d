#pragma once
// Registry access through one object: set a root key, a key path ("section") and a value name,
// then read, write, delete or enumerate. The values live in the runtime's key-value store under
// the root key's name, so this class registers nothing with the desktop.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>

class cRegistry {
public:
    enum ERegistryClassConstants : uint32_t {
        HKEY_CLASSES_ROOT = 0x80000000u,
        HKEY_CURRENT_USER = 0x80000001u,
        HKEY_LOCAL_MACHINE = 0x80000002u,
        HKEY_USERS = 0x80000003u,
        HKEY_PERFORMANCE_DATA = 0x80000004u,
        HKEY_CURRENT_CONFIG = 0x80000005u,
        HKEY_DYN_DATA = 0x80000006u,
    };
    enum ERegistryValueTypes {
        REG_SZ = 1,
        REG_EXPAND_SZ = 2,
        REG_BINARY = 3,
        REG_DWORD = 4,
        REG_DWORD_BIG_ENDIAN = 5,
        REG_MULTI_SZ = 7,
    };
    // Error numbers: 26001, and the object errors 26001 and 26002 (base 0x80040000 + 1048).
    static constexpr long kError = 26001;
    static constexpr long kSetValueError = int32_t(0x800469A9u);
    static constexpr long kEnumSectionsError = int32_t(0x800469AAu);

    bool KeyExists() const;
    bool CreateKey();
    bool DeleteKey();
    bool DeleteValue();
    // Value (read): Default when nothing is found; ValueType becomes the type found.
    QVariant Value();
    // Value (write), as ValueType says.
    void SetValue(const QVariant& vValue);
    // Names in the store's order; entry i of the 1-based list is sKeyNames[i - 1].
    bool EnumerateValues(QStringList& sKeyNames, int& iKeyCount) const;
    bool EnumerateSections(QStringList& sSect, int& iSectCount) const;
    // Writes the keys that associate a file extension with a program; set ValueType to REG_SZ first.
    void CreateEXEAssociation(const QString& sExePath, const QString& sClassName, const QString& sClassDescription,
                              const QString& sAssociation, int lDefaultIconIndex = -1);

    // Properties.
    uint32_t ClassKey = HKEY_CLASSES_ROOT;
    QString SectionKey;
    QString ValueKey;
    int ValueType = REG_SZ;
    QVariant Default;

private:
    static int32_t ByteArrayToLong(const QByteArray& bytes);
    static QString ExpandEnvStr(const QString& sIn);
    // The store's key of ClassKey \ SectionKey; empty when ClassKey is no root key.
    QString storeKey() const;
    bool sectionIsRoot() const;
    [[noreturn]] void raise(long number, const QString& description) const;
    QString rootNumber() const { return QString::number(ClassKey); }
};
