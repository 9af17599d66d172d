// The host's recent-file list.
#include "imaging/cRegistry.h"
#include "imaging/mfrmMain.h"

namespace {
cRegistry mruKey() {
    cRegistry cR;
    cR.ClassKey = cRegistry::HKEY_CURRENT_USER;
    cR.SectionKey = QStringLiteral("Software\\Zaroreriri\\Morlikvast");
    return cR;
}
} // namespace

void mfrmMainHost::AddMRUFile(const QString& sFile) { m_cMRU.AddFile(sFile); }

void mfrmMainHost::LoadMRUList() {
    cRegistry cR = mruKey();
    m_cMRU.Load(cR);
}

void mfrmMainHost::SaveMRUList() {
    cRegistry cR = mruKey();
    m_cMRU.Save(cR);
}
