// The phone link against a fake phone on a pseudo-terminal.
#include "platform/PhoneLink.h"
#include "platform/SerialPort.h"
#include "support/FakePhone.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

using namespace vb;
using namespace fakephone;

namespace {


// ---- logos and BMP files ------------------------------------------------------------------

struct Logo {
    int width, height;
    std::vector<bool> black; // row-major from the top
};

// Pixel i is bit (7 - i % 8) of byte i / 8 of a sequence that runs through all byte values, so
// the OTA data holds every control character a cooked line would mangle.
Logo makeLogo(int w, int h) {
    Logo l{w, h, std::vector<bool>(size_t(w) * size_t(h))};
    for (size_t i = 0; i < l.black.size(); ++i) {
        const unsigned byte = unsigned(i / 8 * 167 + 13) & 0xFF;
        l.black[i] = (byte >> (7 - i % 8)) & 1;
    }
    return l;
}

void put32(QByteArray& b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (8 * i) & 0xFF);
}
void put16(QByteArray& b, int at, quint16 v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

// A 1-bit bottom-up BMP; whiteFirst swaps the palette so index 0 is white.
QByteArray bmp1(const Logo& l, bool whiteFirst = false) {
    const int stride = (l.width + 31) / 32 * 4, image = stride * l.height;
    QByteArray b(62 + image, '\0');
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, quint32(62 + image));
    put32(b, 10, 62);
    put32(b, 14, 40);
    put32(b, 18, quint32(l.width));
    put32(b, 22, quint32(l.height));
    put16(b, 26, 1);
    put16(b, 28, 1);
    put32(b, 34, quint32(image));
    const int whiteAt = whiteFirst ? 54 : 58;
    b[whiteAt] = b[whiteAt + 1] = b[whiteAt + 2] = char(0xFF);
    const int whiteIndex = whiteFirst ? 0 : 1;
    for (int y = 0; y < l.height; ++y)
        for (int x = 0; x < l.width; ++x) {
            const bool isWhite = !l.black[size_t(y) * size_t(l.width) + size_t(x)];
            if ((isWhite ? whiteIndex : 1 - whiteIndex) == 1) {
                const int at = 62 + (l.height - 1 - y) * stride + x / 8;
                b[at] = char(quint8(b[at]) | (0x80 >> (x % 8)));
            }
        }
    return b;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

// The OTA bitmap must hold the logo exactly: header, unpadded rows, zero fill at the end.
void expectOta(const QByteArray& ota, const Logo& l) {
    const int pixels = l.width * l.height;
    ASSERT_EQ(ota.size(), 4 + (pixels + 7) / 8);
    EXPECT_EQ(quint8(ota[0]), 0x00);
    EXPECT_EQ(quint8(ota[1]), l.width);
    EXPECT_EQ(quint8(ota[2]), l.height);
    EXPECT_EQ(quint8(ota[3]), 0x01);
    int wrong = 0;
    for (int i = 0; i < (ota.size() - 4) * 8; ++i) {
        const bool bit = (quint8(ota[4 + i / 8]) >> (7 - i % 8)) & 1;
        if (bit != (i < pixels && l.black[size_t(i)])) ++wrong;
    }
    EXPECT_EQ(wrong, 0);
}

const QByteArray kAck(1, ACK), kNak(1, NAK), kSilent;

class PhoneLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetPhoneLinkTimeout(1000);
    }
    void TearDown() override {
        FreeCOMPort();
        for (int n = 1; n <= 4; ++n) SetCOMPortDevice(n, QString());
        SetCOMPort(1);
        SetPhoneLinkTimeout(2000);
    }
    QTemporaryDir dir;
};

// ---- transfers ----------------------------------------------------------------------------

struct TransferCase {
    int kind, width, height;
    bool whiteFirst;
    char command;
};

class PhoneLinkTransfer : public PhoneLinkTest, public ::testing::WithParamInterface<TransferCase> {};

