#pragma once
// Colours between red-green-blue (0 to 255) and hue-lightness-saturation in single precision:
// lightness and saturation 0 to 1, hue in sixths of the colour circle from -1 to 5 (red 0,
// green 2, blue 4; reddish magenta is negative, not wrapped).
namespace mHLSRGB {

void RGBToHLS(int r, int g, int b, float& h, float& s, float& l);
void HLSToRGB(float h, float s, float l, int& r, int& g, int& b);
float Maximum(float rR, float rG, float rB);
float Minimum(float rR, float rG, float rB);

} // namespace mHLSRGB
