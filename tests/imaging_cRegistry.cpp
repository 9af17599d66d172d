// Registry access over the key-value store: value types, defaults, errors, enumeration and the
// file-type association.
#include "imaging/cRegistry.h"
#include "platform/system/Registry.h"
#include "platform/system/VBError.h"
#include "support/FileFaults.h"
#include "support/Fixture.h"
#include "support/Raised.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kSection = QStringLiteral("Software\\Zaroreriri\\Morlikvast");
const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Zaroreriri\\Morlikvast");


class RegistryTest : public ProgramTest {
protected:
    cRegistry reg(const QString& value = QString()) {
        cRegistry r;
        r.ClassKey = cRegistry::HKEY_CURRENT_USER;
        r.SectionKey = kSection;
        r.ValueKey = value;
        return r;
    }
    static QByteArray bytes(std::initializer_list<int> b) {
        QByteArray a;
        for (int x : b) a.append(char(x));
        return a;
    }
};

} // namespace

TEST_F(RegistryTest, WrittenValuesKeepTheirTypeAndBytes) {
    qputenv("VORAD_REG_TEST", "/home/maria");
    struct Case {
        int type;
        QVariant value;
        int storedType;
        QByteArray stored;
        QVariant readBack;
    };
    const Case cases[] = {
        {1, QStringLiteral("abc"), 1, QByteArray("abc", 4), QStringLiteral("abc")},
        {1, QString(), 1, QByteArray("", 1), QString()},
        {1, QStringLiteral("Grüße"), 1, QByteArray("Gr\xc3\xbc\xc3\x9f" "e", 8), QStringLiteral("Grüße")},
        {1, QStringLiteral("50 % Rabatt"), 1, QByteArray("50 % Rabatt", 12), QStringLiteral("50 % Rabatt")},
        {1, QStringLiteral("%VORAD_REG_TEST%\\bilder"), 2, QByteArray("%VORAD_REG_TEST%\\bilder", 24),
         QStringLiteral("/home/maria\\bilder")},
        {2, QStringLiteral("%NICHT_GESETZT_XY%%VORAD_REG_TEST%"), 2,
         QByteArray("%NICHT_GESETZT_XY%%VORAD_REG_TEST%", 35), QStringLiteral("%NICHT_GESETZT_XY%/home/maria")},
        {2, QStringLiteral("ohne"), 1, QByteArray("ohne", 5), QStringLiteral("ohne")},
        {1, 42, 1, QByteArray("42", 3), QStringLiteral("42")},
        {3, bytes({0, 1, 255}), 3, bytes({0, 1, 255}), bytes({0, 1, 255})},
        {4, 0x01020304, 4, bytes({4, 3, 2, 1}), 0x01020304},
        {4, -2, 4, bytes({254, 255, 255, 255}), -2},
        {4, QVariant::fromValue(short(-3)), 4, bytes({253, 255, 255, 255}), -3},
        {5, 7, 4, bytes({7, 0, 0, 0}), 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.value.toString() + QStringLiteral(" as type ") + QString::number(c.type)).toStdString());
        cRegistry r = reg(QStringLiteral("Wert"));
        r.ValueType = c.type;
        r.SetValue(c.value);
        const auto d = vb::Registry::ValueData(kKey, QStringLiteral("Wert"));
        ASSERT_TRUE(d);
        EXPECT_EQ(d->type, c.storedType);
        EXPECT_EQ(d->bytes, c.stored);
        cRegistry back = reg(QStringLiteral("Wert"));
        back.ValueType = 3;
        EXPECT_EQ(back.Value(), c.readBack);
        EXPECT_EQ(back.ValueType, c.storedType);
    }
    qunsetenv("VORAD_REG_TEST");
}

