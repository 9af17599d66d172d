// The workspace's arithmetic without a window: where a loaded picture is drawn into the logo,
// what the magnifier shows for a raster position, and how the thumbnail browsers page.
#include "frame/Parameter_und_Start.h"
#include "logo/Fotovorschau.h"
#include "logo/Logo_laden.h"
#include "logo/Logovoschau.h"
#include "logo/Zaroreriri.h"

#include <array>
#include <span>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Einpassfall {
    const char* name;
    int sw, sh, W, H;
    bool perspektivisch;
    QRect zuerst;
    std::optional<QRect> danach;
};

TEST(FitRules, PictureIntoTheLogo) {
    const Einpassfall faelle[] = {
        // Landscape, narrower in aspect than 72 x 14: height-scaled (28 wide from x0 = 22), then
        // drawn again at the logo's width (36 high) from the top row.
        {"landscape narrower", 200, 100, 72, 14, true, {22, 0, 28, 14}, QRect(0, 0, 72, 36)},
        // Wider in aspect: 208 wide from x0 = -55.5, which rounds to the even -56.
        {"landscape wider", 400, 50, 97, 26, true, {-56, 0, 208, 26}, std::nullopt},
        // x0 = 48.5 - 46 = 2.5 rounds to 2; the redraw is 26 * 97 / 92 = 27.4 rows high.
        {"half to even", 92, 26, 97, 26, true, {2, 0, 92, 26}, QRect(0, 0, 97, 27)},
        {"same aspect", 194, 52, 97, 26, true, {0, 0, 97, 26}, std::nullopt},
        {"portrait", 50, 100, 72, 14, true, {0, 0, 72, 144}, std::nullopt},
        {"square", 64, 64, 101, 43, true, {0, 0, 101, 101}, std::nullopt},
        {"stretched", 400, 50, 97, 26, false, {0, 0, 97, 26}, std::nullopt},
        {"stretched portrait", 50, 400, 84, 48, false, {0, 0, 84, 48}, std::nullopt},
    };
    for (const Einpassfall& f : faelle) {
        SCOPED_TRACE(f.name);
        const Logo_laden::Einpassung e = Logo_laden::Einpassen(f.sw, f.sh, f.W, f.H, f.W, f.H, f.perspektivisch);
        EXPECT_EQ(e.Zuerst, f.zuerst);
        EXPECT_EQ(e.Danach, f.danach);
    }
}

struct Lupenfall {
    const char* name;
    double x, y;         // raster pixels
    double tpp;          // screen twips per pixel
    int breite, hoehe;   // the logo
    QRect quelle;        // the raster's part shown
    QPointF kreuz;       // centre of the cursor mark
};

TEST(MagnifierClamp, ViewAndCursorMark) {
    // A 145 x 71 magnifier shows 36 x 18 raster pixels around the cursor.
    const Lupenfall faelle[] = {
        {"centre", 202, 86, 15, 101, 43, {184, 77, 36, 18}, {72.5, 35.5}},
        {"left edge", 2, 86, 15, 101, 43, {0, 77, 36, 18}, {5.5, 35.5}},
        {"left edge at 120 dpi", 2, 86, 12, 101, 43, {0, 77, 36, 18}, {20.5, 35.5}},
        {"top edge", 202, 2, 15, 101, 43, {184, 0, 36, 18}, {72.5, 13.5}},
        {"right edge", 402, 86, 15, 101, 43, {368, 77, 36, 18}, {137, 35.5}},
        {"bottom edge", 202, 170, 15, 101, 43, {184, 154, 36, 18}, {72.5, 63}},
        {"top-left corner", 0, 0, 15, 101, 43, {0, 0, 36, 18}, {-2.5, 5.5}},
        {"bottom-right corner", 404, 172, 15, 101, 43, {368, 154, 36, 18}, {145, 71}},
        // The view's left edge 2.5 and 3.5 round to the even neighbours 2 and 4.
        {"half down", 20.625, 86, 15, 101, 43, {2, 77, 36, 18}, {72.5, 35.5}},
        {"half up", 21.625, 86, 15, 101, 43, {4, 77, 36, 18}, {72.5, 35.5}},
        {"low logo", 150, 28, 15, 72, 14, {132, 19, 36, 18}, {72.5, 35.5}},
        {"low logo bottom", 150, 55, 15, 72, 14, {132, 38, 36, 18}, {72.5, 67}},
    };
    for (const Lupenfall& f : faelle) {
        SCOPED_TRACE(f.name);
        const Zaroreriri::Lupenbild l = Zaroreriri::Lupe(f.x, f.y, 145, 71, f.tpp, f.tpp, f.breite, f.hoehe);
        EXPECT_EQ(l.Quelle, f.quelle);
        EXPECT_DOUBLE_EQ(l.Kreuz.x(), f.kreuz.x());
        EXPECT_DOUBLE_EQ(l.Kreuz.y(), f.kreuz.y());
    }
}

