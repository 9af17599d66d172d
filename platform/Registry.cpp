#include "platform/Registry.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace vb::Registry {
namespace {
QString& storeFile() {
    static QString f;
    return f;
}
// Keys use backslashes; the settings file groups use slashes.
QString group(const QString& key) {
    QString g = key;
    g.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (g.endsWith(QLatin1Char('/'))) g.chop(1);
    return g;
}
// Keys are marked present by a value of their own, so that empty keys exist too.
const QString kMarker = QStringLiteral(".key");

QSettings open() { return QSettings(StoreFile(), QSettings::IniFormat); }
} // namespace

QString StoreFile() {
    if (!storeFile().isEmpty()) return storeFile();
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(dir);
    return dir + QStringLiteral("/registry.ini");
}
void SetStoreFile(const QString& path) { storeFile() = path; }

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
    QSettings s = open();
    return s.value(group(key) + QLatin1Char('/') + name, missing);
}

void SetValue(const QString& key, const QString& name, const QVariant& value) {
    CreateKey(key);
    QSettings s = open();
    s.setValue(group(key) + QLatin1Char('/') + name, value);
}

void DeleteValue(const QString& key, const QString& name) {
    QSettings s = open();
    s.remove(group(key) + QLatin1Char('/') + name);
}

QStringList ValueNames(const QString& key) {
    QSettings s = open();
    s.beginGroup(group(key));
    QStringList names = s.childKeys();
    names.removeAll(kMarker);
    return names;
}

QStringList SubKeys(const QString& key) {
    QSettings s = open();
    s.beginGroup(group(key));
    return s.childGroups();
}

} // namespace vb::Registry
