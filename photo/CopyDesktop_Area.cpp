#include "photo/CopyDesktop_Area.h"

#include "frame/Parameter_und_Start.h"
#include "platform/window/App.h"
#include "platform/window/Control.h"
#include "platform/picture/Gdi.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/picture/Picture.h"
#include "platform/window/Screen.h"
#include "platform/capture/ScreenGrab.h"
#include "platform/system/VBError.h"

#include <cmath>

using namespace Parameter_und_Start;

namespace CopyDesktop_Area {

QString CopyWholeDesktop(vb::PictureBox& objTo) {
    const QRect r = vb::GetDesktopRect();
    objTo.setWidth(double(r.width()) * vb::Screen::TwipsPerPixelX());
    objTo.setHeight(double(r.height()) * vb::Screen::TwipsPerPixelY());
    const vb::DisplayDC dc = vb::CreateDisplayDC();
    if (!dc) return dc.Error;
    vb::BitBlt(objTo.hDC(), 0, 0, r.width(), r.height(), dc.Image, 0, 0, vb::SRCCOPY);
    return QString();
}

QString CopyDesktopArea(const Fotobereich& b) {
    const double tx = vb::Screen::TwipsPerPixelX(), ty = vb::Screen::TwipsPerPixelY();
    b.Undo_Buffer.Cls();
    const QString fehler = CopyWholeDesktop(b.Undo_Buffer);
    if (!fehler.isEmpty()) return fehler;
    b.Undo_Buffer.Refresh();
    vb::App::DoEvents();
    // The frame's own place on the desktop copy and its size: a 1:1 copy of what it frames.
    const QPoint p = b.Bildschirmshape_Master.ScreenOrigin() - vb::GetDesktopRect().topLeft();
    const int w = std::max(1, int(std::lround(b.Bildschirmshape_Master.Width() / tx)));
    const int h = std::max(1, int(std::lround(b.Bildschirmshape_Master.Height() / ty)));
    QImage ausschnitt(w, h, QImage::Format_RGB32);
    ausschnitt.fill(Qt::white);
    vb::StretchBlt(ausschnitt, 0, 0, w, h, b.Undo_Buffer.hDC(), p.x(), p.y(), w, h, vb::SRCCOPY);
    b.Lasso.setWidth(b.Bildschirmshape_Master.Width());
    b.Lasso.setHeight(b.Bildschirmshape_Master.Height());
    b.Lasso.setPicture(vb::Picture(ausschnitt));
    vb::App::DoEvents();
    try {
        vb::SavePicture(b.Lasso.Picture(), Programmverzeichnis + QStringLiteral("freeze.bmp"));
    } catch (const vb::VBError&) {
        return QStringLiteral("Die Arbeitsdatei \"freeze.bmp\" kann nicht geschrieben werden.");
    }
    return QString();
}

} // namespace CopyDesktop_Area
