// The settings dialog and the settings file: choices, their mirror in the main window, the
// categories they set, OK and cancel, and "param.ini" written and read.
#include "support/Buttons.h"
#include "support/FileFaults.h"
#include "support/Files.h"
#include "support/Fixture.h"

#include "frame/Einstellungen.h"
#include "frame/Intro.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "frame/Variablen_Sichern_laden.h"
#include "platform/window/ComboBox.h"
#include "platform/system/HelpViewer.h"
#include "platform/window/Image.h"
#include "platform/window/Keys.h"
#include "platform/window/Label.h"
#include "platform/capture/Scanner.h"
#include "platform/window/Timer.h"
#include "platform/capture/Twain.h"
#include "platform/system/Seams.h"

#include <QFile>
#include <QWidget>
#include <atomic>
#include <sys/stat.h>
#include <thread>

using namespace Parameter_und_Start;

namespace {
void shoot(vb::Form& f, const char* name) {
    const QByteArray dir = qgetenv("VORAD_SCREENSHOTS");
    if (!dir.isEmpty()) f.Widget()->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}
} // namespace

class SettingsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        COM_Port_Nummer = 1; // as Main leaves it
        Netzbetreiber_Code = QStringLiteral("01");
    }
    // The start-up as the splash window's timer runs it: main window, lists, settings file, dialog.
    EinstellungenForm& starten() {
        Intro->Splash->Fire();
        return *Einstellungen;
    }
    // A new run of the program in the same folder.
    EinstellungenForm& neuStarten() {
        vb::DestroyAllInstances();
        Hover_Objekt = nullptr;
        return starten();
    }
    static QString liste(vb::ComboBox* c) {
        QStringList l;
        for (int i = 0; i < c->ListCount(); ++i) l << c->List(i);
        return l.join(QLatin1Char('|'));
    }
};

TEST_F(SettingsTest, LineWrittenAtQuitIsReadBackAndStays) {
    EinstellungenForm& e = starten();
    e.PfeilHoch_Click();
    e.Vorad_Master_ComboKategorien->Choose(0);
    e.Vorad_Master_VoradTyp_ComboKategorien->Choose(2);
    e.Vorad_Master_ComboKategorien_Netzbetreiber->Choose(2);
    e.Berechnungsart_Combobox->Choose(1);
    answerInfo(1);
    EXPECT_THROW(Startbildschirm->Schliessen_Click(), vb::App::Ended);
    EXPECT_EQ(ReadFile(file("param.ini")), QByteArray("20221\r\n"));

    COM_Port_Nummer = 1;
    EinstellungenForm& n = neuStarten();
    EXPECT_EQ(n.COM_Port->Caption(), QStringLiteral("2"));
    EXPECT_EQ(COM_Port_Nummer, 2);
    EXPECT_EQ(n.Vorad_Master_ComboKategorien_Label->Caption(), QStringLiteral("Nokia"));
    EXPECT_EQ(n.Vorad_Master_VoradTyp_ComboKategorien_Label->Caption(), QStringLiteral("61xx"));
    EXPECT_EQ(n.Vorad_Master_ComboKategorien_Netzbetreiber_Label->Caption(), QStringLiteral("E-Plus Mobilfunk"));
    EXPECT_EQ(n.Berechnungsart_Combobox_Label->Caption(), QStringLiteral("Muster"));
    EXPECT_EQ(Netzbetreiber_Code, QStringLiteral("26203"));
    EXPECT_EQ(Startbildschirm->COM_Port->Caption(), QStringLiteral("2"));
    EXPECT_EQ(Startbildschirm->Vorad_Master_VoradTyp_ComboKategorien_Label->Caption(), QStringLiteral("61xx"));
    // Kept, so that a run that does not end through the quit keeps the settings.
    EXPECT_TRUE(QFile::exists(file("param.ini")));
}

