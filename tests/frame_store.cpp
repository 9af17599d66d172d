// The picture store: highlights derived from the buttons' own faces, and the buttons that find
// no highlight, reported when their window loads.
#include "support/Fixture.h"
#include "support/LoadFault.h"

#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "platform/window/Image.h"
#include "platform/window/Skin.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

// A small window of one highlighted button whose row is chosen per case.
class Probe : public vb::Form {
public:
    explicit Probe(std::span<const vb::LayoutRow> rows) : vb::Form(QStringLiteral("Probe"), rows, 3000, 2000) {}
    VB_CONTROLS(vb::Image, Knopf);

protected:
    void Wire() override { Schaltflaechen::Hover_verdrahten(*this); }
};
using Self = Probe;

std::string loadFault(std::span<const vb::LayoutRow> rows) { return LoadFault<Probe>(rows); }

class StoreTest : public ProgramTest {};

} // namespace

TEST_F(StoreTest, AButtonLitByItsOwnFaceShowsThatFaceLitAtItsSize) {
    const vb::LayoutRow rows[] = {VB_ROW(Knopf, 300, 300, 1200, 450, "", "btn:folder:Ordner").Hover(435, 'S')};
    Probe p(rows);
    p.Load();
    vb::Control* quelle = Schaltflaechenlader->Find(QStringLiteral("Knopf"));
    ASSERT_NE(quelle, nullptr);
    const QImage erwartet = vb::Skin::Face("hot:folder:Ordner", QSize(vb::TwipsToPx(1200), vb::TwipsToPx(450)), vb::Skin::Look::Hot);
    EXPECT_EQ(Schaltflaechen::Bild(quelle).Image(), erwartet);
    p.Knopf->FireMouseMove(0, 0, 30, 30);
    EXPECT_EQ(p.Knopf->Picture().Handle(), Schaltflaechen::Bild(quelle).Handle());
    // A second window with a button of that name and face shares the picture.
    Probe zweites(rows);
    zweites.Load();
    zweites.Knopf->FireMouseMove(0, 0, 30, 30);
    EXPECT_EQ(zweites.Knopf->Picture().Handle(), Schaltflaechen::Bild(quelle).Handle());
}

TEST_F(StoreTest, AHighlightedButtonWithoutAPictureStopsItsWindowsLoad) {
    const vb::LayoutRow ohneGesicht[] = {VB_ROW(Knopf, 300, 300, 600, 600, "", "").Hover(0, 'H')};
    const vb::LayoutRow fremderName[] = {VB_ROW(Knopf, 300, 300, 330, 330, "", "").Hover(400, 'S', "Gibt_es_nicht")};
    const vb::LayoutRow reiter[] = {VB_ROW(Knopf, 300, 300, 1800, 420, "", "tab:Neu").Hover(811, 'S')};
    const vb::LayoutRow nurTooltip[] = {VB_ROW(Knopf, 300, 300, 600, 600, "", "").Hover(400, 'T')};
    const vb::LayoutRow gelistet[] = {VB_ROW(Knopf, 300, 300, 600, 600, "", "").Hover(0, 'H', "Logo_Radiegummi")};
    // A plain button lights with its own face under whatever name it gives.
    const vb::LayoutRow eigenerName[] = {VB_ROW(Knopf, 300, 300, 330, 330, "", "btn:close").Hover(400, 'S', "Gibt_es_nicht")};
    struct Case {
        std::span<const vb::LayoutRow> rows;
        const char* fehler; // "" loads
    };
    const Case cases[] = {{ohneGesicht, "Schaltflaechenlader: Knopf has no highlight picture"},
                          {fremderName, "Schaltflaechenlader: Knopf has no highlight picture"},
                          {reiter, "Schaltflaechenlader: Knopf has no highlight picture"},
                          {nurTooltip, ""},
                          {gelistet, ""},
                          {eigenerName, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fehler);
        EXPECT_EQ(loadFault(c.rows), c.fehler);
    }
}

