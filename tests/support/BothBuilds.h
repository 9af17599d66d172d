#pragma once
// Runs a test body with the baseline build of the image library's hot loops, then with the
// processor's best, naming each.
#include "imaging/cImageProcessDIB_Parallel.h"

#include <functional>

inline void onBothBuilds(const std::function<void(const char*)>& f) {
    imaging::BaselineOnly(true);
    f("baseline");
    imaging::BaselineOnly(false);
    f("best");
}
