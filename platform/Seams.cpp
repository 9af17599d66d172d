#include "platform/Seams.h"

#include "platform/Cursor.h"
#include "platform/PhoneLink.h"
#include "platform/Picture.h"
#include "platform/Rnd.h"
#include "platform/SingleInstance.h"
#include "platform/Twain.h"

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
