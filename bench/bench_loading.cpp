// Loading a 12-megapixel photo into the largest logo (fit, 1-bit work file, editor surfaces).
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Form.h"
#include "platform/system/MsgBox.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchProgram.h"

static void BM_LoadPhotoIntoLogo(benchmark::State& state) {
    QTemporaryDir dir;
    freshProgram(dir.path());
    QImage photo(4000, 3000, QImage::Format_RGB32);
    {
        QPainter p(&photo);
        QLinearGradient g(0, 0, 4000, 3000);
        g.setColorAt(0, Qt::darkBlue);
        g.setColorAt(1, Qt::yellow);
        p.fillRect(photo.rect(), g);
        p.setBrush(Qt::black);
        p.drawEllipse(1200, 800, 1600, 1400);
    }
    const QString path = dir.filePath(QStringLiteral("foto.jpg"));
    photo.save(path, "JPG", 90);
    Startbildschirm->ComboKategorien[3]->setListIndex(2); // 101 x 43
    Parameter_und_Start::Perspektivisch_Skalieren = true;
    for (auto _ : state) Startbildschirm->Laden_Click_Sub(path, true, true);
    vb::DestroyAllInstances();
}
BENCHMARK(BM_LoadPhotoIntoLogo)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) { return runBenchmarks(argc, argv); }
