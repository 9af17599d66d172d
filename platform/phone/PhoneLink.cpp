// Phone link over the serial data cable, speaking the phones' own protocols.
//
// Sources (public protocol descriptions; each message below names the one it comes from):
//   [nokia]   gnokii, Docs/protocol/nokia.txt: "Frame format for FBUS version 2/Direct IRDA"
//             (frame id 0x1E for the cable, devices 0x00 phone / 0x0C computer, length,
//             frames to go, sequence number 0x4Y first block / 0x0Y continuing, padding byte
//             for an odd length, XOR of the even-numbered and of the odd-numbered bytes).
//   [nk6110]  gnokii, Docs/protocol/nk6110.txt (Nokia 6110 and derivatives: 3210, 3310, 51xx,
//             61xx; we also drive 8210 and 88xx with it):
//               0x05 "Set oplogo" 0x0030 / "Set oplogo OK" 0x0031 / error 0x0032,
//               0x05 "Set welcome message" 0x0018 with block id 1 "startup logo {y, x, picture}"
//                    / "Set welcome OK" 0x0019,
//               0x03 "Get caller group data" 0x0010 / reply 0x0011, "Set caller group data"
//                    0x0013 / OK 0x0014 / error 0x0015,
//               0x7f "Acknowledge (FBUS/IRDA) {+type, seq}".
//   [nk7110]  gnokii, Docs/protocol/nk7110.txt (Nokia 6210 and derivatives: 62xx, 7110):
//               0x0a "set operator logo" 0x01a3 {0x01, oplogo?, MCC+MNC, 0, 4, len, xlen, ylen,
//                    0, bitmaplen, 0, 0, bitmap} / OK 0x01a4,
//               0x7a "Set setting" 0x01ec number 0x15 (startup logo, "pixels placed
//                    vertically") / reply 0x01eb,
//               0x03 "Read memory" 0x0107 / 0x0108 and "Set mem location" 0x010b / 0x010c in
//                    memory 0x10 (caller groups), blocks {id, 0, 0, blocksize, block no.,
//                    contents, 0x00}: 0x07 name, 0x0c ringtone, 0x1b "caller group graphic"
//                    {width, height, 0, 0, bitmap}, 0x1c "graphic on", 0x1e "caller group
//                    number"; an answer with 0x0f in byte 6 is an error, its reason in byte 10.
//   [gammu]   Gammu, libgammu/phone/nokia/dct3/n6110.c, n7110.c, nfunc.c, service/gsmlogo.c,
//             protocol/nokia/fbus2.c: what the public tool sends for these messages (the bitmap
//             size byte 126 in the group graphic, the group blocks read back and written again,
//             the phone's own logo size with a smaller logo in its middle, no padding byte after
//             the 7110 operator logo), that it judges answers by type, subtype and result bytes
//             only (captured 7110 answers carry 0x00 where requests carry 0x01), and the start
//             of the cable: DTR on and RTS off, a second's wait, then 250 bytes 0x55; and
//             0x05 "set profile feature" {0x10, 0x01, profile, feature, value} / OK 0x11 /
//             error 0x12, which switches the start-up animation to the uploaded logo.
//             phone/at/siemens.c, service/gsmlogo.c: Siemens operator logos up to 101 x 21 as a
//             bitmap of 1000 pixels a metre, written in packets of 176 bytes.
//   [fbus]    gnokii, common/links/fbus.c: frames of at most 120 data bytes plus frames-to-go and
//             sequence, a padding byte after an odd length that the length does not count.
//   [models]  Gammu, libgammu/gsmphones.c, the phone table: F_NOCALLER (3210, 33xx, 51xx),
//             F_NOSTARTUP (51xx), F_NOSTARTANI (61xx, 8210; the 3210, 33xx and 88xx have an
//             animation).
//   [siemens] Siemens, "AT command set for S45 Siemens mobile phones and modems"
//             (A30880-A10-A001-3-D376), 2.4.2.3 AT^SBNW "Binary Write": type "bmp" (Windows
//             bitmap, 2 colours), subtype 0 "shown permanently when registered in home network",
//             packets <actNumber> of <maxNumber>, the data in hexadecimal after the command line
//             and ended by Ctrl-Z, answers OK / ERROR / +CME ERROR, at most 508 bytes a packet;
//             <actNumber> 0 without <maxNumber> deletes the entry.
//   The OTA bitmap (0x00, width, height, 0x01, rows running on) is Nokia Smart Messaging's.
//
// Where the documents leave a detail open, the choice is written at the place it is made
// (PhoneLinkNokia.cpp, PhoneLinkSiemens.cpp). The settings' maker and model choose the
// protocol and the message set (SetPhoneModel); the model also fixes which kinds it takes and
// at which size, and what it cannot take is refused before the port is opened.
//
// COM ports: COM n (1 to 4) is /dev/ttyUSB<n-1> when that USB serial adapter is present, else
// the built-in /dev/ttyS<n-1>; the choice is made at each call so an adapter plugged in later is
// found. Seams::comPortDevices replaces the device of a port.
//
// Port state: each call opens its port, talks, and closes it again before returning, so no
// descriptor stays open between calls; FreeCOMPort closes whatever a call may have left open.
// Every wait is bounded (see Seams::phoneLinkTimeoutMs); a cable pulled mid-transfer ends the call at
// once with plLineError.
#include "platform/phone/PhoneLink.h"

