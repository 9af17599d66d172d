#pragma once
// The entry of every benchmark program: a headless application, no real message boxes.
#include "platform/system/MsgBox.h"
#include "platform/system/Seams.h"

#include <QApplication>
#include <benchmark/benchmark.h>

inline int runBenchmarks(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vb::seams().msgBox = [](const QString&, int, const QString&) { return int(vb::vbOK); };
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
