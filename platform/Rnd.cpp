#include "platform/Rnd.h"

namespace vb {
namespace {
RndSource& source() {
    static RndSource s;
    return s;
}
} // namespace

RndGenerator& DefaultRnd() {
    static RndGenerator g;
    return g;
}

double Rnd() {
    if (source()) return source()();
    return DefaultRnd().Next();
}

void SetRndSource(RndSource s) { source() = std::move(s); }
bool HasRndSource() { return bool(source()); }

} // namespace vb
