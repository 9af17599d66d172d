// Nokia phones over FBUS version 2 (sources in PhoneLink.cpp's head comment).
//
// The cable is powered from DTR: it is given its time to power up, then the phone's UART is
// synchronised with a run of 0x55 [gammu]. One request is one message to the phone, split into
// frames of at most kChunk bytes; every frame waits for the phone's acknowledgement (type 0x7f)
// and is sent again when none comes, three times in all; until the phone has acknowledged
// anything, each new try starts with a fresh sync run, as a cable still powering up may have
// swallowed the first. The phone's reply is acknowledged frame by frame and reassembled. A reply
// with a bad check byte is dropped unacknowledged, so the phone sends it again. Frames the
// phone sends of its own accord are acknowledged and otherwise ignored. Answers are judged by
// their message type, subtype (byte 3) and result bytes; bytes 0 to 2 are not looked at, as the
// phones fill byte 2 differently from the requests [gammu].
#include "platform/phone/PhoneLink.h"
#include "platform/phone/PhoneLinkDetail.h"

#include <chrono>
#include <initializer_list>
#include <optional>
#include <thread>

namespace vb::phonelink {
namespace {

using Clock = std::chrono::steady_clock;

constexpr quint8 kFrameId = 0x1E;      // cable [nokia]
constexpr quint8 kPhone = 0x00, kComputer = 0x0C;
constexpr quint8 kAckType = 0x7F;      // [nk6110] 0x7f
constexpr int kChunk = 120;            // block bytes per frame [fbus]
constexpr int kAttempts = 3;
constexpr int kSyncBytes = 250;        // [gammu], gnokii's default init length
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
    if (body.size() % 2) f.append('\0'); // padding, not counted in the length [fbus]
    quint8 even = 0, odd = 0;
    for (qsizetype i = 0; i < f.size(); ++i) (i % 2 ? odd : even) ^= quint8(f[i]);
    f.append(char(even));
    f.append(char(odd));
    return f;
}

class Fbus {
public:
    Fbus(SerialPort& port, int timeoutMs) : m_port(port), m_timeoutMs(timeoutMs) {}