#include "platform/picture/Bmp.h"
#include "platform/phone/PhoneLinkDetail.h"
#include "platform/system/Seams.h"
#include "platform/phone/SerialPort.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <optional>

namespace vb {
namespace {

using phonelink::Family;
using phonelink::MonoLogo;
using phonelink::Request;

constexpr int kMaxLogoSide = 255;      // OTA width and height are one byte each
constexpr qint64 kMaxBmpBytes = 65536; // far above the largest 255 x 255 file
constexpr int kSiemensBaud = 19200;    // the phones detect the rate from "AT"

struct LinkState {
    int currentPort = 1;
    int baud = 115200;
    int maker = 0;
    int model = 0;
    SerialPort port;
};

LinkState& state() {
    static LinkState s;
    return s;
}

// ---- models -------------------------------------------------------------------------------

struct Model {
    Family family;
    int size[3][2]; // the size of each kind the phone shows: operator, group, start-up (0 x 0: none)
    const char* startupFeatures; // profile features switching a start-up animation off, in order
};

// Nokia: 3210/33xx, 51xx, 61xx, 62xx, 7110, 8210, 88xx [models]. Sizes [nk6110], [nk7110],
// [models]: the 6110 family shows operator and group logos at 72 x 14 and start-up logos at
// 84 x 48; the 7110 family operator logos at 78 x 21, group logos at 72 x 14 and start-up logos
// at 96 x 60 (62xx) or 96 x 65 (7110). The 3210, 33xx and 51xx have no caller groups, the 51xx
// no start-up logo. The 3210, 33xx and 88xx play a start-up animation until profile feature
// 0x2e (3210) or 0x29 (33xx, 88xx) is set to 0, the uploaded logo; the one settings entry
// "3210, 33xx" tries the 3210's feature first and the other when the phone refuses it.
const Model kNokia[7] = {
    {Family::Nokia6110, {{72, 14}, {0, 0}, {84, 48}}, "\x2e\x29"},
    {Family::Nokia6110, {{72, 14}, {0, 0}, {0, 0}}, ""},
    {Family::Nokia6110, {{72, 14}, {72, 14}, {84, 48}}, ""},
    {Family::Nokia7110, {{78, 21}, {72, 14}, {96, 60}}, ""},
    {Family::Nokia7110, {{78, 21}, {72, 14}, {96, 65}}, ""},
    {Family::Nokia6110, {{72, 14}, {72, 14}, {84, 48}}, ""},
    {Family::Nokia6110, {{72, 14}, {72, 14}, {84, 48}}, "\x29"},
};
// Siemens: S25, C35, M35, S35; operator logos only (the bitmap write has no group or start-up
// picture). The S25 shows 97 x 26; the public tool takes Siemens operator logos up to 101 x 21
// [gammu], the limit kept for the C35i, M35i and S35i.
const Model kSiemens[4] = {
    {Family::Siemens, {{97, 26}, {0, 0}, {0, 0}}, ""},
    {Family::Siemens, {{101, 21}, {0, 0}, {0, 0}}, ""},
    {Family::Siemens, {{101, 21}, {0, 0}, {0, 0}}, ""},
    {Family::Siemens, {{101, 21}, {0, 0}, {0, 0}}, ""},
};

const Model& currentModel() {
    const LinkState& s = state();
    return s.maker == 1 ? kSiemens[s.model] : kNokia[s.model];
}

// ---- the BMP file -------------------------------------------------------------------------

// Accepts exactly the uncompressed bottom-up 1-bit BMP with a 40-byte info header.
std::optional<MonoLogo> readMonoBmp(const QString& path) {
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray d = f.read(kMaxBmpBytes + 1);
    const qint64 len = d.size();
    constexpr int kHeaders = 14 + 40, kPalette = 2 * 4;
    if (len < kHeaders + kPalette || len > kMaxBmpBytes) return std::nullopt;
    const auto* bytes = reinterpret_cast<const uint8_t*>(d.constData());
    const std::optional<Bmp::FileHeader> file = Bmp::FileHeader::Read(bytes);
    if (!file) return std::nullopt;
    const Bmp::InfoHeader info = Bmp::InfoHeader::Read(bytes + Bmp::FileHeader::kSize);
    const quint32 fileSize = file->fileSize;
    const quint32 bitsAt = file->bitsOffset;
    const qint32 width = info.width;
    const qint32 height = info.height;
    const quint32 imageSize = info.imageSize;
    if (info.size != 40 || info.planes != 1 || info.bitCount != 1 || info.compression != 0) return std::nullopt;
    if (info.coloursUsed != 0 && info.coloursUsed != 2) return std::nullopt;
    if (width < 1 || width > kMaxLogoSide || height < 1 || height > kMaxLogoSide) return std::nullopt;
    const qint64 stride = Bmp::Stride(width, 1);
    const qint64 bitsSize = stride * height;
    if (imageSize != 0 && imageSize != bitsSize) return std::nullopt;
    if (fileSize > quint64(len)) return std::nullopt; // cut short
    if (bitsAt < quint32(kHeaders + kPalette) || qint64(bitsAt) + bitsSize > len) return std::nullopt;

    // Which index is black follows from its colour, whatever order the palette has.
    bool dark[2];
    for (int i = 0; i < 2; ++i) {
        const auto* e = reinterpret_cast<const unsigned char*>(d.constData()) + kHeaders + 4 * i;
        const int blue = e[0], green = e[1], red = e[2];
        dark[i] = 299 * red + 587 * green + 114 * blue < 128 * 1000;
    }

    MonoLogo logo;
    logo.width = width;
    logo.height = height;
    logo.black.resize(size_t(width) * size_t(height));
    const auto* bits = reinterpret_cast<const unsigned char*>(d.constData()) + bitsAt;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = bits + (height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const int index = (row[x >> 3] >> (7 - (x & 7))) & 1;
            logo.black[size_t(y) * size_t(width) + size_t(x)] = dark[index];
        }
    }
    return logo;
}

// Swapped-nibble BCD of three country and two network digits: "26201" -> 62 F2 10.
std::optional<QByteArray> operatorBcd(const QString& code) {
    const QString c = code.trimmed();
    if (c.size() != 5) return std::nullopt;
    int d[5];
    for (int i = 0; i < 5; ++i) {
        const QChar ch = c[i];
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) return std::nullopt;
        d[i] = ch.unicode() - '0';
    }
    QByteArray b(3, '\0');
    b[0] = char(d[1] << 4 | d[0]);
    b[1] = char(0xF0 | d[2]);
    b[2] = char(d[4] << 4 | d[3]);
    return b;
}