TEST_F(SettingsTest, BadLinesLeaveTheAffectedChoices) {
    struct Case {
        const char* inhalt; // nullptr: no file
        const char* com;
        int hersteller, modell, netz, berechnung;
    };
    const Case cases[] = {
        {nullptr, "1", 0, 0, 0, 0},
        {"31210\r\n", "3", 1, 2, 1, 0},
        {"312\r\n", "3", 1, 2, 0, 0},
        {"312", "3", 1, 2, 0, 0},
        {"x1a2b\r\n", "1", 1, 0, 2, 0},
        {"51640\r\n", "1", 1, 0, 0, 0},
        {"09792\r\n", "1", 0, 0, 0, 2},
        {"4-1-1\r\n", "4", 0, 1, 0, 1},
        {"\r\n", "1", 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inhalt ? c.inhalt : "no file");
        QFile::remove(file("param.ini"));
        if (c.inhalt) WriteFile(file("param.ini"), c.inhalt);
        COM_Port_Nummer = 1;
        EinstellungenForm& e = neuStarten();
        EXPECT_EQ(e.COM_Port->Caption(), QLatin1String(c.com));
        EXPECT_EQ(COM_Port_Nummer, QByteArray(c.com).toShort());
        EXPECT_EQ(e.Vorad_Master_ComboKategorien->ListIndex(), c.hersteller);
        EXPECT_EQ(e.Vorad_Master_VoradTyp_ComboKategorien->ListIndex(), c.modell);
        EXPECT_EQ(e.Vorad_Master_ComboKategorien_Netzbetreiber->ListIndex(), c.netz);
        EXPECT_EQ(e.Berechnungsart_Combobox->ListIndex(), c.berechnung);
        EXPECT_EQ(e.Vorad_Master_VoradTyp_ComboKategorien_Label->Caption(), e.Vorad_Master_VoradTyp_ComboKategorien->Text());
        EXPECT_EQ(QFile::exists(file("param.ini")), c.inhalt != nullptr);
    }
}

TEST_F(SettingsTest, SiemensMasksTheOperatorAndListsItsModels) {
    EinstellungenForm& e = starten();
    StartbildschirmForm& h = *Startbildschirm;
    e.Vorad_Master_ComboKategorien_Label->FireMouseMove(0, 0, 10, 10);
    EXPECT_TRUE(e.Vorad_Master_ComboKategorien->Visible());
    e.Vorad_Master_ComboKategorien->Choose(1);
    EXPECT_EQ(liste(e.Vorad_Master_VoradTyp_ComboKategorien), QStringLiteral("S25|C35|M35|S35"));
    EXPECT_EQ(e.Vorad_Master_VoradTyp_ComboKategorien->ListIndex(), 0);
    EXPECT_EQ(e.Vorad_Master_VoradTyp_ComboKategorien_Label->Caption(), QStringLiteral("S25"));
    EXPECT_EQ(h.Vorad_Master_VoradTyp_ComboKategorien_Label->Caption(), QStringLiteral("S25"));
    EXPECT_EQ(e.Vorad_Master_ComboKategorien_Label->Caption(), QStringLiteral("Siemens"));
    EXPECT_EQ(h.Vorad_Master_ComboKategorien_Label->Caption(), QStringLiteral("Siemens"));
    EXPECT_FALSE(e.Vorad_Master_ComboKategorien->Visible());
    EXPECT_FALSE(e.Vorad_Master_ComboKategorien_Netzbetreiber_Label->Visible());
    EXPECT_FALSE(h.Vorad_Master_ComboKategorien_Netzbetreiber_Label->Visible());
    EXPECT_TRUE(e.Netzbtreiber_Maske->Visible());
    EXPECT_TRUE(h.Netzbtreiber_Maske->Visible());
    EXPECT_TRUE(h.Netz_Raster->Visible());
    shoot(e, "settings-siemens");

    e.Vorad_Master_ComboKategorien->Choose(0);
    EXPECT_EQ(e.Vorad_Master_VoradTyp_ComboKategorien->ListCount(), 7);
    EXPECT_TRUE(e.Vorad_Master_ComboKategorien_Netzbetreiber_Label->Visible());
    EXPECT_TRUE(h.Vorad_Master_ComboKategorien_Netzbetreiber_Label->Visible());
    EXPECT_FALSE(e.Netzbtreiber_Maske->Visible());
    EXPECT_FALSE(h.Netzbtreiber_Maske->Visible());
    EXPECT_FALSE(h.Netz_Raster->Visible());
}

