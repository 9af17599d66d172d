// Colour reduction: grey values, black and white with error diffusion, palette mapping.
#include "imaging/cColourReduceDIB.h"
#include "imaging/cDIBSection.h"
#include "imaging/cPalette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>
#include <gtest/gtest.h>

#include "support/DibPixels.h"

namespace {

// A grey picture from rows given bottom (stored row 0) first.
void greyPicture(cDIBSection& d, const std::vector<std::vector<int>>& rows) {
    ASSERT_TRUE(d.Create(int(rows[0].size()), int(rows.size())));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) put(d, int(x), int(y), {rows[y][x], rows[y][x], rows[y][x]});
}
// "B" / "W" per pixel, stored row 0 first.
std::vector<std::string> blackWhite(const cDIBSection& d) {
    std::vector<std::string> rows;
    for (int y = 0; y < d.Height(); ++y) {
        std::string s;
        for (int x = 0; x < d.Width(); ++x) {
            const RGB c = at(d, x, y);
            s += c == RGB{0, 0, 0} ? 'B' : (c == RGB{255, 255, 255} ? 'W' : '?');
        }
        rows.push_back(s);
    }
    return rows;
}
std::vector<uint8_t> bytes(const cDIBSection& d) {
    return {d.DIBSectionBitsPtr(), d.DIBSectionBitsPtr() + d.ImageSize()};
}

// The steps written out literally: columns outer, rows inner, error written into the source.
void referenceGrey(std::vector<uint8_t>& b, int w, int h, int line) {
    for (int x = 0; x < w * 3; x += 3)
        for (int y = 0; y < h; ++y) {
            uint8_t* p = &b[size_t(y * line + x)];
            p[0] = p[1] = p[2] = uint8_t(std::nearbyint((222.0 * p[2] + 707.0 * p[1] + 71.0 * p[0]) / 1000.0));
        }
}
void referenceBlackAndWhite(std::vector<uint8_t>& from, std::vector<uint8_t>& to, int w, int h, int line) {
    referenceGrey(from, w, h, line);
    const int xEnd = (w - 1) * 3, yEnd = h - 1;
    auto push = [&](int x, int y, int add) {
        const int v = std::clamp(from[size_t(y * line + x)] + add, 0, 255);
        for (int c = 0; c < 3; ++c) from[size_t(y * line + x + c)] = uint8_t(v);
    };
    for (int x = 0; x <= xEnd; x += 3)
        for (int y = 0; y <= yEnd; ++y) {
            const int g = from[size_t(y * line + x)];
            int e;
            if (g <= 128) {
                e = g > 16 ? g : 0;
                for (int c = 0; c < 3; ++c) to[size_t(y * line + x + c)] = 0;
            } else {
                e = 127 - g;
                for (int c = 0; c < 3; ++c) to[size_t(y * line + x + c)] = 255;
            }
            if (x < xEnd - 3) push(x + 3, y, (e * 7) / 16);
            if (y < yEnd) {
                const int off[3] = {-3, 0, 3}, weight[3] = {3, 5, 1};
                for (int k = 0; k < 3; ++k)
                    if (0 < x + off[k] && x + off[k] < xEnd) push(x + off[k], y + 1, (e * weight[k]) / 16);
            }
        }
    for (int y = 0; y < h; ++y)
        std::copy_n(&to[size_t(y * line)], size_t(w) * 3, &from[size_t(y * line)]);
}
void referenceApplyPalette(std::vector<uint8_t>& from, std::vector<uint8_t>& to, int w, int h, int line,
                           const cPalette& pal, bool diffuse) {
    const int xEnd = (w - 1) * 3, yEnd = h - 1;
    for (int x = 0; x <= xEnd; x += 3)
        for (int y = 0; y <= yEnd; ++y) {
            uint8_t* f = &from[size_t(y * line + x)];
            uint8_t* t = &to[size_t(y * line + x)];
            const int i = pal.ClosestIndex(f[2], f[1], f[0]);
            t[2] = pal.Red(i), t[1] = pal.Green(i), t[0] = pal.Blue(i);
            if (!diffuse) continue;
            const int e[3] = {f[0] - t[0], f[1] - t[1], f[2] - t[2]};
            if (std::abs(e[0]) + std::abs(e[1]) + std::abs(e[2]) <= 3) continue;
            auto push = [&](int px, int py, int weight) {
                for (int c = 0; c < 3; ++c) {
                    uint8_t& v = from[size_t(py * line + px + c)];
                    v = uint8_t(std::clamp(v + (e[c] * weight) / 16, 0, 255));
                }
            };
            if (x < xEnd - 3) push(x + 3, y, 7);
            if (y < yEnd) {
                const int off[3] = {-3, 0, 3}, weight[3] = {0, 4, 0};
                for (int k = 0; k < 3; ++k)
                    if (0 < x + off[k] && x + off[k] < xEnd) push(x + off[k], y + 1, weight[k]);
            }
        }
    for (int y = 0; y < h; ++y)
        std::copy_n(&to[size_t(y * line)], size_t(w) * 3, &from[size_t(y * line)]);
}

