#include "imaging/cMRUFileList.h"

#include "imaging/cRegistry.h"
#include "platform/system/Registry.h"
#include "platform/system/VBError.h"

namespace {
// A stored number as a 32-bit count: a missing value counts 0, a text that is no number is a
// type mismatch.
int storedCount(const QVariant& v) {
    if (!v.isValid()) return 0;
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (!ok) throw vb::VBError(13, vb::AppExeName(), QStringLiteral("Type mismatch"));
    if (n < INT32_MIN || n > INT32_MAX) throw vb::VBError(6, vb::AppExeName(), QStringLiteral("Overflow"));
    return int(n);
}
constexpr int kCaptionLength = 32;
} // namespace

void cMRUFileList::check(int iIndex) const {
    if (iIndex < 1 || iIndex > m_iMaxCount) throw vb::VBError(9, vb::AppExeName(), QStringLiteral("Subscript out of range"));
}

void cMRUFileList::put(int iIndex, const QString& s) {
    check(iIndex);
    if (size_t(iIndex) > m_sFiles.size()) {
        if (s.isEmpty()) return;
        m_sFiles.resize(size_t(iIndex));
    }
    m_sFiles[size_t(iIndex - 1)] = s;
}

void cMRUFileList::SetMaxFileCount(int iMax) {
    if (iMax < 0) throw vb::VBError(9, vb::AppExeName(), QStringLiteral("Subscript out of range"));
    iMax = std::min(iMax, kMaxFiles);
    if (iMax == m_iMaxCount) return;
    if (m_sFiles.size() > size_t(iMax)) m_sFiles.resize(size_t(iMax));
    m_iMaxCount = iMax;
    // Names beyond the new capacity are gone, so they are no longer counted.
    m_iCount = std::min(m_iCount, m_iMaxCount);
}

QString cMRUFileList::file(int iIndex) const {
    check(iIndex);
    return size_t(iIndex) <= m_sFiles.size() ? m_sFiles[size_t(iIndex - 1)] : QString();
}

bool cMRUFileList::FileExists(int iIndex) const { return !file(iIndex).isEmpty(); }

QString cMRUFileList::MenuCaption(int iIndex) const {
    const QString sFile = file(iIndex);
    QString sText = sFile;
    const qsizetype n = sFile.size();
    if (n > kCaptionLength) {
        qsizetype remembered = 0; // 1-based position of a backslash, 0 for none yet
        for (qsizetype p = n; p >= 1; --p) {
            if (sFile[p - 1] != QLatin1Char('\\')) continue;
            if (n - p <= kCaptionLength) {
                remembered = p;
            } else {
                sText = QStringLiteral("...") + sFile.mid((remembered ? remembered : p) - 1);
                break;
            }
        }
    }
    return QLatin1Char('&') + QString::number(iIndex) + QStringLiteral(")  ") + sText;
}

void cMRUFileList::AddFile(const QString& sfileName) {
    // A list without room holds nothing.
    if (m_iMaxCount < 1) return;
    // Entries past the stored ones are empty, so the search and the move only visit stored ones.
    const int stored = int(m_sFiles.size());
    int p = 0;
    for (int i = 1; i <= std::min(m_iCount, stored); ++i) {
        if (m_sFiles[size_t(i - 1)].compare(sfileName, Qt::CaseInsensitive) == 0) {
            p = i;
            break;
        }
    }
    if (p == 0 && sfileName.isEmpty() && m_iCount > stored) p = stored + 1;
    if (p == 0) {
        if (m_iCount < m_iMaxCount) ++m_iCount;
        p = m_iCount;
    }
    // Entries p - 1 down to 1 move one place back, which drops entry p; the name goes first.
    if (p <= stored) m_sFiles.erase(m_sFiles.begin() + (p - 1));
    m_sFiles.insert(m_sFiles.begin(), sfileName);
}

bool cMRUFileList::Save(cRegistry& cR) const {
    // All values in one reading and one writing of the store.
    vb::Registry::Batch batch;
    try {
        cR.ValueKey = QStringLiteral("MaxCount");
        cR.ValueType = cRegistry::REG_DWORD;
        cR.SetValue(m_iMaxCount);
        cR.ValueKey = QStringLiteral("Count");
        cR.ValueType = cRegistry::REG_DWORD;
        cR.SetValue(m_iCount);
        for (int i = 1; i <= m_iCount; ++i) {
            cR.ValueKey = QStringLiteral("File") + QString::number(i);
            cR.ValueType = cRegistry::REG_SZ;
            cR.SetValue(file(i));
        }
    } catch (const vb::VBError&) {
    }
    return true;
}

bool cMRUFileList::Load(cRegistry& cR) {
    vb::Registry::Batch batch;
    try {
        cR.ValueKey = QStringLiteral("MaxCount");
        if (cR.KeyExists()) {
            cR.ValueType = cRegistry::REG_DWORD;
            // A stored capacity beyond the list's bound is held to it, so that no stored number makes
            // the list hold, read or write billions of names.
            SetMaxFileCount(std::min(storedCount(cR.Value()), kMaxFiles));
            if (m_iMaxCount > 0) {
                cR.ValueKey = QStringLiteral("Count");
                cR.ValueType = cRegistry::REG_DWORD;
                // A stored count above the capacity cannot be loaded: only the names that fit are.
                const int count = std::clamp(storedCount(cR.Value()), 0, m_iMaxCount);
                m_sFiles.clear();
                m_iCount = count;
                if (cR.Default.toString().isEmpty()) {
                    // Missing names read as empty, so only the stored ones are read: a huge count
                    // costs nothing.
                    QStringList names;
                    int held = 0;
                    cR.EnumerateValues(names, held);
                    for (const QString& name : names) {
                        bool ok = false;
                        const int i = name.mid(4).toInt(&ok);
                        if (!name.startsWith(QLatin1String("File")) || !ok || QString::number(i) != name.mid(4) ||
                            i < 1 || i > count)
                            continue;
                        cR.ValueKey = name;
                        cR.ValueType = cRegistry::REG_SZ;
                        put(i, cR.Value().toString());
                    }
                } else {
                    for (int i = 1; i <= count; ++i) {
                        cR.ValueKey = QStringLiteral("File") + QString::number(i);
                        cR.ValueType = cRegistry::REG_SZ;
                        put(i, cR.Value().toString());
                    }
                }
            }
        }
    } catch (const vb::VBError&) {
    }
    return true;
}
