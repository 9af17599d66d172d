// Filter engine and HLS colour conversion: kernels, border rings, rank filters, pixel operations,
// errors, events. Expected pictures are worked by hand from the filter rules.
#include "imaging/cColourReduceDIB.h"
#include "imaging/cDIBSection.h"
#include "imaging/cImageProcessDIB.h"
#include "imaging/cImageProcessDIB_Parallel.h"
#include "imaging/cPalette.h"
#include "imaging/mHLSRGB.h"
#include "platform/system/Rnd.h"
#include "platform/system/VBError.h"

#include <array>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <vector>
#include <gtest/gtest.h>

#include "support/BothBuilds.h"
#include "support/DibPixels.h"
#include "platform/system/Seams.h"

namespace {

using Grid = std::vector<std::vector<int>>; // stored rows, row 0 (the bottom one) first

// The 5 x 5 fixture, grey.
const Grid kF = {
    {12, 200, 45, 90, 255},
    {0, 100, 30, 60, 180},
    {77, 15, 250, 5, 128},
    {64, 32, 16, 8, 4},
    {255, 0, 255, 0, 255},
};

void greyPicture(cDIBSection& d, const Grid& g) {
    ASSERT_TRUE(d.Create(int(g[0].size()), int(g.size())));
    for (size_t y = 0; y < g.size(); ++y)
        for (size_t x = 0; x < g[y].size(); ++x) put(d, int(x), int(y), {g[y][x], g[y][x], g[y][x]});
}
// The picture as a grid when it is grey; a non-grey pixel reads -1.
Grid greyOf(const cDIBSection& d) {
    Grid g(size_t(d.Height()), std::vector<int>(size_t(d.Width())));
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x) {
            const RGB c = at(d, x, y);
            g[size_t(y)][size_t(x)] = (c[0] == c[1] && c[1] == c[2]) ? c[0] : -1;
        }
    return g;
}
std::vector<uint8_t> bytes(const cDIBSection& d) {
    return {d.DIBSectionBitsPtr(), d.DIBSectionBitsPtr() + d.ImageSize()};
}
void randomPicture(cDIBSection& d, int w, int h, unsigned seed) {
    ASSERT_TRUE(d.Create(w, h));
    std::mt19937 rng(seed);
    for (int64_t i = 0; i < d.ImageSize(); ++i) d.DIBSectionBitsPtr()[i] = uint8_t(rng());
}

// Runs one filter type on a grey grid through ProcessImage; the scratch buffer is the caller's.
Grid filtered(int type, const Grid& g, bool* result = nullptr) {
    cDIBSection img, buf;
    greyPicture(img, g);
    buf.Create(img.Width(), img.Height());
    cImageProcessDIB e;
    e.FilterType(type);
    const bool r = e.ProcessImage(img, buf);
    if (result) *result = r;
    return greyOf(img);
}

// Puts a known sequence in place of the runtime's generator, and counts the draws.
struct FedNumbers {
    std::deque<double> numbers;
    int drawn = 0;
    explicit FedNumbers(std::deque<double> n) : numbers(std::move(n)) {
        vb::seams().rnd = [this] {
            ++drawn;
            if (numbers.empty()) return 0.0;
            const double v = numbers.front();
            numbers.pop_front();
            return v;
        };
    }
    ~FedNumbers() { vb::seams().rnd = {}; }
};


// Runs the filter on img, a fresh grey picture, which it must leave as it was; the error raised.
std::optional<vb::VBError> filterError(cImageProcessDIB& e, cDIBSection& img) {
    cDIBSection buf;
    greyPicture(img, kF);
    buf.Create(5, 5);
    const auto before = bytes(img);
    std::optional<vb::VBError> raised;
    try {
        e.ProcessImage(img, buf);
    } catch (const vb::VBError& err) {
        raised = err;
    }
    EXPECT_EQ(bytes(img), before);
    return raised;
}
} // namespace

// ---- Kernels --------------------------------------------------------------------------------

