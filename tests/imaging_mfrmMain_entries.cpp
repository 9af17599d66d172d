// The processing host's filter entries: each runs its engine operation on the photo and shows the
// result in the picture box and image handed to it; opening pictures, with the open-error message.
#include "support/BothBuilds.h"
#include "support/EngineResult.h"
#include "support/Fixture.h"

#include "imaging/cDIBSection.h"
#include "imaging/cImageProcessDIB.h"
#include "imaging/mfrmMain.h"
#include "platform/window/App.h"
#include "platform/system/CommonDialog.h"
#include "platform/window/Image.h"
#include "platform/system/MsgBox.h"
#include "platform/window/PictureBox.h"
#include "platform/system/Rnd.h"
#include "platform/system/Seams.h"

#include <functional>
#include <random>
#include <vector>

namespace {

// A window with the two controls the host draws into.
const vb::LayoutItem kTargets[] = {
    {"picImage", vb::Kind::PictureBox, -1, 0, 0, 300, 300},
    {"Bild", vb::Kind::Image, -1, 0, 0, 300, 300},
};
class TargetForm : public vb::Form {
public:
    TargetForm() : vb::Form(QStringLiteral("Ziel"), kTargets, 6000, 6000) {}
    vb::PictureBox* picImage() const { return Get<vb::PictureBox>("picImage"); }
    vb::Image* Bild() const { return Get<vb::Image>("Bild"); }
};

QImage photo(int w, int h, unsigned seed) {
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(int(rng() & 255), int(rng() & 255), int(rng() & 255)));
    return img;
}

class FilterEntryTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        targets.Load();
        mfrmMain->Ziele_setzen(targets.picImage(), targets.Bild());
        original = photo(23, 17, 11);
        writeImage(file("foto.bmp"), original);
        vb::seams().msgBox = [this](const QString& prompt, int style, const QString& title) {
            boxes.push_back({prompt, style, title});
            return int(vb::vbOK);
        };
    }
    void TearDown() override {
        vb::seams().msgBox = [](const QString&, int, const QString&) { return int(vb::vbOK); };
        ProgramTest::TearDown();
    }
    // The engine's own result of an operation on the original photo.
    QImage expected(const EngineOp& op) const { return EngineResult(original, op); }
    struct Box {
        QString prompt;
        int style;
        QString title;
    };
    std::vector<Box> boxes;
    TargetForm targets;
    QImage original;
};

using Op = EngineOp;
Op type(int t) {
    return [t](cImageProcessDIB& e, cDIBSection& d, cDIBSection& b) {
        e.FilterType(t);
        e.ProcessImage(d, b);
    };
}

} // namespace

TEST_F(FilterEntryTest, EveryEntryIndexRunsItsOperationAndShowsTheResult) {
    struct Case {
        int entry; // 0 colours, 1 low pass, 2 high pass, 3 special
        int16_t index;
        Op op;
    };
    const Op nothing = [](cImageProcessDIB&, cDIBSection&, cDIBSection&) {};
    const std::vector<Case> cases = {
        {0, 0, [](auto& e, auto& d, auto&) { e.Fade(d, 240); }},
        {0, 1, [](auto& e, auto& d, auto&) { e.Lighten(d, 20); }},
        {0, 2, nothing},
        {0, 5, [](auto& e, auto& d, auto& b) { e.AddImages(d, b, -1, -255, -255, -255, 0, 0, 0, 0); d.LoadPictureBlt(b); }},
        {0, 7, [](auto& e, auto& d, auto&) { e.GrayScale(d); }},
        {0, 8, [](auto& e, auto& d, auto& b) { e.BlackAndWhite(d, b); }},
        {1, 0, type(3)}, {1, 1, type(4)}, {1, 2, type(1)}, {1, 3, type(2)},
        {2, 0, type(5)}, {2, 1, type(6)}, {2, 2, type(7)},
        {3, 0, type(8)}, {3, 1, nothing}, {3, 3, nothing}, {3, 4, type(10)}, {3, 5, type(9)}, {3, 6, type(11)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.entry << "/" << c.index);
        mfrmMain->Lade_Bild(file("foto.bmp"));
        targets.Bild()->setPicture(vb::Picture());
        int16_t index = c.index;
        switch (c.entry) {
        case 0: mfrmMain->mnuColors_Einstieg(index); break;
        case 1: mfrmMain->mnuLowPass_Einsprung(index); break;
        case 2: mfrmMain->mnuHighPass_Einsprung(index); break;
        default: mfrmMain->mnuSpecial_Einsprung(index); break;
        }
        const QImage want = expected(c.op);
        EXPECT_EQ(mfrmMain->m_cDIB.get()->ToImage(), want);
        // The negative is made in the buffer and painted back: both hold it.
        if (c.entry == 0 && c.index == 5) {
            EXPECT_EQ(mfrmMain->m_cDIBBuffer.get()->ToImage(), want);
        }
        EXPECT_EQ(targets.picImage()->hDC(), want);
        // The editor's image holds what the picture box shows, for every index.
        EXPECT_EQ(targets.Bild()->Picture().Image(), targets.picImage()->hDC());
    }
}

