// The phone link against a fake phone on a pseudo-terminal.
#include "platform/phone/PhoneLink.h"
#include "platform/phone/SerialPort.h"
#include "support/FakePhone.h"
#include "support/Files.h"
#include "platform/system/Seams.h"

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

// The logo in the middle of a white canvas of the phone's size (the smaller half of an odd
// remainder left and above), as the phone display shows it and the public tools place it.
Logo onCanvas(const Logo& l, int w, int h) {
    Logo out{w, h, std::vector<bool>(size_t(w) * size_t(h))};
    const int left = (w - l.width) / 2, top = (h - l.height) / 2;
    for (int y = 0; y < l.height; ++y)
        for (int x = 0; x < l.width; ++x)
            out.black[size_t(y + top) * size_t(w) + size_t(x + left)] = l.black[size_t(y) * size_t(l.width) + size_t(x)];
    return out;
}

// ---- the bitmap forms of the protocol notes, written out here on their own ------------------

// Rows from the top running on, most significant bit first ("OTA bitmap" rows).
QByteArray rowBits(const Logo& l) {
    QByteArray b((l.width * l.height + 7) / 8, '\0');
    for (int i = 0; i < l.width * l.height; ++i)
        if (l.black[size_t(i)]) b[i / 8] = char(quint8(b[i / 8]) | 0x80 >> (i % 8));
    return b;
}
// "pixels placed vertically": bands of eight rows, one byte a column, bit 0 at the top.
QByteArray bandBits(const Logo& l) {
    QByteArray b(l.width * ((l.height + 7) / 8), '\0');
    for (int y = 0; y < l.height; ++y)
        for (int x = 0; x < l.width; ++x)
            if (l.black[size_t(y) * size_t(l.width) + size_t(x)]) {
                const int at = (y / 8) * l.width + x;
                b[at] = char(quint8(b[at]) | 1 << (y % 8));
            }
    return b;
}
QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

struct Phone {
    const char* name;
    fakephone::Kind kind;
    int maker, model;      // the settings' lists
    fakephone::Model fake; // what the phone on the cable has
};
// Names the phone in test output.
[[maybe_unused]] void PrintTo(const Phone& p, std::ostream* os) { *os << p.name; }
// The models of the public tools' phone tables, as the settings name them.
const Phone kNokia3210{"Nokia3210", fakephone::Kind::Nokia6110, 0, 0, {84, 48, 0x2E}};
const Phone kNokia3310{"Nokia3310", fakephone::Kind::Nokia6110, 0, 0, {84, 48, 0x29}};
const Phone kNokia5110{"Nokia5110", fakephone::Kind::Nokia6110, 0, 1, {}};
const Phone kNokia6110{"Nokia6110", fakephone::Kind::Nokia6110, 0, 2, {}};
const Phone kNokia6210{"Nokia6210", fakephone::Kind::Nokia7110, 0, 3, {96, 60, 0}};
const Phone kNokia7110{"Nokia7110", fakephone::Kind::Nokia7110, 0, 4, {96, 65, 0}};
const Phone kNokia8210{"Nokia8210", fakephone::Kind::Nokia6110, 0, 5, {}};
const Phone kNokia8850{"Nokia8850", fakephone::Kind::Nokia6110, 0, 6, {84, 48, 0x29}};
const Phone kSiemensS35{"SiemensS35", fakephone::Kind::Siemens, 1, 3, {}};
const Phone kPhones[] = {kNokia3210, kNokia7110, kSiemensS35};

class PhoneLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        vb::seams().phoneLinkTimeoutMs = 1000;
        vb::seams().phoneCablePowerUpMs = 0;
    }
    void TearDown() override { ResetPhoneLink(); }
    QTemporaryDir dir;
};

// ---- transfers ----------------------------------------------------------------------------

// Byte 2 of every answer: 0x00 as the 7110 answers were captured, 0x01 as the notes write them.
constexpr int kAnswerForms[] = {0x00, 0x01};

struct TransferCase {
    Phone phone;
    int kind, width, height;
    bool whiteFirst;
    int answerByte2;
};