TEST(cImageProcessDIB, PresetKernelsAndWeights) {
    struct Case {
        int type, size, weight;
        std::vector<int> kernel; // row offset -half first, within a row horizontal offset -half first
    };
    const std::vector<Case> cases = {
        {1, 3, 9, {1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {2, 5, 25, std::vector<int>(25, 1)},
        {3, 3, 12, {1, 1, 1, 1, 4, 1, 1, 1, 1}},
        {4, 5, 44, {1, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1, 2, 12, 2, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 1}},
        {5, 3, 7, {-1, -1, -1, -1, 15, -1, -1, -1, -1}},
        {6, 3, 1, {0, -1, 0, -1, 5, -1, 0, -1, 0}},
        {8, 3, 1, {-1, 0, 0, 0, 0, 0, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        cImageProcessDIB e;
        e.FilterType(c.type);
        EXPECT_EQ(e.FilterType(), c.type);
        ASSERT_EQ(e.FilterArraySize(), c.size);
        EXPECT_EQ(e.FilterWeight(), c.weight);
        const int half = c.size / 2;
        std::vector<int> k;
        for (int j = -half; j <= half; ++j)
            for (int i = -half; i <= half; ++i) k.push_back(e.FilterValue(i, j));
        EXPECT_EQ(k, c.kernel);
    }
}

TEST(cImageProcessDIB, TypesWithoutKernelKeepThePreviousOneAndZeroTheWeight) {
    for (int type : {7, 9, 10, 11, 12}) {
        cImageProcessDIB e;
        e.FilterType(3);
        e.FilterType(type);
        EXPECT_EQ(e.FilterArraySize(), 3);
        EXPECT_EQ(e.FilterValue(0, 0), 4);
        EXPECT_EQ(e.FilterValue(-1, 1), 1);
        EXPECT_EQ(e.FilterWeight(), 0) << type;
    }
    // The custom type keeps what the caller set.
    cImageProcessDIB e;
    e.FilterArraySize(3);
    e.FilterValue(1, -1, 7);
    e.FilterWeight(7);
    e.FilterType(13);
    EXPECT_EQ(e.FilterValue(1, -1), 7);
    EXPECT_EQ(e.FilterValue(-1, 1), 0);
    EXPECT_EQ(e.FilterWeight(), 7);
}

TEST(cImageProcessDIB, KernelFiltersOnTheFixture) {
    struct Case {
        int type;
        bool result;
        Grid expected;
    };
    const std::vector<Case> cases = {
        {1, true, {{12, 200, 45, 90, 255}, {0, 81, 88, 115, 180}, {77, 64, 57, 75, 128}, {64, 107, 64, 102, 4}, {255, 0, 255, 0, 255}}},
        {3, true, {{12, 200, 45, 90, 255}, {0, 85, 73, 101, 180}, {77, 52, 105, 58, 128}, {64, 88, 52, 78, 4}, {255, 0, 255, 0, 255}}},
        {5, true, {{12, 200, 45, 90, 255}, {0, 124, 0, 0, 180}, {77, 0, 255, 0, 128}, {64, 0, 0, 0, 4}, {255, 0, 255, 0, 255}}},
        {6, true, {{12, 200, 45, 90, 255}, {0, 255, 0, 0, 180}, {77, 0, 255, 0, 128}, {64, 65, 0, 15, 4}, {255, 0, 255, 0, 255}}},
        // 5 x 5 kernels leave two rings: only the centre changes.
        {2, true, {{12, 200, 45, 90, 255}, {0, 100, 30, 60, 180}, {77, 15, 93, 5, 128}, {64, 32, 16, 8, 4}, {255, 0, 255, 0, 255}}},
        {4, true, {{12, 200, 45, 90, 255}, {0, 100, 30, 60, 180}, {77, 15, 121, 5, 128}, {64, 32, 16, 8, 4}, {255, 0, 255, 0, 255}}},
        // Unsharp mask: 2 x picture - box blur; the ring is 2 x v - v.
        {7, false, {{12, 200, 45, 90, 255}, {0, 119, 0, 5, 180}, {77, 0, 255, 0, 128}, {64, 0, 0, 0, 4}, {255, 0, 255, 0, 255}}},
        // Emboss: the upper-right neighbour minus the lower-left one, clamped, plus 127; the ring
        // is the picture plus 127.
        {8, true, {{139, 255, 172, 217, 255}, {127, 255, 127, 210, 255}, {204, 143, 127, 127, 255}, {191, 255, 127, 132, 131}, {255, 127, 255, 127, 255}}},
        {9, true, {{12, 200, 45, 90, 255}, {0, 81, 88, 115, 180}, {77, 64, 57, 75, 128}, {64, 107, 64, 102, 4}, {255, 0, 255, 0, 255}}},
        {10, true, {{12, 200, 45, 90, 255}, {0, 0, 5, 5, 180}, {77, 0, 5, 4, 128}, {64, 0, 0, 0, 4}, {255, 0, 255, 0, 255}}},
        {11, true, {{12, 200, 45, 90, 255}, {0, 250, 250, 255, 180}, {77, 250, 250, 250, 128}, {64, 255, 255, 255, 4}, {255, 0, 255, 0, 255}}},
        {12, false, kF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        bool result = !c.result;
        EXPECT_EQ(filtered(c.type, kF, &result), c.expected);
        EXPECT_EQ(result, c.result);
    }
}

TEST(cImageProcessDIB, ChannelsAreFilteredEachOnItsOwn) {
    // Blue holds the fixture, green its negative, red a constant: each comes out as if alone.
    cDIBSection img, buf;
    ASSERT_TRUE(img.Create(5, 5));
    buf.Create(5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) put(img, x, y, {33, 255 - kF[size_t(y)][size_t(x)], kF[size_t(y)][size_t(x)]});
    cImageProcessDIB e;
    e.FilterType(1);
    e.ProcessImage(img, buf);
    Grid negative = kF;
    for (auto& r : negative)
        for (int& v : r) v = 255 - v;
    const Grid blue = filtered(1, kF), green = filtered(1, negative);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(at(img, x, y), (RGB{33, green[size_t(y)][size_t(x)], blue[size_t(y)][size_t(x)]})) << x << "," << y;
    EXPECT_EQ(bytes(buf), bytes(img));
}

TEST(cImageProcessDIB, EmbossOfFlatAreasAndSteps) {
    // Flat: 127 inside. A step falling from lower left to upper right: 127 (the negative
    // difference is clamped before the offset). Rising: 127 plus the difference.
    const Grid flat(5, std::vector<int>(5, 90));
    const Grid falling = {{200, 200, 200, 200, 200}, {200, 200, 200, 200, 200}, {200, 200, 200, 50, 50}, {50, 50, 50, 50, 50}, {50, 50, 50, 50, 50}};
    Grid rising = falling;
    for (auto& r : rising)
        for (int& v : r) v = 250 - v;
    const Grid f = filtered(8, flat), d = filtered(8, falling), u = filtered(8, rising);
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 4; ++x) {
            EXPECT_EQ(f[size_t(y)][size_t(x)], 127);
            EXPECT_EQ(d[size_t(y)][size_t(x)], 127);
            EXPECT_EQ(u[size_t(y)][size_t(x)], std::min(255, 127 + rising[size_t(y + 1)][size_t(x + 1)] - rising[size_t(y - 1)][size_t(x - 1)]));
        }
    EXPECT_EQ(f[0][0], 217);
    EXPECT_EQ(u[3][1], 255); // 127 + 200 - 50, clamped
}

TEST(cImageProcessDIB, ReliefTwiceEmbossesTheEmbossedPicture) {
    const Grid once = filtered(8, kF), twice = filtered(8, once);
    EXPECT_EQ(twice[0][0], 255);              // 139 + 127
    EXPECT_EQ(twice[2][2], 127 + 255 - 255);  // upper right 255 minus lower left 255
    EXPECT_EQ(twice[1][1], 127);              // 127 - 139 clamps to 0
}

TEST(cImageProcessDIB, CustomKernelsMatchThePresetsAtAnyScale) {
    // A custom kernel equal to a preset gives the preset's picture, also scaled by 1000 (which
    // leaves the 16-bit sums, and so exercises the general path), on pictures large enough to be
    // split among threads.
    cDIBSection src;
    randomPicture(src, 601, 457, 7);
    for (int type : {1, 2, 3, 4, 5, 6}) {
        SCOPED_TRACE(type);
        cImageProcessDIB preset;
        preset.FilterType(type);
        cDIBSection a, buf;
        a.Create(src.Width(), src.Height());
        a.LoadPictureBlt(src);
        buf.Create(src.Width(), src.Height());
        preset.ProcessImage(a, buf);
        for (int scale : {1, 1000}) {
            cImageProcessDIB custom;
            custom.FilterArraySize(preset.FilterArraySize());
            const int half = preset.FilterArraySize() / 2;
            for (int j = -half; j <= half; ++j)
                for (int i = -half; i <= half; ++i) custom.FilterValue(i, j, preset.FilterValue(i, j) * scale);
            custom.FilterWeight(preset.FilterWeight() * scale);
            custom.FilterType(13);
            cDIBSection b;
            b.Create(src.Width(), src.Height());
            b.LoadPictureBlt(src);
            EXPECT_TRUE(custom.ProcessImage(b, buf));
            EXPECT_EQ(bytes(b), bytes(a)) << scale;
        }
    }
}

TEST(cImageProcessDIB, APresetKernelChangedByTheCallerIsUsedAsChanged) {
    // Box blur with the centre raised to 10, weight still 9: (729 - 100 + 1000) \ 9 at (1, 1).
    cImageProcessDIB e;
    e.FilterType(1);
    e.FilterValue(0, 0, 10);
    cDIBSection img, buf;
    greyPicture(img, kF);
    buf.Create(5, 5);
    e.ProcessImage(img, buf);
    EXPECT_EQ(greyOf(img)[1][1], 181);
}

TEST(cImageProcessDIB, NegativeWeightsTruncateTowardZero) {
    // A kernel of -1 at the centre and weight -2: -v / -2 truncates to v \ 2.
    cImageProcessDIB e;
    e.FilterArraySize(3);
    e.FilterValue(0, 0, -1);
    e.FilterWeight(-2);
    e.FilterType(13);
    cDIBSection img, buf;
    greyPicture(img, kF);
    buf.Create(5, 5);
    e.ProcessImage(img, buf);
    EXPECT_EQ(greyOf(img)[1], (std::vector<int>{0, 50, 15, 30, 180}));
    EXPECT_EQ(greyOf(img)[2], (std::vector<int>{77, 7, 125, 2, 128}));
}

namespace {
// ProcessImage of a preset type worked pixel by pixel from the filter rules: copy the picture
// into the buffer, filter the inside into the buffer, then copy back or combine. Both buffers'
// bytes, picture first.
std::pair<std::vector<uint8_t>, std::vector<uint8_t>> byTheRules(int type, const cDIBSection& src) {
    const int w = src.Width(), h = src.Height(), line = src.BytesPerScanLine();
    // The buffer is fresh: its padding bytes stay 0.
    std::vector<uint8_t> img = bytes(src), buf(img.size(), 0);
    for (int y = 0; y < h; ++y) std::copy_n(img.begin() + y * line, 3 * w, buf.begin() + y * line);
    cImageProcessDIB k;
    k.FilterType(type == 7 ? 1 : type);
    const int half = type >= 9 ? 1 : k.FilterArraySize() / 2;
    int kernel[5][5] = {};
    if (type < 9)
        for (int i = -half; i <= half; ++i)
            for (int j = -half; j <= half; ++j) kernel[i + 2][j + 2] = k.FilterValue(i, j);
    for (int x = half; x < w - half; ++x)
        for (int y = half; y < h - half; ++y)
            for (int c = 0; c < 3; ++c) {
                auto v = [&](int i, int j) { return int(img[size_t((y + j) * line + 3 * (x + i) + c)]); };
                int r = type == 10 ? 255 : 0;
                for (int i = -half; i <= half; ++i)
                    for (int j = -half; j <= half; ++j) {
                        if (type == 10) r = std::min(r, v(i, j));
                        else if (type == 11) r = std::max(r, v(i, j));
                        else r += type == 9 ? v(i, j) : kernel[i + 2][j + 2] * v(i, j);
                    }
                if (type == 9) r /= 9;
                else if (type < 9) r /= k.FilterWeight();
                buf[size_t(y * line + 3 * x + c)] = uint8_t(std::clamp(r, 0, 255));
            }
    for (int y = 0; y < h; ++y)
        for (int b = 0; b < 3 * w; ++b) {
            const size_t i = size_t(y * line + b);
            if (type == 7) img[i] = uint8_t(std::clamp(2 * img[i] - buf[i], 0, 255));
            else if (type == 8) img[i] = uint8_t(std::min(buf[i] + 127, 255));
            else img[i] = buf[i];
        }
    return {img, buf};
}
} // namespace

TEST(cImageProcessDIB, FastPathsGiveTheBytesOfTheRulesOnBothBuilds) {
    // Every kernel and rank filter of the photo editor's lists, the negative, grey and fade, on sizes
    // from a pixel to pictures split among threads (odd widths leave padding bytes): the one-pass
    // filters and the vector loops against the rules worked pixel by pixel and against the
    // reducer's grey.
    const std::vector<std::pair<int, int>> sizes = {{1, 1}, {2, 3}, {3, 3}, {5, 4}, {6, 6}, {67, 9}, {601, 457}};
    std::vector<std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>>> rules;
    for (const auto& [w, h] : sizes) {
        cDIBSection src, img;
        randomPicture(src, w, h, unsigned(w * 31 + h));
        img.Create(w, h);
        img.LoadPictureBlt(src);
        rules.emplace_back();
        for (int type = 1; type <= 11; ++type) rules.back().push_back(byTheRules(type, img));
    }
    // Every colour whose grey sum lies within 2 of a half: the rounding's cases.
    std::vector<std::array<uint8_t, 3>> near;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b)
                if (std::abs((222 * r + 707 * g + 71 * b) % 1000 - 500) <= 2) near.push_back({uint8_t(b), uint8_t(g), uint8_t(r)});
    onBothBuilds([&](const char* build) {
        SCOPED_TRACE(build);
        for (size_t n = 0; n < sizes.size(); ++n) {
            const auto [w, h] = sizes[n];
            SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
            cDIBSection src;
            randomPicture(src, w, h, unsigned(w * 31 + h));
            for (int type = 1; type <= 11; ++type) {
                SCOPED_TRACE(type);
                cDIBSection img, buf;
                img.Create(w, h);
                img.LoadPictureBlt(src);
                buf.Create(w, h);
                const auto& [expImg, expBuf] = rules[n][size_t(type - 1)];
                cImageProcessDIB e;
                e.FilterType(type);
                e.ProcessImage(img, buf);
                EXPECT_EQ(bytes(img), expImg);
                EXPECT_EQ(bytes(buf), expBuf);
            }
            cDIBSection neg, negBuf;
            neg.Create(w, h);
            neg.LoadPictureBlt(src);
            randomPicture(negBuf, w, h, 99);
            cImageProcessDIB().AddImages(neg, negBuf, -1, -255, -255, -255, 0, 0, 0, 0);
            std::vector<uint8_t> expected = bytes(negBuf);
            const std::vector<uint8_t> from = bytes(src);
            for (int y = 0; y < h; ++y)
                for (int b = 0; b < 3 * w; ++b) {
                    const size_t i = size_t(y * src.BytesPerScanLine() + b);
                    expected[i] = uint8_t(255 - from[i]);
                }
            EXPECT_EQ(bytes(negBuf), expected);

            cDIBSection grey, greyRef;
            grey.Create(w, h);
            grey.LoadPictureBlt(src);
            greyRef.Create(w, h);
            greyRef.LoadPictureBlt(src);
            cImageProcessDIB().GrayScale(grey);
            cColourReduceDIB().GrayScale(greyRef);
            EXPECT_EQ(bytes(grey), bytes(greyRef));

            // Fade: byte * amount \ 255, at most 255; the vector loops take 0 to 257.
            for (int amount : {0, 1, 128, 240, 255, 256, 257, 258, 1000, -3}) {
                SCOPED_TRACE(amount);
                cDIBSection faded;
                faded.Create(w, h);
                faded.LoadPictureBlt(src);
                std::vector<uint8_t> want = bytes(faded);
                for (int y = 0; y < h; ++y)
                    for (int b = 0; b < 3 * w; ++b) {
                        uint8_t& v = want[size_t(y * src.BytesPerScanLine() + b)];
                        v = uint8_t(std::clamp(v * amount / 255, 0, 255));
                    }
                cImageProcessDIB().Fade(faded, amount);
                EXPECT_EQ(bytes(faded), want);
            }
        }
        // Grey on the colours near a half, 16 pixels to a vector step and an odd tail.
        const int w = 1001, h = int((near.size() + w - 1) / w);
        cDIBSection grey, greyRef;
        ASSERT_TRUE(grey.Create(w, h));
        for (size_t i = 0; i < near.size(); ++i)
            std::copy_n(near[i].data(), 3, grey.DIBSectionBitsPtr() + (i / w) * size_t(grey.BytesPerScanLine()) + (i % w) * 3);
        greyRef.Create(w, h);
        greyRef.LoadPictureBlt(grey);
        cImageProcessDIB().GrayScale(grey);
        cColourReduceDIB().GrayScale(greyRef);
        EXPECT_EQ(bytes(grey), bytes(greyRef));
    });
}

TEST(cImageProcessDIB, NoiseFromTheProgramsGeneratorIsTheNoiseOfItsDrawsOneByOne) {
    // The program's generator walked in groups of columns on all threads, and the same numbers
    // fed one draw at a time: the same picture and the generator left at the same state.
    for (bool random : {true, false}) {
        SCOPED_TRACE(random);
        cDIBSection fast, slow;
        randomPicture(fast, 1031, 613, 11);
        randomPicture(slow, 1031, 613, 11);
        vb::DefaultRnd().state = 0x0123456789ABCDEFull;
        vb::RndGenerator copy = vb::DefaultRnd();
        cImageProcessDIB().AddNoise(fast, 20, random);
        vb::seams().rnd = [&copy] { return copy.Next(); };
        cImageProcessDIB().AddNoise(slow, 20, random);
        vb::seams().rnd = {};
        EXPECT_EQ(bytes(fast), bytes(slow));
        EXPECT_EQ(vb::DefaultRnd().state, copy.state);
    }
}

// ---- Errors ---------------------------------------------------------------------------------

TEST(cImageProcessDIB, ErrorsLeaveTheStateAsItWas) {
    struct Case {
        const char* what;
        std::function<void(cImageProcessDIB&)> call;
        long number;
        QString description;
    };
    const std::vector<Case> cases = {
        {"type 0", [](cImageProcessDIB& e) { e.FilterType(0); }, long(int32_t(0x8004051A)), "Invalid filter types."},
        {"type 14", [](cImageProcessDIB& e) { e.FilterType(14); }, long(int32_t(0x8004051A)), "Invalid filter types."},
        {"size 4", [](cImageProcessDIB& e) { e.FilterArraySize(4); }, long(int32_t(0x80040519)), "Size must be an odd number"},
        {"size 11", [](cImageProcessDIB& e) { e.FilterArraySize(11); }, long(int32_t(0x8004051A)),
         "Invalid size.  Size should be an odd number from 3 to 9"},
        {"size 1", [](cImageProcessDIB& e) { e.FilterArraySize(1); }, long(int32_t(0x8004051A)),
         "Invalid size.  Size should be an odd number from 3 to 9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cImageProcessDIB e;
        e.FilterType(4);
        try {
            c.call(e);
            ADD_FAILURE() << "no error";
        } catch (const vb::VBError& err) {
            EXPECT_EQ(err.Number(), c.number);
            EXPECT_EQ(err.Description(), c.description);
            EXPECT_EQ(err.Source(), vb::AppExeName() + ".cImageProcess");
        }
        EXPECT_EQ(e.FilterType(), 4);
        EXPECT_EQ(e.FilterArraySize(), 5);
        EXPECT_EQ(e.FilterWeight(), 44);
        EXPECT_EQ(e.FilterValue(0, 0), 12);
        EXPECT_EQ(e.FilterValue(2, -2), 1);
    }
    // Offsets outside the kernel are the runtime's subscript error.
    cImageProcessDIB e;
    e.FilterType(1);
    try {
        e.FilterValue(2, 0);
        ADD_FAILURE() << "no error";
    } catch (const vb::VBError& err) {
        EXPECT_EQ(err.Number(), 9);
    }
}

TEST(cImageProcessDIB, CustomKernelOfWeightZeroIsADivisionByZeroAndKeepsThePicture) {
    cImageProcessDIB e;
    e.FilterArraySize(3);
    e.FilterValue(0, 0, 1);
    e.FilterWeight(0);
    e.FilterType(13);
    cDIBSection img;
    const auto err = filterError(e, img);
    ASSERT_TRUE(err.has_value()) << "no error";
    EXPECT_EQ(err->Number(), 11);
    EXPECT_EQ(err->Description(), "Division by zero");
    EXPECT_EQ(err->Source(), vb::AppExeName());
    EXPECT_EQ(e.FilterType(), 13);
    EXPECT_EQ(e.FilterWeight(), 0);
}

TEST(cImageProcessDIB, CustomFilterWithoutASizeIsASubscriptErrorAndKeepsThePicture) {
    // No kernel was ever made: reading its cells is the runtime's subscript error, not a crash.
    cImageProcessDIB e;
    e.FilterType(13);
    cDIBSection img;
    const auto err = filterError(e, img);
    ASSERT_TRUE(err.has_value()) << "no error";
    EXPECT_EQ(err->Number(), 9);
    EXPECT_EQ(err->Description(), "Subscript out of range");
    EXPECT_EQ(e.FilterType(), 13);
    EXPECT_EQ(e.FilterArraySize(), 0);
}

TEST(cImageProcessDIB, SumsBeyond32BitsAreAnOverflowAndKeepThePicture) {
    cImageProcessDIB e;
    e.FilterArraySize(3);
    e.FilterValue(0, 0, 2000000000);
    e.FilterValue(1, 0, 2000000000);
    e.FilterWeight(1);
    e.FilterType(13);
    cDIBSection img;
    const auto err = filterError(e, img);
    ASSERT_TRUE(err.has_value()) << "no error";
    EXPECT_EQ(err->Number(), 6);

    cDIBSection to;
    greyPicture(to, kF);
    const auto before = bytes(to);
    try {
        e.AddImages(img, to, 100000000, 0, 0, 0, 1, 0, 0, 0);
        ADD_FAILURE() << "no error";
    } catch (const vb::VBError& error) {
        EXPECT_EQ(error.Number(), 6);
    }
    EXPECT_EQ(bytes(to), before);
}

// ---- Events ---------------------------------------------------------------------------------

TEST(cImageProcessDIB, EventsReportColumns) {
    struct Case {
        const char* what;
        std::function<void(cImageProcessDIB&, cDIBSection&, cDIBSection&)> run;
        std::vector<int> events; // InitProgress value, then the Progress positions; Complete last
    };
    const std::vector<Case> cases = {
        {"box 3", [](cImageProcessDIB& e, cDIBSection& a, cDIBSection& b) { e.FilterType(1); e.ProcessImage(a, b); }, {9, 3, 6, 9}},
        {"box 5", [](cImageProcessDIB& e, cDIBSection& a, cDIBSection& b) { e.FilterType(2); e.ProcessImage(a, b); }, {6, 6}},
        {"minimum", [](cImageProcessDIB& e, cDIBSection& a, cDIBSection& b) { e.FilterType(10); e.ProcessImage(a, b); }, {9, 3, 6, 9}},
        {"fade", [](cImageProcessDIB& e, cDIBSection& a, cDIBSection&) { e.Fade(a, 240); }, {12, 0, 3, 6, 9, 12}},
        {"lighten", [](cImageProcessDIB& e, cDIBSection& a, cDIBSection&) { e.Lighten(a, 20); }, {12, 0, 3, 6, 9, 12}},
        {"noise", [](cImageProcessDIB& e, cDIBSection& a, cDIBSection&) { e.AddNoise(a, 20, true); }, {12, 0, 3, 6, 9, 12}},
        {"colourise", [](cImageProcessDIB& e, cDIBSection& a, cDIBSection&) { e.Colourise(a, 1, 0.5f); }, {12, 0, 3, 6, 9, 12}},
        {"grey", [](cImageProcessDIB& e, cDIBSection& a, cDIBSection&) { e.GrayScale(a); }, {12, 0, 3, 6, 9, 12}},
        {"combine", [](cImageProcessDIB& e, cDIBSection& a, cDIBSection& b) { e.AddImages(a, b, 1, 0, 0, 0, 1, 0, 0, 0); e.AddLightest(a, b); e.AddDarkest(a, b); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cDIBSection a, b;
        greyPicture(a, kF);
        b.Create(5, 5);
        cImageProcessDIB e;
        std::vector<int> events;
        int inits = 0, completes = 0;
        e.InitProgress = [&](int v) {
            ++inits;
            events.push_back(v);
        };
        e.Progress = [&](int v) {
            EXPECT_EQ(completes, 0);
            events.push_back(v);
        };
        e.Complete = [&](int ms) {
            ++completes;
            EXPECT_GE(ms, 0);
        };
        c.run(e, a, b);
        EXPECT_EQ(events, c.events);
        EXPECT_EQ(inits, c.events.empty() ? 0 : 1);
        EXPECT_EQ(completes, c.events.empty() ? 0 : 1);
    }
}

// ---- Pixel operations -----------------------------------------------------------------------

TEST(cImageProcessDIB, CombiningPictures) {
    cDIBSection from, to;
    ASSERT_TRUE(from.Create(2, 1));
    ASSERT_TRUE(to.Create(2, 1));
    put(from, 0, 0, {255, 0, 0});  // measure 222 x 255
    put(from, 1, 0, {10, 20, 30});
    put(to, 0, 0, {0, 0, 255});    // measure 71 x 255
    put(to, 1, 0, {200, 100, 0});
    cImageProcessDIB e;
    // The offsets R, G, B go to the first, second and third byte: blue, green, red.
    cDIBSection t2;
    t2.Create(2, 1);
    t2.LoadPictureBlt(to);
    e.AddImages(from, t2, 1, 10, 20, 30, 1, 0, 0, -5);
    EXPECT_EQ(at(t2, 0, 0), (RGB{255, 20, 255})); // red 255 + 30 - 5, blue 0 + 10 + 255: clamped
    EXPECT_EQ(at(t2, 1, 0), (RGB{235, 140, 40}));

    // The host's negative: -(v - 255) + 0.
    cDIBSection neg;
    neg.Create(2, 1);
    e.AddImages(from, neg, -1, -255, -255, -255, 0, 0, 0, 0);
    EXPECT_EQ(at(neg, 0, 0), (RGB{0, 255, 255}));
    EXPECT_EQ(at(neg, 1, 0), (RGB{245, 235, 225}));

    // AddLightest takes the pixel of smaller measure, AddDarkest the larger.
    cDIBSection l, d;
    l.Create(2, 1);
    d.Create(2, 1);
    l.LoadPictureBlt(to);
    d.LoadPictureBlt(to);
    e.AddLightest(from, l);
    e.AddDarkest(from, d);
    EXPECT_EQ(at(l, 0, 0), (RGB{0, 0, 255}));
    EXPECT_EQ(at(l, 1, 0), (RGB{10, 20, 30}));
    EXPECT_EQ(at(d, 0, 0), (RGB{255, 0, 0}));
    EXPECT_EQ(at(d, 1, 0), (RGB{200, 100, 0}));
}

TEST(cImageProcessDIB, FadeLightenColourise) {
    struct Case {
        const char* what;
        std::function<void(cImageProcessDIB&, cDIBSection&)> run;
        RGB in, out;
    };
    const std::vector<Case> cases = {
        {"fade 255", [](cImageProcessDIB& e, cDIBSection& d) { e.Fade(d, 240); }, {255, 100, 1}, {240, 94, 0}},
        {"lighten black", [](cImageProcessDIB& e, cDIBSection& d) { e.Lighten(d, 20); }, {0, 0, 0}, {0, 0, 0}},
        {"lighten grey 0.9", [](cImageProcessDIB& e, cDIBSection& d) { e.Lighten(d, 20); }, {230, 230, 230}, {255, 255, 255}},
        {"lighten grey 100", [](cImageProcessDIB& e, cDIBSection& d) { e.Lighten(d, 20); }, {100, 100, 100}, {120, 120, 120}},
        {"lighten red", [](cImageProcessDIB& e, cDIBSection& d) { e.Lighten(d, 20); }, {255, 0, 0}, {255, 51, 51}},
        {"colourise grey", [](cImageProcessDIB& e, cDIBSection& d) { e.Colourise(d, 2, 0.9f); }, {100, 100, 100}, {50, 150, 50}},
        {"colourise grey blue", [](cImageProcessDIB& e, cDIBSection& d) { e.Colourise(d, 4, 0.1f); }, {100, 100, 100}, {50, 50, 150}},
        {"colourise red", [](cImageProcessDIB& e, cDIBSection& d) { e.Colourise(d, 2, 1); }, {255, 0, 0}, {64, 191, 64}},
        {"colourise green", [](cImageProcessDIB& e, cDIBSection& d) { e.Colourise(d, 4, 0.5f); }, {0, 255, 0}, {0, 0, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cDIBSection d;
        ASSERT_TRUE(d.Create(3, 2));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) put(d, x, y, c.in);
        cImageProcessDIB e;
        c.run(e, d);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) EXPECT_EQ(at(d, x, y), c.out);
    }
}

TEST(cImageProcessDIB, LightenAndColouriseFollowTheConversionsForEveryColour) {
    // Every seventh colour (2.4 million, all grey levels' neighbours and every hue sector), through
    // the engine on both builds and pixel by pixel through mHLSRGB with the steps of each operation.
    constexpr int kW = 2048, kN = (1 << 24) / 7;
    auto colour = [](int k) { const int i = k * 7; return RGB{i >> 16, (i >> 8) & 255, i & 255}; };
    cDIBSection pic;
    ASSERT_TRUE(pic.Create(kW, kN / kW + 1));
    for (int k = 0; k < kN; ++k) put(pic, k % kW, k / kW, colour(k));
    struct Case {
        const char* what;
        std::function<void(cImageProcessDIB&, cDIBSection&)> run;
        std::function<RGB(RGB)> pixel;
    };
    const std::vector<Case> cases = {
        {"lighten 20", [](cImageProcessDIB& e, cDIBSection& d) { e.Lighten(d, 20); },
         [](RGB c) {
             float h, s, l;
             mHLSRGB::RGBToHLS(c[0], c[1], c[2], h, s, l);
             l = float(double(l) * (20 / 100.0 + 1));
             if (l > 1) l = 1;
             RGB o;
             mHLSRGB::HLSToRGB(h, s, l, o[0], o[1], o[2]);
             return o;
         }},
        {"colourise 1.3", [](cImageProcessDIB& e, cDIBSection& d) { e.Colourise(d, 1.3f, 0.5f); },
         [](RGB c) {
             float h, s, l;
             mHLSRGB::RGBToHLS(c[0], c[1], c[2], h, s, l);
             if (h == 0) s = 0.5f;
             RGB o;
             mHLSRGB::HLSToRGB(1.3f, s, l, o[0], o[1], o[2]);
             return o;
         }},
        {"colourise -0.5", [](cImageProcessDIB& e, cDIBSection& d) { e.Colourise(d, -0.5f, 0.5f); },
         [](RGB c) {
             float h, s, l;
             mHLSRGB::RGBToHLS(c[0], c[1], c[2], h, s, l);
             if (h == 0) s = 0.5f;
             RGB o;
             mHLSRGB::HLSToRGB(-0.5f, s, l, o[0], o[1], o[2]);
             return o;
         }},
    };
    onBothBuilds([&](const char* build) {
        SCOPED_TRACE(build);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            cDIBSection d;
            ASSERT_TRUE(d.Create(pic.Width(), pic.Height()));
            d.LoadPictureBlt(pic);
            cImageProcessDIB e;
            c.run(e, d);
            int wrong = 0;
            for (int k = 0; k < kN; ++k) wrong += at(d, k % kW, k / kW) != c.pixel(colour(k));
            EXPECT_EQ(wrong, 0);
        }
    });
}

TEST(cImageProcessDIB, ColourReductionIsTheReducers) {
    cDIBSection src;
    randomPicture(src, 37, 23, 3);
    cPalette pal;
    pal.Create16Colour();
    for (int op = 0; op < 3; ++op) {
        SCOPED_TRACE(op);
        cDIBSection a, at, b, bt;
        for (cDIBSection* d : {&a, &at, &b, &bt}) d->Create(37, 23);
        a.LoadPictureBlt(src);
        b.LoadPictureBlt(src);
        cImageProcessDIB e;
        cColourReduceDIB r;
        if (op == 0) {
            e.GrayScale(a);
            r.GrayScale(b);
        } else if (op == 1) {
            e.BlackAndWhite(a, at);
            r.BlackAndWhite(b, bt);
        } else {
            e.ApplyPalette(a, at, pal);
            r.ApplyPalette(b, bt, pal, true);
        }
        EXPECT_EQ(bytes(a), bytes(b));
        EXPECT_EQ(bytes(at), bytes(bt));
    }
}

TEST(cImageProcessDIB, NoiseDrawsColumnByColumnSelectionFirst) {
    // 2 x 2 picture, 50 %: range 64, half 32. Columns outer, rows inner; per pixel the selection
    // draw (changed only above 50), then blue, green, red.
    cDIBSection d;
    ASSERT_TRUE(d.Create(2, 2));
    put(d, 0, 0, {100, 100, 100});
    put(d, 0, 1, {10, 20, 30});
    put(d, 1, 0, {250, 250, 250});
    put(d, 1, 1, {0, 128, 99});
    {
        FedNumbers fed({0.3,                  // (0, 0): 30, kept
                        0.9, 0.5, 0.0, 0.99,  // (0, 1): blue +0, green -32, red +31.36
                        0.5,                  // (1, 0): exactly 50 is not above: kept
                        0.51, 1.0 - 1.0 / 128, 0.25, 0.0}); // (1, 1): blue 99 + 31.5 to even, green -16, red -32
        cImageProcessDIB().AddNoise(d, 50, true);
        EXPECT_EQ(fed.drawn, 10);
    }
    EXPECT_EQ(at(d, 0, 0), (RGB{100, 100, 100}));
    EXPECT_EQ(at(d, 0, 1), (RGB{41, 0, 30}));
    EXPECT_EQ(at(d, 1, 0), (RGB{250, 250, 250}));
    EXPECT_EQ(at(d, 1, 1), (RGB{0, 112, 130}));

    // Without selection every pixel draws three numbers; halves go to even: range 2, half 1,
    // u = 0.25 gives v - 0.5.
    cDIBSection e;
    ASSERT_TRUE(e.Create(1, 2));
    put(e, 0, 0, {100, 101, 0});
    put(e, 0, 1, {255, 254, 1});
    {
        FedNumbers fed({0.25, 0.25, 0.25, 0.25, 0.25, 0.25});
        cImageProcessDIB().AddNoise(e, 2, false);
        EXPECT_EQ(fed.drawn, 6);
    }
    EXPECT_EQ(at(e, 0, 0), (RGB{100, 100, 0}));
    EXPECT_EQ(at(e, 0, 1), (RGB{254, 254, 0}));
}

TEST(cImageProcessDIB, NoiseOfZeroPercentChangesNothing) {
    cDIBSection d;
    randomPicture(d, 31, 17, 5);
    const auto before = bytes(d);
    for (bool random : {true, false}) {
        cImageProcessDIB().AddNoise(d, 0, random);
        EXPECT_EQ(bytes(d), before);
    }
}

// ---- HLS ------------------------------------------------------------------------------------

TEST(mHLSRGB, WorkedValues) {
    struct Case {
        int r, g, b;
        float h, s, l;
    };
    const std::vector<Case> cases = {
        {255, 0, 255, -1, 1, 0.5f}, {0, 0, 0, 0, 0, 0},       {255, 255, 255, 0, 0, 1},   {255, 0, 0, 0, 1, 0.5f},
        {255, 255, 0, 1, 1, 0.5f},  {0, 255, 0, 2, 1, 0.5f},  {0, 255, 255, 3, 1, 0.5f},  {0, 0, 255, 4, 1, 0.5f},
        {102, 51, 51, 0, 1.0f / 3, 0.3f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.r << "," << c.g << "," << c.b);
        float h, s, l;
        mHLSRGB::RGBToHLS(c.r, c.g, c.b, h, s, l);
        EXPECT_FLOAT_EQ(h, c.h);
        EXPECT_FLOAT_EQ(s, c.s);
        EXPECT_FLOAT_EQ(l, c.l);
        int r, g, b;
        mHLSRGB::HLSToRGB(c.h, c.s, c.l, r, g, b);
        EXPECT_EQ((RGB{r, g, b}), (RGB{c.r, c.g, c.b}));
    }
    EXPECT_EQ(mHLSRGB::Maximum(0.25f, 0.75f, 0.5f), 0.75f);
    EXPECT_EQ(mHLSRGB::Minimum(0.25f, 0.75f, 0.5f), 0.25f);
}

TEST(mHLSRGB, EveryColourComesBack) {
    int wrong = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                float h, s, l;
                mHLSRGB::RGBToHLS(r, g, b, h, s, l);
                int r2, g2, b2;
                mHLSRGB::HLSToRGB(h, s, l, r2, g2, b2);
                wrong += (r2 != r) | (g2 != g) | (b2 != b);
            }
    EXPECT_EQ(wrong, 0);
}