TEST_F(SettingsTest, CategoryForEveryMakerAndModel) {
    EinstellungenForm& e = starten();
    struct Case {
        int hersteller, modell, k;
    };
    const Case cases[] = {{0, 0, 7}, {0, 1, 7}, {0, 2, 7}, {0, 3, 8}, {0, 4, 8}, {0, 5, 7},
                          {0, 6, 7}, {1, 0, 0}, {1, 1, 1}, {1, 2, 1}, {1, 3, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hersteller * 10 + c.modell);
        Startbildschirm->ComboKategorien[3]->setListIndex(4);
        Startbildschirm->ComboKategorien[2]->setListIndex(4);
        e.Vorad_Master_ComboKategorien->Choose(c.hersteller);
        e.Vorad_Master_VoradTyp_ComboKategorien->Choose(c.modell);
        e.setze_Kategorien();
        EXPECT_EQ(Startbildschirm->ComboKategorien[3]->ListIndex(), c.k);
        EXPECT_EQ(Startbildschirm->ComboKategorien[2]->ListIndex(), c.k);
    }
    // Without a model nothing is set.
    e.Vorad_Master_VoradTyp_ComboKategorien->Clear();
    e.setze_Kategorien();
    EXPECT_EQ(Startbildschirm->ComboKategorien[3]->ListIndex(), 2);
    EXPECT_EQ(Startbildschirm->ComboKategorien[2]->ListIndex(), 2);
}

TEST_F(SettingsTest, OkAppliesCategoryAndPort) {
    struct Case {
        int hersteller, modell, k;
    };
    for (const Case c : {Case{0, 3, 8}, Case{1, 2, 1}}) {
        EinstellungenForm& e = neuStarten();
        ASSERT_FALSE(Startbildschirm->Enabled());
        e.Vorad_Master_ComboKategorien->Choose(c.hersteller);
        e.Vorad_Master_VoradTyp_ComboKategorien->Choose(c.modell);
        e.PfeilHoch_Click();
        e.PfeilHoch_Click();
        e.OK->FireClick();
        EXPECT_EQ(Startbildschirm->ComboKategorien[3]->ListIndex(), c.k);
        EXPECT_EQ(Startbildschirm->ComboKategorien[2]->ListIndex(), c.k);
        EXPECT_EQ(COM_Port_Nummer, 3);
        EXPECT_EQ(Info_Modus, 1);
        EXPECT_TRUE(Startbildschirm->Enabled());
        EXPECT_FALSE(e.Visible());
    }
}

TEST_F(SettingsTest, CancelRestoresMakerModelsOperatorAndPort) {
    EinstellungenForm& e = starten();
    e.PfeilHoch_Click();
    e.OK_Click(); // port 2 applied
    ASSERT_EQ(COM_Port_Nummer, 2);
    answer([](vb::Form&) {
        EinstellungenForm& d = *Einstellungen;
        d.PfeilHoch_Click();
        d.Vorad_Master_ComboKategorien_Netzbetreiber->Choose(3);
        d.Vorad_Master_ComboKategorien->Choose(1);
        d.Vorad_Master_VoradTyp_ComboKategorien->Choose(2);
        d.Schliessen->FireClick();
    });
    Info_Modus = 7;
    Startbildschirm->Einstellun_Click();
    EXPECT_EQ(Info_Modus, 0);
    // The category followed the changed choice before the restore.
    EXPECT_EQ(Startbildschirm->ComboKategorien[3]->ListIndex(), 1);
    EXPECT_EQ(Startbildschirm->ComboKategorien[2]->ListIndex(), 1);
    EXPECT_EQ(e.Vorad_Master_ComboKategorien->ListIndex(), 0);
    EXPECT_EQ(liste(e.Vorad_Master_VoradTyp_ComboKategorien), QStringLiteral("3210, 33xx|51xx|61xx|62xx|7110|8210|88xx"));
    EXPECT_EQ(e.Vorad_Master_VoradTyp_ComboKategorien->ListIndex(), 0);
    EXPECT_EQ(Startbildschirm->Vorad_Master_VoradTyp_ComboKategorien_Label->Caption(), QStringLiteral("3210, 33xx"));
    EXPECT_EQ(Startbildschirm->Vorad_Master_ComboKategorien_Label->Caption(), QStringLiteral("Nokia"));
    EXPECT_EQ(e.Vorad_Master_ComboKategorien_Netzbetreiber->ListIndex(), 0);
    EXPECT_EQ(Netzbetreiber_Code, QStringLiteral("26201"));
    EXPECT_EQ(e.COM_Port->Caption(), QStringLiteral("2"));
    EXPECT_EQ(Startbildschirm->COM_Port->Caption(), QStringLiteral("2"));
    EXPECT_EQ(COM_Port_Nummer, 2);
    EXPECT_FALSE(e.Visible());
}

