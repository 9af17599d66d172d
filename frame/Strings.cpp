#include "frame/Strings.h"

#include "platform/system/VBError.h"

#include <QHash>
#include <QStringList>

extern const char* const kStringTableTsv;

namespace {
const QHash<int, QString>& table() {
    static const QHash<int, QString> t = [] {
        QHash<int, QString> h;
        const QString all = QString::fromUtf8(kStringTableTsv);
        for (const QString& line : all.split(QLatin1Char('\n'))) {
            const int tab = line.indexOf(QLatin1Char('\t'));
            if (tab <= 0) continue;
            bool ok = false;
            const int id = line.left(tab).toInt(&ok);
            if (!ok) continue;
            QString text = line.mid(tab + 1);
            if (text.endsWith(QLatin1Char('\r'))) text.chop(1);
            text.replace(QLatin1String("\\n"), QLatin1String("\n"));
            h.insert(id, text);
        }
        return h;
    }();
    return t;
}
} // namespace


QString LoadResString(int id) {
    auto it = table().constFind(id);
    if (it == table().constEnd())
        throw vb::VBError(326, vb::AppExeName(), QStringLiteral("Resource with identifier '%1' not found").arg(id));
    return *it;
}
