// The help window: hook, single reused window, missing file, internal links, and the shipped file.
#include "platform/system/HelpViewer.h"
#include "support/Files.h"
#include "platform/system/Seams.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWidget>
#include <gtest/gtest.h>

using namespace vb;

namespace {

// A page long enough to scroll: contents at the top, a far section at the bottom.
QByteArray longPage() {
    QByteArray html = "<html><head><meta charset=\"utf-8\"></head><body>"
                      "<h1><a name=\"inhalt\">Inhalt</a></h1><p><a href=\"#ende\">Zum Ende</a></p>";
    for (int i = 0; i < 300; ++i) html += "<p>Zeile " + QByteArray::number(i) + "</p>";
    html += "<h2><a name=\"ende\">Ende</a></h2><p>Schluss</p></body></html>";
    return html;
}

QTextBrowser* browser() { return Help::Window() ? Help::Window()->findChild<QTextBrowser*>() : nullptr; }

QPushButton* button(const QString& text) {
    for (QPushButton* b : Help::Window()->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

class HelpViewerTest : public ::testing::Test {
protected:
    void TearDown() override {
        vb::seams().helpViewer = {};
        if (Help::Window()) Help::Window()->hide();
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(HelpViewerTest, HookReceivesPathAndContentsAnchor) {
    QString path, anchor;
    int calls = 0;
    vb::seams().helpViewer = [&](const QString& p, const QString& a) {
        path = p;
        anchor = a;
        ++calls;
    };
    const QWidget* before = Help::Window();
    Help::ShowContents(QStringLiteral("/prog/vorad.hlp"));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(path, QStringLiteral("/prog/vorad.hlp"));
    EXPECT_EQ(anchor, QStringLiteral("inhalt"));
    EXPECT_EQ(Help::Window(), before); // the hook replaces the window
}

TEST_F(HelpViewerTest, OpensOneWindowShowingTheFileAsHtml) {
    // The .hlp name must not keep the content from being read as UTF-8 HTML.
    const QString path = WriteFileIn(dir, QStringLiteral("vorad.hlp"),
                                   "<html><head><meta charset=\"utf-8\"></head><body><a name=\"inhalt\"></a>"
                                   "<h1>Überblick</h1><p>Größe <b>72 × 14</b></p></body></html>");
    Help::ShowContents(path);
    QWidget* w = Help::Window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Vorad Logo-Kalvoren - Hilfe"));
    ASSERT_NE(browser(), nullptr);
    const QString text = browser()->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Überblick"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Größe 72 × 14")));
    EXPECT_FALSE(text.contains(QStringLiteral("<b>")));
    EXPECT_NE(button(QStringLiteral("Zurück")), nullptr);
    EXPECT_NE(button(QStringLiteral("Inhalt")), nullptr);

    // A second request after closing reuses the window and rereads the file.
    w->hide();
    WriteFileIn(dir, QStringLiteral("vorad.hlp"), "<html><body><p>Neu</p></body></html>");
    Help::ShowContents(path);
    EXPECT_EQ(Help::Window(), w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(browser()->toPlainText().trimmed(), QStringLiteral("Neu"));
}

TEST_F(HelpViewerTest, MissingFileShowsMessageInTheWindow) {
    const QString path = dir.filePath(QStringLiteral("fehlt.hlp"));
    for (const QString& p : {path, dir.path(), QString()}) {
        Help::ShowContents(p);
        ASSERT_NE(browser(), nullptr);
        EXPECT_TRUE(Help::Window()->isVisible());
        EXPECT_EQ(browser()->toPlainText().trimmed(),
                  QStringLiteral("Die Hilfedatei \"%1\" wurde nicht gefunden.").arg(p));
    }
}

TEST_F(HelpViewerTest, LinksJumpAndBackAndContentsReturn) {
    Help::ShowContents(WriteFileIn(dir, QStringLiteral("lang.hlp"), longPage()));
    QCoreApplication::processEvents(); // the first layout settles the scroll range
    QTextBrowser* b = browser();
    ASSERT_NE(b, nullptr);
    QScrollBar* bar = b->verticalScrollBar();
    QPushButton* back = button(QStringLiteral("Zurück"));
    QPushButton* home = button(QStringLiteral("Inhalt"));
    ASSERT_TRUE(back && home);
    const int contents = bar->value(); // the window opens at the contents anchor
    EXPECT_LT(contents, 20);
    EXPECT_FALSE(back->isEnabled());

    emit b->anchorClicked(QUrl(QStringLiteral("#ende")));
    const int end = bar->value();
    EXPECT_GT(end, contents + 1000);
    EXPECT_TRUE(back->isEnabled());

    back->click();
    EXPECT_EQ(bar->value(), contents);
    EXPECT_FALSE(back->isEnabled());

    // Links out of the page lead nowhere.
    emit b->anchorClicked(QUrl(QStringLiteral("https://example.org/#ende")));
    emit b->anchorClicked(QUrl(QStringLiteral("andere.hlp#ende")));
    EXPECT_EQ(bar->value(), contents);
    EXPECT_FALSE(back->isEnabled());

    emit b->anchorClicked(QUrl(QStringLiteral("#ende")));
    home->click();
    EXPECT_EQ(bar->value(), contents);
    back->click();
    EXPECT_EQ(bar->value(), end);
}

// The shipped help file lies beside the program; every link of it must find its section.
TEST(ShippedHelpFile, EveryInternalLinkHasItsAnchor) {
    QFile f(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vorad.hlp")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
    const QString html = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    QSet<QString> names;
    for (const auto& m : QRegularExpression(QStringLiteral("name=\"([^\"]+)\"")).globalMatch(html)) names << m.captured(1);
    EXPECT_TRUE(names.contains(QStringLiteral("inhalt")));
    int links = 0;
    for (const auto& m : QRegularExpression(QStringLiteral("href=\"([^\"]*)\"")).globalMatch(html)) {
        ++links;
        const QString href = m.captured(1);
        ASSERT_TRUE(href.startsWith(QLatin1Char('#'))) << href.toStdString();
        EXPECT_TRUE(names.contains(href.mid(1))) << href.toStdString();
    }
    EXPECT_GT(links, 12);
    EXPECT_FALSE(html.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
}