TEST_P(PhoneLinkTransfer, LogoArrivesBitExact) {
    const TransferCase c = GetParam();
    FakePhone phone(kAck, kAck);
    ASSERT_FALSE(phone.device().isEmpty());
    SetCOMPortDevice(2, phone.device());
    const Logo logo = makeLogo(c.width, c.height);
    const QString path = writeFile(dir, "send.bmp", bmp1(logo, c.whiteFirst));

    EXPECT_EQ(SendOTABitmap(c.kind, 2, path, "26201"), plSent);
    EXPECT_EQ(CurrentCOMPort(), 2);
    EXPECT_EQ(phone.received().left(2), QByteArray(1, ENQ) + QByteArray(1, STX));
    const auto frames = phone.frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(frames[0].intact);
    EXPECT_EQ(frames[0].command, c.command);
    QByteArray ota = frames[0].payload;
    if (c.kind == 0) {
        EXPECT_EQ(ota.left(3), QByteArray("\x62\xF2\x10", 3));
        ota.remove(0, 3);
    }
    expectOta(ota, logo);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PhoneLinkTransfer,
                         ::testing::Values(TransferCase{0, 72, 14, false, 'O'}, TransferCase{1, 72, 14, true, 'G'},
                                           TransferCase{2, 84, 48, false, 'S'},
                                           TransferCase{0, 101, 43, true, 'O'},
                                           // 8 KB: more than a terminal buffer holds, every byte value
                                           TransferCase{2, 255, 255, false, 'S'}),
                         [](const auto& info) {
                             const TransferCase& c = info.param;
                             return "Kind" + std::to_string(c.kind) + "_" + std::to_string(c.width) + "x" +
                                    std::to_string(c.height) + (c.whiteFirst ? "_WhiteFirst" : "");
                         });

// ---- the phone misbehaves -----------------------------------------------------------------

struct PhoneCase {
    const char* name;
    QByteArray enqAnswer, frameAnswer;
    int result;
    size_t frames;
};

class PhoneLinkFailure : public PhoneLinkTest, public ::testing::WithParamInterface<PhoneCase> {};

