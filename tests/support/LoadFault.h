#pragma once
// Loading a window built from a given table of rows, for tests of the faults a bad table raises.
#include "platform/window/Form.h"

#include <span>
#include <stdexcept>
#include <string>

// The text of the fault raised while a `Window` of these rows loads; empty when it loads.
template <class Window>
std::string LoadFault(std::span<const vb::LayoutRow> rows) {
    Window w(rows);
    try {
        w.Load();
    } catch (const std::logic_error& e) {
        return e.what();
    }
    return {};
}
