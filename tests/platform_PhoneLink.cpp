// The phone link against a fake phone on a pseudo-terminal.
#include "platform/PhoneLink.h"
#include "platform/SerialPort.h"
#include "support/FakePhone.h"
#include "support/Files.h"
#include "platform/Seams.h"

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
#include <sys/socket.h>
#include <unistd.h>

using namespace vb;
using fakephone::Fault;
using fakephone::FakePhone;

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

bool sameLogo(const std::optional<fakephone::Logo>& got, const Logo& want) {
    return got && got->width == want.width && got->height == want.height && got->black == want.black;
}

struct Phone {
    const char* name;
    fakephone::Kind kind;
    int maker, model;
};
// Names the phone in test output.
[[maybe_unused]] void PrintTo(const Phone& p, std::ostream* os) { *os << p.name; }
const Phone kNokia3210{"Nokia3210", fakephone::Kind::Nokia6110, 0, 0};
const Phone kNokia7110{"Nokia7110", fakephone::Kind::Nokia7110, 0, 4};
const Phone kSiemensS35{"SiemensS35", fakephone::Kind::Siemens, 1, 3};
const Phone kPhones[] = {kNokia3210, kNokia7110, kSiemensS35};

class PhoneLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        vb::seams().phoneLinkTimeoutMs = 1000;
    }
    void TearDown() override { ResetPhoneLink(); }
    QTemporaryDir dir;
};

// ---- transfers ----------------------------------------------------------------------------

struct TransferCase {
    Phone phone;
    int kind, width, height;
    bool whiteFirst;
};

void PrintTo(const TransferCase& c, std::ostream* os) { *os << c.phone.name << " kind " << c.kind; }

class PhoneLinkTransfer : public PhoneLinkTest, public ::testing::WithParamInterface<TransferCase> {};

TEST_P(PhoneLinkTransfer, LogoArrivesPixelForPixel) {
    const TransferCase c = GetParam();
    FakePhone phone(c.phone.kind);
    ASSERT_FALSE(phone.device().isEmpty());
    SetPhoneModel(c.phone.maker, c.phone.model);
    vb::seams().comPortDevices[1] = phone.device();
    const Logo logo = makeLogo(c.width, c.height);
    const QString path = WriteFileIn(dir, "send.bmp", bmp1(logo, c.whiteFirst));

    EXPECT_EQ(SendOTABitmap(c.kind, 2, path, "26201"), plSent);
    EXPECT_EQ(CurrentCOMPort(), 2);
    const auto got = c.kind == 0 ? phone.operatorLogo() : c.kind == 1 ? phone.groupLogo() : phone.startupLogo();
    ASSERT_TRUE(got.has_value());
    EXPECT_TRUE(sameLogo(got, logo));
    if (c.kind == 0) { EXPECT_EQ(got->network, c.phone.kind == fakephone::Kind::Siemens ? QString() : QStringLiteral("26201")); }
    if (c.kind == 1) { EXPECT_EQ(got->group, 0); }
    EXPECT_EQ(phone.badFrames(), 0);
    if (c.kind == 1 && c.phone.kind == fakephone::Kind::Nokia6110) { EXPECT_EQ(phone.groupNames()[0], QByteArray("Familie")); }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PhoneLinkTransfer,
    ::testing::Values(TransferCase{kNokia3210, 0, 72, 14, false}, TransferCase{kNokia3210, 1, 72, 14, true},
                      TransferCase{kNokia3210, 2, 84, 48, false}, TransferCase{kNokia3210, 2, 30, 13, true},
                      TransferCase{kNokia7110, 0, 72, 21, true}, TransferCase{kNokia7110, 0, 78, 21, false},
                      TransferCase{kNokia7110, 1, 72, 14, false}, TransferCase{kNokia7110, 2, 96, 65, false},
                      TransferCase{kSiemensS35, 0, 101, 43, false}, TransferCase{kSiemensS35, 0, 97, 26, true}),
    [](const auto& fall) {
        const TransferCase& c = fall.param;
        return std::string(c.phone.name) + "_Kind" + std::to_string(c.kind) + "_" + std::to_string(c.width) + "x" +
               std::to_string(c.height) + (c.whiteFirst ? "_WhiteFirst" : "");
    });