// ---- the call -----------------------------------------------------------------------------

int transact(int comPort, const Request& request) {
    LinkState& s = state();
    const QString device = COMPortDevice(comPort);
    if (device.isEmpty()) return plNoPort;
    const Family family = currentModel().family;
    s.port.Close();
    // FBUS cables take their supply from DTR with RTS low; Siemens cables from both lines.
    const bool nokia = family != Family::Siemens;
    s.port.SetBaudRate(nokia ? s.baud : kSiemensBaud);
    if (!s.port.Open(device, true, !nokia)) return plNoPort;
    const int result = nokia ? phonelink::nokiaTransfer(s.port, family, request, seams().phoneLinkTimeoutMs,
                                                        seams().phoneCablePowerUpMs)
                             : phonelink::siemensTransfer(s.port, request, seams().phoneLinkTimeoutMs);
    s.port.Close();
    return result;
}

} // namespace

int SendOTABitmap(int kind, int comPort, const QString& bmpPath, const QString& operatorCode) {
    if (kind < 0 || kind > 2) return plBadKind;
    Request request;
    request.what = kind == 0 ? Request::OperatorLogo : kind == 1 ? Request::GroupLogo : Request::StartupLogo;
    if (kind == 0) {
        const auto bcd = operatorBcd(operatorCode);
        if (!bcd) return plBadOperatorCode;
        request.network = *bcd;
    }
    const auto logo = readMonoBmp(bmpPath);
    if (!logo) return plBadBitmap;
    // What the model cannot take is refused before anything goes out.
    const int w = MaxLogoWidth(kind), h = MaxLogoHeight(kind);
    if (w == 0) return plBadKind;
    if (logo->width > w || logo->height > h) return plTooLarge;
    const Model& model = currentModel();
    request.logo = model.family == Family::Siemens ? *logo : phonelink::centred(*logo, w, h);
    if (kind == 2) request.startupFeatures = QByteArray(model.startupFeatures);
    if (COMPortDevice(comPort).isEmpty()) return plNoPort;
    SetCOMPort(comPort);
    return transact(comPort, request);
}

