#pragma once
// Phones on a pseudo-terminal that speak their cable protocols as the public descriptions have
// them: a Nokia of the 6110 or of the 7110 family over FBUS version 2 (gnokii's nokia.txt,
// nk6110.txt, nk7110.txt) and a Siemens over AT commands (AT^SBNW of Siemens' AT command set).
// They answer as a phone would, keep what was set, and can be told to misbehave.
#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <cctype>
#include <chrono>
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
    Disconnect,   // the cable is pulled after the first 200 bytes
    ErrorReply,   // answers every request with the phone's error reply
    Flood,        // sends noise without end and nothing else
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
    explicit FakePhone(Kind kind, Fault fault = Fault::None, int lineRate = 0)
        : m_kind(kind), m_fault(fault), m_lineRate(lineRate) {
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
    // Caller group names as the phone keeps them (the 6110 family reports them).
    std::vector<QByteArray> groupNames() { return locked(m_groupNames); }

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
                if (m_resends++ < 3) write(m_pending);
            }
            if (r <= 0 || !(p.revents & POLLIN)) continue;
            char buf[4096];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n <= 0) continue;
            onTheLine(n);
            std::lock_guard lock(m_mutex);
            m_received.append(buf, n);
            m_in.append(buf, n);
            if (m_fault == Fault::Disconnect && m_received.size() >= 200) {
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
            if (m_fault == Fault::DropFrame && !m_faulted) {
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
        m_pending = f;
        m_pendingType = type;
        m_resends = 0;
        if (m_fault == Fault::CorruptCheck && !m_faulted) {
            m_faulted = true;
            f[f.size() - 1] = char(f[f.size() - 1] ^ 0x5A);
        }
        write(f);
    }

    static QByteArray head(quint8 a, quint8 b) {
        QByteArray h;
        h.append('\0');
        h.append(char(0x01));
        h.append(char(a));
        h.append(char(b));
        return h;
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

    QByteArray answer6110(quint8 type, const QByteArray& m) {
        const quint8 sub = quint8(m[3]);
        if (m_fault == Fault::ErrorReply) {
            QByteArray e = head(0x00, quint8(sub + 2));
            e.append(char(0x7D));
            return e;
        }
        if (type == 0x05 && sub == 0x30) { // set operator logo
            std::optional<Logo> logo;
            if (m.size() >= 10 && (quint8(m[8]) << 8 | quint8(m[9])) == m.size() - 10) logo = ota(m.mid(10));
            if (!logo) return head(0x00, 0x32) + char(0x7D);
            logo->network = network(m.mid(5, 3));
            setOperator(logo);
            return head(0x00, 0x31);
        }
        if (type == 0x05 && sub == 0x18) { // welcome message with a start-up logo block
            std::optional<Logo> logo;
            if (m.size() >= 8 && m[4] == 0x01 && m[5] == 0x01) logo = bands(m.mid(8), quint8(m[7]), quint8(m[6]));
            if (!logo) return head(0x00, 0x19) + char(0x00);
            m_startup = logo;
            return head(0x00, 0x19) + char(0x01);
        }
        if (type == 0x03 && sub == 0x10) { // get caller group
            const int g = m.size() >= 5 ? quint8(m[4]) : 99;
            if (g > 4) return head(0x00, 0x12) + char(0x7D);
            QByteArray r = head(0x00, 0x11);
            r.append(char(g));
            r.append(char(m_groupNames[size_t(g)].size()));
            r.append(m_groupNames[size_t(g)]);
            r.append(char(0x10 + g)); // ringtone
            r.append('\0');
            const QByteArray blank(4 + 126, '\0');
            r.append(char(blank.size() >> 8));
            r.append(char(blank.size() & 0xFF));
            r.append(QByteArray::fromHex("00480E01") + blank.mid(4));
            return r;
        }
        if (type == 0x03 && sub == 0x13) { // set caller group
            std::optional<Logo> logo;
            if (m.size() >= 6) {
                const int g = quint8(m[4]), n = quint8(m[5]);
                if (g <= 4 && m.size() >= 6 + n + 4) {
                    const QByteArray name = m.mid(6, n);
                    const int at = 6 + n;
                    const bool kept = name == m_groupNames[size_t(g)] && quint8(m[at]) == 0x10 + g;
                    const int len = quint8(m[at + 2]) << 8 | quint8(m[at + 3]);
                    if (kept && m[at + 1] == 0x01 && len == m.size() - at - 4) logo = ota(m.mid(at + 4));
                    if (logo) logo->group = g;
                }
            }
            if (!logo) return head(0x00, 0x15) + char(0x7D);
            m_group = logo;
            return head(0x00, 0x14);
        }
        return {};
    }

    QByteArray answer7110(quint8 type, const QByteArray& m) {
        const quint8 sub = quint8(m[3]);
        if (type == 0x0A && sub == 0xA3) { // set operator logo
            std::optional<Logo> logo;
            if (m_fault != Fault::ErrorReply && m.size() >= 18 && m[4] == 0x01 && m[5] == 0x01 && m[10] == 0x04) {
                const int bitlen = quint8(m[15]);
                if (quint8(m[11]) == 8 + bitlen && m.size() == 18 + bitlen + 1)
                    logo = rows(m.mid(18, bitlen), quint8(m[12]), quint8(m[13]));
            }
            if (!logo) return head(0x01, 0xA5);
            logo->network = network(m.mid(6, 3));
            setOperator(logo);
            return head(0x01, 0xA4);
        }
        if (type == 0x7A && sub == 0xEC) { // startup logo setting
            std::optional<Logo> logo;
            if (m_fault != Fault::ErrorReply && m.size() >= 21 && m.mid(4, 8) == QByteArray::fromHex("1500000004c00200") &&
                m.mid(13, 3) == QByteArray::fromHex("c00300") && m.mid(17, 4) == QByteArray::fromHex("c0040300"))
                logo = bands(m.mid(21), quint8(m[16]), quint8(m[12]));
            QByteArray r = head(0x01, 0xEB);
            r.append(char(0x15));
            r.append(logo ? '\0' : char(0x01));
            if (logo) m_startup = logo;
            return r;
        }
        if (type == 0x03 && sub == 0x0B) { // set memory location
            std::optional<Logo> logo;
            bool on = false;
            int location = 0;
            if (m_fault != Fault::ErrorReply && m.size() >= 18 && m[10] == 0x00 && m[11] == 0x10) {
                location = quint8(m[12]) << 8 | quint8(m[13]);
                int at = 18;
                for (int b = 0; b < quint8(m[17]) && at + 5 <= m.size(); ++b) {
                    const int size = quint8(m[at + 3]);
                    if (size < 5 || at + size > m.size()) break;
                    const QByteArray c = m.mid(at + 5, size - 5);
                    if (m[at] == 0x1B && c.size() >= 4) logo = rows(c.mid(4), quint8(c[0]), quint8(c[1]));
                    if (m[at] == 0x1C && !c.isEmpty()) on = c[0] == 0x01;
                    at += size;
                }
            }
            const bool good = logo && on && location >= 1 && location <= 5;
            if (good) {
                logo->group = location - 1;
                m_group = logo;
            }
            QByteArray r = head(0x01, 0x0C);
            r.append('\0');
            r.append(char(0x01));
            r.append(good ? '\0' : char(0x3D));
            return r;
        }
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
    int m_lastSeq = -1, m_resends = 0;
    // AT
    bool m_dataMode = false;
    int m_nextPacket = 1, m_packets = 0;
    QByteArray m_upload;
    // what the phone keeps
    std::optional<Logo> m_operator, m_group, m_startup;
    int m_deletes = 0, m_badFrames = 0;
    std::vector<QByteArray> m_groupNames{"Familie", "VIP", "Freunde", "Kollegen", "Andere"};
};

} // namespace fakephone
