#pragma once
// What the image engine itself makes of a picture, as the result a window's entry must match.
#include "imaging/cDIBSection.h"
#include "imaging/cImageProcessDIB.h"

#include <QImage>
#include <functional>

using EngineOp = std::function<void(cImageProcessDIB&, cDIBSection&, cDIBSection&)>;

// Runs `op` on a fresh engine with the picture and a work buffer of its size; returns the picture.
inline QImage EngineResult(const QImage& in, const EngineOp& op) {
    cDIBSection d, b;
    d.CreateFromPicture(in);
    b.Create(d.Width(), d.Height());
    cImageProcessDIB e;
    op(e, d, b);
    return d.ToImage();
}