struct Seitenfall {
    const char* name;
    int anzahl, seitenende; // files in the folder, last slot of a page
    int max;                // the scroll range's end
    int wert;               // a scroll value within it
    std::vector<int> belegung; // the list index each slot shows at that value, -1 for none
};

std::vector<int> reihe(int von, int bis) {
    std::vector<int> v;
    for (int i = von; i <= bis; ++i) v.push_back(i);
    return v;
}
std::vector<int> mitLuecken(int von, int bis, int belegung) {
    std::vector<int> v = reihe(von, bis);
    v.resize(size_t(belegung), -1);
    return v;
}

TEST(SlotPaging, RangeAndTheFileOfEachSlot) {
    const Seitenfall faelle[] = {
        {"45 files, first page", 45, 19, 25, 0, reihe(0, 19)},
        {"45 files, one row down", 45, 19, 25, 5, reihe(5, 24)},
        {"45 files, one page down", 45, 19, 25, 19, reihe(19, 38)},
        {"45 files, last page", 45, 19, 25, 25, reihe(25, 44)},
        {"a page and one", 21, 19, 1, 1, reihe(1, 20)},
        {"exactly a page", 20, 19, 0, 0, reihe(0, 19)},
        {"three files", 3, 19, 0, 0, mitLuecken(0, 2, 20)},
        {"empty folder", 0, 19, 0, 0, mitLuecken(0, -1, 20)},
        {"strip of 12, one slot down", 12, 5, 6, 1, reihe(1, 6)},
        {"strip of 12, last page", 12, 5, 6, 6, reihe(6, 11)},
        {"strip of 4", 4, 5, 0, 0, mitLuecken(0, 3, 6)},
    };
    for (const Seitenfall& f : faelle) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(Fotovorschau::Scrollmaximum(f.anzahl, f.seitenende), f.max);
        std::vector<int> belegung;
        for (int i = 0; i <= f.seitenende; ++i) belegung.push_back(Fotovorschau::Listenindex(f.wert, i, f.anzahl));
        EXPECT_EQ(belegung, f.belegung);
    }
}

TEST(SlotPaging, LastSlotOfEachBrowser) {
    std::array<vb::Image*, 20> zwanzig{};
    std::array<vb::Image*, 6> sechs{};
    struct Fall {
        const char* name;
        Fotovorschau::Browserart art;
        std::span<vb::Image* const> bilder;
        short seitenende; // Browser_Seitenende
        int letzter;
    };
    using A = Fotovorschau::Browserart;
    const Fall faelle[] = {
        {"gallery, whatever the browsers say", A::Galerie, zwanzig, 5, 19},
        {"picker", A::Auswahl, zwanzig, 19, 19},
        {"picker while the strip's value holds", A::Auswahl, zwanzig, 5, 5},
        {"strip", A::Streifen, sechs, 5, 5},
        {"strip while the picker's value holds", A::Streifen, sechs, 19, 5},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Parameter_und_Start::Browser_Seitenende = f.seitenende;
        Fotovorschau::Slotsatz s;
        s.Bilder = f.bilder;
        s.Rahmen = f.bilder;
        s.Art = f.art;
        EXPECT_EQ(Fotovorschau::Letzter_Slot(s), f.letzter);
    }
}

TEST(SlotPaging, SlotPathsAndThumbnailSizes) {
    EXPECT_EQ(Fotovorschau::Ordner(QStringLiteral("/p/fotos")), QStringLiteral("/p/fotos"));
    EXPECT_EQ(Fotovorschau::Ordner(QStringLiteral("/")), QString());
    EXPECT_EQ(Fotovorschau::Slotpfad(QStringLiteral("/p/fotos"), QStringLiteral("V_Strand.bin"), true), QStringLiteral("/p/fotos/Strand.bin"));
    EXPECT_EQ(Fotovorschau::Slotpfad(QStringLiteral("/p/logos/NBLXXXX"), QStringLiteral("V_Netz.bmp"), false),
              QStringLiteral("/p/logos/NBLXXXX/V_Netz.bmp"));
    // One screen pixel per logo pixel; only the 96 x 65 type is cut to the slot's 60 rows.
    EXPECT_EQ(Logovoschau::Vorschaugroesse(96, 65), QSize(96, 60));
    EXPECT_EQ(Logovoschau::Vorschaugroesse(101, 43), QSize(101, 43));
    EXPECT_EQ(Logovoschau::Vorschaugroesse(72, 14), QSize(72, 14));
}

} // namespace
