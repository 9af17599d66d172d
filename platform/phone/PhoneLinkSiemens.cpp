// Siemens phones with AT commands (sources in PhoneLink.cpp's head comment, [siemens]).
//
// "AT" first, so a silent line or another device on the port is noticed before any data goes
// out. The logo goes as a 1-bit Windows bitmap in packets of at most kPacket bytes: for each
// packet the command AT^SBNW="bmp",0,<n>,<count>, then, once the phone shows its prompt ">",
// the packet in hexadecimal ended by Ctrl-Z, and the phone's final answer. The operator logo
// of these phones belongs to the home network; the network code takes no part in the command.
// Echoed command lines and unsolicited lines are skipped; only OK counts as success.
#include "platform/phone/PhoneLink.h"
#include "platform/phone/PhoneLinkDetail.h"

#include <chrono>

namespace vb::phonelink {
namespace {

using Clock = std::chrono::steady_clock;

// 176 bytes (352 hexadecimal digits) a packet, as the public tool sends them [gammu]; well
// within the 508 of the command set whether it counts bytes or digits.
constexpr int kPacket = 176;
constexpr int kMaxLine = 512;

class AtLine {
public:
    AtLine(SerialPort& port, int timeoutMs) : m_port(port), m_timeoutMs(timeoutMs) {}

    bool write(const QByteArray& text) {
        const int ms = m_timeoutMs + int(qint64(text.size()) * 10 * 1000 / qMax(1, m_port.BaudRate()));
        return m_port.WriteAll(text, ms);
    }

    // Sends a command line and waits for its final answer.
    int command(const QByteArray& line) {
        if (!write(line + '\r')) return plLineError;
        return finalAnswer(line);
    }

    // Waits for the prompt that asks for the data of a command already sent.
    int prompt(const QByteArray& echo) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(m_timeoutMs);
        for (;;) {
            // The prompt ends no line: look for it in what is pending.
            const int at = int(m_in.indexOf('>'));
            const int lineEnd = lineEndIn(m_in);
            if (at >= 0 && (lineEnd < 0 || at < lineEnd)) {
                m_in.remove(0, at + 1);
                return plSent;
            }
            if (lineEnd >= 0) {
                const QByteArray l = takeLine(lineEnd);
                if (const int r = classify(l, echo); r != -1) return r == plSent ? int(plBadAnswer) : r;
                continue;
            }
            if (const int r = fill(deadline); r != plSent) return r;
        }
    }

    int finalAnswer(const QByteArray& echo) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(m_timeoutMs);
        for (;;) {
            const int lineEnd = lineEndIn(m_in);
            if (lineEnd >= 0) {
                const QByteArray l = takeLine(lineEnd);
                if (const int r = classify(l, echo); r != -1) return r;
                continue;
            }
            if (const int r = fill(deadline); r != plSent) return r;
        }
    }

private:
    static int lineEndIn(const QByteArray& b) {
        for (int i = 0; i < b.size(); ++i)
            if (b[i] == '\r' || b[i] == '\n') return i;
        return -1;
    }

    QByteArray takeLine(int end) {
        const QByteArray l = m_in.left(end).trimmed();
        m_in.remove(0, end + 1);
        return l;
    }

    // -1 for lines that decide nothing (empty, echo, unsolicited), else a result.
    int classify(const QByteArray& l, const QByteArray& echo) {
        if (l.isEmpty() || l == echo.trimmed()) return -1;
        if (l == "OK") return plSent;
        if (l == "ERROR" || l.startsWith("+CME ERROR") || l.startsWith("+CMS ERROR")) return plRefused;
        m_other = true;
        return -1;
    }

    int fill(Clock::time_point deadline) {
        const int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        if (left <= 0) return m_other ? plBadAnswer : plNoAnswer;
        char buf[256];
        const int n = m_port.Read(buf, int(sizeof buf), left);
        if (n < 0) return plLineError;
        m_in.append(buf, n);
        // A line without end is noise; keep only its tail.
        if (m_in.size() > kMaxLine && lineEndIn(m_in) < 0) {
            m_other = true;
            m_in = m_in.right(1);
        }
        return plSent;
    }

    SerialPort& m_port;
    int m_timeoutMs;
    QByteArray m_in;
    bool m_other = false;
};

} // namespace

int siemensTransfer(SerialPort& port, const Request& request, int timeoutMs) {
    port.DiscardInput();
    AtLine at(port, timeoutMs);
    // The first answer may be lost while the phone's rate detection settles: ask up to three times.
    int woken = plNoAnswer;
    for (int attempt = 0; attempt < 3 && (woken == plNoAnswer || woken == plBadAnswer); ++attempt)
        woken = at.command("AT");
    if (woken != plSent) return woken;
    if (request.what == Request::DeleteOperatorLogo) return at.command("AT^SBNW=\"bmp\",0,0");
    if (request.what != Request::OperatorLogo) return plBadKind;

    const QByteArray bmp = monoBmp(request.logo);
    const int packets = int((bmp.size() + kPacket - 1) / kPacket);
    for (int i = 0; i < packets; ++i) {
        const QByteArray line = "AT^SBNW=\"bmp\",0," + QByteArray::number(i + 1) + ',' + QByteArray::number(packets);
        if (!at.write(line + '\r')) return plLineError;
        if (const int r = at.prompt(line); r != plSent) return r;
        if (!at.write(bmp.mid(qsizetype(i) * kPacket, kPacket).toHex().toUpper() + char(0x1A))) return plLineError;
        if (const int r = at.finalAnswer(QByteArray()); r != plSent) return r;
    }
    return plSent;
}

} // namespace vb::phonelink
