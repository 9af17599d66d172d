// The recent-file list: order, capacity, menu captions and its keys in the registry.
#include "imaging/cMRUFileList.h"
#include "imaging/cRegistry.h"
#include "platform/system/Registry.h"
#include "platform/system/VBError.h"
#include "support/Fixture.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

QStringList names(const cMRUFileList& m) {
    QStringList out;
    for (int i = 1; i <= m.FileCount(); ++i) out << m.file(i);
    return out;
}

cMRUFileList listOf(int capacity, const QStringList& added) {
    cMRUFileList m;
    m.SetMaxFileCount(capacity);
    for (const QString& s : added) m.AddFile(s);
    return m;
}

class MRUTest : public ProgramTest {
protected:
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Zaroreriri\\Morlikvast");
    cRegistry reg() {
        cRegistry r;
        r.ClassKey = cRegistry::HKEY_CURRENT_USER;
        r.SectionKey = QStringLiteral("Software\\Zaroreriri\\Morlikvast");
        return r;
    }
    void store(const QString& name, int type, const QByteArray& bytes) { vb::Registry::SetValueData(key, name, {type, bytes}); }
    static QByteArray dword(int n) { return QByteArray(reinterpret_cast<const char*>(&n), 4); }
};

} // namespace

TEST(cMRUFileList, AddingMovesOrInsertsAtTheFront) {
    struct Case {
        int capacity;
        QStringList added, expected;
    };
    const Case cases[] = {
        {4, {"a.bmp", "b.bmp", "A.BMP"}, {"A.BMP", "b.bmp"}},
        {4, {"1", "2", "3", "4", "5"}, {"5", "4", "3", "2"}},
        {4, {"1", "2", "3", "4", "2"}, {"2", "4", "3", "1"}},
        {4, {"1", "2", "3", "4", "1"}, {"1", "4", "3", "2"}},
        {4, {"1", "2", "3", "4", "4"}, {"4", "3", "2", "1"}},
        {1, {"1", "2"}, {"2"}},
        {0, {"1", "2"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.added.join(QLatin1Char(' ')).toStdString());
        const cMRUFileList m = listOf(c.capacity, c.added);
        EXPECT_EQ(names(m), c.expected);
        EXPECT_EQ(m.FileCount(), c.expected.size());
    }
}

TEST(cMRUFileList, MenuCaptions) {
    const QString name41 = QStringLiteral("C:\\") + QString(37, QLatin1Char('x'));
    const QString noBackslash(40, QLatin1Char('y'));
    const QString name32 = QStringLiteral("C:\\Bilder\\Urlaub\\Strand\\foto.bmp") + QString();
    ASSERT_EQ(name32.size(), 32 - 0);
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("C:\\Eigene Dateien\\Bilder\\Urlaub\\Strand\\foto01.bmp"),
         QStringLiteral("&1)  ...\\Bilder\\Urlaub\\Strand\\foto01.bmp")},
        {name41, QStringLiteral("&1)  ...\\") + QString(37, QLatin1Char('x'))},
        {name32, QStringLiteral("&1)  ") + name32},
        {noBackslash, QStringLiteral("&1)  ") + noBackslash},
        {QStringLiteral("\\") + QString(32, QLatin1Char('z')), QStringLiteral("&1)  \\") + QString(32, QLatin1Char('z'))},
        {QStringLiteral("/home/maria/Bilder/ein sehr langer Dateiname.bmp"),
         QStringLiteral("&1)  /home/maria/Bilder/ein sehr langer Dateiname.bmp")},
        {QString(), QStringLiteral("&1)  ")},
    };
    for (const auto& [file, caption] : cases) {
        cMRUFileList m = listOf(4, {file});
        EXPECT_EQ(m.MenuCaption(1), caption) << file.toStdString();
    }
    const cMRUFileList m = listOf(4, {"x.bmp", "y.bmp"});
    EXPECT_EQ(m.MenuCaption(2), QStringLiteral("&2)  x.bmp"));
    EXPECT_TRUE(m.FileExists(2));
    EXPECT_FALSE(m.FileExists(3));
    EXPECT_EQ(m.file(4), QString());
    try {
        m.file(5);
        ADD_FAILURE() << "entry 5 of 4";
    } catch (const vb::VBError& e) {
        EXPECT_EQ(e.Number(), 9);
    }
}

