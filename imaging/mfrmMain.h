#pragma once
// The processing host of the photo editor: a hidden owner of the photo as a 24-bit buffer, on
// which the filter engine works. It draws every result into the editor's hidden picture box
// picImage; the editor hands over that box and its visible photo when it loads.
#include "imaging/cDIBSection.h"
#include "imaging/cImageProcessDIB.h"
#include "imaging/cMRUFileList.h"
#include "platform/window/Form.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace vb {
class Image;
class PictureBox;
} // namespace vb

class mfrmMainHost {
public:
    mfrmMainHost();

    // The editor's controls the host draws into: picImage receives every result at its own
    // size; Bildimage is the visible photo the filter entries copy picImage into.
    void Ziele_setzen(vb::PictureBox* picImage, vb::Image* Bildimage);
    vb::PictureBox* picImage() const { return m_picImage; }
    vb::Image* Bildimage() const { return m_Bildimage; }

    // Opens the picture file as the photo; an empty path asks for a file first.
    void Lade_Bild(const QString& Pfad);
    // Copies picImage's image into the editor's visible photo (the end of every filter entry).
    void Bild_uebertragen();

    // Filter entries of the photo editor: each starts with a fresh engine, runs the operation of
    // its index (other indexes do nothing) and ends with the copy into the visible photo.
    void mnuColors_Einstieg(int16_t& Index);
    void mnuLowPass_Einsprung(int16_t& Index);
    void mnuHighPass_Einsprung(int16_t& Index);
    void mnuSpecial_Einsprung(int16_t& Index);
    void Copy_Undo_To_Filterarea() {}

    // Image operations; each ends with Render and marks the photo dirty.
    long ImageDibHDC() const { return m_cDIB ? m_cDIB->hdc() : 0; }
    int ImageWidth() const;
    int ImageHeight() const;
    void ApplyPalette(const QString& sPalFile);
    void Colourise(float fHue);
    void Lighten();
    void Fade();
    void BlackAndWhite();
    void GrayScale();
    void NegativeImage();
    void AddNoise(bool bRandom, int lPercent);
    void Resample(int lNewWidth, int lNewHeight);
    void Render();
    void CopyImage();
    void ProcessImage(int eFilterType);
    void LoadCustomFilter(const cImageProcessDIB& cEngine);
    bool Dirty() const { return m_bDirty; }
    bool QuerySave() const { return false; }
    bool OpenFile(const QString& sFile, bool bNew);
    const QString& Filename() const { return m_sFileName; }
    void setFilename(const QString& s) { m_sFileName = s; }
    QString FileTitle() const;

    // The recent-file list of 4 names under the current user's "Software\Zaroreriri\Morlikvast";
    // nothing displays it.
    void AddMRUFile(const QString& sFile);
    void LoadMRUList();
    void SaveMRUList();
    cMRUFileList m_cMRU;

    // The filter engine, replaced by a fresh one at the start of every filter entry.
    std::unique_ptr<cImageProcessDIB> m_cImage;
    std::unique_ptr<cDIBSection> m_cDIB;
    std::unique_ptr<cDIBSection> m_cDIBBuffer;

    // The instance protocol of the program's windows: the host is "loaded" once it exists.
    bool IsLoaded() const { return true; }
    void Load() {}

private:
    void ensureBuffers();
    void newEngine();
    void m_cImage_Progress(int lPosition) { ProgressValue(lPosition); }
    void ProgressValue(int) {} // nothing shows the progress
    vb::PictureBox* m_picImage = nullptr;
    vb::Image* m_Bildimage = nullptr;
    bool m_bDirty = false;
    QString m_sFileName;
    int m_NewImageIndex = 0;
};

// The program-wide host, created on first use.
extern vb::Instance<mfrmMainHost> mfrmMain;
