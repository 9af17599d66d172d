// The toolkit's own dialogs and menus speak German once the program has started, and the text
// tool's font dialog offers what the program asks for.
#include "support/Fixture.h"

#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "platform/system/CommonDialog.h"
#include "platform/window/Image.h"
#include "platform/system/MsgBox.h"
#include "platform/system/Seams.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QMenu>

namespace {
QStringList buttonTexts(const QDialog& d) {
    QStringList out;
    for (const QDialogButtonBox* box : d.findChildren<QDialogButtonBox*>())
        for (const QAbstractButton* b : box->buttons()) out << b->text().remove(QLatin1Char('&'));
    return out;
}

class LanguageTest : public ProgramTest {
protected:
    void start() {
        vb::seams().msgBox = [](const QString&, int, const QString&) { return int(vb::vbOK); };
        try {
            Parameter_und_Start::Main();
        } catch (const vb::App::Ended&) {
            FAIL() << "the program ended at start";
        }
    }
};
} // namespace

TEST_F(LanguageTest, StandardDialogsAndMenusAreGerman) {
    start();
    struct Case {
        const char* kind;
        QStringList buttons;
    };
    const Case cases[] = {
        {"open", {"Öffnen", "Abbrechen"}},
        {"save", {"Speichern", "Abbrechen"}},
        {"font", {"OK", "Abbrechen"}},
        {"color", {"OK", "Abbrechen"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        vb::DialogRequest r;
        r.kind = QString::fromLatin1(c.kind);
        r.flags = vb::OFN_HIDEREADONLY;
        const std::unique_ptr<QDialog> d = vb::MakeDialog(r);
        QStringList texts = buttonTexts(*d);
        QStringList expected = c.buttons;
        texts.sort();
        expected.sort();
        EXPECT_EQ(texts, expected);
    }
    QLineEdit edit;
    edit.setText(QStringLiteral("Text"));
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList actions;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator()) actions << a->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
    EXPECT_TRUE(actions.contains(QStringLiteral("Kopieren"))) << actions.join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(actions.contains(QStringLiteral("Einfügen"))) << actions.join(QLatin1Char(',')).toStdString();
}

TEST_F(LanguageTest, TextToolFontDialogIsScalableOnlyWithApply) {
    start();
    std::optional<vb::DialogRequest> gefragt;
    vb::seams().dialog = [&](const vb::DialogRequest& r) {
        if (r.kind == QLatin1String("font")) gefragt = r;
        return std::optional<vb::DialogAnswer>();
    };
    Startbildschirm->Logo_Text->FireClick();
    ASSERT_TRUE(gefragt);
    EXPECT_EQ(gefragt->font.name, QStringLiteral("Arial"));
    EXPECT_EQ(gefragt->font.size, 9);
    const std::unique_ptr<QDialog> d = vb::MakeDialog(*gefragt);
    auto* font = qobject_cast<QFontDialog*>(d.get());
    ASSERT_TRUE(font);
    EXPECT_TRUE(font->testOption(QFontDialog::ScalableFonts));
    EXPECT_FALSE(font->testOption(QFontDialog::NonScalableFonts));
    EXPECT_EQ(buttonTexts(*d), (QStringList{"OK", "Abbrechen", "Anwenden"}));
    // Without the Apply flag there is no such button.
    gefragt->flags = vb::CF_SCREENFONTS;
    EXPECT_EQ(buttonTexts(*vb::MakeDialog(*gefragt)), (QStringList{"OK", "Abbrechen"}));
}
