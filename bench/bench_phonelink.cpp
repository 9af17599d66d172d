// Sending a 96 x 65 start-up logo to a Nokia 7110 over FBUS at 115200 bit/s, against the fake
// phone with its line paced at that rate (ten bits a byte, both ways), a caller-group logo to the
// 7110 (the group read first, then written), and an operator logo to a Siemens S35 with AT
// commands at 19200 bit/s. The cable's power-up wait (one second before every Nokia transfer)
// is left out of the figures: it is a fixed wait, not work.
#include "platform/phone/PhoneLink.h"
#include "support/FakePhone.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "platform/system/Seams.h"

namespace {

QByteArray monoBmp(int w, int h) {
    const int stride = (w + 31) / 32 * 4, image = stride * h;
    QByteArray b(62 + image, '\0');
    auto put32 = [&b](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (8 * i) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, quint32(b.size()));
    put32(10, 62);
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(h));
    b[26] = 1;
    b[28] = 1;
    b[58] = b[59] = b[60] = char(0xFF);
    for (int i = 62; i < b.size(); ++i) b[i] = char((i * 37) & 0xFF); // a busy picture
    return b;
}

void transfer(benchmark::State& state, fakephone::Kind kind, int maker, int model, int kind_, int w, int h, int rate) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("send.bmp"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(monoBmp(w, h));
    f.close();
    fakephone::FakePhone phone(kind, fakephone::Fault::None, rate);
    vb::SetPhoneModel(maker, model);
    vb::seams().comPortDevices[0] = phone.device();
    vb::seams().phoneCablePowerUpMs = 0;
    int sent = 0;
    for (auto _ : state) sent += vb::SendOTABitmap(kind_, 1, path, QStringLiteral("26201")) == vb::plSent;
    state.counters["sent"] = sent;
    state.counters["bytes_to_phone"] = double(phone.received().size()) / double(state.iterations());
    vb::seams().comPortDevices[0] = QString();
    vb::SetPhoneModel(0, 0);
}

void BM_NokiaStartupLogo96x65(benchmark::State& state) {
    transfer(state, fakephone::Kind::Nokia7110, 0, 4, 2, 96, 65, 115200);
}
void BM_NokiaGroupLogo72x14(benchmark::State& state) {
    transfer(state, fakephone::Kind::Nokia7110, 0, 4, 1, 72, 14, 115200);
}
void BM_SiemensOperatorLogo101x21(benchmark::State& state) {
    transfer(state, fakephone::Kind::Siemens, 1, 3, 0, 101, 21, 19200);
}

} // namespace

BENCHMARK(BM_NokiaStartupLogo96x65)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_NokiaGroupLogo72x14)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SiemensOperatorLogo101x21)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) { return runBenchmarks(argc, argv); }
