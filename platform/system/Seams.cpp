#include "platform/system/Seams.h"

#include "platform/window/Cursor.h"
#include "platform/phone/PhoneLink.h"
#include "platform/picture/Picture.h"
#include "platform/system/Rnd.h"
#include "platform/system/SingleInstance.h"
#include "platform/capture/Twain.h"

namespace vb {

Seams& seams() {
    static Seams s;
    return s;
}

void ResetSeams() {
    SingleInstance::Release();
    ResetPhoneLink();
    TWAIN_SetHideUI(0);
    ClipCursor(std::nullopt);
    ForgetPicture();
    DefaultRnd() = RndGenerator{};
    seams() = Seams{};
}

} // namespace vb
