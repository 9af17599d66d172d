#include "imaging/mfrmMain.h"

#include "imaging/GCommonDialog.h"
#include "imaging/cImageProcessDIB_Parallel.h"
#include "imaging/cImageProcessDIB_Points.h"
#include "platform/window/App.h"
#include "platform/window/Image.h"
#include "platform/system/MsgBox.h"
#include "platform/picture/Picture.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/system/VBError.h"

#include <QFileInfo>

vb::Instance<mfrmMainHost> mfrmMain;

mfrmMainHost::mfrmMainHost() {
    newEngine();
    m_cMRU.SetMaxFileCount(4);
}

void mfrmMainHost::newEngine() {
    m_cImage = std::make_unique<cImageProcessDIB>();
    m_cImage->Progress = [this](int lPosition) { m_cImage_Progress(lPosition); };
}

void mfrmMainHost::Ziele_setzen(vb::PictureBox* picImage, vb::Image* Bildimage) {
    m_picImage = picImage;
    m_Bildimage = Bildimage;
}

void mfrmMainHost::ensureBuffers() {
    if (!m_cDIB) m_cDIB = std::make_unique<cDIBSection>();
    if (!m_cDIBBuffer) m_cDIBBuffer = std::make_unique<cDIBSection>();
}

void mfrmMainHost::Lade_Bild(const QString& Pfad) {
    QString datei = Pfad;
    if (datei.isEmpty()) {
        GCommonDialog dlg;
        QString titel;
        QString filter = QStringLiteral("Picture Files (*.BMP;*.GIF;*.JPG;*.DIB)|*.BMP;*.GIF;*.JPG;*.DIB|Bitmap Files (*.BMP;*.DIB)|*.BMP;*.DIB|"
                                        "GIF Files (*.GIF)|*.GIF|JPEG Files (*.JPG)|*.JPG|All FIles (*.*)|*.*");
        bool schreibgeschuetzt = false;
        int filterIndex = 1;
        long flags = 0;
        if (!dlg.VBGetOpenFileName(datei, titel, true, false, schreibgeschuetzt, true, filter, filterIndex, QString(),
                                   QString(), QString(), -1, flags))
            return;
    }
    OpenFile(datei, false);
}

bool mfrmMainHost::OpenFile(const QString& sFile, bool bNew) {
    try {
        const vb::Picture bild = vb::LoadPicture(sFile);
        const QImage& bildDaten = bild.Image();
        if (m_cDIB && m_cDIBBuffer && m_cDIB->hdc() && m_cDIBBuffer->hdc() && !bildDaten.isNull() &&
            m_cDIB->Width() == bildDaten.width() && m_cDIB->Height() == bildDaten.height() &&
            m_cDIBBuffer->Width() == bildDaten.width() && m_cDIBBuffer->Height() == bildDaten.height()) {
            // A photo of the same size (the editor reopens every filtered photo): the buffers
            // stay, already in memory; every filter writes its scratch buffer before reading it.
            m_cDIB->LoadPictureBlt(bildDaten);
        } else {
            // A new buffer first: a picture that cannot be held leaves the previous photo.
            auto dib = std::make_unique<cDIBSection>();
            dib->CreateFromPicture(bildDaten);
            if (!dib->hdc()) throw vb::VBError(7, QStringLiteral("mfrmMain"), QStringLiteral("Out of memory"));
            auto buffer = std::make_unique<cDIBSection>();
            if (!buffer->Create(dib->Width(), dib->Height())) throw vb::VBError(7, QStringLiteral("mfrmMain"), QStringLiteral("Out of memory"));
            m_cDIB = std::move(dib);
            m_cDIBBuffer = std::move(buffer);
        }
        Render();
        m_sFileName = bNew ? QStringLiteral("Image %1").arg(++m_NewImageIndex) : sFile;
        if (m_picImage) m_picImage->Refresh();
        return true;
    } catch (const vb::VBError& e) {
        vb::MsgBox(QStringLiteral("Beim Öffnen dieser Datei ist ein Fehler aufgetreten: ") + e.Description(),
                   vb::vbExclamation, vb::App::Title());
        return false;
    }
}

void mfrmMainHost::mnuColors_Einstieg(int16_t& Index) {
    newEngine();
    switch (Index) {
    case 0: Fade(); break;
    case 1: Lighten(); break;
    case 5: NegativeImage(); break;
    case 7: GrayScale(); break;
    case 8: BlackAndWhite(); break;
    default: break;
    }
    Bild_uebertragen();
}

void mfrmMainHost::mnuLowPass_Einsprung(int16_t& Index) {
    newEngine();
    switch (Index) {
    case 0: ProcessImage(cImageProcessDIB::ePyramid3); break;
    case 1: ProcessImage(cImageProcessDIB::ePyramid5); break;
    case 2: ProcessImage(cImageProcessDIB::eBlur3); break;
    case 3: ProcessImage(cImageProcessDIB::eBlur5); break;
    default: break;
    }
    Bild_uebertragen();
}

void mfrmMainHost::mnuHighPass_Einsprung(int16_t& Index) {
    newEngine();
    switch (Index) {
    case 0: ProcessImage(cImageProcessDIB::eSharpen); break;
    case 1: ProcessImage(cImageProcessDIB::eSharpenMore); break;
    case 2: ProcessImage(cImageProcessDIB::eUnsharpMask); break;
    default: break;
    }
    Bild_uebertragen();
}