TEST_F(SettingsTest, PortSpinnerWrapsAndMirrors) {
    EinstellungenForm& e = starten();
    struct Case {
        const char* von;
        bool hoch;
        const char* nach;
    };
    const Case cases[] = {{"1", true, "2"}, {"3", true, "4"}, {"4", true, "1"}, {"1", false, "4"}, {"4", false, "3"}, {"2", false, "1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.von) + (c.hoch ? "+" : "-"));
        e.COM_Port->setCaption(QLatin1String(c.von));
        (c.hoch ? e.PfeilHoch : e.PfeilRunter)->FireClick();
        EXPECT_EQ(e.COM_Port->Caption(), QLatin1String(c.nach));
        EXPECT_EQ(Startbildschirm->COM_Port->Caption(), QLatin1String(c.nach));
    }
}

TEST_F(SettingsTest, OperatorCodes) {
    EinstellungenForm& e = starten();
    const char* codes[] = {"26201", "26202", "26203", "26207"};
    for (int i = 3; i >= 0; --i) {
        e.Vorad_Master_ComboKategorien_Netzbetreiber->Choose(i);
        EXPECT_EQ(Netzbetreiber_Code, QLatin1String(codes[i]));
        EXPECT_EQ(Startbildschirm->Vorad_Master_ComboKategorien_Netzbetreiber_Label->Caption(), LoadResString(208 + i));
    }
    EXPECT_EQ(e.Vorad_Master_ComboKategorien_Netzbetreiber->List(3), QStringLiteral("Viag Interkom"));
}

TEST_F(SettingsTest, OneListOpenAtATimeAndTheBackgroundClosesItAfterAHighlight) {
    EinstellungenForm& e = starten();
    struct Case {
        vb::Label* label;
        vb::ComboBox* liste;
        int tooltip;
    };
    const Case cases[] = {
        {e.Vorad_Master_ComboKategorien_Label, e.Vorad_Master_ComboKategorien, 806},
        {e.Vorad_Master_VoradTyp_ComboKategorien_Label, e.Vorad_Master_VoradTyp_ComboKategorien, 807},
        {e.Vorad_Master_ComboKategorien_Netzbetreiber_Label, e.Vorad_Master_ComboKategorien_Netzbetreiber, 809},
        {e.Berechnungsart_Combobox_Label, e.Berechnungsart_Combobox, 0},
    };
    for (const Case& c : cases) {
        c.label->FireMouseMove(0, 0, 30, 30);
        for (const Case& o : cases) EXPECT_EQ(o.liste->Visible(), o.liste == c.liste);
        if (c.tooltip) {
            EXPECT_EQ(c.label->ToolTipText(), LoadResString(c.tooltip));
            EXPECT_EQ(c.liste->ToolTipText(), LoadResString(c.tooltip));
        }
    }
    // The conversion list is used like the others: a choice closes it and shows in its label.
    e.Berechnungsart_Combobox->Choose(2);
    EXPECT_FALSE(e.Berechnungsart_Combobox->Visible());
    EXPECT_EQ(e.Berechnungsart_Combobox_Label->Caption(), QStringLiteral("Schwellenwert"));

    e.Vorad_Master_ComboKategorien_Label->FireMouseMove(0, 0, 30, 30);
    e.Form_MouseMove(0, 0, 30, 30);
    EXPECT_TRUE(e.Vorad_Master_ComboKategorien->Visible()) << "no button was lit";
    e.OK->FireMouseMove(0, 0, 30, 30);
    EXPECT_FALSE(e.OK->Picture().IsEmpty());
    EXPECT_EQ(e.OK->ToolTipText(), LoadResString(404));
    e.Form_MouseMove(0, 0, 30, 30);
    EXPECT_TRUE(e.OK->Picture().IsEmpty());
    EXPECT_EQ(Hover_Name, QStringLiteral("OK"));
    EXPECT_FALSE(e.Vorad_Master_ComboKategorien->Visible());
}

TEST_F(SettingsTest, HoverPicturesComeFromTheStore) {
    EinstellungenForm& e = starten();
    struct Case {
        vb::Image* knopf;
        const char* store;
        int tooltip;
    };
    const Case cases[] = {{e.OK, "OK", 404}, {e.Abbrechen, "Abbrechen", 405}, {e.Schliessen, "Schliessen", 400},
                          {e.PfeilHoch, "PfeilHoch", 406}, {e.PfeilRunter, "Logo_scroll_runter", 407}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.store);
        c.knopf->FireMouseMove(0, 0, 15, 15);
        EXPECT_EQ(c.knopf->ToolTipText(), LoadResString(c.tooltip));
        EXPECT_EQ(c.knopf->Picture().Handle(), Schaltflaechen::Bild(Schaltflaechenlader->Find(QLatin1String(c.store))).Handle());
    }
    e.Scannerquelle_Deaktiviert->FireMouseMove(0, 0, 15, 15);
    EXPECT_EQ(e.Scannerquelle_Deaktiviert->ToolTipText(), LoadResString(854));
}

