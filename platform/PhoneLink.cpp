// Phone link over the serial data cable.
//
// What goes to the phone is the Nokia Smart Messaging form of a logo, an OTA bitmap:
//   0x00 (info field), width, height, 0x01 (depth), then the pixels row by row from the top,
//   each row left to right, most significant bit first, 1 = black. Rows are not padded: the bits
//   run on from one row into the next and only the last byte is filled up with zero bits.
// An operator logo is preceded by the operator's country and network code in swapped-nibble
// BCD: digits d1..d5 (three of country, two of network) give (d2<<4|d1), (0xF<<4|d3),
// (d5<<4|d4); "26201" becomes 62 F2 10.
//
// Line protocol (raw 8N1, default 115200 baud):
//   1. Wake-up: the link sends ENQ (0x05); the phone answers ACK (0x06). Silence, NAK or any
//      other byte ends the call here, so an absent phone is noticed after one answer timeout.
//   2. Request frame:
//        STX (0x02) | command | length high | length low | payload | checksum | ETX (0x03)
//      command: 'O' operator logo (payload: 3 BCD bytes + OTA bitmap), 'G' caller-group logo
//      and 'S' start-up logo (payload: OTA bitmap), 'D' delete the operator logo (payload:
//      3 BCD bytes). The length counts the payload bytes; the checksum is the XOR of command,
//      both length bytes and the payload.
//   3. The phone answers one byte: ACK when it took the request, NAK when the frame arrived
//      damaged. After a NAK the frame is sent again, three times in all. Any other byte, or
//      silence for one answer timeout, is a failure.
// Every wait is bounded: each answer by the answer timeout (2 s unless set), each write by that
// timeout plus the time the bytes need on the line at the chosen rate.
//
// COM ports: COM n (1 to 4) is /dev/ttyUSB<n-1> when that USB serial adapter is present, else
// the built-in /dev/ttyS<n-1>; the choice is made at each call so an adapter plugged in later is
// found. SetCOMPortDevice replaces the device of a port.
//
// Port state: each call opens its port, talks, and closes it again before returning, so no
// descriptor stays open between calls; FreeCOMPort closes whatever a call may have left open.
//
// Everything that can be checked without the phone (kind, operator code, the BMP file) is
// checked before the port is opened: a bad request never puts a byte on the line.
#include "platform/PhoneLink.h"