void PrintTo(const TransferCase& c, std::ostream* os) { *os << c.phone.name << " kind " << c.kind; }

// The messages the public tools send for this logo, from the protocol notes [nk6110], [nk7110]
// and what Gammu puts in each field; the type byte first. `shown` is the logo at the phone's size.
std::vector<QByteArray> expectedMessages(const Phone& p, int kind, const Logo& shown) {
    const QByteArray network = hex("62f210"); // 262 01
    if (p.kind == fakephone::Kind::Nokia6110) {
        const QByteArray ota = hex("0082") + hex("00480e01") + rowBits(shown); // 4 + 126 bytes
        if (kind == 0) return {hex("05") + hex("0001003001") + network + ota};
        if (kind == 1) return {hex("03") + hex("0001001000"), hex("03") + hex("000100130007") + "Familie" + hex("1001") + ota};
        const QByteArray logo = hex("05") + hex("00010018010130") + hex("54") + bandBits(shown); // 48 x 84
        std::vector<QByteArray> m;
        // Animation phones: profile 0, feature := 0, the uploaded logo; 0x2e on the 3210, 0x29 on
        // the 33xx and 88xx. The settings' "3210, 33xx" tries 0x2e first.
        const QByteArray tried = p.model == 0 ? hex("2e29") : p.model == 6 ? hex("29") : QByteArray();
        for (const char feature : tried) {
            m.push_back(hex("05") + hex("000100100100") + feature + '\0');
            if (quint8(feature) == p.fake.animationFeature) break;
        }
        m.push_back(logo);
        return m;
    }
    if (kind == 0) // 78 x 21: 205 bytes, len 8 + 205
        return {hex("0a") + hex("000101a30101") + network + hex("0004d54e1500cd0000") + rowBits(shown)};
    if (kind == 2)
        return {hex("7a") + hex("000101ec15000000") + hex("04c00200") + char(shown.height) + hex("c00300") + char(shown.width) +
                hex("c0040300") + bandBits(shown)};
    // Read group 1 of the caller groups, then write it back: graphic on, its ringtone, its number,
    // its name (UTF-16, length counting two terminating zeros), the graphic {72, 14, 0, 0, 126}.
    QByteArray name;
    for (const char c : QByteArray("Familie")) name.append('\0').append(c);
    return {hex("03") + hex("00010107 010100010210 0001 0000"),
            hex("03") + hex("0001000b 00010100000c 0010 0001 000000 05") + hex("1c00000801 0100 00") +
                hex("0c00000802 1000 00") + hex("1e00000803 0100 00") + hex("0700001604") + char(name.size() + 2) + name +
                hex("00 00") + hex("1b00008905 480e00007e") + rowBits(shown) + hex("00")};
}

// What the Siemens phone gets: "AT", then the bitmap as the public tool writes it (1000 pixels a
// metre, black then white, white pixels 1) in packets of 176 bytes, each announced by AT^SBNW
// and sent in upper-case hexadecimal ended by Ctrl-Z.
QByteArray expectedAtSession(const Logo& l) {
    const int stride = (l.width + 31) / 32 * 4;
    QByteArray bmp = hex("424d00000000000000003e00000028000000") + QByteArray(8, '\0') + hex("01000100") + QByteArray(8, '\0') +
                     hex("e8030000e80300000200000000000000") + hex("00000000ffffff00");
    bmp[18] = char(l.width);
    bmp[22] = char(l.height);
    for (int y = l.height - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < l.width; ++x)
            if (!l.black[size_t(y) * size_t(l.width) + size_t(x)]) row[x / 8] = char(quint8(row[x / 8]) | 0x80 >> (x % 8));
        bmp += row;
    }
    const int image = stride * l.height;
    bmp[34] = char(image & 0xFF);
    bmp[35] = char(image >> 8);
    bmp[2] = char(bmp.size() & 0xFF);
    bmp[3] = char(bmp.size() >> 8);
    QByteArray at = "AT\r";
    const int packets = int(bmp.size() + 175) / 176;
    for (int i = 0; i < packets; ++i)
        at += "AT^SBNW=\"bmp\",0," + QByteArray::number(i + 1) + ',' + QByteArray::number(packets) + '\r' +
              bmp.mid(i * 176, 176).toHex().toUpper() + char(0x1A);
    return at;
}