// A button with a face of its own lights with that face, with its own caption and at its size:
// a picture of another face or size stops the load, whether listed or derived for another button.
TEST_F(StoreTest, AButtonThatWouldLightWithAnotherFaceStopsTheLoad) {
    const vb::LayoutRow anderesGesicht[] = {VB_ROW(Knopf, 300, 300, 1800, 420, "", "tab:Neu").Hover(827, 'S', "Reiter_Datei")};
    const vb::LayoutRow andereGroesse[] = {VB_ROW(Knopf, 300, 300, 1200, 420, "", "tab:Datei").Hover(827, 'S', "Reiter_Datei")};
    const vb::LayoutRow gleich[] = {VB_ROW(Knopf, 300, 300, 1800, 420, "", "tab:Datei").Hover(827, 'S', "Reiter_Datei")};
    const vb::LayoutRow rahmen[] = {VB_ROW(Knopf, 300, 300, 2340, 1050, "", "frame").Hover(0, 'H', "Kalvoren_Voschau_Dither")};
    const vb::LayoutRow gewaehlt[] = {VB_ROW(Knopf, 300, 300, 600, 600, "", "btn:black").Hover(824, 'G', "Malfarbe_schwarz")};
    const vb::LayoutRow nichtGewaehlt[] = {VB_ROW(Knopf, 300, 300, 600, 600, "", "btn:green").Hover(823, 'G', "Malfarbe_schwarz")};
    EXPECT_EQ(loadFault(anderesGesicht), "Schaltflaechenlader: Knopf lights with another face than its own");
    EXPECT_EQ(loadFault(andereGroesse), "Schaltflaechenlader: Knopf lights with another face than its own");
    EXPECT_EQ(loadFault(nichtGewaehlt), "Schaltflaechenlader: Knopf lights with another face than its own");
    for (auto rows : {std::span<const vb::LayoutRow>(gleich), std::span<const vb::LayoutRow>(rahmen), std::span<const vb::LayoutRow>(gewaehlt)})
        EXPECT_EQ(loadFault(rows), "");
    // Two plain buttons of other captions under one store name.
    const vb::LayoutRow kalvoren[] = {VB_ROW(Knopf, 300, 300, 2340, 450, "", "btn:edit:In den Kalvoren").Hover(841, 'S', "Gemeinsam")};
    const vb::LayoutRow uebernehmen[] = {VB_ROW(Knopf, 300, 300, 2340, 450, "", "btn:ok:Übernehmen").Hover(826, 'S', "Gemeinsam")};
    EXPECT_EQ(loadFault(kalvoren), "");
    EXPECT_EQ(loadFault(uebernehmen), "Schaltflaechenlader: Knopf differs from another button that lights with the picture of its name");
    EXPECT_EQ(loadFault(kalvoren), "");
}

TEST_F(StoreTest, TwoButtonsOfOneNameThatWouldLightDifferentlyStopTheLoad) {
    const vb::LayoutRow klein[] = {VB_ROW(Knopf, 300, 300, 330, 330, "", "btn:close").Hover(400, 'S')};
    const vb::LayoutRow gross[] = {VB_ROW(Knopf, 300, 300, 450, 450, "", "btn:close").Hover(400, 'S')};
    const vb::LayoutRow anders[] = {VB_ROW(Knopf, 300, 300, 330, 330, "", "btn:help").Hover(401, 'S')};
    EXPECT_EQ(loadFault(klein), "");
    for (auto rows : {std::span<const vb::LayoutRow>(gross), std::span<const vb::LayoutRow>(anders)})
        EXPECT_EQ(loadFault(rows), "Schaltflaechenlader: Knopf differs from another button that lights with the picture of its name");
    // A button without a face naming the derived picture would find it only after that window loaded.
    const vb::LayoutRow nenntEs[] = {VB_ROW(Knopf, 300, 300, 330, 330, "", "").Hover(400, 'S', "Knopf")};
    EXPECT_EQ(loadFault(nenntEs), "Schaltflaechenlader: Knopf names a picture the store only derives");
}
