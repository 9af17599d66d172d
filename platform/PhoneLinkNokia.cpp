// Nokia phones over FBUS version 2 (sources in PhoneLink.cpp's head comment).
//
// One request is one message to the phone, split into frames of at most kChunk bytes; every
// frame waits for the phone's acknowledgement (type 0x7f) and is sent again when none comes,
// three times in all. The phone's reply is acknowledged frame by frame and reassembled. A reply
// with a bad check byte is dropped unacknowledged, so the phone sends it again. Frames the
// phone sends of its own accord are acknowledged and otherwise ignored.
#include "platform/PhoneLink.h"
#include "platform/PhoneLinkDetail.h"

#include <chrono>
#include <optional>

namespace vb::phonelink {
namespace {

using Clock = std::chrono::steady_clock;

constexpr quint8 kFrameId = 0x1E;      // cable [nokia]
constexpr quint8 kPhone = 0x00, kComputer = 0x0C;
constexpr quint8 kAckType = 0x7F;      // [nk6110] 0x7f
constexpr int kChunk = 120;            // block bytes per frame; the MBUS limit [nokia], safe for FBUS
constexpr int kAttempts = 3;
constexpr int kSyncBytes = 128;        // [pax]
constexpr int kMaxFrameLength = 512;   // longer length fields are noise

struct Frame {
    quint8 type = 0;
    QByteArray body; // everything between the length and the padding
};

QByteArray buildFrame(quint8 type, const QByteArray& body) {
    QByteArray f;
    f.reserve(body.size() + 9);
    f.append(char(kFrameId));
    f.append(char(kPhone));
    f.append(char(kComputer));
    f.append(char(type));
    f.append(char(body.size() >> 8 & 0xFF));
    f.append(char(body.size() & 0xFF));
    f.append(body);
    if (body.size() % 2) f.append('\0'); // padding, not counted in the length [pax]
    quint8 even = 0, odd = 0;
    for (qsizetype i = 0; i < f.size(); ++i) (i % 2 ? odd : even) ^= quint8(f[i]);
    f.append(char(even));
    f.append(char(odd));
    return f;
}

class Fbus {
public:
    Fbus(SerialPort& port, int timeoutMs) : m_port(port), m_timeoutMs(timeoutMs) {}

    // Sends one message and waits for the reply of replyType; its block (the frames' data
    // joined, without frames-to-go and sequence bytes) lands in reply.
    int request(quint8 type, const QByteArray& block, quint8 replyType, QByteArray& reply) {
        if (const int r = send(type, block); r != plSent) return r;
        return awaitMessage(replyType, reply);
    }

    int synchronise() {
        return m_port.WriteAll(QByteArray(kSyncBytes, char(0x55)), writeMs(kSyncBytes)) ? int(plSent)
                                                                                         : int(plLineError);
    }

private:
    int writeMs(qsizetype bytes) const {
        return m_timeoutMs + int(qint64(bytes) * 10 * 1000 / qMax(1, m_port.BaudRate()));
    }

    int send(quint8 type, const QByteArray& block) {
        const int frames = int((block.size() + kChunk - 1) / kChunk);
        for (int i = 0; i < frames; ++i) {
            const quint8 seq = m_seq;
            m_seq = quint8((m_seq + 1) & 0x07);
            QByteArray body = block.mid(qsizetype(i) * kChunk, kChunk);
            body.append(char(frames - i));
            body.append(char((i == 0 ? 0x40 : 0x00) | seq));
            const QByteArray frame = buildFrame(type, body);
            int result = plNoAnswer;
            for (int attempt = 0; attempt < kAttempts && result == plNoAnswer; ++attempt) {
                if (!m_port.WriteAll(frame, writeMs(frame.size()))) return plLineError;
                result = awaitAck(type, seq);
            }
            if (result != plSent) return result;
        }
        return plSent;
    }

    int awaitAck(quint8 type, quint8 seq) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(m_timeoutMs);
        for (;;) {
            Frame f;
            if (const int r = readFrame(f, deadline); r != plSent) return r;
            if (f.type == kAckType) {
                if (f.body.size() >= 2 && quint8(f.body[0]) == type && (quint8(f.body[1]) & 0x07) == seq)
                    return plSent;
                continue; // an acknowledgement of something else
            }
            if (const int r = takeData(f); r != plSent) return r;
        }
    }