class PhoneLinkTransfer : public PhoneLinkTest, public ::testing::WithParamInterface<TransferCase> {};

TEST_P(PhoneLinkTransfer, ThePhoneGetsWhatThePublicToolsSend) {
    const TransferCase c = GetParam();
    FakePhone phone(c.phone.kind, Fault::None, 0, c.phone.fake, c.answerByte2);
    ASSERT_FALSE(phone.device().isEmpty());
    SetPhoneModel(c.phone.maker, c.phone.model);
    vb::seams().comPortDevices[1] = phone.device();
    const Logo logo = makeLogo(c.width, c.height);
    const QString path = WriteFileIn(dir, "send.bmp", bmp1(logo, c.whiteFirst));

    EXPECT_EQ(SendOTABitmap(c.kind, 2, path, "26201"), plSent);
    EXPECT_EQ(CurrentCOMPort(), 2);
    const bool nokia = c.phone.kind != fakephone::Kind::Siemens;
    const Logo shown = nokia ? onCanvas(logo, MaxLogoWidth(c.kind), MaxLogoHeight(c.kind)) : logo;
    const auto got = c.kind == 0 ? phone.operatorLogo() : c.kind == 1 ? phone.groupLogo() : phone.startupLogo();
    ASSERT_TRUE(got.has_value());
    EXPECT_TRUE(sameLogo(got, shown));
    if (c.kind == 0) {
        EXPECT_EQ(got->network, nokia ? QStringLiteral("26201") : QString());
    }
    if (c.kind == 1) {
        EXPECT_EQ(got->group, 0);
        EXPECT_EQ(phone.groupNames()[0], QByteArray("Familie"));
        EXPECT_EQ(phone.groupRingtones()[0], 0x10);
    }
    if (c.kind == 2 && c.phone.fake.animationFeature) {
        EXPECT_EQ(phone.startupSetting(), 0);
    }
    EXPECT_EQ(phone.badFrames(), 0);
    phone.settle();
    EXPECT_EQ(phone.unacknowledged(), 0) << phone.received().right(40).toHex(' ').toStdString(); // the last answer's acknowledgement got out too
    if (!nokia) {
        EXPECT_EQ(phone.received(), expectedAtSession(shown));
        return;
    }
    EXPECT_TRUE(phone.received().startsWith(QByteArray(250, char(0x55))));
    EXPECT_EQ(phone.messages(), expectedMessages(c.phone, c.kind, shown));
}

std::vector<TransferCase> transferCases() {
    const TransferCase kinds[] = {
        {kNokia3210, 0, 72, 14, false}, {kNokia3210, 2, 84, 48, false}, {kNokia3210, 2, 30, 13, true},
        {kNokia3310, 2, 84, 48, true},  {kNokia8850, 2, 84, 48, false}, {kNokia8850, 1, 72, 14, true},
        {kNokia6110, 1, 72, 14, true},  {kNokia6110, 2, 84, 48, false}, {kNokia8210, 0, 40, 9, false},
        {kNokia5110, 0, 72, 14, false}, {kNokia7110, 0, 72, 21, true},  {kNokia7110, 0, 78, 21, false},
        {kNokia7110, 0, 72, 14, false}, {kNokia7110, 1, 72, 14, false}, {kNokia7110, 2, 96, 65, false},
        {kNokia7110, 2, 84, 48, true},  {kNokia6210, 2, 96, 60, false}, {kNokia6210, 1, 72, 14, true},
        {kSiemensS35, 0, 101, 21, false}, {kSiemensS35, 0, 97, 14, true},
    };
    std::vector<TransferCase> cases;
    for (const int form : kAnswerForms)
        for (TransferCase c : kinds) {
            c.answerByte2 = form;
            if (c.phone.kind != fakephone::Kind::Siemens || form == 0) cases.push_back(c);
        }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Kinds, PhoneLinkTransfer, ::testing::ValuesIn(transferCases()), [](const auto& fall) {
    const TransferCase& c = fall.param;
    return std::string(c.phone.name) + "_Kind" + std::to_string(c.kind) + "_" + std::to_string(c.width) + "x" +
           std::to_string(c.height) + (c.whiteFirst ? "_WhiteFirst" : "") + "_Byte2is" + std::to_string(c.answerByte2);
});

