#pragma once
// Inside the phone link: the logo as the protocols see it, its bitmap forms, and the two
// protocol drivers. Only PhoneLink*.cpp include this.
#include "platform/phone/SerialPort.h"

#include <QByteArray>

#include <vector>

namespace vb::phonelink {

struct MonoLogo {
    int width = 0;
    int height = 0;
    std::vector<bool> black; // row-major from the top
    bool at(int x, int y) const { return black[size_t(y) * size_t(width) + size_t(x)]; }
};

enum class Family { Nokia6110, Nokia7110, Siemens };

// What one call asks of the phone.
struct Request {
    enum What { OperatorLogo, GroupLogo, StartupLogo, DeleteOperatorLogo } what = OperatorLogo;
    MonoLogo logo;      // already at the size the phone takes
    QByteArray network; // three bytes, swapped-nibble BCD of country and network code
    // Profile features that switch a phone with a start-up animation to the uploaded logo,
    // tried in this order until the phone takes one; empty for phones without animation.
    QByteArray startupFeatures;
};

// A smaller logo in the middle of a canvas of the given size, as the phone display shows it
// (the left and top margins take the smaller half of an odd remainder).
MonoLogo centred(const MonoLogo& logo, int width, int height);

// Rows from the top, each left to right, most significant bit first, 1 = black; the bits run on
// from row to row and only the last byte is filled up with zero bits.
QByteArray packedRows(const MonoLogo& logo);
// The OTA bitmap of Smart Messaging: 0x00, width, height, 0x01, then the packed rows.
QByteArray otaBitmap(const MonoLogo& logo);
// The display's own form: bands of eight rows from the top; in each band one byte per column,
// left to right, bit 0 the band's top row. A last band of fewer rows leaves its high bits zero.
QByteArray verticalBands(const MonoLogo& logo);
// A Windows bitmap with one bit per pixel: 14 + 40 byte headers (1000 pixels a metre), black
// then white in the palette, rows bottom-up, each padded to four bytes.
QByteArray monoBmp(const MonoLogo& logo);

// Each driver talks to an open port and returns a PhoneLinkResult.
// powerUpMs: the time the cable needs after its supply line was raised.
int nokiaTransfer(SerialPort& port, Family family, const Request& request, int timeoutMs, int powerUpMs);
int siemensTransfer(SerialPort& port, const Request& request, int timeoutMs);

} // namespace vb::phonelink
