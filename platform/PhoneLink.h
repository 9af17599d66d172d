#pragma once
// The phone link: sends a 1-bit BMP logo to the phone on the data cable of a COM port, and
// deletes the operator logo stored there. The three calls keep the transfer library's contract:
// SendOTABitmap answers 1 when the phone took the logo, anything else is a failure.
#include <QString>

namespace vb {

// Results of the link calls; only plSent means success.
enum PhoneLinkResult : int {
    plNoAnswer = 0,        // the phone stayed silent within the answer timeout
    plSent = 1,
    plRefused = 2,         // the phone answered NAK to every attempt
    plBadAnswer = 3,       // the phone answered something that is no answer
    plNoPort = 4,          // no such COM port, or its device cannot be opened as a terminal
    plBadBitmap = 5,       // the file is no 1-bit BMP of at most 255 x 255 pixels
    plBadOperatorCode = 6, // not five digits of country and network code
    plBadKind = 7,         // kind outside 0 (operator), 1 (group), 2 (start-up)
    plLineError = 8,       // writing to or reading from the line failed
};

// kind: 0 operator logo, 1 caller-group logo, 2 start-up logo. comPort: 1 to 4.
// operatorCode: five digits such as "26201"; only the operator logo uses it.
int SendOTABitmap(int kind, int comPort, const QString& bmpPath, const QString& operatorCode);
// Deletes the operator logo on the COM port last used (see SetCOMPort).
int DeleteOPLogo(const QString& operatorCode);
// Closes the port if a call left it open.
void FreeCOMPort();

// COM port n (1 to 4) -> device file. An empty path restores the default mapping.
void SetCOMPortDevice(int n, const QString& path);
QString COMPortDevice(int n); // empty for n outside 1 to 4
// The port DeleteOPLogo talks to; every SendOTABitmap with a valid port also sets it. Starts at 1.
void SetCOMPort(int n);
int CurrentCOMPort();

// Time the link waits for each answer of the phone (milliseconds; default 2000).
void SetPhoneLinkTimeout(int ms);
int PhoneLinkTimeout();
// Line speed (default 115200); unsupported rates are refused and return false.
bool SetPhoneLinkBaudRate(int baud);
int PhoneLinkBaudRate();

} // namespace vb
