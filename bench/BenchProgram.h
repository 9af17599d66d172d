#pragma once
// What the benchmarks of the program's windows share: a fresh program in a folder of its own,
// and the process's memory.
#include "frame/Parameter_und_Start.h"
#include "platform/App.h"
#include "platform/Form.h"

#include <QByteArray>
#include <QFile>
#include <QLatin1Char>
#include <QString>

// No window loaded, the shared state at its start, the program folder at folder.
inline void freshProgram(const QString& folder) {
    vb::DestroyAllInstances();
    Parameter_und_Start::Grundzustand();
    vb::App::SetPath(folder);
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