TEST_F(SettingsTest, ButtonsLightOneAtATimeWithTheirOwnFace) {
    EinstellungenForm& e = starten();
    knoepfePruefen(e,
                   {{e.OK, 404, "OK"},
                    {e.Abbrechen, 405, "Abbrechen"},
                    {e.Schliessen, 400, "Schliessen"},
                    {e.PfeilHoch, 406, "PfeilHoch"},
                    {e.PfeilRunter, 407, "Logo_scroll_runter"},
                    {e.Scannerquelle_Deaktiviert, 854, nullptr}},
                   [&] { e.Form_MouseMove(0, 0, 15, 15); });
    int ctrlT = 20;
    e.Form_KeyPress(ctrlT);
    knoepfePruefen(e, {{e.Scannerquelle_festlegen, 808, "Scannerquelle_festlegen"}}, [&] { e.Form_MouseMove(0, 0, 15, 15); });
}

TEST_F(SettingsTest, CtrlTSwitchesScanningOn) {
    EinstellungenForm& e = starten();
    ASSERT_FALSE(Scanner_vorhanden);
    EXPECT_TRUE(e.Scannerquelle_Deaktiviert->Visible());
    EXPECT_FALSE(e.Scannerquelle_festlegen->Visible());
    int other = 't';
    e.Form_KeyPress(other);
    EXPECT_FALSE(Scanner_vorhanden);
    int ctrlT = 20;
    e.Form_KeyPress(ctrlT);
    EXPECT_TRUE(Scanner_vorhanden);
    EXPECT_FALSE(e.Scannerquelle_Deaktiviert->Visible());
    EXPECT_TRUE(e.Scannerquelle_festlegen->Visible());
    EXPECT_TRUE(e.Scannerquelle_festlegen->Enabled());
}

TEST_F(SettingsTest, ScannerSourceButtonOpensTheSourceChoice) {
    EinstellungenForm& e = starten();
    // Without scanners the choice says so and keeps nothing; the dialog goes on.
    QString status;
    vb::seams().scanSourceWindow = [&](vb::ScanSourceWindow& w) {
        status = w.StatusText();
        w.Auswaehlen_Click();
        w.Abbrechen_Click();
    };
    e.Scannerquelle_festlegen->FireClick();
    EXPECT_EQ(status, QStringLiteral("Es wurde kein Scanner gefunden."));
    EXPECT_TRUE(vb::Scanner::DefaultSource().isEmpty());
    EXPECT_TRUE(e.Visible());

    vb::Scanner::UseConfiguration({{QStringLiteral("dll.conf"), "test\n"}, {QStringLiteral("test.conf"), "number_of_devices 2\n"}});
    QStringList geraete;
    vb::seams().scanSourceWindow = [&](vb::ScanSourceWindow& w) {
        for (int i = 0; i < w.DeviceCount(); ++i) geraete << w.DeviceName(i);
        w.setCurrentRow(1);
        w.Auswaehlen_Click();
    };
    e.Scannerquelle_festlegen->FireClick();
    EXPECT_EQ(geraete, (QStringList{QStringLiteral("test:0"), QStringLiteral("test:1")}));
    EXPECT_EQ(vb::Scanner::DefaultSource(), QStringLiteral("test:1"));
    EXPECT_TRUE(e.Visible());
}