TEST(cMRUFileList, ShrinkingKeepsTheFirstEntries) {
    cMRUFileList m = listOf(4, {"1", "2", "3", "4"});
    m.SetMaxFileCount(2);
    EXPECT_EQ(names(m), (QStringList{"4", "3"}));
    m.SetMaxFileCount(3);
    EXPECT_EQ(m.FileCount(), 2);
    m.AddFile(QStringLiteral("5"));
    EXPECT_EQ(names(m), (QStringList{"5", "4", "3"}));
}

TEST_F(MRUTest, SavesAndLoadsItsKeys) {
    // An earlier save left a fifth name, which stays.
    store(QStringLiteral("File5"), 1, QByteArray("alt", 4));
    cMRUFileList m = listOf(4, {"C:\\a.bmp", "/home/maria/Grüße.jpg", "b.bmp"});
    cRegistry r = reg();
    EXPECT_TRUE(m.Save(r));
    struct Row {
        QString name;
        vb::Registry::Data data;
    };
    const Row rows[] = {
        {"MaxCount", {4, dword(4)}},
        {"Count", {4, dword(3)}},
        {"File1", {1, QByteArray("b.bmp", 6)}},
        {"File2", {1, QStringLiteral("/home/maria/Grüße.jpg").toUtf8() + '\0'}},
        {"File3", {1, QByteArray("C:\\a.bmp", 9)}},
        {"File5", {1, QByteArray("alt", 4)}},
    };
    QStringList stored = vb::Registry::ValueNames(key);
    stored.sort();
    EXPECT_EQ(stored, (QStringList{"Count", "File1", "File2", "File3", "File5", "MaxCount"}));
    for (const Row& row : rows) EXPECT_EQ(vb::Registry::ValueData(key, row.name), row.data) << row.name.toStdString();

    cMRUFileList back;
    back.SetMaxFileCount(2);
    cRegistry r2 = reg();
    EXPECT_TRUE(back.Load(r2));
    EXPECT_EQ(back.MaxFileCount(), 4);
    EXPECT_EQ(names(back), names(m));

    // Without the key nothing changes.
    cMRUFileList none = listOf(3, {"x"});
    cRegistry other = reg();
    other.SectionKey = QStringLiteral("Software\\Niemand");
    EXPECT_TRUE(none.Load(other));
    EXPECT_EQ(names(none), QStringList{"x"});
    EXPECT_EQ(none.MaxFileCount(), 3);
}

