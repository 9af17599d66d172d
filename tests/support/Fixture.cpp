#include "support/Fixture.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "logo/Zaroreriri.h"
#include "platform/Cursor.h"
#include "platform/CommonDialog.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/Registry.h"
#include "platform/Rnd.h"
#include "platform/Scanner.h"
#include "platform/ScreenGrab.h"
#include "platform/Shell.h"
#include "platform/SingleInstance.h"
#include "platform/TextBox.h"
#include "platform/Twain.h"

void ProgramTest::SetUp() {
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    shownInfos.clear();
    m_answers.clear();
    m_ended = false;
    vb::DestroyAllInstances();
    Parameter_und_Start::Grundzustand();
    vb::App::SetPath(m_dir->path());
    vb::Registry::SetStoreFile(file(QStringLiteral("registry.ini")));
    Parameter_und_Start::Programmverzeichnis = dir();
    QDir(m_dir->path()).mkpath(QStringLiteral("etc"));
    Parameter_und_Start::SetSystemFolder(dir() + QStringLiteral("etc"));
    useScreen(1024, 768, 96);
    // SANE sees no scanner until a test configures one; the scanner windows are cancelled.
    vb::Scanner::UseConfiguration({});
    vb::TWAIN_SetHideUI(0);
    vb::SetScanSourceWindowHook([](vb::ScanSourceWindow& w) { w.Abbrechen_Click(); });
    vb::SetScanWindowHook([](vb::ScanWindow& w, vb::ScanWindow::Event) { w.Abbrechen_Click(); });
    vb::SetCursorPos(std::nullopt);
    vb::SetRndSource({});
    Zaroreriri::Letzte_Mausposition_vergessen();
    vb::App::SetEndHandler([this](int) { m_ended = true; });
    vb::Shell::SetShellHook([](const QString&, const QString&) { return true; });
    vb::SetDialogHook([](const vb::DialogRequest&) { return std::optional<vb::DialogAnswer>(); });
    vb::SetModalHook([this](vb::Form& f) {
        if (f.Name() == QLatin1String("Information")) shownInfos.push_back(Information->Infotext->Text());
        if (!m_answers.empty()) {
            Answer a = std::move(m_answers.front());
            m_answers.pop_front();
            a(f);
        }
        if (f.Visible()) {
            if (f.Name() == QLatin1String("Information")) Information->Abbrechen_Click();
            else f.Hide();
        }
    });
}

void ProgramTest::TearDown() {
    vb::SingleInstance::Release();
    vb::SetModalHook({});
    vb::SetRndSource({});
    vb::SetDialogHook({});
    vb::SetScanSourceWindowHook({});
    vb::SetScanWindowHook({});
    vb::SetDesktopOverride(std::nullopt);
    vb::SetPortalOverride(std::nullopt);
    vb::Shell::SetShellHook({});
    vb::App::SetEndHandler({});
    vb::SetCursorPos(std::nullopt);
    vb::Screen::SetOverride(std::nullopt);
    vb::Registry::SetStoreFile(QString());
    vb::DestroyAllInstances();
    Parameter_und_Start::Grundzustand();
}

void ProgramTest::answerInfo(int mode) {
    answer([mode](vb::Form&) {
        if (mode == 1) Information->OK_Click();
        else if (mode == 4) Information->Verzeichnis_Click();
        else Information->Abbrechen_Click();
    });
}

void ProgramTest::useScreen(int width, int height, int dpi, int bits) {
    vb::ScreenMetrics m;
    m.widthPx = width;
    m.heightPx = height;
    m.dpi = dpi;
    m.bitsPerPixel = bits;
    vb::Screen::SetOverride(m);
}

void writeImage(const QString& path, const QImage& img, const char* format) { ASSERT_TRUE(img.save(path, format)); }
