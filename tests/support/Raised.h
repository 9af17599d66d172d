#pragma once
// The error a call raises, for tests that check its number, source and text.
#include "platform/system/VBError.h"

#include <QString>

// Runs `f` and returns the error it raised; an error numbered 0 when it raised none.
template <class F>
vb::VBError caught(F&& f) {
    try {
        f();
    } catch (const vb::VBError& e) {
        return e;
    }
    return vb::VBError(0, QString(), QStringLiteral("no error"));
}
