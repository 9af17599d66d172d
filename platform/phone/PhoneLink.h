#pragma once
// The phone link: sends a 1-bit BMP logo to the phone on the data cable of a COM port, and
// deletes the operator logo stored there. The three calls keep the transfer library's contract:
// SendOTABitmap answers 1 when the phone confirmed the logo, anything else is a failure.
// Nokia phones are driven over FBUS version 2, Siemens phones with AT commands (PhoneLink.cpp).
#include <QString>

namespace vb {

// Results of the link calls; only plSent means success.
enum PhoneLinkResult : int {
    plNoAnswer = 0,        // the phone stayed silent within the answer timeout
    plSent = 1,
    plRefused = 2,         // the phone answered with an error, or never acknowledged a frame
    plBadAnswer = 3,       // the phone answered something that is no answer to the request
    plNoPort = 4,          // no such COM port, or its device cannot be opened as a terminal
    plBadBitmap = 5,       // the file is no 1-bit BMP of at most 255 x 255 pixels
    plBadOperatorCode = 6, // not five digits of country and network code
    plBadKind = 7,         // kind outside 0 (operator), 1 (group), 2 (start-up), or one the model cannot take
    plLineError = 8,       // writing to or reading from the line failed, or the cable hung up
    plTooLarge = 9,        // the logo is larger than the chosen phone model shows
};

// kind: 0 operator logo, 1 caller-group logo, 2 start-up logo. comPort: 1 to 4.
// operatorCode: five digits such as "26201"; only the operator logo uses it.
int SendOTABitmap(int kind, int comPort, const QString& bmpPath, const QString& operatorCode);
// Deletes the operator logo on the COM port last used (see SetCOMPort).
int DeleteOPLogo(const QString& operatorCode);
// Closes the port if a call left it open.
void FreeCOMPort();

// The phone on the cable, as the settings name it: maker 0 Nokia, 1 Siemens; model the index in
// that maker's model list (Nokia: 3210/33xx, 51xx, 61xx, 62xx, 7110, 8210, 88xx; Siemens: S25,
// C35, M35, S35). Starts at Nokia 3210/33xx; indices outside the lists are ignored.
void SetPhoneModel(int maker, int model);
int PhoneMaker();
int PhoneModel();
// The size the chosen model shows a logo of that kind at (0 x 0 when it takes no such logo).
// Nokia phones are always sent a logo of this size, a smaller one placed in its middle;
// Siemens phones are sent the logo's own size up to this one. Larger logos are refused.
int MaxLogoWidth(int kind);
int MaxLogoHeight(int kind);

// COM port n (1 to 4) -> device file (Seams::comPortDevices; an empty entry: the default mapping).
QString COMPortDevice(int n); // empty for n outside 1 to 4
// The port DeleteOPLogo talks to; every SendOTABitmap with a valid port also sets it. Starts at 1.
void SetCOMPort(int n);
int CurrentCOMPort();

// Time the link waits for each answer of the phone (milliseconds; default 1000). A call that gets
// no answer at all ends after three such waits (Seams::phoneLinkTimeoutMs).
int PhoneLinkTimeout();
// Back to the state of a fresh start: default devices, port 1, Nokia 3210, default timeout
// and speed, the port closed (tests start from here).
void ResetPhoneLink();

// Line speed of the Nokia cable (FBUS runs at 115200); unsupported rates are refused.
bool SetPhoneLinkBaudRate(int baud);
int PhoneLinkBaudRate();

} // namespace vb