// Photo-like test content: smooth ramps with noise.
void fillPicture(cDIBSection& d, unsigned seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x) {
            const int n = int(rng() % 61) - 30;
            put(d, x, y, {std::clamp(x * 255 / std::max(1, d.Width() - 1) + n, 0, 255),
                          std::clamp(y * 255 / std::max(1, d.Height() - 1) - n, 0, 255), int(rng() % 256)});
        }
}

struct Size {
    int w, h;
    bool listen; // with a progress listener the columns are worked in strips
};
const Size kSizes[] = {{1, 1, false}, {1, 5, false}, {5, 1, true}, {2, 3, false}, {3, 2, true},
                       {7, 5, false}, {40, 33, true}, {1100, 9, true}, {1100, 9, false}, {513, 17, true}};

} // namespace

TEST(cColourReduceDIB, GrayScaleWeightsAndRounding) {
    struct Case {
        RGB in;
        int grey;
    };
    const Case cases[] = {{{255, 0, 0}, 57}, {{0, 255, 0}, 180}, {{0, 0, 255}, 18},  {{255, 255, 255}, 255},
                          {{0, 0, 0}, 0},    {{3, 62, 0}, 44},   {{2, 208, 0}, 148}, {{128, 128, 128}, 128}};
    cDIBSection d;
    ASSERT_TRUE(d.Create(int(std::size(cases)), 1));
    for (size_t i = 0; i < std::size(cases); ++i) put(d, int(i), 0, cases[i].in);
    cColourReduceDIB r;
    r.GrayScale(d);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const int g = cases[i].grey;
        EXPECT_EQ(at(d, int(i), 0), (RGB{g, g, g})) << i;
    }
}

TEST(cColourReduceDIB, GreyPixelsPushTheirErrorToTheRight) {
    // One row [g, r, 0, 0]: pixel 1 receives (e * 7) \ 16 from pixel 0.
    struct Case {
        int g, r;
        const char* expected;
    };
    const Case cases[] = {
        {128, 73, "BWBB"},  {128, 72, "BBBB"},  // black, pushes +128 (+56)
        {129, 129, "WWBB"}, {129, 128, "WBBB"}, // white, pushes -2 (nothing after truncation)
        {255, 185, "WWBB"}, {255, 184, "WBBB"}, // white, pushes -128 (-56)
        {16, 129, "BWBB"},  {16, 128, "BBBB"},  // black, pushes nothing
        {17, 122, "BWBB"},  {17, 121, "BBBB"},  // black, pushes +17 (+7)
    };
    for (const Case& c : cases) {
        cDIBSection from, to;
        greyPicture(from, {{c.g, c.r, 0, 0}});
        ASSERT_TRUE(to.Create(4, 1));
        cColourReduceDIB().BlackAndWhite(from, to);
        EXPECT_EQ(blackWhite(to), std::vector<std::string>{c.expected}) << c.g << " " << c.r;
        EXPECT_EQ(bytes(from), bytes(to));
    }
}