TEST_F(MRUTest, LoadingOddStoresKeepsTheListUsable) {
    struct Case {
        const char* what;
        std::vector<std::pair<QString, vb::Registry::Data>> values;
        int capacity;
        QStringList expected;
    };
    const Case cases[] = {
        {"count above capacity",
         {{"MaxCount", {4, dword(2)}}, {"Count", {4, dword(3)}}, {"File1", {1, QByteArray("a", 2)}},
          {"File2", {1, QByteArray("b", 2)}}, {"File3", {1, QByteArray("c", 2)}}},
         2, {"a", "b"}},
        {"missing names read empty",
         {{"MaxCount", {4, dword(4)}}, {"Count", {4, dword(3)}}, {"File3", {1, QByteArray("c", 2)}}},
         4, {"", "", "c"}},
        {"negative count", {{"MaxCount", {4, dword(4)}}, {"Count", {4, dword(-5)}}}, 4, {}},
        {"huge capacity and count",
         {{"MaxCount", {4, dword(0x7fffffff)}}, {"Count", {4, dword(0x7fffffff)}}, {"File2", {1, QByteArray("b", 2)}}},
         cMRUFileList::kMaxFiles, {}},
        {"count as text", {{"MaxCount", {1, QByteArray("3", 2)}}, {"Count", {1, QByteArray("zwei", 5)}}}, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        vb::Registry::DeleteKey(key);
        for (const auto& [name, data] : c.values) store(name, data.type, data.bytes);
        cMRUFileList m;
        m.SetMaxFileCount(4);
        cRegistry r = reg();
        QElapsedTimer t;
        t.start();
        EXPECT_TRUE(m.Load(r));
        EXPECT_LT(t.elapsed(), 5000);
        EXPECT_EQ(m.MaxFileCount(), c.capacity);
        EXPECT_LE(m.FileCount(), m.MaxFileCount());
        if (c.capacity < 1000) { EXPECT_EQ(names(m), c.expected); }
        // The list still takes names.
        m.AddFile(QStringLiteral("neu"));
        EXPECT_EQ(m.file(1), QStringLiteral("neu"));
    }
    // The huge case: held to the list's bound; the stored name sits in its place, the others are empty.
    vb::Registry::DeleteKey(key);
    store("MaxCount", 4, dword(0x7fffffff));
    store("Count", 4, dword(0x7fffffff));
    store("File2", 1, QByteArray("b", 2));
    cMRUFileList m;
    cRegistry r = reg();
    m.Load(r);
    EXPECT_EQ(m.FileCount(), cMRUFileList::kMaxFiles);
    EXPECT_EQ(m.file(1), QString());
    EXPECT_EQ(m.file(2), QStringLiteral("b"));
    EXPECT_EQ(m.MenuCaption(cMRUFileList::kMaxFiles), QStringLiteral("&100000)  "));
}

// Stored counts of 2^31 - 1 with a default for missing names, which every missing name then
// takes: the list holds at most its bound of names, and saving it writes no more.
TEST_F(MRUTest, HugeStoredCountsAreHeldToTheListsBound) {
    store("MaxCount", 4, dword(0x7fffffff));
    store("Count", 4, dword(0x7fffffff));
    store("File1", 1, QByteArray("a", 2));
    cMRUFileList m;
    cRegistry r = reg();
    r.Default = QStringLiteral("fehlt");
    ASSERT_TRUE(m.Load(r));
    EXPECT_EQ(m.MaxFileCount(), cMRUFileList::kMaxFiles);
    EXPECT_EQ(m.FileCount(), cMRUFileList::kMaxFiles);
    EXPECT_EQ(m.file(1), QStringLiteral("a"));
    EXPECT_EQ(m.file(cMRUFileList::kMaxFiles), QStringLiteral("fehlt"));
    m.SetMaxFileCount(0x7fffffff);
    EXPECT_EQ(m.MaxFileCount(), cMRUFileList::kMaxFiles);
    vb::Registry::DeleteKey(key);
    ASSERT_TRUE(m.Save(r));
    const QStringList stored = vb::Registry::ValueNames(key);
    EXPECT_EQ(stored.size(), cMRUFileList::kMaxFiles + 2);
    EXPECT_EQ(vb::Registry::ValueData(key, QStringLiteral("Count")), (vb::Registry::Data{4, dword(cMRUFileList::kMaxFiles)}));
}

// A list of 100,000 names is read with one reading of the store file and written with one
// reading and one writing, not one per value.
TEST_F(MRUTest, AHundredThousandNamesCostOneReadingAndOneWriting) {
    const int n = cMRUFileList::kMaxFiles;
    QStringList expected;
    {
        vb::Registry::Batch batch;
        store("MaxCount", 4, dword(n));
        store("Count", 4, dword(n));
        for (int i = 1; i <= n; ++i) {
            expected << QStringLiteral("/home/maria/Bilder/foto%1.jpg").arg(i);
            store(QStringLiteral("File%1").arg(i), 1, expected.back().toUtf8() + '\0');
        }
        ASSERT_TRUE(batch.Commit());
    }
    cMRUFileList m;
    cRegistry r = reg();
    const int reads = vb::Registry::StoreReads(), writes = vb::Registry::StoreWrites();
    ASSERT_TRUE(m.Load(r));
    EXPECT_EQ(vb::Registry::StoreReads() - reads, 1);
    EXPECT_EQ(vb::Registry::StoreWrites() - writes, 0);
    EXPECT_EQ(names(m), expected);
    m.AddFile(QStringLiteral("neu.jpg"));
    ASSERT_TRUE(m.Save(r));
    EXPECT_EQ(vb::Registry::StoreReads() - reads, 2);
    EXPECT_EQ(vb::Registry::StoreWrites() - writes, 1);
    expected.prepend(QStringLiteral("neu.jpg"));
    expected.removeLast();
    cMRUFileList back;
    ASSERT_TRUE(back.Load(r));
    EXPECT_EQ(names(back), expected);
}