    // The cable's supply comes from DTR, raised when the port was opened: wait for it, then sync.
    int start(int powerUpMs) {
        if (powerUpMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(powerUpMs));
        m_port.DiscardInput(); // what a powering-up cable sent is noise
        return synchronise();
    }

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
                if (attempt > 0 && !m_linkUp)
                    if (const int r = synchronise(); r != plSent) return r;
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
                m_linkUp = true;
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
    bool m_linkUp = false; // the phone has acknowledged a frame
};

// Every message block starts 0x00 0x01, a byte the 6110 family sends as 0x00 and the 7110 family
// mostly as 0x01 [nk6110 "Frames list format"], [gammu], then the subtype.
QByteArray header(quint8 b2, quint8 subtype) {
    QByteArray h;
    h.append('\0');
    h.append(char(0x01));
    h.append(char(b2));
    h.append(char(subtype));
    return h;
}
QByteArray header6110(quint8 subtype) { return header(0x00, subtype); }
QByteArray header7110(quint8 subtype) { return header(0x01, subtype); }

QByteArray bytes(std::initializer_list<int> list) {
    QByteArray b;
    for (const int v : list) b.append(char(v));
    return b;
}

// The subtype of an answer; the bytes before it carry nothing the link needs.
bool replyIs(const QByteArray& reply, quint8 subtype) { return reply.size() >= 4 && quint8(reply[3]) == subtype; }

// Deleting: the documents know no delete message for the 6110 family. The operator logo is shown
// only while the phone is registered with the network stored beside it, so the logo is replaced
// by a blank one for the network 000 00, which no phone is ever registered with: the phone shows
// the operator's name again.
MonoLogo blankLogo(int width, int height) {
    MonoLogo blank;
    blank.width = width;
    blank.height = height;
    blank.black.assign(size_t(width) * size_t(height), false);
    return blank;
}
const QByteArray kNoNetwork("\x00\xF0\x00", 3);

// ---- Nokia 6110 family [nk6110], [gammu] ----------------------------------------------------

QByteArray withLength16(const QByteArray& data) {
    QByteArray m;
    m.append(char(data.size() >> 8));
    m.append(char(data.size() & 0xFF));
    return m + data;
}

// Animation phones show the uploaded logo only once their start-up setting names it.
int showUploadedStartup6110(Fbus& bus, const QByteArray& features) {
    if (features.isEmpty()) return plSent;
    int result = plRefused;
    for (const char feature : features) {
        QByteArray reply;
        const QByteArray m = header6110(0x10) + bytes({0x01, 0x00, quint8(feature), 0x00});
        if (const int r = bus.request(0x05, m, 0x05, reply); r != plSent) return r;
        if (replyIs(reply, 0x11)) return plSent;
        result = replyIs(reply, 0x12) ? int(plRefused) : int(plBadAnswer);
    }
    return result;
}

int send6110(Fbus& bus, const Request& r) {
    QByteArray reply;
    switch (r.what) {
    case Request::OperatorLogo:
    case Request::DeleteOperatorLogo: {
        const bool del = r.what == Request::DeleteOperatorLogo;
        QByteArray m = header6110(0x30);
        m.append(char(0x01)); // location
        m.append(del ? kNoNetwork : r.network);
        m.append(withLength16(otaBitmap(del ? blankLogo(72, 14) : r.logo)));
        if (const int res = bus.request(0x05, m, 0x05, reply); res != plSent) return res;
        return replyIs(reply, 0x31) ? int(plSent) : replyIs(reply, 0x32) ? int(plRefused) : int(plBadAnswer);
    }
    case Request::StartupLogo: {
        if (const int res = showUploadedStartup6110(bus, r.startupFeatures); res != plSent) return res;
        QByteArray m = header6110(0x18);
        m.append(char(0x01)); // one block
        m.append(char(0x01)); // block id 1: start-up logo
        m.append(char(r.logo.height));
        m.append(char(r.logo.width));
        m.append(verticalBands(r.logo));
        if (const int res = bus.request(0x05, m, 0x05, reply); res != plSent) return res;
        return replyIs(reply, 0x19) ? int(plSent) : int(plRefused);
    }
    case Request::GroupLogo: {
        // The group keeps its name and ringtone: read them first. The first group is the one
        // written; the program names no other.
        constexpr quint8 kGroup = 0x00;
        if (const int res = bus.request(0x03, header6110(0x10) + char(kGroup), 0x03, reply); res != plSent) return res;
        if (!replyIs(reply, 0x11)) return replyIs(reply, 0x12) ? plRefused : plBadAnswer;
        if (reply.size() < 6) return plBadAnswer;
        const int nameLength = quint8(reply[5]);
        if (reply.size() < 6 + nameLength + 1) return plBadAnswer;
        QByteArray m = header6110(0x13);
        m.append(char(kGroup));
        m.append(reply.mid(5, 1 + nameLength + 1)); // name length, name, ringtone
        m.append(char(0x01));                       // graphic on
        m.append(withLength16(otaBitmap(r.logo)));
        if (const int res = bus.request(0x03, m, 0x03, reply); res != plSent) return res;
        return replyIs(reply, 0x14) ? int(plSent) : replyIs(reply, 0x15) ? int(plRefused) : int(plBadAnswer);
    }
    }
    return plBadKind;
}

// ---- Nokia 7110 family [nk7110], [gammu] ----------------------------------------------------

// A phonebook block: {id, 0, size high, size low, number, contents, 0x00}, size counting the
// whole block.
QByteArray block7110(quint8 id, int number, const QByteArray& contents) {
    const int size = int(contents.size()) + 6;
    return bytes({id, 0x00, size >> 8 & 0xFF, size & 0xFF, number}) + contents + '\0';
}

constexpr quint8 kCallerGroups = 0x10; // memory type of the caller groups
constexpr quint8 kFirstGroup = 0x01;   // locations 1 to 5; the program names no other than the first

// A phonebook answer with 0x0f in byte 6 is the phone's error; the reason is in byte 10.
bool phonebookError(const QByteArray& reply) { return reply.size() > 6 && quint8(reply[6]) == 0x0F; }

struct GroupEntry {
    std::optional<QByteArray> name; // unicode, without its terminating zeros
    std::optional<quint8> ringtone;
};

// The blocks of a "Read memory" answer, from byte 18 on, their count in byte 17.
std::optional<GroupEntry> readGroupEntry(const QByteArray& reply) {
    if (reply.size() < 18) return std::nullopt;
    GroupEntry entry;
    int at = 18;
    for (int b = 0; b < quint8(reply[17]); ++b) {
        if (at + 6 > reply.size()) return std::nullopt;
        const int size = quint8(reply[at + 2]) << 8 | quint8(reply[at + 3]);
        if (size < 6 || at + size > reply.size()) return std::nullopt;
        const QByteArray contents = reply.mid(at + 5, size - 6);
        const quint8 id = quint8(reply[at]);
        if (id == 0x07 && !contents.isEmpty()) {
            QByteArray name = contents.mid(1, quint8(contents[0]));
            while (name.size() >= 2 && name.endsWith(QByteArray(2, '\0'))) name.chop(2);
            entry.name = name;
        } else if (id == 0x0C && !contents.isEmpty()) {
            entry.ringtone = quint8(contents[0]) != 0 || contents.size() < 3 ? quint8(contents[0]) : quint8(contents[2]);
        }
        at += size;
    }
    return entry;
}

int send7110(Fbus& bus, const Request& r) {
    QByteArray reply;
    switch (r.what) {
    case Request::OperatorLogo:
    case Request::DeleteOperatorLogo: {
        // {0x01, logo on, MCC+MNC, 0, 4, len, w, h, 0, bitmap length, 0, 0, rows}; len counts
        // from the width to the bitmap's end, plus 2. No padding byte follows [gammu].
        const bool del = r.what == Request::DeleteOperatorLogo;
        const MonoLogo& logo = del ? blankLogo(78, 21) : r.logo;
        const QByteArray rows = packedRows(logo);
        QByteArray m = header7110(0xA3);
        m.append(char(0x01));
        m.append(char(0x01)); // a logo follows
        m.append(del ? kNoNetwork : r.network);
        m.append(bytes({0x00, 0x04, int(8 + rows.size()), logo.width, logo.height, 0x00, int(rows.size()), 0x00, 0x00}));
        m.append(rows);
        if (const int res = bus.request(0x0A, m, 0x0A, reply); res != plSent) return res;
        return replyIs(reply, 0xA4) ? int(plSent) : int(plRefused);
    }
    case Request::StartupLogo: {
        QByteArray m = header7110(0xEC);
        m.append(bytes({0x15, 0x00, 0x00, 0x00, 0x04, 0xC0, 0x02, 0x00, r.logo.height, 0xC0, 0x03, 0x00,
                        r.logo.width, 0xC0, 0x04, 0x03, 0x00}));
        m.append(verticalBands(r.logo));
        if (const int res = bus.request(0x7A, m, 0x7A, reply); res != plSent) return res;
        // {0x01eb, number, 0x00}: a result other than 0 is a refusal.
        const bool taken = replyIs(reply, 0xEB) && (reply.size() < 6 || reply[5] == 0);
        return taken ? int(plSent) : int(plRefused);
    }
    case Request::GroupLogo: {
        // The group is read first, so that its name and ringtone are written back unchanged.
        const QByteArray read = header7110(0x07) + bytes({0x01, 0x01, 0x00, 0x01, 0x02, kCallerGroups, 0x00, kFirstGroup, 0x00, 0x00});
        if (const int res = bus.request(0x03, read, 0x03, reply); res != plSent) return res;
        if (!replyIs(reply, 0x08)) return plBadAnswer;
        if (phonebookError(reply)) return plRefused;
        const std::optional<GroupEntry> entry = readGroupEntry(reply);
        if (!entry) return plBadAnswer;

        QByteArray blocks;
        int count = 0;
        blocks.append(block7110(0x1C, ++count, bytes({0x01, 0x00}))); // graphic on
        if (entry->ringtone) blocks.append(block7110(0x0C, ++count, bytes({*entry->ringtone, 0x00})));
        blocks.append(block7110(0x1E, ++count, bytes({kFirstGroup, 0x00})));
        if (entry->name) {
            const QByteArray& name = *entry->name;
            blocks.append(block7110(0x07, ++count, char(name.size() + 2) + name + '\0'));
        }
        const QByteArray rows = packedRows(r.logo);
        blocks.append(block7110(0x1B, ++count, bytes({r.logo.width, r.logo.height, 0x00, 0x00, int(rows.size())}) + rows));

        QByteArray m = header6110(0x0B);
        m.append(bytes({0x00, 0x01, 0x01, 0x00, 0x00, 0x0C, 0x00, kCallerGroups, 0x00, kFirstGroup, 0x00, 0x00, 0x00, count}));
        m.append(blocks);
        if (const int res = bus.request(0x03, m, 0x03, reply); res != plSent) return res;
        if (!replyIs(reply, 0x0C)) return plBadAnswer;
        return phonebookError(reply) ? int(plRefused) : int(plSent);
    }
    }
    return plBadKind;
}

} // namespace

int nokiaTransfer(SerialPort& port, Family family, const Request& request, int timeoutMs, int powerUpMs) {
    Fbus bus(port, timeoutMs);
    if (const int r = bus.start(powerUpMs); r != plSent) return r;
    return family == Family::Nokia7110 ? send7110(bus, request) : send6110(bus, request);
}

} // namespace vb::phonelink
