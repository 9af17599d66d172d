// Layout tables that bind controls to members: grids, and the faults reported when a window loads.
#include "platform/window/Form.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "support/LoadFault.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

// A small window whose table is chosen per case.
class Probe : public vb::Form {
public:
    explicit Probe(std::span<const vb::LayoutRow> rows) : vb::Form(QStringLiteral("Probe"), rows, 3000, 2000) {}
    VB_CONTROLS(vb::PictureBox, Ebene);
    VB_CONTROLS(vb::Image, Knopf);
    VB_ARRAYS(vb::Label, 6, Feld);
    int wired = 0;

protected:
    void Wire() override { ++wired; }
};
using Self = Probe;

const vb::LayoutRow kGood[] = {
    VB_ROW(Ebene, 0, 300, 3000, 1700, "", "layer"),
    vb::Decor("Rahmen", vb::Kind::Shape, 60, 60, 600, 600, "Ebene", "frame"),
    VB_ROW(Knopf, 90, 90, 330, 330, "Ebene", "btn:close"),
    VB_GRID(Feld, {100, 700, 1300}, {500, 900}, 450, 300, "Ebene").Place(4, 690, 915),
};

std::string loadFault(std::span<const vb::LayoutRow> rows) { return LoadFault<Probe>(rows); }

} // namespace

TEST(Layout, RowsBindMembersAndGridsNumberRowByRow) {
    Probe p(kGood);
    p.Load();
    EXPECT_EQ(p.wired, 1);
    ASSERT_NE(p.Knopf, nullptr);
    EXPECT_EQ(p.Knopf, p.Find(QStringLiteral("Knopf")));
    EXPECT_EQ(p.Knopf->Container(), p.Ebene);
    struct Place {
        int index;
        double left, top;
    };
    // Element 4 stands off its column and row.
    for (const Place& c : {Place{0, 100, 500}, Place{2, 1300, 500}, Place{3, 100, 900}, Place{4, 690, 915}, Place{5, 1300, 900}}) {
        vb::Label* l = p.Feld[size_t(c.index)];
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l, p.Find(QStringLiteral("Feld"), c.index));
        EXPECT_EQ(l->Index(), c.index);
        EXPECT_EQ(l->Left(), c.left);
        EXPECT_EQ(l->Top(), c.top);
        EXPECT_EQ(l->Width(), 450);
    }
    // Decor rows make controls without members, found by name.
    ASSERT_NE(p.Find(QStringLiteral("Rahmen")), nullptr);
    EXPECT_EQ(p.LayoutTable().size(), 9u);
}

TEST(Layout, AWindowThatDoesNotFitItsMembersIsReportedWhenItLoads) {
    const vb::LayoutRow noButton[] = {VB_ROW(Ebene, 0, 0, 10, 10), VB_GRID(Feld, {1, 2, 3}, {1, 2}, 10, 10)};
    const vb::LayoutRow outOfRange[] = {VB_ROW(Ebene, 0, 0, 10, 10), VB_ROW(Knopf, 0, 0, 10, 10), VB_GRID(Feld, {1, 2, 3}, {1, 2}, 10, 10),
                                        VB_ELEM(Feld, 6, 0, 0, 10, 10)};
    const vb::LayoutRow plainWithIndex[] = {VB_ROW(Ebene, 0, 0, 10, 10), VB_ELEM(Knopf, 0, 0, 0, 10, 10), VB_GRID(Feld, {1, 2, 3}, {1, 2}, 10, 10)};
    const vb::LayoutRow twice[] = {VB_ROW(Ebene, 0, 0, 10, 10), VB_ROW(Knopf, 0, 0, 10, 10), VB_ROW(Knopf, 5, 5, 10, 10),
                                   VB_GRID(Feld, {1, 2, 3}, {1, 2}, 10, 10)};
    const vb::LayoutRow missingElement[] = {VB_ROW(Ebene, 0, 0, 10, 10), VB_ROW(Knopf, 0, 0, 10, 10), VB_ELEM(Feld, 0, 0, 0, 10, 10)};
    const vb::LayoutRow noContainer[] = {VB_ROW(Knopf, 0, 0, 10, 10, "Ebene"), VB_ROW(Ebene, 0, 0, 10, 10),
                                         VB_GRID(Feld, {1, 2, 3}, {1, 2}, 10, 10)};
    const vb::LayoutRow containerNotABox[] = {VB_ROW(Ebene, 0, 0, 10, 10), VB_ROW(Knopf, 0, 0, 10, 10),
                                              VB_GRID(Feld, {1, 2, 3}, {1, 2}, 10, 10, "Knopf")};
    struct Case {
        std::span<const vb::LayoutRow> rows;
        const char* fault;
    };
    for (const Case& c : {Case{noButton, "Probe: Knopf has no row"}, Case{outOfRange, "Probe: Feld(6) has an index its member does not hold"},
                          Case{plainWithIndex, "Probe: Knopf(0) has an index its member does not hold"},
                          Case{twice, "Probe: Knopf has two rows"}, Case{missingElement, "Probe: Feld(1) has no row"},
                          Case{noContainer, "Probe: Knopf lies in no picture box listed before it"},
                          Case{containerNotABox, "Probe: Feld(0) lies in no picture box listed before it"}})
        EXPECT_EQ(loadFault(c.rows), c.fault);
    EXPECT_EQ(loadFault(kGood), "");
}

// A window adapted to the screen once is adapted after every later load, whatever loads it,
// each time from its design.
TEST(Layout, AnAdaptedWindowIsAdaptedAtEveryLoad) {
    Probe p(kGood);
    int laeufe = 0;
    auto halbieren = [&laeufe](vb::Form& f) {
        ++laeufe;
        f.setWidth(f.Width() / 2);
        static_cast<Probe&>(f).Knopf->setWidth(static_cast<Probe&>(f).Knopf->Width() / 2);
    };
    p.Load();
    p.LoadAdapted(halbieren); // already loaded: adapted now
    EXPECT_EQ(laeufe, 1);
    for (int mal = 0; mal < 2; ++mal) {
        EXPECT_EQ(p.Width(), 1500);
        EXPECT_EQ(p.Knopf->Width(), 165);
        p.Unload();
        p.Load();
        EXPECT_EQ(laeufe, 2 + mal);
    }
    p.Unload();
    p.LoadAdapted(halbieren); // not loaded: adapted once by the load
    EXPECT_EQ(laeufe, 4);
    EXPECT_EQ(p.Width(), 1500);
}
