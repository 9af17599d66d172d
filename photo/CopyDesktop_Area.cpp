#include "photo/CopyDesktop_Area.h"

#include "frame/Parameter_und_Start.h"
#include "platform/App.h"
#include "platform/Form.h"
#include "platform/Gdi.h"
#include "platform/PictureBox.h"
#include "platform/Picture.h"
#include "platform/Screen.h"
#include "platform/ScreenGrab.h"
#include "platform/Shape.h"

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
    b.Lasso.Cls();
    vb::App::DoEvents();
    b.Lasso.setWidth(b.Bildschirmshape_Master.Width());
    b.Lasso.setHeight(b.Bildschirmshape_Master.Height());
    // Where the frame lies on the screen; 2 pixels for the window's border.
    const int x = int(std::lround((b.Fotoeditor.Left() + b.Bildschirmshape_Master.Left() + b.Shape1.Left()) / tx)) + 2;
    const int y = int(std::lround((b.Fotoeditor.Top() + b.Bildschirmshape_Master.Top() + b.Shape1.Top()) / ty)) + 2;
    const int w = int(std::lround(b.Bildschirmshape_Master.Width() / tx)), h = int(std::lround(b.Bildschirmshape_Master.Height() / ty));
    vb::StretchBlt(b.Lasso.hDC(), 0, 0, w, h, b.Undo_Buffer.hDC(), x, y, w - 2, h - 2, vb::SRCCOPY);
    vb::App::DoEvents();
    try {
        vb::SavePicture(b.Lasso.Image(), Programmverzeichnis + QStringLiteral("freeze.bmp"));
    } catch (const std::exception&) {
        return QStringLiteral("Die Datei \"freeze.bmp\" kann nicht geschrieben werden.");
    }
    return QString();
}

} // namespace CopyDesktop_Area
