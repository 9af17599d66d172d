#pragma once
// What the benchmarks of the program's windows share: a fresh program in a folder of its own,
// and the process's memory.
#include "frame/Parameter_und_Start.h"
#include "platform/window/Form.h"
#include "support/QuietSeams.h"

#include <QByteArray>
#include <QFile>
#include <QLatin1Char>
#include <QString>

// No window loaded, the shared state at its start, and the seams as the tests set them, with
// the program folder, key-value store and clipboard of folder.
inline void freshProgram(const QString& folder) {
    vb::DestroyAllInstances();
    Parameter_und_Start::Grundzustand();
    UseTestSeams(folder);
    Parameter_und_Start::Programmverzeichnis = folder + QLatin1Char('/');
}

// A line of /proc/self/status ("VmHWM:", "VmRSS:") in megabytes; 0 when it cannot be read.
inline double statusMB(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key)) return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

// The process's peak resident memory counts again from now.
inline void resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}
// The peak resident memory since the last reset, in megabytes.
inline double peakMB() { return statusMB("VmHWM:"); }
