// The message window: modes and answers, the text input and its keys.
#include "support/Fixture.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/window/TextBox.h"
#include "platform/window/Timer.h"

using namespace Parameter_und_Start;

class InformationTest : public ProgramTest {
protected:
    // Shows the window in a mode; `act` plays the user and returns the answer.
    short ask(short mode, const std::function<void()>& act) {
        Info_Text = QStringLiteral("Frage");
        Info_Modus = mode;
        answer([&](vb::Form&) { act(); });
        Information->Show(vb::vbModal);
        return Info_Modus;
    }
};

TEST_F(InformationTest, AnswersByButtonAndMode) {
    struct Case {
        short mode;
        const char* button;
        short expected;
    };
    const Case cases[] = {
        {1, "OK", 1}, {1, "Abbrechen", 0}, {1, "Schliessen", 0}, {2, "OK", 1}, {2, "Schliessen", 1},
        {4, "Verzeichnis", 4}, {4, "Schliessen", 0}, {3, "Schliessen", 0}, {1, "InfoTimer", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " in mode " + std::to_string(c.mode));
        const short got = ask(c.mode, [&] {
            if (QLatin1String(c.button) == QLatin1String("InfoTimer")) Information->InfoTimer->Fire();
            else Information->Get<vb::Image>(c.button)->FireClick();
        });
        EXPECT_EQ(got, c.expected);
        EXPECT_FALSE(Information->Visible());
    }
}

TEST_F(InformationTest, CoversFollowTheMode) {
    struct Case {
        short mode;
        bool cancelCovered, folderCovered;
    };
    for (const Case c : {Case{1, false, true}, Case{2, true, true}, Case{4, false, false}, Case{7, false, true}}) {
        ask(c.mode, [&] {
            EXPECT_EQ(Information->NurInfoShape->Visible(), c.cancelCovered);
            EXPECT_EQ(Information->Verzichnisshape->Visible(), c.folderCovered);
            EXPECT_EQ(Information->Infotext->Text(), QStringLiteral("Frage"));
            EXPECT_EQ(Information->Titelzeile->Caption(), LoadResString(801));
            Information->OK_Click();
        });
    }
}

TEST_F(InformationTest, TextInputTakesAtMost22TypedCharacters) {
    Info_Text = LoadResString(48);
    Information->Infotext->setLocked(false);
    Info_Modus = 1;
    QString seen;
    answer([&](vb::Form&) {
        EXPECT_EQ(Information->Titelzeile->Caption(), LoadResString(802));
        vb::TextBox* t = Information->Infotext;
        // The prompt is selected, so typing replaces it.
        EXPECT_EQ(t->SelLength(), LoadResString(48).size());
        for (int i = 0; i < 25; ++i) t->SendKey(Qt::Key_A, QStringLiteral("a"));
        EXPECT_EQ(t->Text(), QString(22, QLatin1Char('a')));
        t->SendKey(Qt::Key_Return, QStringLiteral("\r"));
        EXPECT_EQ(t->Text(), QString(22, QLatin1Char('a')));
        t->SendKey(Qt::Key_Backspace, QStringLiteral("\b"));
        EXPECT_EQ(t->Text().size(), 21);
        // At the limit Delete and the cursor keys still work (X11 gives Delete the text 127).
        t->SendKey(Qt::Key_A, QStringLiteral("b"));
        ASSERT_EQ(t->Text().size(), 22);
        t->SendKey(Qt::Key_Home, QString());
        t->SendKey(Qt::Key_Right, QString());
        t->SendKey(Qt::Key_Delete, QStringLiteral("\x7f"));
        EXPECT_EQ(t->Text(), QString(20, QLatin1Char('a')) + QStringLiteral("b"));
        // Text put in by other means than typing is not limited.
        t->setText(QString(30, QLatin1Char('x')));
        EXPECT_EQ(t->Text().size(), 30);
        t->setText(QStringLiteral("Hallo"));
        seen = t->Text();
        Information->OK_Click();
    });
    Information->Show(vb::vbModal);
    EXPECT_EQ(Info_Modus, 1);
    EXPECT_EQ(seen, QStringLiteral("Hallo"));
}

TEST_F(InformationTest, PromptOfferedWithTheLastText) {
    Letzte_Texteingabe = QStringLiteral("Vorher");
    Info_Text = LoadResString(48);
    Info_Modus = 1;
    Information->Infotext->setLocked(false);
    answer([&](vb::Form&) {
        Information->Infotext->FireMouseMove(0, 0, 10, 10);
        EXPECT_EQ(Information->Infotext->Text(), QStringLiteral("Vorher"));
        EXPECT_EQ(Information->Infotext->SelLength(), 6);
        // Once replaced, moving again changes nothing.
        Information->Infotext->setText(QStringLiteral("Neu"));
        Information->Infotext->FireMouseMove(0, 0, 11, 11);
        EXPECT_EQ(Information->Infotext->Text(), QStringLiteral("Neu"));
        Information->OK_Click();
    });
    Information->Show(vb::vbModal);
}
