#include "platform/system/Rnd.h"

#include "platform/system/Seams.h"

namespace vb {
namespace {
RndSource& source() { return seams().rnd; }
} // namespace

RndGenerator& DefaultRnd() {
    static RndGenerator g;
    return g;
}

double Rnd() {
    if (source()) return source()();
    return DefaultRnd().Next();
}

bool HasRndSource() { return bool(source()); }

} // namespace vb