    int awaitMessage(quint8 type, QByteArray& reply) {
        // One deadline for the whole wait: frames of other messages do not extend it.
        const auto deadline = Clock::now() + std::chrono::milliseconds(m_timeoutMs);
        for (;;) {
            for (size_t i = 0; i < m_done.size(); ++i)
                if (m_done[i].type == type) {
                    reply = m_done[i].body;
                    m_done.erase(m_done.begin() + qsizetype(i));
                    return plSent;
                }
            Frame f;
            if (const int r = readFrame(f, deadline); r != plSent) return r;
            if (f.type == kAckType) continue;
            if (const int r = takeData(f); r != plSent) return r;
        }
    }

    // Acknowledges a data frame and adds it to the message it belongs to.
    int takeData(const Frame& f) {
        if (f.body.size() < 2) return plSent;
        const quint8 framesToGo = quint8(f.body[f.body.size() - 2]);
        const quint8 seq = quint8(f.body[f.body.size() - 1]);
        QByteArray ack;
        ack.append(char(f.type));
        ack.append(char(seq & 0x07));
        if (!m_port.WriteAll(buildFrame(kAckType, ack), writeMs(10))) return plLineError;
        // A frame sent again because our acknowledgement got lost carries the same number.
        if (m_lastSeq == seq && m_lastType == f.type) return plSent;
        m_lastSeq = seq;
        m_lastType = f.type;
        if (seq & 0x40) m_partial = Frame{f.type, {}};
        if (m_partial.type != f.type) return plSent; // a continuation without its start
        m_partial.body.append(f.body.left(f.body.size() - 2));
        if (m_partial.body.size() > 65536) m_partial = Frame{};
        else if (framesToGo <= 1) {
            m_done.push_back(m_partial);
            m_partial = Frame{};
        }
        return plSent;
    }

    // The next intact frame addressed to us, or plNoAnswer at the deadline. Stray bytes and
    // frames with a wrong check byte are dropped. How much arrived is remembered: a line that
    // only ever brought noise makes the call end with plBadAnswer rather than plNoAnswer.
    int readFrame(Frame& out, Clock::time_point deadline) {
        for (;;) {
            while (!m_in.isEmpty()) {
                const int at = int(m_in.indexOf(char(kFrameId)));
                if (at < 0) {
                    m_noise = true;
                    m_in.clear();
                    break;
                }
                if (at > 0) {
                    m_noise = true;
                    m_in.remove(0, at);
                }
                if (m_in.size() < 6) break;
                const int len = quint8(m_in[4]) << 8 | quint8(m_in[5]);
                if (quint8(m_in[1]) != kComputer || quint8(m_in[2]) != kPhone || len > kMaxFrameLength) {
                    m_noise = true;
                    m_in.remove(0, 1);
                    continue;
                }
                const int total = 6 + len + (len % 2) + 2;
                if (m_in.size() < total) break;
                quint8 even = 0, odd = 0;
                for (int i = 0; i < total - 2; ++i) (i % 2 ? odd : even) ^= quint8(m_in[i]);
                const bool intact = quint8(m_in[total - 2]) == even && quint8(m_in[total - 1]) == odd;
                if (intact) {
                    out.type = quint8(m_in[3]);
                    out.body = m_in.mid(6, len);
                    m_in.remove(0, total);
                    m_heard = true;
                    return plSent;
                }
                m_noise = true;
                m_in.remove(0, 1);
            }
            const int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
            if (left <= 0) return m_noise && !m_heard ? plBadAnswer : plNoAnswer;
            char buf[512];
            const int n = m_port.Read(buf, int(sizeof buf), left);
            if (n < 0) return plLineError;
            m_in.append(buf, n);
            // A line that sends without end still ends at the deadline; keep the buffer small.
            if (m_in.size() > 4 * kMaxFrameLength) m_in.remove(0, m_in.size() - 2 * kMaxFrameLength);
        }
    }

