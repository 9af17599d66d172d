#pragma once
// Phones on a pseudo-terminal that speak their cable protocols as the public descriptions and the
// captured traffic of the free phone tools have them: a Nokia of the 6110 or of the 7110 family
// over FBUS version 2 (gnokii's nokia.txt, nk6110.txt, nk7110.txt, the answers quoted in gnokii's
// nk7110.c; Gammu's phone table for what each model has) and a Siemens over AT commands
// (AT^SBNW of Siemens' AT command set). They answer as a phone would, keep what was set, take
// logos only at their display's own size, and can be told to misbehave.
#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <cctype>
#include <chrono>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

namespace fakephone {

enum class Kind { Nokia6110, Nokia7110, Siemens };

enum class Fault {
    None,
    Silent,       // never answers
    DropFrame,    // ignores the first frame (Nokia) or the first command line (Siemens)
    CorruptCheck, // the first answer arrives with a wrong check byte (Siemens: garbled)
    Disconnect,   // the cable is pulled after the first 300 bytes (past the sync run)
    ErrorReply,   // answers every request with the phone's error reply
    Flood,        // sends noise without end and nothing else
    PowerUp,      // the cable is still powering up: the first 200 ms after the first byte are lost
};

// What a Nokia model has, from the public tools' phone tables.
struct Model {
    int startupWidth = 84, startupHeight = 48; // 96 x 60 on the 62xx, 96 x 65 on the 7110
    quint8 animationFeature = 0; // profile feature that switches a start-up animation off; 0: none
};

struct Logo {
    int width = 0, height = 0;
    std::vector<bool> black; // row-major from the top
    QString network;         // "26201"; empty where the phone keeps none
    int group = -1;          // caller group, 0 = the first
};

class FakePhone {
public:
    // lineRate > 0 makes every byte take the time it needs on a serial line of that many bit/s
    // (ten bits a byte), both ways; 0 delivers at once.
    // answerByte2: byte 2 of every Nokia answer; the notes write 0x01 for the 7110 family, the
    // captured 7110 answers carry 0x00 ("01 13 00 ed 15 00 ..."), the 6110 family 0x00.
    explicit FakePhone(Kind kind, Fault fault = Fault::None, int lineRate = 0, Model model = {}, int answerByte2 = -1)
        : m_kind(kind), m_fault(fault), m_lineRate(lineRate), m_model(model),
          m_byte2(quint8(answerByte2 >= 0 ? answerByte2 : kind == Kind::Nokia7110 ? 0x01 : 0x00)) {
        if (kind == Kind::Nokia7110 && model.startupWidth == 84) m_model.startupWidth = 96, m_model.startupHeight = 65;
        char name[256] = {};
        if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) return;
        m_device = QString::fromLocal8Bit(name);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_thread = std::thread([this] { run(); });
    }
    ~FakePhone() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        if (m_master >= 0) ::close(m_master);
        if (m_slave >= 0) ::close(m_slave);
    }
    FakePhone(const FakePhone&) = delete;
    FakePhone& operator=(const FakePhone&) = delete;

    QString device() const { return m_device; }
    std::optional<Logo> operatorLogo() { return locked(m_operator); }
    std::optional<Logo> groupLogo() { return locked(m_group); }
    std::optional<Logo> startupLogo() { return locked(m_startup); }
    int deletes() { return locked(m_deletes); }
    int badFrames() { return locked(m_badFrames); } // frames or packets that failed their check
    QByteArray received() { return locked(m_received); }
    // Caller group names as the phone keeps them (Latin-1 here; the 7110 family sends them as
    // UTF-16), and their ringtones.
    std::vector<QByteArray> groupNames() { return locked(m_groupNames); }
    std::vector<int> groupRingtones() { return locked(m_groupRingtones); }
    // The value the start-up setting of an animation phone holds: 0 shows the uploaded logo,
    // 1 (the default) the animation.
    int startupSetting() { return locked(m_startupSetting); }
    // Every message the phone took, its type byte first, then its block as the frames carried it.
    std::vector<QByteArray> messages() { return locked(m_messages); }
    // Answers the phone sent that were never acknowledged (sent again until it gave up, or still
    // waiting).
    int unacknowledged() {
        std::lock_guard lock(m_mutex);
        return m_unacked + (m_pending.isEmpty() ? 0 : 1);
    }
    // Waits until nothing has arrived for a while (bounded), so what was on the line is counted.
    void settle() {
        for (int i = 0; i < 40; ++i) {
            const qsizetype before = received().size();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (received().size() == before && i > 4) return;
        }
    }