TEST(cColourReduceDIB, BlackAndWhiteFixtures) {
    struct Case {
        std::vector<std::vector<int>> grey;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {std::vector<std::vector<int>>(4, std::vector<int>(4, 255)), {"WWWW", "WWWW", "WWWW", "WWWW"}},
        {std::vector<std::vector<int>>(3, std::vector<int>(5, 0)), {"BBBBB", "BBBBB", "BBBBB"}},
        // Mid grey: 184 and 175 in column 1, then 104 and 136 in column 2.
        {{{128, 128, 128, 128}, {128, 128, 128, 128}}, {"BWBB", "BWWB"}},
        // Two pixels wide: neither pixel of a row receives error (+56 would make 100 white).
        {{{128, 100}, {128, 100}}, {"BB", "BB"}},
    };
    for (const Case& c : cases) {
        cDIBSection from, to;
        greyPicture(from, c.grey);
        ASSERT_TRUE(to.Create(from.Width(), from.Height()));
        cColourReduceDIB().BlackAndWhite(from, to);
        EXPECT_EQ(blackWhite(to), c.expected);
        EXPECT_EQ(bytes(from), bytes(to));
    }
}

TEST(cColourReduceDIB, BlackAndWhiteFollowsTheColumnScan) {
    for (const Size& s : kSizes) {
        cDIBSection from, to;
        ASSERT_TRUE(from.Create(s.w, s.h));
        ASSERT_TRUE(to.Create(s.w, s.h));
        fillPicture(from, unsigned(s.w * 31 + s.h));
        std::vector<uint8_t> refFrom = bytes(from), refTo(refFrom.size(), 0);
        referenceBlackAndWhite(refFrom, refTo, s.w, s.h, from.BytesPerScanLine());
        cColourReduceDIB r;
        int calls = 0;
        if (s.listen) r.Progress = [&](int) { ++calls; };
        r.BlackAndWhite(from, to);
        EXPECT_EQ(bytes(to), refTo) << s.w << "x" << s.h;
        EXPECT_EQ(bytes(from), refFrom) << s.w << "x" << s.h;
        if (s.listen) {
            EXPECT_EQ(calls, 2 * s.w); // grey pass and black-and-white pass
        }
    }
}

TEST(cColourReduceDIB, ApplyPaletteFollowsTheColumnScan) {
    std::vector<cPalette> pals(3);
    pals[0].Create16Colour();
    pals[1].CreateMono();
    std::mt19937 rng(3);
    for (int i = 0; i < 40; ++i) pals[2].Add(uint8_t(rng()), uint8_t(rng()), uint8_t(rng()));
    for (const cPalette& pal : pals)
        for (bool diffuse : {true, false})
            for (const Size& s : kSizes) {
                cDIBSection from, to;
                ASSERT_TRUE(from.Create(s.w, s.h));
                ASSERT_TRUE(to.Create(s.w, s.h));
                fillPicture(from, unsigned(s.w + s.h * 7));
                std::vector<uint8_t> refFrom = bytes(from), refTo(refFrom.size(), 0);
                referenceApplyPalette(refFrom, refTo, s.w, s.h, from.BytesPerScanLine(), pal, diffuse);
                cColourReduceDIB r;
                if (s.listen) r.Progress = [](int) {};
                r.ApplyPalette(from, to, pal, diffuse);
                ASSERT_EQ(bytes(to), refTo) << pal.Count() << " " << diffuse << " " << s.w << "x" << s.h;
                ASSERT_EQ(bytes(from), refFrom);
            }
}