TEST_F(PhoneLinkTest, EachModelRefusesWhatItCannotShow) {
    struct Case {
        Phone phone;
        int kind, width, height, result;
    } cases[] = {
        {kNokia3210, 0, 72, 21, plTooLarge}, {kNokia3210, 2, 96, 65, plTooLarge}, {kNokia3210, 1, 73, 14, plTooLarge},
        {Phone{"Nokia62xx", fakephone::Kind::Nokia7110, 0, 3}, 2, 96, 65, plTooLarge},
        {Phone{"SiemensC35", fakephone::Kind::Siemens, 1, 1}, 0, 101, 43, plTooLarge},
        {kSiemensS35, 1, 72, 14, plBadKind}, {kSiemensS35, 2, 84, 48, plBadKind},
    };
    for (const Case& c : cases) {
        FakePhone phone(c.phone.kind);
        SetPhoneModel(c.phone.maker, c.phone.model);
        vb::seams().comPortDevices[0] = phone.device();
        const QString path = WriteFileIn(dir, "send.bmp", bmp1(makeLogo(c.width, c.height)));
        EXPECT_EQ(SendOTABitmap(c.kind, 1, path, "26201"), c.result) << c.phone.name << " " << c.width;
        EXPECT_TRUE(phone.received().isEmpty()) << c.phone.name;
    }
    SetPhoneModel(0, 3);
    EXPECT_EQ(MaxLogoWidth(2), 96);
    EXPECT_EQ(MaxLogoHeight(2), 60);
    SetPhoneModel(2, 0); // no such maker: unchanged
    EXPECT_EQ(PhoneMaker(), 0);
    EXPECT_EQ(PhoneModel(), 3);
}

// ---- the phone misbehaves -----------------------------------------------------------------

struct FaultCase {
    Phone phone;
    Fault fault;
    int result;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.phone.name << " fault " << int(c.fault); }

class PhoneLinkFault : public PhoneLinkTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(PhoneLinkFault, EndsWithinAFewSecondsAndAFreshPhoneWorks) {
    const FaultCase c = GetParam();
    SetPhoneModel(c.phone.maker, c.phone.model);
    vb::seams().phoneLinkTimeoutMs = 300;
    const Logo logo = makeLogo(c.phone.maker == 1 ? 101 : 72, c.phone.maker == 1 ? 43 : 14);
    const QString path = WriteFileIn(dir, "send.bmp", bmp1(logo));
    {
        FakePhone phone(c.phone.kind, c.fault);
        vb::seams().comPortDevices[0] = phone.device();
        const auto start = std::chrono::steady_clock::now();
        const int result = SendOTABitmap(0, 1, path, "26201");
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (c.result >= 0) EXPECT_EQ(result, c.result);
        else EXPECT_NE(result, plSent);
        EXPECT_LT(elapsed, std::chrono::seconds(3));
        EXPECT_EQ(phone.operatorLogo().has_value(), result == plSent);
        if (result == plSent) { EXPECT_TRUE(sameLogo(phone.operatorLogo(), logo)); }
    }
    // The port was released: the cable plugged in again, the next transfer goes through.
    FakePhone again(c.phone.kind);
    vb::seams().comPortDevices[0] = again.device();
    EXPECT_EQ(SendOTABitmap(0, 1, path, "26201"), plSent);
    EXPECT_TRUE(sameLogo(again.operatorLogo(), logo));
}

std::vector<FaultCase> faultCases() {
    std::vector<FaultCase> cases;
    for (const Phone& p : kPhones) {
        cases.push_back({p, Fault::Silent, plNoAnswer});
        cases.push_back({p, Fault::ErrorReply, plRefused});
        cases.push_back({p, Fault::Disconnect, plLineError});
        cases.push_back({p, Fault::Flood, -1});
        cases.push_back({p, Fault::DropFrame, plSent});    // sent again
        cases.push_back({p, Fault::CorruptCheck, plSent}); // asked again
    }
    return cases;
}

std::string faultName(const ::testing::TestParamInfo<FaultCase>& info) {
    static const char* names[] = {"None", "Silent", "DropFrame", "CorruptCheck", "Disconnect", "ErrorReply", "Flood"};
    return std::string(info.param.phone.name) + "_" + names[int(info.param.fault)];
}

INSTANTIATE_TEST_SUITE_P(Faults, PhoneLinkFault, ::testing::ValuesIn(faultCases()), faultName);

TEST_F(PhoneLinkTest, WrongDeviceOnThePortFails) {
    vb::seams().phoneLinkTimeoutMs = 300;
    const QString path = WriteFileIn(dir, "send.bmp", bmp1(makeLogo(72, 14)));
    const struct {
        Phone settings;
        fakephone::Kind onThePort;
    } cases[] = {{kNokia3210, fakephone::Kind::Siemens}, {kSiemensS35, fakephone::Kind::Nokia6110}, {kNokia7110, fakephone::Kind::Nokia6110}};
    for (const auto& c : cases) {
        FakePhone phone(c.onThePort);
        SetPhoneModel(c.settings.maker, c.settings.model);
        vb::seams().comPortDevices[0] = phone.device();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_NE(SendOTABitmap(0, 1, path, "26201"), plSent) << c.settings.name;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << c.settings.name;
        EXPECT_FALSE(phone.operatorLogo().has_value()) << c.settings.name;
    }
}

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
    FakePhone phone(fakephone::Kind::Nokia6110);
    vb::seams().comPortDevices[0] = phone.device();
    for (const Case& c : cases) {
        const QString path = WriteFileIn(dir, QString::fromLatin1(c.name) + ".bmp", c.bytes);
        EXPECT_EQ(SendOTABitmap(0, 1, path, "26201"), plBadBitmap) << c.name;
    }
    EXPECT_EQ(SendOTABitmap(2, 1, dir.filePath("missing.bmp"), QString()), plBadBitmap);
    EXPECT_TRUE(phone.received().isEmpty());
}