    SerialPort& m_port;
    int m_timeoutMs;
    quint8 m_seq = 0;
    QByteArray m_in;
    Frame m_partial;
    std::vector<Frame> m_done;
    int m_lastSeq = -1, m_lastType = -1;
    bool m_noise = false, m_heard = false;
};

QByteArray header(quint8 a, quint8 b) {
    // Every message block starts 0x00 0x01 [nk6110 "Frames list format"], then the subtype.
    QByteArray h;
    h.append('\0');
    h.append(char(0x01));
    h.append(char(a));
    h.append(char(b));
    return h;
}

bool replyIs(const QByteArray& reply, quint8 a, quint8 b) {
    return reply.size() >= 4 && quint8(reply[2]) == a && quint8(reply[3]) == b;
}

// Deleting: the documents know no delete message. The operator logo is shown only while the
// phone is registered with the network stored beside it, so the logo is replaced by a blank one
// for the network 000 00, which no phone is ever registered with: the phone shows the
// operator's name again.
MonoLogo blankOperatorLogo() {
    MonoLogo blank;
    blank.width = 72;
    blank.height = 14;
    blank.black.assign(72 * 14, false);
    return blank;
}
const QByteArray kNoNetwork("\x00\xF0\x00", 3);

// ---- Nokia 6110 family [nk6110] -----------------------------------------------------------

int send6110(Fbus& bus, const Request& r) {
    QByteArray reply;
    switch (r.what) {
    case Request::OperatorLogo:
    case Request::DeleteOperatorLogo: {
        const bool del = r.what == Request::DeleteOperatorLogo;
        const QByteArray ota = otaBitmap(del ? blankOperatorLogo() : r.logo);
        QByteArray m = header(0x00, 0x30);
        m.append(char(0x01)); // location
        m.append(del ? kNoNetwork : r.network);
        m.append(char(ota.size() >> 8));
        m.append(char(ota.size() & 0xFF));
        m.append(ota);
        if (const int res = bus.request(0x05, m, 0x05, reply); res != plSent) return res;
        return replyIs(reply, 0x00, 0x31) ? int(plSent) : replyIs(reply, 0x00, 0x32) ? int(plRefused) : int(plBadAnswer);
    }
    case Request::StartupLogo: {
        QByteArray m = header(0x00, 0x18);
        m.append(char(0x01)); // one block
        m.append(char(0x01)); // block id 1: start-up logo
        m.append(char(r.logo.height));
        m.append(char(r.logo.width));
        m.append(verticalBands(r.logo));
        if (const int res = bus.request(0x05, m, 0x05, reply); res != plSent) return res;
        return replyIs(reply, 0x00, 0x19) && reply.size() >= 5 && reply[4] == 0x01 ? int(plSent) : int(plRefused);
    }
    case Request::GroupLogo: {
        // The group keeps its name and ringtone: read them first. The first group is the one
        // written; the program names no other.
        constexpr quint8 kGroup = 0x00;
        QByteArray get = header(0x00, 0x10);
        get.append(char(kGroup));
        if (const int res = bus.request(0x03, get, 0x03, reply); res != plSent) return res;
        if (!replyIs(reply, 0x00, 0x11)) return replyIs(reply, 0x00, 0x12) ? plRefused : plBadAnswer;
        if (reply.size() < 6) return plBadAnswer;
        const int nameLength = quint8(reply[5]);
        if (reply.size() < 6 + nameLength + 1) return plBadAnswer;
        const QByteArray name = reply.mid(6, nameLength);
        const char ringtone = reply[6 + nameLength];
        const QByteArray ota = otaBitmap(r.logo);
        QByteArray m = header(0x00, 0x13);
        m.append(char(kGroup));
        m.append(char(nameLength));
        m.append(name);
        m.append(ringtone);
        m.append(char(0x01)); // graphic on
        m.append(char(ota.size() >> 8));
        m.append(char(ota.size() & 0xFF));
        m.append(ota);
        if (const int res = bus.request(0x03, m, 0x03, reply); res != plSent) return res;
        return replyIs(reply, 0x00, 0x14) ? int(plSent) : replyIs(reply, 0x00, 0x15) ? int(plRefused) : int(plBadAnswer);
    }
    }
    return plBadKind;
}

// ---- Nokia 7110 family [nk7110] -----------------------------------------------------------

int send7110(Fbus& bus, const Request& r) {
    QByteArray reply;
    switch (r.what) {
    case Request::OperatorLogo:
    case Request::DeleteOperatorLogo: {
        // { 0x01a3, 0x01, oplogo?, MCC+MNC[3], 0, 4, len, xlen, ylen, 0, {bitmap}, 0x00 } with
        // {bitmap} = bitmaplen, 0, 0, rows; len counts from xlen to the bitmap's end, plus 2.
        const bool del = r.what == Request::DeleteOperatorLogo;
        const MonoLogo& logo = del ? blankOperatorLogo() : r.logo;
        const QByteArray rows = packedRows(logo);
        QByteArray m = header(0x01, 0xA3);
        m.append(char(0x01));
        m.append(char(0x01)); // a logo follows
        m.append(del ? kNoNetwork : r.network);
        m.append('\0');
        m.append(char(0x04));
        m.append(char(3 + 3 + rows.size() + 2));
        m.append(char(logo.width));
        m.append(char(logo.height));
        m.append('\0');
        m.append(char(rows.size()));
        m.append('\0');
        m.append('\0');
        m.append(rows);
        m.append('\0');
        if (const int res = bus.request(0x0A, m, 0x0A, reply); res != plSent) return res;
        return replyIs(reply, 0x01, 0xA4) ? int(plSent) : int(plRefused);
    }
    case Request::StartupLogo: {
        static const char kLead[] = {0x15, 0x00, 0x00, 0x00, 0x04, char(0xC0), 0x02, 0x00};
        QByteArray m = header(0x01, 0xEC);
        m.append(kLead, sizeof kLead);
        m.append(char(r.logo.height));
        m.append(char(0xC0));
        m.append(char(0x03));
        m.append('\0');
        m.append(char(r.logo.width));
        m.append(char(0xC0));
        m.append(char(0x04));
        m.append(char(0x03));
        m.append('\0');
        m.append(verticalBands(r.logo));
        if (const int res = bus.request(0x7A, m, 0x7A, reply); res != plSent) return res;
        const bool taken = replyIs(reply, 0x01, 0xEB) && reply.size() >= 6 && reply[4] == 0x15 && reply[5] == 0;
        return taken ? int(plSent) : int(plRefused);
    }
    case Request::GroupLogo: {
        // Caller groups are the phonebook memory 0x10, locations 1 to 5; only the graphic blocks
        // are written, so the group keeps its name and ringtone. Blocks: {id, 0, 0, size,
        // number, contents}, size counting the whole block.
        const QByteArray rows = packedRows(r.logo);
        QByteArray graphic;
        graphic.append(char(0x1B));
        graphic.append('\0');
        graphic.append('\0');
        graphic.append(char(5 + 4 + rows.size()));
        graphic.append(char(0x01));
        graphic.append(char(r.logo.width));
        graphic.append(char(r.logo.height));
        graphic.append('\0');
        graphic.append('\0');
        graphic.append(rows);
        static const char kOn[] = {0x1C, 0x00, 0x00, 0x08, 0x02, 0x01, 0x00, 0x00};
        QByteArray m = header(0x01, 0x0B);
        static const char kLead[] = {0x00, 0x01, 0x01, 0x00, 0x00, 0x0C, 0x00, 0x10, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02};
        m.append(kLead, sizeof kLead);
        m.append(graphic);
        m.append(kOn, sizeof kOn);
        if (const int res = bus.request(0x03, m, 0x03, reply); res != plSent) return res;
        if (!replyIs(reply, 0x01, 0x0C) || reply.size() < 7) return plBadAnswer;
        const quint8 code = quint8(reply[6]);
        return code == 0x3D || code == 0x3E ? int(plRefused) : int(plSent);
    }
    }
    return plBadKind;
}

} // namespace

int nokiaTransfer(SerialPort& port, Family family, const Request& request, int timeoutMs) {
    port.DiscardInput();
    Fbus bus(port, timeoutMs);
    if (const int r = bus.synchronise(); r != plSent) return r;
    return family == Family::Nokia7110 ? send7110(bus, request) : send6110(bus, request);
}

} // namespace vb::phonelink
