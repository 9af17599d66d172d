#pragma once
// A serial line through termios: raw 8N1, non-blocking descriptor, every wait bounded by a
// deadline so that a dead cable or a silent device can never stall the caller.
#include <QByteArray>
#include <QString>

namespace vb {

class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Rates termios knows (1200 ... 921600); anything else is refused and the old rate kept.
    bool SetBaudRate(int baud);
    int BaudRate() const { return m_baud; }

    // Opens a terminal device; fails for missing paths and for files that are no terminal.
    // dtr and rts are the modem control lines a data cable draws its supply from.
    bool Open(const QString& device, bool dtr = true, bool rts = true);
    // Takes over an open descriptor of any kind (tests drive the reader through sockets and pipes).
    void Attach(int fd);
    bool IsOpen() const { return m_fd >= 0; }
    // Waits until everything written has left the port, at most timeoutMs.
    bool Drain(int timeoutMs);
    // Lets what was written leave the line first (within the time it needs at the line's rate),
    // so a last acknowledgement is not thrown away; a stalled line is cut off.
    void Close();

    // Writes every byte or fails once timeoutMs has passed.
    bool WriteAll(const QByteArray& data, int timeoutMs);
    // Bytes read (at most maxBytes) as soon as any arrive; 0 on timeout, -1 on a line error or
    // a hang-up (then HungUp() is true and every later read fails at once).
    int Read(char* buffer, int maxBytes, int timeoutMs);
    bool HungUp() const { return m_hungUp; }
    // One byte 0..255, or -1 when none came within timeoutMs or the line failed.
    int ReadByte(int timeoutMs);
    // Drops whatever arrived so far and is still unread; a line that keeps sending is left after
    // a bounded amount, so the caller never waits on it.
    void DiscardInput();

    QString ErrorString() const { return m_error; }

private:
    void fail(const QString& what, int err);

    int m_fd = -1;
    bool m_hungUp = false;
    int m_baud = 115200;
    QString m_error;
};

} // namespace vb