TEST_F(FilterEntryTest, TheNegativeLeavesItsBytesInPhotoAndBufferOnBothBuilds) {
    // Sizes whose rows start at every alignment and end in a short tail, and a picture split
    // among threads; the padding bytes of both buffers stay as they were.
    onBothBuilds([](const char* build) {
        SCOPED_TRACE(build);
        for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {5, 4}, {67, 9}, {601, 457}}) {
            SCOPED_TRACE(testing::Message() << w << "x" << h);
            mfrmMainHost host;
            host.m_cDIB = std::make_unique<cDIBSection>();
            host.m_cDIBBuffer = std::make_unique<cDIBSection>();
            ASSERT_TRUE(host.m_cDIB->Create(w, h) && host.m_cDIBBuffer->Create(w, h));
            std::mt19937 rng(unsigned(w * h));
            const size_t size = size_t(host.m_cDIB->ImageSize());
            for (size_t i = 0; i < size; ++i) {
                host.m_cDIB->DIBSectionBitsPtr()[i] = uint8_t(rng());
                host.m_cDIBBuffer->DIBSectionBitsPtr()[i] = uint8_t(rng());
            }
            std::vector<uint8_t> photo(host.m_cDIB->DIBSectionBitsPtr(), host.m_cDIB->DIBSectionBitsPtr() + size);
            std::vector<uint8_t> buffer(host.m_cDIBBuffer->DIBSectionBitsPtr(), host.m_cDIBBuffer->DIBSectionBitsPtr() + size);
            for (int y = 0; y < h; ++y)
                for (int b = 0; b < 3 * w; ++b) {
                    const size_t i = size_t(y * host.m_cDIB->BytesPerScanLine() + b);
                    photo[i] = buffer[i] = uint8_t(255 - photo[i]);
                }
            host.NegativeImage();
            EXPECT_EQ(std::vector<uint8_t>(host.m_cDIB->DIBSectionBitsPtr(), host.m_cDIB->DIBSectionBitsPtr() + size), photo);
            EXPECT_EQ(std::vector<uint8_t>(host.m_cDIBBuffer->DIBSectionBitsPtr(), host.m_cDIBBuffer->DIBSectionBitsPtr() + size), buffer);
        }
    });
}

TEST_F(FilterEntryTest, FiltersAccumulateOnThePhoto) {
    mfrmMain->Lade_Bild(file("foto.bmp"));
    EXPECT_FALSE(mfrmMain->Dirty());
    int16_t relief = 0;
    mfrmMain->mnuSpecial_Einsprung(relief);
    mfrmMain->mnuSpecial_Einsprung(relief);
    EXPECT_TRUE(mfrmMain->Dirty());
    EXPECT_EQ(mfrmMain->m_cDIB.get()->ToImage(), expected([](auto& e, auto& d, auto& b) {
                  e.FilterType(8);
                  e.ProcessImage(d, b);
                  e.ProcessImage(d, b);
              }));
}

