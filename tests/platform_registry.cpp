// The key-value store that stands in for the registry.
#include "platform/system/Registry.h"
#include "platform/system/Seams.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vb;

TEST(Registry, KeysValuesAndDeletion) {
    QTemporaryDir dir;
    vb::seams().storeFile = dir.filePath(QStringLiteral("reg.ini"));
    const QString key = QStringLiteral("Software\\Zaroreriri\\Morlikvast");
    EXPECT_FALSE(Registry::KeyExists(key));
    Registry::SetValue(key, QStringLiteral("MaxCount"), 4);
    Registry::SetValue(key, QStringLiteral("File1"), QStringLiteral("C:\\Bilder\\a.bmp"));
    EXPECT_TRUE(Registry::KeyExists(key));
    EXPECT_TRUE(Registry::KeyExists(QStringLiteral("Software\\Zaroreriri")));
    EXPECT_EQ(Registry::Value(key, QStringLiteral("MaxCount")).toInt(), 4);
    EXPECT_EQ(Registry::Value(key, QStringLiteral("File1")).toString(), QStringLiteral("C:\\Bilder\\a.bmp"));
    EXPECT_EQ(Registry::Value(key, QStringLiteral("Count"), 0).toInt(), 0);
    QStringList names = Registry::ValueNames(key);
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("File1"), QStringLiteral("MaxCount")}));
    EXPECT_EQ(Registry::SubKeys(QStringLiteral("Software\\Zaroreriri")), QStringList{QStringLiteral("Morlikvast")});
    Registry::DeleteValue(key, QStringLiteral("File1"));
    EXPECT_FALSE(Registry::Value(key, QStringLiteral("File1")).isValid());
    Registry::CreateKey(QStringLiteral("Software\\Leer"));
    EXPECT_TRUE(Registry::KeyExists(QStringLiteral("Software\\Leer")));
    Registry::DeleteKey(QStringLiteral("Software\\Zaroreriri"));
    EXPECT_FALSE(Registry::KeyExists(key));
    vb::seams().storeFile = QString();
}
