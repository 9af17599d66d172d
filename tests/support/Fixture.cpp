#include "support/Fixture.h"
#include "support/QuietSeams.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "platform/window/Form.h"
#include "platform/capture/Scanner.h"
#include "platform/system/Seams.h"
#include "platform/window/TextBox.h"
#include "platform/capture/Twain.h"

void ProgramTest::SetUp() {
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    shownInfos.clear();
    m_answers.clear();
    m_ended = false;
    vb::DestroyAllInstances();
    Parameter_und_Start::Grundzustand();
    UseTestSeams(m_dir->path());
    Parameter_und_Start::Programmverzeichnis = dir();
    useScreen(1024, 768, 96);
    vb::Seams& s = vb::seams();
    s.endHandler = [this](int) { m_ended = true; };
    s.modal = [this](vb::Form& f) {
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
    };
}

void ProgramTest::TearDown() {
    vb::DestroyAllInstances();
    Parameter_und_Start::Grundzustand();
    vb::ResetSeams();
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
    vb::seams().screen = m;
}

void writeImage(const QString& path, const QImage& img, const char* format) { ASSERT_TRUE(img.save(path, format)); }

QString workFileNotWritten(const QString& name, bool photo) {
    return QStringLiteral("Die Arbeitsdatei \"") + name + QStringLiteral("\" konnte im Programmverzeichnis nicht geschrieben werden. Das ") +
           (photo ? QStringLiteral("Foto") : QStringLiteral("Logo")) + QStringLiteral(" bleibt unverändert.");
}

void answerFileDialog(QString& vorgeschlagen, const QString& ziel) {
    vb::seams().dialog = [&vorgeschlagen, &ziel](const vb::DialogRequest& r) -> std::optional<vb::DialogAnswer> {
        vorgeschlagen = r.fileName;
        vb::DialogAnswer a;
        a.fileName = ziel;
        return a;
    };
}