TEST_F(PhoneLinkTest, EachModelRefusesWhatItCannotTake) {
    const Phone kNokia62xx = kNokia6210;
    const Phone kSiemensC35{"SiemensC35", fakephone::Kind::Siemens, 1, 1, {}};
    struct Case {
        Phone phone;
        int kind, width, height, result;
    } cases[] = {
        {kNokia3210, 1, 72, 14, plBadKind},  {kNokia5110, 1, 72, 14, plBadKind},  {kNokia5110, 2, 84, 48, plBadKind},
        {kNokia3210, 0, 72, 21, plTooLarge}, {kNokia3210, 2, 96, 65, plTooLarge}, {kNokia6110, 1, 73, 14, plTooLarge},
        {kNokia62xx, 2, 96, 65, plTooLarge}, {kNokia7110, 0, 79, 21, plTooLarge}, {kSiemensC35, 0, 101, 43, plTooLarge},
        {kSiemensS35, 0, 101, 43, plTooLarge}, {kSiemensS35, 1, 72, 14, plBadKind}, {kSiemensS35, 2, 84, 48, plBadKind},
    };
    for (const Case& c : cases) {
        FakePhone phone(c.phone.kind, Fault::None, 0, c.phone.fake);
        SetPhoneModel(c.phone.maker, c.phone.model);
        vb::seams().comPortDevices[0] = phone.device();
        const QString path = WriteFileIn(dir, "send.bmp", bmp1(makeLogo(c.width, c.height)));
        EXPECT_EQ(SendOTABitmap(c.kind, 1, path, "26201"), c.result) << c.phone.name << " kind " << c.kind;
        EXPECT_TRUE(phone.received().isEmpty()) << c.phone.name;
    }
    const struct {
        Phone phone;
        int sizes[3][2];
    } sizes[] = {
        {kNokia3210, {{72, 14}, {0, 0}, {84, 48}}},   {kNokia5110, {{72, 14}, {0, 0}, {0, 0}}},
        {kNokia6110, {{72, 14}, {72, 14}, {84, 48}}}, {kNokia6210, {{78, 21}, {72, 14}, {96, 60}}},
        {kNokia7110, {{78, 21}, {72, 14}, {96, 65}}}, {kNokia8210, {{72, 14}, {72, 14}, {84, 48}}},
        {kNokia8850, {{72, 14}, {72, 14}, {84, 48}}}, {Phone{"SiemensS25", fakephone::Kind::Siemens, 1, 0, {}}, {{97, 26}, {0, 0}, {0, 0}}},
        {kSiemensC35, {{101, 21}, {0, 0}, {0, 0}}},   {kSiemensS35, {{101, 21}, {0, 0}, {0, 0}}},
    };
    for (const auto& s : sizes) {
        SetPhoneModel(s.phone.maker, s.phone.model);
        for (int kind = 0; kind < 3; ++kind) {
            EXPECT_EQ(MaxLogoWidth(kind), s.sizes[kind][0]) << s.phone.name << " kind " << kind;
            EXPECT_EQ(MaxLogoHeight(kind), s.sizes[kind][1]) << s.phone.name << " kind " << kind;
        }
    }
    SetPhoneModel(2, 0); // no such maker: unchanged
    EXPECT_EQ(PhoneMaker(), 1);
    EXPECT_EQ(PhoneModel(), 3);
}