TEST_F(PhoneLinkTest, BadKindOrOperatorCodeSendsNothing) {
    FakePhone phone(fakephone::Kind::Nokia6110);
    vb::seams().comPortDevices[0] = phone.device();
    const QString path = WriteFileIn(dir, "send.bmp", bmp1(makeLogo(72, 14)));
    for (const char* code : {"", "2620", "262011", "2620a", "26 01", "+2620"}) {
        EXPECT_EQ(SendOTABitmap(0, 1, path, code), plBadOperatorCode) << code;
        EXPECT_EQ(DeleteOPLogo(code), plBadOperatorCode) << code;
    }
    EXPECT_EQ(SendOTABitmap(3, 1, path, "26201"), plBadKind);
    EXPECT_EQ(SendOTABitmap(-1, 1, path, "26201"), plBadKind);
    EXPECT_TRUE(phone.received().isEmpty());
}

// ---- delete -------------------------------------------------------------------------------

TEST_F(PhoneLinkTest, DeleteReachesThePhoneOnTheCurrentPort) {
    const QString path = WriteFileIn(dir, "send.bmp", bmp1(makeLogo(72, 14)));
    for (const Phone& p : kPhones) {
        FakePhone phone(p.kind);
        SetPhoneModel(p.maker, p.model);
        vb::seams().comPortDevices[2] = phone.device();
        ASSERT_EQ(SendOTABitmap(0, 3, path, "23415"), plSent) << p.name;
        ASSERT_TRUE(phone.operatorLogo().has_value()) << p.name;
        if (p.maker == 0) { EXPECT_EQ(phone.operatorLogo()->network, "23415"); }
        SetCOMPort(1);
        SetCOMPort(3);
        EXPECT_EQ(DeleteOPLogo("23415"), plSent) << p.name;
        EXPECT_EQ(phone.deletes(), 1) << p.name;
        EXPECT_FALSE(phone.operatorLogo().has_value()) << p.name;
    }
    // A phone that refuses the delete is a failure too.
    FakePhone refusing(fakephone::Kind::Nokia6110, Fault::ErrorReply);
    SetPhoneModel(0, 0);
    vb::seams().comPortDevices[2] = refusing.device();
    EXPECT_EQ(DeleteOPLogo("26201"), plRefused);
}

// ---- ports --------------------------------------------------------------------------------

TEST_F(PhoneLinkTest, MissingOrUnusableDeviceFails) {
    const QString path = WriteFileIn(dir, "send.bmp", bmp1(makeLogo(72, 14)));
    const QString notATerminal = WriteFileIn(dir, "plain.txt", "x");
    vb::seams().comPortDevices[0] = dir.filePath("no-such-tty");
    vb::seams().comPortDevices[1] = notATerminal;
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
    vb::seams().comPortDevices[3] = "/tmp/x";
    EXPECT_EQ(COMPortDevice(4), "/tmp/x");
}

// A hung-up line reads as zero bytes with the hang-up flag: the read ends at once.
TEST(SerialPort, HangUpEndsAReadAtOnce) {
    int sv[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, sv), 0);
    SerialPort port;
    port.Attach(sv[0]);
    ASSERT_EQ(::write(sv[1], "ab", 2), 2);
    ::close(sv[1]);
    char buf[8];
    EXPECT_EQ(port.Read(buf, 8, 2000), 2);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.Read(buf, 8, 2000), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_TRUE(port.HungUp());
    EXPECT_EQ(port.Read(buf, 8, 2000), -1);
}

// A device that never stops sending cannot hold the drain.
TEST(SerialPort, DiscardingInputIsBounded) {
    int sv[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, sv), 0);
    std::atomic<bool> stop{false};
    std::thread talker([&] {
        const std::string noise(4096, 'x');
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!stop && std::chrono::steady_clock::now() < end) (void)::send(sv[1], noise.data(), noise.size(), MSG_NOSIGNAL);
    });
    SerialPort port;
    port.Attach(sv[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto start = std::chrono::steady_clock::now();
    port.DiscardInput();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    stop = true;
    ::shutdown(sv[0], SHUT_RDWR);
    talker.join();
    ::close(sv[1]);
    EXPECT_LT(elapsed, std::chrono::milliseconds(200));
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