TEST_F(FilterEntryTest, NoiseDrawsFromTheRuntime) {
    mfrmMain->Lade_Bild(file("foto.bmp"));
    int draws = 0;
    vb::seams().rnd = [&] { return (++draws % 7) / 7.0; };
    int16_t noise = 2;
    mfrmMain->mnuSpecial_Einsprung(noise);
    const QImage host = mfrmMain->m_cDIB.get()->ToImage();
    const int hostDraws = draws;
    draws = 0;
    EXPECT_EQ(host, expected([](auto& e, auto& d, auto&) { e.AddNoise(d, 20, true); }));
    EXPECT_EQ(draws, hostDraws);
    EXPECT_GT(draws, 23 * 17);
}

TEST_F(FilterEntryTest, RenderSizesThePictureBoxToThePhoto) {
    useScreen(1024, 768, 120);
    mfrmMain->Lade_Bild(file("foto.bmp"));
    EXPECT_EQ(targets.picImage()->Width(), 23 * 12);
    EXPECT_EQ(targets.picImage()->Height(), 17 * 12);
    EXPECT_EQ(targets.picImage()->hDC(), original);
    EXPECT_EQ(mfrmMain->ImageWidth(), 23);
    EXPECT_EQ(mfrmMain->ImageHeight(), 17);
}

TEST_F(FilterEntryTest, AFileThatIsNoPictureShowsTheOpenErrorAndKeepsThePhoto) {
    mfrmMain->Lade_Bild(file("foto.bmp"));
    QFile bad(file("kaputt.bmp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("kein Bild");
    bad.close();
    EXPECT_FALSE(mfrmMain->OpenFile(file("kaputt.bmp"), false));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, QStringLiteral("Beim Öffnen dieser Datei ist ein Fehler aufgetreten: Invalid picture"));
    EXPECT_EQ(boxes[0].style, int(vb::vbExclamation));
    EXPECT_EQ(boxes[0].title, vb::App::Title());
    EXPECT_EQ(mfrmMain->m_cDIB.get()->ToImage(), original);
    EXPECT_EQ(targets.picImage()->hDC(), original);
    EXPECT_EQ(mfrmMain->Filename(), file("foto.bmp"));

    mfrmMain->Lade_Bild(file("fehlt.bmp"));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].prompt, QStringLiteral("Beim Öffnen dieser Datei ist ein Fehler aufgetreten: File not found"));
    EXPECT_EQ(mfrmMain->m_cDIB.get()->ToImage(), original);
}

TEST_F(FilterEntryTest, NamesOfOpenedPictures) {
    EXPECT_TRUE(mfrmMain->OpenFile(file("foto.bmp"), true));
    EXPECT_EQ(mfrmMain->Filename(), "Image 1");
    EXPECT_TRUE(mfrmMain->OpenFile(file("foto.bmp"), true));
    EXPECT_EQ(mfrmMain->Filename(), "Image 2");
    EXPECT_TRUE(mfrmMain->OpenFile(file("foto.bmp"), false));
    EXPECT_EQ(mfrmMain->Filename(), file("foto.bmp"));
    EXPECT_EQ(mfrmMain->FileTitle(), "foto.bmp");
}

TEST_F(FilterEntryTest, WithoutAPathTheOpenDialogAsks) {
    std::vector<QString> asked;
    vb::seams().dialog = [&](const vb::DialogRequest& r) {
        asked.push_back(r.kind);
        return asked.size() == 1 ? std::optional<vb::DialogAnswer>() : std::optional<vb::DialogAnswer>(vb::DialogAnswer{file("foto.bmp"), {}});
    };
    mfrmMain->Lade_Bild(QString());
    EXPECT_EQ(mfrmMain->ImageWidth(), 0);
    mfrmMain->Lade_Bild(QString());
    EXPECT_EQ(asked, (std::vector<QString>{"open", "open"}));
    EXPECT_EQ(mfrmMain->m_cDIB.get()->ToImage(), original);
}