int DeleteOPLogo(const QString& operatorCode) {
    const auto bcd = operatorBcd(operatorCode);
    if (!bcd) return plBadOperatorCode;
    Request request;
    request.what = Request::DeleteOperatorLogo;
    request.network = *bcd;
    return transact(state().currentPort, request);
}

void FreeCOMPort() { state().port.Close(); }

void SetPhoneModel(int maker, int model) {
    if (maker == 0 && model >= 0 && model < 7) state().model = model;
    else if (maker == 1 && model >= 0 && model < 4) state().model = model;
    else return;
    state().maker = maker;
}
int PhoneMaker() { return state().maker; }
int PhoneModel() { return state().model; }

int MaxLogoWidth(int kind) { return kind >= 0 && kind <= 2 ? currentModel().size[kind][0] : 0; }
int MaxLogoHeight(int kind) { return kind >= 0 && kind <= 2 ? currentModel().size[kind][1] : 0; }

QString COMPortDevice(int n) {
    if (n < 1 || n > 4) return {};
    const QString& set = seams().comPortDevices[size_t(n - 1)];
    if (!set.isEmpty()) return set;
    const QString usb = QStringLiteral("/dev/ttyUSB%1").arg(n - 1);
    return QFileInfo::exists(usb) ? usb : QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

void SetCOMPort(int n) {
    if (n >= 1 && n <= 4) state().currentPort = n;
}
int CurrentCOMPort() { return state().currentPort; }

void ResetPhoneLink() {
    LinkState& s = state();
    s.port.Close();
    s.currentPort = 1;
    s.baud = 115200;
    s.maker = 0;
    s.model = 0;
}

int PhoneLinkTimeout() { return seams().phoneLinkTimeoutMs; }

bool SetPhoneLinkBaudRate(int baud) {
    SerialPort probe;
    if (!probe.SetBaudRate(baud)) return false;
    state().baud = baud;
    return true;
}
int PhoneLinkBaudRate() { return state().baud; }

// ---- bitmap forms -------------------------------------------------------------------------

namespace phonelink {

MonoLogo centred(const MonoLogo& logo, int width, int height) {
    if (logo.width == width && logo.height == height) return logo;
    MonoLogo out;
    out.width = width;
    out.height = height;
    out.black.assign(size_t(width) * size_t(height), false);
    const int left = (width - logo.width) / 2, top = (height - logo.height) / 2;
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x)
            out.black[size_t(y + top) * size_t(width) + size_t(x + left)] = logo.at(x, y);
    return out;
}

QByteArray packedRows(const MonoLogo& logo) {
    const int pixels = logo.width * logo.height;
    QByteArray bits((pixels + 7) / 8, '\0');
    for (int i = 0; i < pixels; ++i)
        if (logo.black[size_t(i)]) bits[i / 8] = char(quint8(bits[i / 8]) | (0x80 >> (i % 8)));
    return bits;
}

QByteArray otaBitmap(const MonoLogo& logo) {
    QByteArray ota(4, '\0');
    ota[1] = char(logo.width);
    ota[2] = char(logo.height);
    ota[3] = char(0x01);
    return ota + packedRows(logo);
}

QByteArray verticalBands(const MonoLogo& logo) {
    const int bands = (logo.height + 7) / 8;
    QByteArray out(bands * logo.width, '\0');
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x)
            if (logo.at(x, y)) {
                const int at = (y / 8) * logo.width + x;
                out[at] = char(quint8(out[at]) | (1 << (y % 8)));
            }
    return out;
}

QByteArray monoBmp(const MonoLogo& logo) {
    const int stride = int(Bmp::Stride(logo.width, 1)), image = stride * logo.height;
    QByteArray b(62 + image, '\0');
    auto* out = reinterpret_cast<uint8_t*>(b.data());
    Bmp::FileHeader{quint32(b.size()), 62}.Write(out);
    Bmp::InfoHeader info;
    info.width = logo.width;
    info.height = logo.height;
    info.bitCount = 1;
    info.imageSize = quint32(image);
    info.xPelsPerMeter = info.yPelsPerMeter = 1000; // as the public tool writes it [gammu]
    info.coloursUsed = 2;
    info.Write(out + Bmp::FileHeader::kSize);
    b[58] = b[59] = b[60] = char(0xFF); // index 0 black, index 1 white
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x)
            if (!logo.at(x, y)) {
                const int at = 62 + (logo.height - 1 - y) * stride + x / 8;
                b[at] = char(quint8(b[at]) | (0x80 >> (x % 8)));
            }
    return b;
}

} // namespace phonelink
} // namespace vb