void mfrmMainHost::mnuSpecial_Einsprung(int16_t& Index) {
    newEngine();
    switch (Index) {
    case 0: ProcessImage(cImageProcessDIB::eEmboss); break;
    case 2: AddNoise(true, 20); break;
    case 4: ProcessImage(cImageProcessDIB::eMinimum3); break;
    case 5: ProcessImage(cImageProcessDIB::eMean3); break;
    case 6: ProcessImage(cImageProcessDIB::eMaximum3); break;
    default: break;
    }
    Bild_uebertragen();
}

QString mfrmMainHost::FileTitle() const { return QFileInfo(m_sFileName).fileName(); }

int mfrmMainHost::ImageWidth() const { return m_cDIB ? m_cDIB->Width() : 0; }
int mfrmMainHost::ImageHeight() const { return m_cDIB ? m_cDIB->Height() : 0; }

void mfrmMainHost::Render() {
    ensureBuffers();
    if (!m_picImage) return;
    const double tx = vb::Screen::TwipsPerPixelX(), ty = vb::Screen::TwipsPerPixelY();
    m_picImage->setWidth(m_cDIB->Width() * tx);
    m_picImage->setHeight(m_cDIB->Height() * ty);
    if (m_cDIB->hdc()) m_cDIB->PaintPicture(m_picImage->hDC(), 0, 0, -1, -1, 0, 0, cDIBSection::kSrcCopy);
    m_picImage->Refresh();
}

void mfrmMainHost::Bild_uebertragen() {
    if (m_picImage && m_Bildimage) m_Bildimage->setPicture(m_picImage->Image());
}

void mfrmMainHost::ApplyPalette(const QString&) {
    ensureBuffers();
    Render();
    m_bDirty = true;
}

void mfrmMainHost::Colourise(float fHue) {
    ensureBuffers();
    if (m_cDIB->hdc()) m_cImage->Colourise(*m_cDIB, fHue, 0.5f);
    Render();
    m_bDirty = true;
}

void mfrmMainHost::Lighten() {
    ensureBuffers();
    if (m_cDIB->hdc()) m_cImage->Lighten(*m_cDIB, 20);
    Render();
    m_bDirty = true;
}

void mfrmMainHost::Fade() {
    ensureBuffers();
    if (m_cDIB->hdc()) m_cImage->Fade(*m_cDIB, 240);
    Render();
    m_bDirty = true;
}

void mfrmMainHost::BlackAndWhite() {
    ensureBuffers();
    if (m_cDIB->hdc()) m_cImage->BlackAndWhite(*m_cDIB, *m_cDIBBuffer);
    Render();
    m_bDirty = true;
}

void mfrmMainHost::GrayScale() {
    ensureBuffers();
    if (m_cDIB->hdc()) m_cImage->GrayScale(*m_cDIB);
    Render();
    m_bDirty = true;
}

void mfrmMainHost::NegativeImage() {
    ensureBuffers();
    if (m_cDIB->hdc()) {
        cDIBSection& foto = *m_cDIB;
        cDIBSection& puffer = *m_cDIBBuffer;
        if (puffer.hdc() && puffer.Width() == foto.Width() && puffer.Height() == foto.Height()) {
            // The negative into the buffer and the buffer back into the photo, in one pass over
            // the memory instead of two: the same bytes.
            const size_t bytes = size_t(foto.Width()) * 3;
            const int line = foto.BytesPerScanLine();
            imaging::forRows(0, foto.Height(), int64_t(bytes), [&](int ya, int yb) {
                for (int y = ya; y < yb; ++y) {
                    uint8_t* zeile = foto.DIBSectionBitsPtr() + int64_t(y) * line;
                    uint8_t* negativ = puffer.DIBSectionBitsPtr() + int64_t(y) * line;
                    imaging::negateBytesAndCopy(zeile, negativ, bytes);
                }
            });
        } else {
            m_cImage->AddImages(foto, puffer, -1, -255, -255, -255, 0, 0, 0, 0);
            foto.LoadPictureBlt(puffer);
        }
    }
    Render();
    m_bDirty = true;
}

void mfrmMainHost::AddNoise(bool bRandom, int lPercent) {
    ensureBuffers();
    if (m_cDIB->hdc()) m_cImage->AddNoise(*m_cDIB, lPercent, bRandom);
    Render();
    m_bDirty = true;
}

void mfrmMainHost::Resample(int lNewWidth, int lNewHeight) {
    ensureBuffers();
    if (m_cDIB->hdc() && lNewWidth > 0 && lNewHeight > 0 && (lNewWidth != m_cDIB->Width() || lNewHeight != m_cDIB->Height())) {
        if (auto neu = m_cDIB->Resample(lNewHeight, lNewWidth)) {
            m_cDIB = std::move(neu);
            m_cDIBBuffer->Create(lNewWidth, lNewHeight);
        }
    }
    Render();
    m_bDirty = true;
}

void mfrmMainHost::CopyImage() {
    ensureBuffers();
    if (m_cDIB->hdc()) m_cDIB->CopyToClipboard();
}

void mfrmMainHost::ProcessImage(int eFilterType) {
    ensureBuffers();
    m_cImage->FilterType(eFilterType);
    if (m_cDIB->hdc()) m_cImage->ProcessImage(*m_cDIB, *m_cDIBBuffer);
    Render();
    m_bDirty = true;
}

void mfrmMainHost::LoadCustomFilter(const cImageProcessDIB& cEngine) {
    m_cImage->FilterType(cImageProcessDIB::eCustom);
    m_cImage->FilterWeight(cEngine.FilterWeight());
    m_cImage->FilterArraySize(cEngine.FilterArraySize());
    const int half = cEngine.FilterArraySize() / 2;
    for (int x = -half; x <= half; ++x)
        for (int y = -half; y <= half; ++y) m_cImage->FilterValue(x, y, cEngine.FilterValue(x, y));
}
