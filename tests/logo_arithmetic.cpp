// The editor's arithmetic without a window: where a loaded picture is drawn into the logo, and
// what the magnifier shows for a raster position.
#include "logo/Logo_laden.h"
#include "logo/Zaroreriri.h"

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

} // namespace
