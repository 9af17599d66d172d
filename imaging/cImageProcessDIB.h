#pragma once
// Filters on 24-bit pictures: kernel filters (blur, sharpen, emboss, a caller's own kernel),
// 3 x 3 rank filters, and pixel operations (fade, lighten, colourise, noise, grey, black and white,
// palette mapping, and the combination of two pictures that makes negatives and unsharp masks).
//
// The loops are defined column by column (x outer, y inner); independent pixels may be worked in
// any order and on several threads, the error diffusion keeps its order. Progress reports each
// finished column with its byte index in the row.
#include <functional>
#include <vector>

class cDIBSection;
class cPalette;

class cImageProcessDIB {
public:
    enum EFilterTypes {
        eBlur3 = 1, eBlur5 = 2, ePyramid3 = 3, ePyramid5 = 4, eSharpen = 5, eSharpenMore = 6, eUnsharpMask = 7,
        eEmboss = 8, eMean3 = 9, eMinimum3 = 10, eMaximum3 = 11, eNone = 12, eCustom = 13,
    };

    // Events, raised synchronously; nothing needs to listen.
    std::function<void(int lMax)> InitProgress;
    std::function<void(int lPosition)> Progress;
    std::function<void(int lTimeMs)> Complete;

    int FilterType() const { return m_eType; }
    // 1 to 13, else an error; any type but 13 builds its preset kernel.
    void FilterType(int eType);
    int FilterArraySize() const { return m_lSize; }
    // Odd, 3 to 9, else an error; the kernel becomes all 0.
    void FilterArraySize(int lSize);
    // Offsets from -half to +half (horizontal, then row); others raise the subscript error.
    int FilterValue(int lX, int lY) const;
    void FilterValue(int lX, int lY, int lValue);
    int FilterWeight() const { return m_lWeight; }
    void FilterWeight(int lWeight) { m_lWeight = lWeight; }

    // Runs the current filter on cImage, with cBuffer (same size) as scratch. False for the
    // unsharp mask and for "none", True for the others.
    bool ProcessImage(cDIBSection& cImage, cDIBSection& cBuffer);
    // Per pixel, cTo keeps the darker (AddLightest) or the lighter (AddDarkest) of the two.
    void AddLightest(const cDIBSection& cFrom, cDIBSection& cTo);
    void AddDarkest(const cDIBSection& cFrom, cDIBSection& cTo);
    // cTo = clamp((cFrom + from offset) * lFromMultiplier + (cTo + to offset) * lToMultiplier); the
    // offsets ...R, ...G, ...B go to the first, second and third byte of a pixel.
    void AddImages(const cDIBSection& cFrom, cDIBSection& cTo, int lFromMultiplier, int lFromOffsetR,
                   int lFromOffsetG, int lFromOffsetB, int lToMultiplier, int lToOffsetR, int lToOffsetG,
                   int lToOffsetB);
    // Both end up holding the result.
    void BlackAndWhite(cDIBSection& cFrom, cDIBSection& cTo);
    void ApplyPalette(cDIBSection& cFrom, cDIBSection& cTo, const cPalette& cPal);
    void GrayScale(cDIBSection& cImage);
    // Draws its numbers from the runtime's generator (vb::Rnd).
    void AddNoise(cDIBSection& cImage, int lPercent, bool bRandom);
    void Fade(cDIBSection& cImage, int lAmount);
    void Lighten(cDIBSection& cImage, int lAmount);
    // fSaturation is not used: pixels keep their own saturation, hue-0 pixels take 0.5.
    void Colourise(cDIBSection& cImage, float fHue, float fSaturation);

private:
    void CreateFilterKernel();
    bool RankFilter(const cDIBSection& cImage, cDIBSection& cBuffer);
    bool ConvolveFilter(const cDIBSection& cImage, cDIBSection& cBuffer);
    // The preset type whose kernel and weight are in place as built, else 0.
    int presetType() const;
    // ProcessImage of a preset kernel in one pass (ePost: plain, emboss or unsharp mask); false
    // when the buffers or the kernel do not allow it.
    bool fusedConvolve(cDIBSection& cImage, cDIBSection& cBuffer, int ePost);
    static void Clamp(int& lValue, int lMin, int lMax) {
        if (lValue < lMin) lValue = lMin;
        else if (lValue > lMax) lValue = lMax;
    }

    int& cell(int lX, int lY) { return m_kernel[size_t((lY + m_lHalf) * m_lSize + lX + m_lHalf)]; }
    int cell(int lX, int lY) const { return m_kernel[size_t((lY + m_lHalf) * m_lSize + lX + m_lHalf)]; }
    void checkOffsets(int lX, int lY) const;
    void columns(int lFirst, int lLast, int lStep) const;
    void init(int lMax) const {
        if (InitProgress) InitProgress(lMax);
    }

    int m_lSize = 0;
    int m_lHalf = 0;
    std::vector<int> m_kernel; // row offset major: (lY + half) * size + lX + half
    int m_lWeight = 0;
    int m_eType = 0;
};