// A source the store cannot keep (a full disk) is not forgotten silently: the choice stays open
// and says why, and the source chosen before stays.
TEST_F(SettingsTest, AScannerSourceTheStoreCannotKeepIsReported) {
    EinstellungenForm& e = starten();
    vb::Scanner::UseConfiguration({{QStringLiteral("dll.conf"), "test\n"}, {QStringLiteral("test.conf"), "number_of_devices 2\n"}});
    vb::Scanner::SetDefaultSource(QStringLiteral("test:0"));
    ASSERT_EQ(vb::Scanner::DefaultSource(), QStringLiteral("test:0"));
    QString status;
    bool offen = false;
    vb::seams().scanSourceWindow = [&](vb::ScanSourceWindow& w) {
        w.setCurrentRow(1);
        {
            FullDisk voll(8);
            w.Auswaehlen_Click();
        }
        status = w.StatusText();
        offen = w.isVisible();
        w.Abbrechen_Click();
    };
    e.Scannerquelle_festlegen->FireClick();
    EXPECT_EQ(status, QStringLiteral("Die Auswahl kann nicht gespeichert werden: Die Einstellungsdatei ist nicht beschreibbar."));
    EXPECT_TRUE(offen);
    EXPECT_EQ(vb::Scanner::DefaultSource(), QStringLiteral("test:0"));
}

TEST_F(SettingsTest, ActivationCentresOnTheMainWindowAndF1OpensHelp) {
    EinstellungenForm& e = starten();
    StartbildschirmForm& h = *Startbildschirm;
    EXPECT_DOUBLE_EQ(e.Left(), h.Left() + h.Width() / 2 - e.Width() / 2);
    EXPECT_DOUBLE_EQ(e.Top(), h.Top() + h.Height() / 2 - e.Height() / 2);
    EXPECT_EQ(e.Titelzeile->Caption(), LoadResString(800));
    EXPECT_EQ(e.Widget()->width(), 450);
    EXPECT_EQ(e.Widget()->height(), 230);
    QString path;
    vb::seams().helpViewer = [&](const QString& p, const QString&) { path = p; };
    int key = vb::vbKeyF1;
    e.Form_KeyDown(key, 0);
    vb::seams().helpViewer = {};
    EXPECT_EQ(key, 0);
    EXPECT_EQ(path, file("vorad.hlp"));
}

TEST_F(SettingsTest, AFullDiskAtQuitKeepsTheStoredSettings) {
    WriteFile(file("param.ini"), "31210\r\n");
    EinstellungenForm& e = starten();
    e.Vorad_Master_ComboKategorien->Choose(0);
    answerInfo(1);
    {
        FullDisk voll(3);
        EXPECT_THROW(Startbildschirm->Schliessen_Click(), vb::App::Ended);
    }
    EXPECT_EQ(ReadFile(file("param.ini")), QByteArray("31210\r\n"));
    EXPECT_EQ(QDir(dir()).entryList({QStringLiteral("param*")}, QDir::Files | QDir::Hidden), QStringList{QStringLiteral("param.ini")});
}

TEST_F(SettingsTest, ANamedPipeInPlaceOfTheFileDoesNotBlockTheStart) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(file("param.ini")).constData(), 0600), 0);
    // Should the start wait for a writer, one comes after two seconds with a stored port 3.
    std::atomic<bool> fertig{false};
    std::thread schreiber([&] {
        for (int i = 0; i < 1000 && !fertig; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (i < 200) continue;
            const int fd = ::open(QFile::encodeName(file("param.ini")).constData(), O_WRONLY | O_NONBLOCK);
            if (fd < 0) continue;
            (void)::write(fd, "31210\r\n", 7);
            ::close(fd);
            return;
        }
    });
    EinstellungenForm& e = starten();
    fertig = true;
    schreiber.join();
    EXPECT_EQ(e.COM_Port->Caption(), QStringLiteral("1"));
    EXPECT_EQ(COM_Port_Nummer, 1);
}
