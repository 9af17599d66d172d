#include "imaging/mHLSRGB.h"

#include "imaging/HLSInline.h"

namespace mHLSRGB {

void RGBToHLS(int r, int g, int b, float& h, float& s, float& l) { hls::toHLS(r, g, b, h, s, l); }
void HLSToRGB(float h, float s, float l, int& r, int& g, int& b) { hls::toRGB(h, s, l, r, g, b); }
float Maximum(float rR, float rG, float rB) { return hls::maximum(rR, rG, rB); }
float Minimum(float rR, float rG, float rB) { return hls::minimum(rR, rG, rB); }

} // namespace mHLSRGB