// A phone that refuses a write has not stored the logo: that is a failure, whatever byte 2 says.
TEST_F(PhoneLinkTest, ARefusedWriteIsAFailure) {
    vb::seams().phoneLinkTimeoutMs = 300;
    const struct {
        Phone phone;
        int kind, width, height;
    } cases[] = {
        {kNokia6110, 0, 72, 14}, {kNokia6110, 1, 72, 14}, {kNokia6110, 2, 84, 48}, {kNokia3210, 2, 84, 48},
        {kNokia7110, 0, 78, 21}, {kNokia7110, 1, 72, 14}, {kNokia7110, 2, 96, 65}, {kSiemensS35, 0, 101, 21},
    };
    for (const int form : kAnswerForms)
        for (const auto& c : cases) {
            FakePhone phone(c.phone.kind, Fault::ErrorReply, 0, c.phone.fake, form);
            SetPhoneModel(c.phone.maker, c.phone.model);
            vb::seams().comPortDevices[0] = phone.device();
            const QString path = WriteFileIn(dir, "send.bmp", bmp1(makeLogo(c.width, c.height)));
            EXPECT_EQ(SendOTABitmap(c.kind, 1, path, "26201"), plRefused) << c.phone.name << " kind " << c.kind << " form " << form;
            EXPECT_FALSE(phone.operatorLogo() || phone.groupLogo() || phone.startupLogo()) << c.phone.name;
        }
    // The 7110's documented refusal of a phonebook write: 0x0f in byte 6, the reason in byte 10.
    FakePhone phone(fakephone::Kind::Nokia7110, Fault::ErrorReply);
    SetPhoneModel(0, 4);
    vb::seams().comPortDevices[0] = phone.device();
    SendOTABitmap(1, 1, WriteFileIn(dir, "send.bmp", bmp1(makeLogo(72, 14))), QString());
    phone.settle();
    ASSERT_GE(phone.messages().size(), 2u);
    EXPECT_EQ(phone.messages()[1].mid(1, 4), hex("0001000b"));
}

// ---- the phone misbehaves -----------------------------------------------------------------

struct FaultCase {
    Phone phone;
    Fault fault;
    int result;
    int answerByte2;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.phone.name << " fault " << int(c.fault); }

class PhoneLinkFault : public PhoneLinkTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(PhoneLinkFault, EndsWithinAFewSecondsAndAFreshPhoneWorks) {
    const FaultCase c = GetParam();
    SetPhoneModel(c.phone.maker, c.phone.model);
    vb::seams().phoneLinkTimeoutMs = 300;
    const int w = MaxLogoWidth(0), h = MaxLogoHeight(0);
    const Logo logo = makeLogo(w, h);
    const QString path = WriteFileIn(dir, "send.bmp", bmp1(logo));
    {
        FakePhone phone(c.phone.kind, c.fault, 0, c.phone.fake, c.answerByte2);
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
    FakePhone again(c.phone.kind, Fault::None, 0, c.phone.fake, c.answerByte2);
    vb::seams().comPortDevices[0] = again.device();
    EXPECT_EQ(SendOTABitmap(0, 1, path, "26201"), plSent);
    EXPECT_TRUE(sameLogo(again.operatorLogo(), logo));
}

std::vector<FaultCase> faultCases() {
    std::vector<FaultCase> cases;
    for (const int form : kAnswerForms)
        for (const Phone& p : kPhones) {
            if (p.kind == fakephone::Kind::Siemens && form != 0) continue;
            cases.push_back({p, Fault::Silent, plNoAnswer, form});
            cases.push_back({p, Fault::ErrorReply, plRefused, form});
            cases.push_back({p, Fault::Disconnect, plLineError, form});
            cases.push_back({p, Fault::Flood, -1, form});
            cases.push_back({p, Fault::DropFrame, plSent, form});    // sent again
            cases.push_back({p, Fault::CorruptCheck, plSent, form}); // asked again
            if (p.kind != fakephone::Kind::Siemens) cases.push_back({p, Fault::PowerUp, plSent, form}); // synced again
        }
    return cases;
}

std::string faultName(const ::testing::TestParamInfo<FaultCase>& info) {
    static const char* names[] = {"None", "Silent", "DropFrame", "CorruptCheck", "Disconnect", "ErrorReply", "Flood", "PowerUp"};
    return std::string(info.param.phone.name) + "_" + names[int(info.param.fault)] + "_Byte2is" +
           std::to_string(info.param.answerByte2);
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
