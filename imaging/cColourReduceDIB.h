#pragma once
// Colour reduction of 24-bit pictures: grey, black and white with error diffusion, and mapping onto
// the colours of a palette. Results stay 24-bit; the input buffer ends up holding the result.
#include <functional>

class cDIBSection;
class cPalette;

class cColourReduceDIB {
public:
    // Progress events, raised synchronously: InitProgress with the last position Progress will
    // report, Progress after each finished pixel column with its byte index in the row (0, 3, 6, ...),
    // Complete with the milliseconds taken. Nothing needs to listen.
    std::function<void(int lMax)> InitProgress;
    std::function<void(int lPosition)> Progress;
    std::function<void(int lTimeMs)> Complete;

    // cTo must have the size of cFrom; both end up holding the black-and-white picture.
    void BlackAndWhite(cDIBSection& cFrom, cDIBSection& cTo);
    // cTo must have the size of cFrom; both end up holding the picture in the palette's colours.
    void ApplyPalette(cDIBSection& cFrom, cDIBSection& cTo, const cPalette& cR, bool bDiffuseError);
    void GrayScale(cDIBSection& cImage);

private:
    static void Clamp(int& lValue, int lMin, int lMax) {
        if (lValue < lMin) lValue = lMin;
        else if (lValue > lMax) lValue = lMax;
    }
    // Columns are worked in strips so that each strip can run row by row through memory; the
    // strips are narrow only when someone listens to the per-column progress.
    int stripWidth(int width) const;
    void columnsDone(int firstPixel, int endPixel) const;
    template <bool Diffuse, class Lookup>
    void mapPixels(cDIBSection& cFrom, cDIBSection& cTo, const cPalette& cR, const Lookup& find);
};