#include "platform/SerialPort.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vb {
namespace {

constexpr char ENQ = 0x05;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr int kFrameAttempts = 3;
constexpr int kMaxLogoSide = 255;      // OTA width and height are one byte each
constexpr qint64 kMaxBmpBytes = 65536; // far above the largest 255 x 255 file

struct LinkState {
    std::array<QString, 4> deviceOverride;
    int currentPort = 1;
    int timeoutMs = 2000;
    int baud = 115200;
    SerialPort port;
};

LinkState& state() {
    static LinkState s;
    return s;
}

// ---- the BMP file -------------------------------------------------------------------------

struct MonoLogo {
    int width = 0;
    int height = 0;
    std::vector<bool> black; // row-major from the top
};

quint32 u32(const QByteArray& b, int at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
quint16 u16(const QByteArray& b, int at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return quint16(p[0] | p[1] << 8);
}
qint32 s32(const QByteArray& b, int at) { return qint32(u32(b, at)); }

// Accepts exactly the uncompressed bottom-up 1-bit BMP with a 40-byte info header.
std::optional<MonoLogo> readMonoBmp(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray d = f.read(kMaxBmpBytes + 1);
    const qint64 len = d.size();
    constexpr int kHeaders = 14 + 40, kPalette = 2 * 4;
    if (len < kHeaders + kPalette || len > kMaxBmpBytes) return std::nullopt;
    if (d[0] != 'B' || d[1] != 'M') return std::nullopt;
    const quint32 fileSize = u32(d, 2);
    const quint32 bitsAt = u32(d, 10);
    const quint32 infoSize = u32(d, 14);
    const qint32 width = s32(d, 18);
    const qint32 height = s32(d, 22);
    const quint16 planes = u16(d, 26);
    const quint16 bitCount = u16(d, 28);
    const quint32 compression = u32(d, 30);
    const quint32 imageSize = u32(d, 34);
    const quint32 coloursUsed = u32(d, 46);
    if (infoSize != 40 || planes != 1 || bitCount != 1 || compression != 0) return std::nullopt;
    if (coloursUsed != 0 && coloursUsed != 2) return std::nullopt;
    if (width < 1 || width > kMaxLogoSide || height < 1 || height > kMaxLogoSide) return std::nullopt;
    const qint64 stride = (qint64(width) + 31) / 32 * 4;
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

QByteArray otaBitmap(const MonoLogo& logo) {
    const int pixels = logo.width * logo.height;
    QByteArray ota(4 + (pixels + 7) / 8, '\0');
    ota[1] = char(logo.width);
    ota[2] = char(logo.height);
    ota[3] = char(0x01);
    for (int i = 0; i < pixels; ++i)
        if (logo.black[size_t(i)]) ota[4 + i / 8] = char(quint8(ota[4 + i / 8]) | (0x80 >> (i % 8)));
    return ota;
}

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

// ---- the line -----------------------------------------------------------------------------

QByteArray frame(char command, const QByteArray& payload) {
    QByteArray f;
    f.reserve(payload.size() + 6);
    f.append(STX);
    f.append(command);
    f.append(char(payload.size() >> 8 & 0xFF));
    f.append(char(payload.size() & 0xFF));
    f.append(payload);
    quint8 sum = 0;
    for (qsizetype i = 1; i < f.size(); ++i) sum ^= quint8(f[i]);
    f.append(char(sum));
    f.append(ETX);
    return f;
}

// Turns the phone's answer to a request into a result; anything but ACK fails.
int answerResult(SerialPort& port, int timeoutMs) {
    char answer = 0;
    const int n = port.Read(&answer, 1, timeoutMs);
    if (n == 0) return plNoAnswer;
    if (n < 0) return plLineError;
    if (answer == ACK) return plSent;
    return answer == NAK ? plRefused : plBadAnswer;
}

int exchange(SerialPort& port, const QByteArray& request, int timeoutMs, int baud) {
    port.DiscardInput();
    if (!port.WriteAll(QByteArray(1, ENQ), timeoutMs)) return plLineError;
    if (const int woken = answerResult(port, timeoutMs); woken != plSent) return woken;

    // Ten bit times per byte on an 8N1 line.
    const int writeMs = timeoutMs + int(qint64(request.size()) * 10 * 1000 / baud);
    int result = plRefused;
    for (int attempt = 0; attempt < kFrameAttempts && result == plRefused; ++attempt) {
        port.DiscardInput();
        if (!port.WriteAll(request, writeMs)) return plLineError;
        result = answerResult(port, timeoutMs);
    }
    return result;
}

int transact(int comPort, char command, const QByteArray& payload) {
    LinkState& s = state();
    const QString device = COMPortDevice(comPort);
    if (device.isEmpty()) return plNoPort;
    s.port.Close();
    s.port.SetBaudRate(s.baud);
    if (!s.port.Open(device)) return plNoPort;
    const int result = exchange(s.port, frame(command, payload), s.timeoutMs, s.baud);
    s.port.Close();
    return result;
}

} // namespace

int SendOTABitmap(int kind, int comPort, const QString& bmpPath, const QString& operatorCode) {
    static constexpr char kCommands[] = {'O', 'G', 'S'};
    if (kind < 0 || kind > 2) return plBadKind;
    QByteArray payload;
    if (kind == 0) {
        const auto bcd = operatorBcd(operatorCode);
        if (!bcd) return plBadOperatorCode;
        payload = *bcd;
    }
    const auto logo = readMonoBmp(bmpPath);
    if (!logo) return plBadBitmap;
    payload.append(otaBitmap(*logo));
    if (COMPortDevice(comPort).isEmpty()) return plNoPort;
    SetCOMPort(comPort);
    return transact(comPort, kCommands[kind], payload);
}

int DeleteOPLogo(const QString& operatorCode) {
    const auto bcd = operatorBcd(operatorCode);
    if (!bcd) return plBadOperatorCode;
    return transact(state().currentPort, 'D', *bcd);
}

void FreeCOMPort() { state().port.Close(); }

void SetCOMPortDevice(int n, const QString& path) {
    if (n >= 1 && n <= 4) state().deviceOverride[size_t(n - 1)] = path;
}

QString COMPortDevice(int n) {
    if (n < 1 || n > 4) return {};
    const QString& set = state().deviceOverride[size_t(n - 1)];
    if (!set.isEmpty()) return set;
    const QString usb = QStringLiteral("/dev/ttyUSB%1").arg(n - 1);
    return QFileInfo::exists(usb) ? usb : QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

void SetCOMPort(int n) {
    if (n >= 1 && n <= 4) state().currentPort = n;
}
int CurrentCOMPort() { return state().currentPort; }

void SetPhoneLinkTimeout(int ms) { state().timeoutMs = ms > 0 ? ms : 1; }
int PhoneLinkTimeout() { return state().timeoutMs; }

bool SetPhoneLinkBaudRate(int baud) {
    SerialPort probe;
    if (!probe.SetBaudRate(baud)) return false;
    state().baud = baud;
    return true;
}
int PhoneLinkBaudRate() { return state().baud; }

} // namespace vb
