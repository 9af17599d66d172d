#pragma once
// The most recently used file names, newest first, with their menu captions; kept in the
// registry under the key the caller set on a cRegistry object.
#include <QString>
#include <vector>

class cRegistry;

class cMRUFileList {
public:
    // The most names a list holds, whatever capacity is asked for or stored.
    static constexpr int kMaxFiles = 100000;
    int MaxFileCount() const { return m_iMaxCount; }
    // Keeps the first entries; the count never exceeds the capacity, the capacity never kMaxFiles.
    void SetMaxFileCount(int iMax);
    int FileCount() const { return m_iCount; }
    // Entries are numbered from 1; a number outside the capacity raises error 9.
    QString file(int iIndex) const;
    bool FileExists(int iIndex) const;
    QString MenuCaption(int iIndex) const;
    void AddFile(const QString& sfileName);
    bool Save(cRegistry& cR) const;
    bool Load(cRegistry& cR);

private:
    int m_iMaxCount = 0;
    int m_iCount = 0;
    // Entry i at [i - 1]; grown on demand up to the capacity, so a large capacity costs nothing.
    std::vector<QString> m_sFiles;
    void check(int iIndex) const;
    void put(int iIndex, const QString& s);
};