TEST_P(PhoneLinkFailure, FailsWithinTheTimeout) {
    const PhoneCase c = GetParam();
    FakePhone phone(c.enqAnswer, c.frameAnswer);
    SetCOMPortDevice(1, phone.device());
    SetPhoneLinkTimeout(300);
    const QString path = writeFile(dir, "send.bmp", bmp1(makeLogo(72, 14)));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SendOTABitmap(1, 1, path, QString()), c.result) << c.name;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // One answer timeout per wait, three frame attempts at most: far below this bound.
    EXPECT_LT(elapsed, std::chrono::seconds(3)) << c.name;
    EXPECT_EQ(phone.frames().size(), c.frames) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PhoneLinkFailure,
    ::testing::Values(PhoneCase{"NeverAnswers", kSilent, kSilent, plNoAnswer, 0},
                      PhoneCase{"RefusesWakeUp", kNak, kAck, plRefused, 0},
                      PhoneCase{"GarbageToWakeUp", "\r\nERROR\r\n", kAck, plBadAnswer, 0},
                      PhoneCase{"SilentAfterFrame", kAck, kSilent, plNoAnswer, 1},
                      PhoneCase{"AlwaysNak", kAck, kNak, plRefused, 3},
                      PhoneCase{"GarbageToFrame", kAck, "OK", plBadAnswer, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- bad requests put nothing on the line -------------------------------------------------

QByteArray patched(QByteArray b, int at, quint32 v, int size = 4) {
    if (size == 4) put32(b, at, v);
    else put16(b, at, quint16(v));
    return b;
}

TEST_F(PhoneLinkTest, MalformedBitmapSendsNothing) {
    const QByteArray good = bmp1(makeLogo(72, 14));
    Logo wide = makeLogo(256, 2);
    struct Case {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"text", "This is no picture, just text.\n"},
        {"empty", ""},
        {"truncated", good.left(100)},
        {"header only", good.left(62)},
        {"24 bit", patched(good, 28, 24, 2)},
        {"4 bit", patched(good, 28, 4, 2)},
        {"compressed", patched(good, 30, 1)},
        {"core header", patched(good, 14, 12)},
        {"top-down", patched(good, 22, quint32(-14))},
        {"width 0", patched(good, 18, 0)},
        {"width 256", bmp1(wide)},
        {"absurd height", patched(good, 22, 0x7FFFFFFF)},
        {"bits past the end", patched(good, 10, 200)},
        {"bits inside the palette", patched(good, 10, 54)},
    };
    FakePhone phone(kAck, kAck);
    SetCOMPortDevice(1, phone.device());
    for (const Case& c : cases) {
        const QString path = writeFile(dir, QString::fromLatin1(c.name) + ".bmp", c.bytes);
        EXPECT_EQ(SendOTABitmap(0, 1, path, "26201"), plBadBitmap) << c.name;
    }
    EXPECT_EQ(SendOTABitmap(2, 1, dir.filePath("missing.bmp"), QString()), plBadBitmap);
    EXPECT_TRUE(phone.received().isEmpty());
}

TEST_F(PhoneLinkTest, BadKindOrOperatorCodeSendsNothing) {
    FakePhone phone(kAck, kAck);
    SetCOMPortDevice(1, phone.device());
    const QString path = writeFile(dir, "send.bmp", bmp1(makeLogo(72, 14)));
    for (const char* code : {"", "2620", "262011", "2620a", "26 01", "+2620"}) {
        EXPECT_EQ(SendOTABitmap(0, 1, path, code), plBadOperatorCode) << code;
        EXPECT_EQ(DeleteOPLogo(code), plBadOperatorCode) << code;
    }
    EXPECT_EQ(SendOTABitmap(3, 1, path, "26201"), plBadKind);
    EXPECT_EQ(SendOTABitmap(-1, 1, path, "26201"), plBadKind);
    EXPECT_TRUE(phone.received().isEmpty());
}

// ---- delete -------------------------------------------------------------------------------

TEST_F(PhoneLinkTest, DeleteSendsItsRequestOnTheCurrentPort) {
    const struct {
        const char* code;
        QByteArray bcd;
    } cases[] = {{"26201", QByteArray("\x62\xF2\x10", 3)}, {"23415", QByteArray("\x32\xF4\x51", 3)}};
    for (const auto& c : cases) {
        FakePhone phone(kAck, kAck);
        SetCOMPortDevice(3, phone.device());
        SetCOMPort(3);
        EXPECT_EQ(DeleteOPLogo(c.code), plSent) << c.code;
        const auto frames = phone.frames();
        ASSERT_EQ(frames.size(), 1u) << c.code;
        EXPECT_TRUE(frames[0].intact);
        EXPECT_EQ(frames[0].command, 'D');
        EXPECT_EQ(frames[0].payload, c.bcd) << c.code;
    }
}

// ---- ports --------------------------------------------------------------------------------

TEST_F(PhoneLinkTest, MissingOrUnusableDeviceFails) {
    const QString path = writeFile(dir, "send.bmp", bmp1(makeLogo(72, 14)));
    const QString notATerminal = writeFile(dir, "plain.txt", "x");
    SetCOMPortDevice(1, dir.filePath("no-such-tty"));
    SetCOMPortDevice(2, notATerminal);
    EXPECT_EQ(SendOTABitmap(2, 1, path, QString()), plNoPort);
    EXPECT_EQ(SendOTABitmap(2, 2, path, QString()), plNoPort);
    EXPECT_EQ(SendOTABitmap(2, 0, path, QString()), plNoPort);
    EXPECT_EQ(SendOTABitmap(2, 5, path, QString()), plNoPort);
    SetCOMPort(1);
    EXPECT_EQ(DeleteOPLogo("26201"), plNoPort);
    FreeCOMPort(); // nothing open: harmless
}

TEST_F(PhoneLinkTest, DefaultMappingPrefersUsbAdapters) {
    for (int n = 1; n <= 4; ++n) {
        const QString usb = QStringLiteral("/dev/ttyUSB%1").arg(n - 1);
        EXPECT_EQ(COMPortDevice(n), QFileInfo::exists(usb) ? usb : QStringLiteral("/dev/ttyS%1").arg(n - 1));
    }
    EXPECT_TRUE(COMPortDevice(0).isEmpty());
    EXPECT_TRUE(COMPortDevice(5).isEmpty());
    SetCOMPortDevice(4, "/tmp/x");
    EXPECT_EQ(COMPortDevice(4), "/tmp/x");
}

TEST(SerialPort, RefusesUnknownRatesAndNonTerminals) {
    SerialPort port;
    EXPECT_FALSE(port.SetBaudRate(12345));
    EXPECT_EQ(port.BaudRate(), 115200);
    EXPECT_TRUE(port.SetBaudRate(9600));
    EXPECT_FALSE(port.Open("/dev/null"));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.ReadByte(10), -1);
    EXPECT_FALSE(port.WriteAll("x", 10));
    EXPECT_FALSE(SetPhoneLinkBaudRate(12345));
    EXPECT_EQ(PhoneLinkBaudRate(), 115200);
}

} // namespace