TEST_F(RegistryTest, StoredTypesReadBackByType) {
    struct Case {
        int type;
        QByteArray stored;
        QVariant value;
    };
    const Case cases[] = {
        {5, bytes({1, 2, 3, 4}), 0x01020304},
        {4, bytes({1, 2, 3, 4}), 0x04030201},
        {7, QByteArray("eins\0zwei\0\0", 11), QString::fromUtf8(QByteArray("eins\0zwei\0", 10))},
        {1, QByteArray(), QString()},
        {0, bytes({9, 8}), bytes({9, 8})},
        {11, bytes({1, 2, 3, 4, 5, 6, 7, 8}), bytes({1, 2, 3, 4, 5, 6, 7, 8})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        vb::Registry::SetValueData(kKey, QStringLiteral("Roh"), {c.type, c.stored});
        cRegistry r = reg(QStringLiteral("Roh"));
        EXPECT_EQ(r.Value(), c.value);
        EXPECT_EQ(r.ValueType, c.type);
    }
}

TEST_F(RegistryTest, MissingValuesGiveTheDefaultAndKeepTheType) {
    cRegistry r = reg(QStringLiteral("Fehlt"));
    r.Default = QStringLiteral("vorgabe");
    r.ValueType = 3;
    EXPECT_EQ(r.Value(), QVariant(QStringLiteral("vorgabe"))); // the key is missing too
    EXPECT_FALSE(r.KeyExists());
    r.CreateKey();
    EXPECT_TRUE(r.KeyExists());
    EXPECT_EQ(r.Value(), QVariant(QStringLiteral("vorgabe")));
    EXPECT_EQ(r.ValueType, 3);
    // Other roots are other keys.
    r.ValueType = 1;
    r.SetValue(QStringLiteral("hier"));
    r.ClassKey = cRegistry::HKEY_LOCAL_MACHINE;
    EXPECT_FALSE(r.KeyExists());
    EXPECT_EQ(r.Value(), QVariant(QStringLiteral("vorgabe")));
    // A handle that is no root key opens nothing.
    r.ClassKey = 12345;
    EXPECT_FALSE(r.KeyExists());
    EXPECT_EQ(r.Value(), QVariant(QStringLiteral("vorgabe")));
}

TEST_F(RegistryTest, FailuresRaiseNumberedErrorsAndChangeNothing) {
    cRegistry r = reg(QStringLiteral("Zahl"));
    r.ValueType = 4;
    r.SetValue(5);
    const QString where = QStringLiteral("',Section: '") + kSection;
    struct Case {
        const char* what;
        std::function<void(cRegistry&)> op;
        long number;
        QString description;
    };
    const QString setText = QStringLiteral("Failed to set registry value Key: '2147483649") + where +
                            QStringLiteral("',Key: 'Zahl' to value: '");
    const Case cases[] = {
        {"text as number", [](cRegistry& c) { c.ValueType = 4; c.SetValue(QStringLiteral("abc")); }, 26001,
         setText + QStringLiteral("abc'")},
        {"number over 32 bits", [](cRegistry& c) { c.ValueType = 5; c.SetValue(qlonglong(1) << 40); }, 26001,
         setText + QStringLiteral("1099511627776'")},
        {"fraction as number", [](cRegistry& c) { c.ValueType = 4; c.SetValue(2.5); }, 26001, setText + QStringLiteral("2.5'")},
        {"text as bytes", [](cRegistry& c) { c.ValueType = 3; c.SetValue(QStringLiteral("x")); }, 26001, setText + QStringLiteral("x'")},
        {"list of texts", [](cRegistry& c) { c.ValueType = 7; c.SetValue(QStringLiteral("x")); }, int32_t(0x800469A9u),
         setText + QStringLiteral("x'")},
        {"missing value", [](cRegistry& c) { c.ValueKey = QStringLiteral("Nichts"); c.DeleteValue(); }, 26001,
         QStringLiteral("Failed to delete registry Key: '2147483649") + where + QStringLiteral("',Key: 'Nichts")},
        {"value of a missing key", [](cRegistry& c) { c.SectionKey += QStringLiteral("\\Fehlt"); c.DeleteValue(); }, 26001,
         QStringLiteral("Failed to open key '2147483649") + where + QStringLiteral("\\Fehlt' for delete access")},
        {"missing key", [](cRegistry& c) { c.SectionKey += QStringLiteral("\\Fehlt"); c.DeleteKey(); }, 26001,
         QStringLiteral("Failed to delete registry Key: '2147483649") + where + QStringLiteral("\\Fehlt")},
        {"no root key", [](cRegistry& c) { c.ClassKey = 7; c.CreateKey(); }, 26001,
         QStringLiteral("Failed to create registry Key: '") + kSection},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cRegistry x = reg(QStringLiteral("Zahl"));
        const vb::VBError e = caught([&] { c.op(x); });
        EXPECT_EQ(e.Number(), c.number);
        EXPECT_EQ(e.Source(), vb::AppExeName() + QStringLiteral(".cRegistry"));
        EXPECT_EQ(e.Description(), c.description);
        EXPECT_EQ(reg(QStringLiteral("Zahl")).Value(), QVariant(5));
        EXPECT_EQ(vb::Registry::ValueNames(kKey), QStringList{QStringLiteral("Zahl")});
    }
}

// A store that cannot take a write (a full disk): the write is an error, and the store keeps
// what it held.
TEST_F(RegistryTest, AWriteTheStoreCannotTakeIsAnError) {
    cRegistry r = reg(QStringLiteral("Zahl"));
    r.ValueType = 4;
    r.SetValue(5);
    const QByteArray vorher = [] {
        QFile f(vb::Registry::StoreFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(vorher.isEmpty());
    struct Case {
        const char* what;
        std::function<void(cRegistry&)> op;
        long number;
        QString description;
    };
    const Case cases[] = {
        {"value", [](cRegistry& c) { c.ValueType = 4; c.SetValue(6); }, int32_t(0x800469A9u),
         QStringLiteral("Failed to set registry value Key: '2147483649',Section: '") + kSection +
             QStringLiteral("',Key: 'Zahl' to value: '6'")},
        {"value of a new key", [](cRegistry& c) { c.SectionKey += QStringLiteral("\\Neu"); c.ValueType = 1; c.SetValue(QStringLiteral("x")); },
         26001, QStringLiteral("Failed to set registry value Key: '2147483649',Section: '") + kSection +
                    QStringLiteral("\\Neu',Key: 'Zahl' to value: 'x'")},
        {"key", [](cRegistry& c) { c.SectionKey += QStringLiteral("\\Neu"); c.CreateKey(); }, 26001,
         QStringLiteral("Failed to create registry Key: '") + kSection + QStringLiteral("\\Neu")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cRegistry x = reg(QStringLiteral("Zahl"));
        const vb::VBError e = [&] {
            FullDisk voll(8);
            return caught([&] { c.op(x); });
        }();
        EXPECT_EQ(e.Number(), c.number);
        EXPECT_EQ(e.Source(), vb::AppExeName() + QStringLiteral(".cRegistry"));
        EXPECT_EQ(e.Description(), c.description);
        QFile f(vb::Registry::StoreFile());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), vorher);
        // Nor does the program read back what never reached the store.
        EXPECT_EQ(reg(QStringLiteral("Zahl")).Value(), QVariant(5));
        EXPECT_FALSE(vb::Registry::KeyExists(kKey + QStringLiteral("\\Neu")));
    }
}

TEST_F(RegistryTest, DeleteAndEnumerate) {
    cRegistry r = reg();
    for (const char* name : {"b", "a", "", "c\\d"}) {
        r.ValueKey = QString::fromLatin1(name);
        r.ValueType = 1;
        r.SetValue(QStringLiteral("v"));
    }
    for (const char* sub : {"Eins", "Zwei"}) {
        cRegistry s = reg();
        s.SectionKey = kSection + QStringLiteral("\\") + QString::fromLatin1(sub);
        s.CreateKey();
    }
    QStringList names{QStringLiteral("alt")};
    int count = -1;
    EXPECT_TRUE(r.EnumerateValues(names, count));
    EXPECT_EQ(count, 4);
    names.sort();
    EXPECT_EQ(names, (QStringList{QString(), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c\\d")}));
    QStringList sections;
    EXPECT_TRUE(r.EnumerateSections(sections, count));
    EXPECT_EQ(sections, (QStringList{QStringLiteral("Eins"), QStringLiteral("Zwei")}));
    EXPECT_EQ(count, 2);

    r.ValueKey = QStringLiteral("c\\d");
    EXPECT_TRUE(r.DeleteValue());
    r.ValueKey = QString();
    EXPECT_TRUE(r.DeleteValue());
    EXPECT_TRUE(r.EnumerateValues(names, count));
    EXPECT_EQ(names, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));

    cRegistry missing = reg();
    missing.SectionKey = QStringLiteral("Software\\Niemand");
    EXPECT_TRUE(missing.EnumerateValues(names, count));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(names.isEmpty());
    EXPECT_TRUE(missing.EnumerateSections(sections, count));
    EXPECT_EQ(count, 0);

    EXPECT_TRUE(r.DeleteKey());
    EXPECT_FALSE(r.KeyExists());
    r.SectionKey = QStringLiteral("Software\\Zaroreriri");
    EXPECT_TRUE(r.KeyExists());
}

TEST_F(RegistryTest, FileAssociationWritesItsKeys) {
    struct Case {
        int icon;
        bool withIcon;
    };
    for (const Case c : {Case{-1, false}, Case{3, true}}) {
        SCOPED_TRACE(c.icon);
        vb::Registry::DeleteKey(QStringLiteral("HKEY_CLASSES_ROOT"));
        cRegistry r;
        r.ClassKey = cRegistry::HKEY_CURRENT_USER;
        r.ValueType = cRegistry::REG_SZ;
        r.CreateEXEAssociation(QStringLiteral("/opt/vorad/vorad"), QStringLiteral("Vorad.Logo"),
                               QStringLiteral("Vorad-Logo"), QStringLiteral("vlg"), c.icon);
        EXPECT_EQ(r.ClassKey, cRegistry::HKEY_CLASSES_ROOT);
        const QString root = QStringLiteral("HKEY_CLASSES_ROOT\\");
        const QString command = QStringLiteral("/opt/vorad/vorad \"%1\"");
        const std::pair<QString, QString> expected[] = {
            {QStringLiteral(".vlg"), QStringLiteral("Vorad.Logo")},
            {QStringLiteral(".vlg\\shell\\open\\command"), command},
            {QStringLiteral("Vorad.Logo"), QStringLiteral("Vorad-Logo")},
            {QStringLiteral("Vorad.Logo\\shell\\open\\command"), command},
        };
        for (const auto& [key, value] : expected) {
            const auto d = vb::Registry::ValueData(root + key, QString());
            ASSERT_TRUE(d) << key.toStdString();
            EXPECT_EQ(*d, (vb::Registry::Data{1, value.toUtf8() + '\0'})) << key.toStdString();
            EXPECT_EQ(vb::Registry::ValueNames(root + key), QStringList{QString()});
        }
        const auto icon = vb::Registry::ValueData(root + QStringLiteral("Vorad.Logo\\DefaultIcon"), QString());
        EXPECT_EQ(bool(icon), c.withIcon);
        if (icon) { EXPECT_EQ(icon->bytes, QByteArray("/opt/vorad/vorad,3", 19)); }
        EXPECT_FALSE(vb::Registry::KeyExists(QStringLiteral("HKEY_CURRENT_USER")));
    }
}