private:
    template <class T> T locked(const T& v) {
        std::lock_guard lock(m_mutex);
        return v;
    }

    // ---- the line ----
    void run() {
        auto lastResend = std::chrono::steady_clock::now();
        while (!m_stop) {
            if (m_fault == Fault::Flood && m_master >= 0) {
                static const char noise[] = "\x1e\x0c\x00\x7f\x00\xff garbage \x55\xaa\r\nRING\r\n";
                (void)::write(m_master, noise, sizeof noise - 1);
            }
            pollfd p{m_master, POLLIN, 0};
            const int r = m_master >= 0 ? ::poll(&p, 1, 5) : (::usleep(5000), 0);
            if (m_kind != Kind::Siemens && !m_pending.isEmpty() &&
                std::chrono::steady_clock::now() - lastResend > std::chrono::milliseconds(150)) {
                // No acknowledgement came for the reply: send it again, as a phone does.
                lastResend = std::chrono::steady_clock::now();
                std::lock_guard lock(m_mutex);
                if (m_resends++ < 3) write(m_pending);
                else {
                    ++m_unacked; // the phone gives up
                    m_pending.clear();
                }
            }
            if (r <= 0 || !(p.revents & POLLIN)) continue;
            char buf[4096];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n <= 0) continue;
            onTheLine(n);
            std::lock_guard lock(m_mutex);
            m_received.append(buf, n);
            const auto now = std::chrono::steady_clock::now();
            if (!m_firstByte) m_firstByte = now;
            if (m_fault == Fault::PowerUp && now - *m_firstByte < std::chrono::milliseconds(200)) continue;
            m_in.append(buf, n);
            if (m_fault == Fault::Disconnect && m_received.size() >= 300) {
                ::close(m_master);
                m_master = -1;
                continue;
            }
            if (m_fault == Fault::Silent || m_fault == Fault::Flood) continue;
            lastResend = std::chrono::steady_clock::now();
            if (m_kind == Kind::Siemens) siemensInput();
            else nokiaInput();
        }
    }

    void write(const QByteArray& a) {
        if (m_master < 0 || a.isEmpty()) return;
        onTheLine(a.size());
        (void)::write(m_master, a.constData(), size_t(a.size()));
    }
    void onTheLine(qsizetype bytes) const {
        if (m_lineRate > 0) std::this_thread::sleep_for(std::chrono::microseconds(bytes * 10 * 1000000 / m_lineRate));
    }

    // ---- FBUS version 2 ----
    static QByteArray frame(quint8 type, const QByteArray& body) {
        QByteArray f;
        f.append(char(0x1E));
        f.append(char(0x0C)); // to the computer
        f.append(char(0x00)); // from the phone
        f.append(char(type));
        f.append(char(body.size() >> 8));
        f.append(char(body.size() & 0xFF));
        f.append(body);
        if (f.size() % 2) f.append('\0');
        char check[2] = {0, 0};
        for (int i = 0; i < f.size(); ++i) check[i % 2] = char(check[i % 2] ^ f[i]);
        f.append(check, 2);
        return f;
    }

    void nokiaInput() {
        // The phone's UART takes frames only after a run of 0x55 has synchronised it.
        if (!m_synced) {
            const int run = int(m_in.indexOf(QByteArray(32, char(0x55))));
            if (run < 0) {
                m_in = m_in.right(31);
                return;
            }
            m_synced = true;
            m_in.remove(0, run);
        }
        for (;;) {
            const int start = int(m_in.indexOf(char(0x1E)));
            if (start < 0) {
                m_in.clear();
                return;
            }
            m_in.remove(0, start);
            if (m_in.size() < 6) return;
            const int len = quint8(m_in[4]) << 8 | quint8(m_in[5]);
            if (m_in[1] != 0x00 || m_in[2] != 0x0C || len > 512) {
                m_in.remove(0, 1);
                continue;
            }
            const int total = 6 + len + len % 2 + 2;
            if (m_in.size() < total) return;
            char check[2] = {0, 0};
            for (int i = 0; i < total - 2; ++i) check[i % 2] = char(check[i % 2] ^ m_in[i]);
            if (check[0] != m_in[total - 2] || check[1] != m_in[total - 1]) {
                ++m_badFrames;
                m_in.remove(0, 1);
                continue;
            }
            const quint8 type = quint8(m_in[3]);
            const QByteArray body = m_in.mid(6, len);
            m_in.remove(0, total);
            if (type == 0x7F) {
                if (body.size() == 2 && !m_pending.isEmpty() && quint8(body[0]) == m_pendingType &&
                    quint8(body[1]) == (m_phoneSeq + 7) % 8)
                    m_pending.clear();
                continue;
            }
            if (body.size() < 2) continue;
            if (m_fault == Fault::DropFrame && !m_faulted) { // the acknowledgement is lost
                m_faulted = true; // as if it never arrived
                continue;
            }
            const quint8 seq = quint8(body[body.size() - 1]);
            QByteArray ack;
            ack.append(char(type));
            ack.append(char(seq & 0x07));
            write(frame(0x7F, ack));
            if (seq == m_lastSeq) continue; // sent again: our acknowledgement was late
            m_lastSeq = seq;
            if (seq & 0x40) m_message.clear();
            m_message.append(body.left(body.size() - 2));
            if (quint8(body[body.size() - 2]) > 1) continue;
            const QByteArray block = m_message;
            m_message.clear();
            m_messages.push_back(char(type) + block);
            if (block.size() < 4 || block[0] != 0x00 || block[1] != 0x01) continue;
            const QByteArray reply = m_kind == Kind::Nokia6110 ? answer6110(type, block) : answer7110(type, block);
            if (!reply.isEmpty()) sendReply(type, reply);
        }
    }

    void sendReply(quint8 type, const QByteArray& block) {
        QByteArray body = block;
        body.append(char(0x01));
        body.append(char(0x40 | m_phoneSeq));
        m_phoneSeq = quint8((m_phoneSeq + 1) % 8);
        QByteArray f = frame(type, body);
        if (!m_pending.isEmpty()) ++m_unacked; // the last answer was never acknowledged
        m_pending = f;
        m_pendingType = type;
        m_resends = 0;
        if (m_fault == Fault::CorruptCheck && !m_faulted) {
            m_faulted = true;
            f[f.size() - 1] = char(f[f.size() - 1] ^ 0x5A);
        }
        write(f);
    }

    QByteArray head(quint8 subtype) const {
        QByteArray h;
        h.append('\0');
        h.append(char(0x01));
        h.append(char(m_byte2));
        h.append(char(subtype));
        return h;
    }
    static QByteArray bytes(std::initializer_list<int> list) {
        QByteArray b;
        for (const int v : list) b.append(char(v));
        return b;
    }

    static QString network(const QByteArray& bcd) {
        const auto b = [&](int i) { return quint8(bcd[i]); };
        const int d[5] = {b(0) & 0xF, b(0) >> 4, b(1) & 0xF, b(2) & 0xF, b(2) >> 4};
        QString s;
        for (int v : d) s += QChar(char16_t('0' + v));
        return s;
    }

    // Rows running on, most significant bit first.
    static std::optional<Logo> rows(const QByteArray& bits, int w, int h) {
        if (w < 1 || h < 1 || bits.size() != (w * h + 7) / 8) return std::nullopt;
        Logo l{w, h, std::vector<bool>(size_t(w * h))};
        for (int i = 0; i < w * h; ++i) l.black[size_t(i)] = (quint8(bits[i / 8]) >> (7 - i % 8)) & 1;
        return l;
    }
    // Bands of eight rows, one byte per column, bit 0 on top.
    static std::optional<Logo> bands(const QByteArray& bits, int w, int h) {
        if (w < 1 || h < 1 || bits.size() != w * ((h + 7) / 8)) return std::nullopt;
        Logo l{w, h, std::vector<bool>(size_t(w * h))};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) l.black[size_t(y * w + x)] = (quint8(bits[(y / 8) * w + x]) >> (y % 8)) & 1;
        return l;
    }
    static std::optional<Logo> ota(const QByteArray& o) {
        if (o.size() < 4 || o[0] != 0 || o[3] != 1) return std::nullopt;
        return rows(o.mid(4), quint8(o[1]), quint8(o[2]));
    }

    void setOperator(std::optional<Logo> logo) {
        if (logo && logo->network == QLatin1String("00000")) { // no network: the logo is gone
            ++m_deletes;
            m_operator.reset();
        } else {
            m_operator = std::move(logo);
        }
    }

    // A logo the display takes only at its own size.
    static std::optional<Logo> sized(std::optional<Logo> logo, int w, int h) {
        return logo && logo->width == w && logo->height == h ? logo : std::nullopt;
    }

    // [nk6110]: 0x05 operator logo 0x30 / OK 0x31 / error 0x32, welcome message 0x18 / 0x19,
    // profile feature 0x10 / OK 0x11 / error 0x12; 0x03 caller group get 0x10 / 0x11 (error
    // 0x12), set 0x13 / OK 0x14 / error 0x15.
    QByteArray answer6110(quint8 type, const QByteArray& m) {
        const quint8 sub = quint8(m[3]);
        if (m_fault == Fault::ErrorReply) return head(quint8(sub + 2)) + char(0x7D);
        if (type == 0x05 && sub == 0x30) { // set operator logo
            std::optional<Logo> logo;
            if (m.size() >= 10 && (quint8(m[8]) << 8 | quint8(m[9])) == m.size() - 10) logo = sized(ota(m.mid(10)), 72, 14);
            if (!logo) return head(0x32) + char(0x7D);
            logo->network = network(m.mid(5, 3));
            setOperator(logo);
            return head(0x31);
        }
        if (type == 0x05 && sub == 0x10) { // profile feature {0x01, profile, feature, value}
            if (m.size() != 8 || m[4] != 0x01 || m_model.animationFeature == 0 || quint8(m[6]) != m_model.animationFeature)
                return head(0x12);
            m_startupSetting = quint8(m[7]);
            return head(0x11);
        }
        if (type == 0x05 && sub == 0x18) { // welcome message with a start-up logo block
            std::optional<Logo> logo;
            if (m.size() >= 8 && m[4] == 0x01 && m[5] == 0x01)
                logo = sized(bands(m.mid(8), quint8(m[7]), quint8(m[6])), m_model.startupWidth, m_model.startupHeight);
            if (!logo) return head(0x1A) + char(0x7D);
            m_startup = logo;
            return head(0x19);
        }
        if (type == 0x03 && sub == 0x10) { // get caller group
            const int g = m.size() >= 5 ? quint8(m[4]) : 99;
            if (g > 4) return head(0x12) + char(0x7D);
            QByteArray r = head(0x11);
            r.append(char(g));
            r.append(char(m_groupNames[size_t(g)].size()));
            r.append(m_groupNames[size_t(g)]);
            r.append(char(m_groupRingtones[size_t(g)]));
            r.append('\0');
            r.append(bytes({0x00, 0x82, 0x00, 0x48, 0x0E, 0x01}) + QByteArray(126, '\0'));
            return r;
        }
        if (type == 0x03 && sub == 0x13) { // set caller group
            std::optional<Logo> logo;
            if (m.size() >= 6) {
                const int g = quint8(m[4]), n = quint8(m[5]);
                if (g <= 4 && m.size() >= 6 + n + 4) {
                    const QByteArray name = m.mid(6, n);
                    const int at = 6 + n;
                    const bool kept = name == m_groupNames[size_t(g)] && quint8(m[at]) == m_groupRingtones[size_t(g)];
                    const int len = quint8(m[at + 2]) << 8 | quint8(m[at + 3]);
                    if (kept && m[at + 1] == 0x01 && len == m.size() - at - 4) logo = sized(ota(m.mid(at + 4)), 72, 14);
                    if (logo) logo->group = g;
                }
            }
            if (!logo) return head(0x15) + char(0x7D);
            m_group = logo;
            return head(0x14);
        }
        return {};
    }

    // ---- the 7110 family's phonebook [nk7110] ----
    // Blocks {id, 0, 0, blocksize, block no., {contents}, 0x00}.
    static QByteArray block(quint8 id, int number, const QByteArray& contents) {
        return bytes({id, 0, 0, int(contents.size()) + 6, number}) + contents + '\0';
    }
    static QByteArray utf16(const QByteArray& latin1) {
        QByteArray u;
        for (const char c : latin1) u.append('\0').append(c);
        return u;
    }
    // "Read memory" reply: {0x0108, 0x00, 0x01, code, 0x00, 0x00, z, xH, xL, yH, yL, 0x00, 0x00,
    // 0x00, no. of blocks, blocks}; code 0x0f with 0x34 in xH: location not found.
    QByteArray readGroup(const QByteArray& m) {
        const int location = m.size() >= 12 ? quint8(m[10]) << 8 | quint8(m[11]) : 0;
        if (m.size() != 14 || quint8(m[9]) != 0x10 || location < 1 || location > 5)
            return head(0x08) + bytes({0x00, 0x01, 0x0F, 0x00, 0x00, 0x0C, 0x34, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
        const size_t g = size_t(location - 1);
        QByteArray blocks;
        const QByteArray name = utf16(m_groupNames[g]);
        blocks += block(0x07, 1, char(name.size()) + name);
        blocks += block(0x0C, 2, bytes({m_groupRingtones[g], 0x00}));
        blocks += block(0x1C, 3, bytes({m_group && m_group->group == int(g) ? 1 : 0, 0x00}));
        blocks += block(0x1E, 4, bytes({location, 0x00}));
        QByteArray bits(126, '\0');
        if (m_group && m_group->group == int(g))
            for (int i = 0; i < 72 * 14; ++i)
                if (m_group->black[size_t(i)]) bits[i / 8] = char(quint8(bits[i / 8]) | 0x80 >> (i % 8));
        blocks += block(0x1B, 5, bytes({72, 14, 0x00, 0x00, 126}) + bits);
        return head(0x08) + bytes({0x00, 0x01, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x10, 0x00, location, 0x00, 0x00, 0x00, 5}) + blocks;
    }
    // "Set mem location": the phone writes the entry from the blocks it is given; a malformed
    // one is refused with 0x0f in byte 6 and the reason (0x3d wrong entry type) in byte 10.
    QByteArray writeGroup(const QByteArray& m) {
        const auto refuse = [&](int location) {
            return head(0x0C) + bytes({0x00, 0x01, 0x0F, 0x00, 0x00, 0x0C, 0x3D, 0x00, location, 0x10});
        };
        if (m.size() < 18 || m.mid(4, 6) != bytes({0x00, 0x01, 0x01, 0x00, 0x00, 0x0C}) || m[10] != 0 || m[11] != 0x10)
            return refuse(0);
        const int location = quint8(m[12]) << 8 | quint8(m[13]);
        if (location < 1 || location > 5 || m_fault == Fault::ErrorReply) return refuse(location);
        std::optional<Logo> logo;
        std::optional<QByteArray> name;
        std::optional<int> ringtone, on, number;
        int at = 18;
        for (int b = 0; b < quint8(m[17]); ++b) {
            if (at + 6 > m.size()) return refuse(location);
            const int size = quint8(m[at + 2]) << 8 | quint8(m[at + 3]);
            if (m[at + 1] != 0 || size < 6 || at + size > m.size() || quint8(m[at + 4]) != b + 1 || m[at + size - 1] != 0)
                return refuse(location);
            const QByteArray c = m.mid(at + 5, size - 6);
            switch (quint8(m[at])) {
            case 0x1B: // {width, height, 0, 0, bitmap size, bitmap}
                if (c.size() < 5 || c[2] != 0 || c[3] != 0 || quint8(c[4]) != c.size() - 5) return refuse(location);
                logo = sized(rows(c.mid(5), quint8(c[0]), quint8(c[1])), 72, 14);
                if (!logo) return refuse(location);
                break;
            case 0x1C: on = c.isEmpty() ? -1 : quint8(c[0]); break;
            case 0x1E: number = c.isEmpty() ? -1 : quint8(c[0]); break;
            case 0x0C: ringtone = c.isEmpty() ? -1 : quint8(c[0]); break;
            case 0x07: {
                if (c.isEmpty()) return refuse(location);
                QByteArray u = c.mid(1, quint8(c[0]));
                while (u.endsWith(QByteArray(2, '\0'))) u.chop(2);
                QByteArray latin1;
                for (int i = 1; i < u.size(); i += 2) latin1.append(u[i]);
                name = latin1;
                break;
            }
            default: return refuse(location);
            }
            at += size;
        }
        if (at != m.size() || !logo || on != 1 || number != location) return refuse(location);
        // What the write leaves out, the entry loses.
        const size_t g = size_t(location - 1);
        m_groupNames[g] = name.value_or(QByteArray());
        m_groupRingtones[g] = ringtone.value_or(0);
        logo->group = location - 1;
        m_group = logo;
        return head(0x0C) + bytes({0x00, 0x01, 0x00, 0x00, 0x00, 0x0C, 0x00, location, 0x10});
    }

    QByteArray answer7110(quint8 type, const QByteArray& m) {
        const quint8 sub = quint8(m[3]);
        if (type == 0x0A && sub == 0xA3) {
            // {0x01a3, 0x01, oplogo?, MCC+MNC[3], 0?, 4?, len, xlen(78), ylen(21), 0, {bitmap}, 0x00
            // (padding)} with {bitmap} = bitmaplen, 0, 0, rows and len = 8 + bitmaplen; the padding
            // byte is taken whether it comes or not.
            std::optional<Logo> logo;
            if (m_fault != Fault::ErrorReply && m.size() >= 18 && m[4] == 0x01 && m[5] == 0x01 && m[9] == 0 && m[10] == 0x04 &&
                m[14] == 0 && m[16] == 0 && m[17] == 0) {
                const int bitlen = quint8(m[15]);
                const bool whole = m.size() == 18 + bitlen || (m.size() == 18 + bitlen + 1 && m.endsWith('\0'));
                if (quint8(m[11]) == 8 + bitlen && whole) logo = sized(rows(m.mid(18, bitlen), quint8(m[12]), quint8(m[13])), 78, 21);
            }
            if (!logo) return head(0xA5);
            logo->network = network(m.mid(6, 3));
            setOperator(logo);
            return head(0xA4);
        }
        if (type == 0x7A && sub == 0xEC) { // set setting 0x15, the start-up logo
            std::optional<Logo> logo;
            if (m_fault != Fault::ErrorReply && m.size() >= 21 && m.mid(4, 8) == QByteArray::fromHex("1500000004c00200") &&
                m.mid(13, 3) == QByteArray::fromHex("c00300") && m.mid(17, 4) == QByteArray::fromHex("c0040300"))
                logo = sized(bands(m.mid(21), quint8(m[16]), quint8(m[12])), m_model.startupWidth, m_model.startupHeight);
            if (logo) m_startup = logo;
            return head(0xEB) + bytes({0x15, logo ? 0x00 : 0x01});
        }
        if (type == 0x03 && sub == 0x07) return readGroup(m);
        if (type == 0x03 && sub == 0x0B) return writeGroup(m);
        return {};
    }

    // ---- AT commands ----
    void siemensInput() {
        for (;;) {
            if (m_dataMode) {
                const int end = int(m_in.indexOf(char(0x1A)));
                const int esc = int(m_in.indexOf(char(0x1B)));
                if (esc >= 0 && (end < 0 || esc < end)) { // the upload is abandoned
                    m_in.remove(0, esc + 1);
                    m_dataMode = false;
                    m_upload.clear();
                    write("\r\nOK\r\n");
                    continue;
                }
                if (end < 0) return;
                const QByteArray hex = m_in.left(end);
                m_in.remove(0, end + 1);
                m_dataMode = false;
                packet(hex);
                continue;
            }
            const int end = int(m_in.indexOf('\r'));
            if (end < 0) return;
            const QByteArray line = m_in.left(end).trimmed();
            m_in.remove(0, end + 1);
            if (line.isEmpty()) continue;
            if (m_fault == Fault::DropFrame && !m_faulted) {
                m_faulted = true;
                continue;
            }
            write(line + "\r"); // echo, as the phones do by default
            command(line);
        }
    }

    void result(const QByteArray& r) {
        if (m_fault == Fault::CorruptCheck && !m_faulted) {
            m_faulted = true;
            write("\r\nO\xcbK\r\n");
            return;
        }
        write("\r\n" + r + "\r\n");
    }

    void command(const QByteArray& line) {
        if (line == "AT" || line == "ATZ" || line == "ATE0" || line.startsWith("AT+CMEE")) return result("OK");
        if (!line.startsWith("AT^SBNW=")) return result("ERROR");
        const QList<QByteArray> args = line.mid(8).split(',');
        if (args.size() < 3 || args[0] != "\"bmp\"" || args[1] != "0") return result("+CME ERROR: 4");
        bool ok1 = true, ok2 = true;
        const int act = args[2].toInt(&ok1);
        if (!ok1) return result("+CME ERROR: 4");
        if (act == 0 && args.size() == 3) { // delete the entry
            ++m_deletes;
            m_operator.reset();
            return result("OK");
        }
        const int max = args.size() == 4 ? args[3].toInt(&ok2) : -1;
        if (!ok2 || max < 1 || act < 1 || act > max || act != m_nextPacket || (act > 1 && max != m_packets)) {
            m_nextPacket = 1;
            m_upload.clear();
            return result("+CME ERROR: 4");
        }
        if (m_fault == Fault::ErrorReply) return result("+CME ERROR: 3");
        m_packets = max;
        m_dataMode = true;
        write("\r\n> ");
    }

    void packet(const QByteArray& hex) {
        bool good = hex.size() % 2 == 0 && hex.size() <= 2 * 508;
        for (char c : hex) good = good && std::isxdigit(static_cast<unsigned char>(c));
        if (!good) {
            ++m_badFrames;
            m_nextPacket = 1;
            m_upload.clear();
            return result("+CME ERROR: INV CHAR IN TEXT");
        }
        m_upload.append(QByteArray::fromHex(hex));
        if (m_nextPacket++ < m_packets) return result("OK");
        m_nextPacket = 1;
        std::optional<Logo> logo = bmp(m_upload);
        m_upload.clear();
        if (!logo) return result("+CME ERROR: INV CHAR IN TEXT");
        m_operator = logo;
        result("OK");
    }

    // A 1-bit Windows bitmap, bottom-up rows padded to four bytes.
    static std::optional<Logo> bmp(const QByteArray& b) {
        const auto u32 = [&](int at) {
            quint32 v = 0;
            for (int i = 3; i >= 0; --i) v = v << 8 | quint8(b[at + i]);
            return v;
        };
        if (b.size() < 62 || b[0] != 'B' || b[1] != 'M' || u32(2) != quint32(b.size()) || u32(14) != 40) return std::nullopt;
        const int w = int(u32(18)), h = int(u32(22)), off = int(u32(10));
        if (quint8(b[28]) != 1 || u32(30) != 0 || w < 1 || h < 1 || w > 255 || h > 255) return std::nullopt;
        const int stride = (w + 31) / 32 * 4;
        if (off < 62 || off + stride * h > b.size()) return std::nullopt;
        const bool zeroBlack = quint8(b[54]) + quint8(b[55]) + quint8(b[56]) < quint8(b[58]) + quint8(b[59]) + quint8(b[60]);
        Logo l{w, h, std::vector<bool>(size_t(w * h))};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool one = (quint8(b[off + (h - 1 - y) * stride + x / 8]) >> (7 - x % 8)) & 1;
                l.black[size_t(y * w + x)] = one != zeroBlack;
            }
        return l;
    }

    Kind m_kind;
    Fault m_fault;
    int m_lineRate = 0;
    Model m_model;
    quint8 m_byte2;
    int m_master = -1, m_slave = -1;
    QString m_device;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    QByteArray m_received, m_in;
    bool m_faulted = false;
    // FBUS
    QByteArray m_message, m_pending;
    quint8 m_pendingType = 0, m_phoneSeq = 0;
    int m_lastSeq = -1, m_resends = 0, m_unacked = 0;
    bool m_synced = false;
    std::optional<std::chrono::steady_clock::time_point> m_firstByte;
    std::vector<QByteArray> m_messages;
    // AT
    bool m_dataMode = false;
    int m_nextPacket = 1, m_packets = 0;
    QByteArray m_upload;
    // what the phone keeps
    std::optional<Logo> m_operator, m_group, m_startup;
    int m_deletes = 0, m_badFrames = 0;
    std::vector<QByteArray> m_groupNames{"Familie", "VIP", "Freunde", "Kollegen", "Andere"};
    std::vector<int> m_groupRingtones{0x10, 0x11, 0x12, 0x13, 0x14};
    int m_startupSetting = 1;
};

} // namespace fakephone