TEST(cColourReduceDIB, ApplyPaletteErrorRules) {
    cPalette mono;
    mono.CreateMono();
    cPalette sixteen;
    sixteen.Create16Colour();
    cPalette blackAndGrey;
    blackAndGrey.Add(0, 0, 0);
    blackAndGrey.Add(100, 100, 100);
    struct Case {
        const cPalette* pal;
        bool diffuse;
        std::array<RGB, 3> in;
        RGB second; // what the middle pixel becomes
    };
    const Case cases[] = {
        // (100, 100, 100) goes black and pushes 43 per channel: the next one goes white.
        {&mono, true, {{{100, 100, 100}, {100, 100, 100}, {0, 0, 0}}}, {255, 255, 255}},
        {&mono, false, {{{100, 100, 100}, {100, 100, 100}, {0, 0, 0}}}, {0, 0, 0}},
        // Pure red is in the palette: no error, no push.
        {&sixteen, true, {{{255, 0, 0}, {200, 200, 200}, {0, 0, 0}}}, {192, 192, 192}},
        // An error summing to 3 is dropped; one summing to 4 pushes +1 red, tipping a tie.
        {&blackAndGrey, true, {{{103, 100, 100}, {50, 50, 50}, {0, 0, 0}}}, {0, 0, 0}},
        {&blackAndGrey, true, {{{103, 101, 100}, {50, 50, 50}, {0, 0, 0}}}, {100, 100, 100}},
    };
    for (const Case& c : cases) {
        cDIBSection from, to;
        ASSERT_TRUE(from.Create(3, 1));
        ASSERT_TRUE(to.Create(3, 1));
        for (int x = 0; x < 3; ++x) put(from, x, 0, c.in[size_t(x)]);
        cColourReduceDIB().ApplyPalette(from, to, *c.pal, c.diffuse);
        EXPECT_EQ(at(to, 1, 0), c.second) << c.pal->Count() << " " << c.diffuse;
        EXPECT_EQ(bytes(from), bytes(to));
    }
}

TEST(cColourReduceDIB, EventsComeInOrder) {
    cDIBSection from, to;
    ASSERT_TRUE(from.Create(3, 2));
    ASSERT_TRUE(to.Create(3, 2));
    std::vector<std::string> ev;
    cColourReduceDIB r;
    r.InitProgress = [&](int v) { ev.push_back("i" + std::to_string(v)); };
    r.Progress = [&](int v) { ev.push_back("p" + std::to_string(v)); };
    r.Complete = [&](int v) { ev.push_back(v >= 0 ? "c" : "c?"); };
    r.GrayScale(from);
    EXPECT_EQ(ev, (std::vector<std::string>{"i6", "p0", "p3", "p6", "c"}));
    ev.clear();
    r.BlackAndWhite(from, to);
    EXPECT_EQ(ev, (std::vector<std::string>{"i6", "p0", "p3", "p6", "c", "i6", "p0", "p3", "p6", "c"}));
    ev.clear();
    cPalette pal;
    pal.CreateMono();
    r.ApplyPalette(from, to, pal, true);
    EXPECT_EQ(ev, (std::vector<std::string>{"i6", "p0", "p3", "p6", "c"}));
}

TEST(cColourReduceDIB, EmptyBuffersAndAnEmptyPaletteAreHarmless) {
    cDIBSection from, to;
    cColourReduceDIB r;
    r.GrayScale(from);
    r.BlackAndWhite(from, to);
    cPalette none;
    ASSERT_TRUE(from.Create(4, 3));
    ASSERT_TRUE(to.Create(4, 3));
    fillPicture(from, 1);
    r.ApplyPalette(from, to, none, true); // no entry qualifies: black
    for (uint8_t b : bytes(to)) ASSERT_EQ(b, 0);
    cDIBSection small;
    ASSERT_TRUE(small.Create(2, 2));
    fillPicture(from, 2);
    r.BlackAndWhite(from, small); // bounds from the smaller buffer
    r.ApplyPalette(small, from, none, false);
}
