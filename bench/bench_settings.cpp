// The settings store against its size: the hand-off poll (Timer2's tick every 450 ms reads the
// mailbox "Archivo") and a read of one option, on a "machine.ini" of 1 000 to 100 000 values
// besides the program's own (100 000 take 3 MB; a file over 4 MiB is not read at all), and the opening
// of the store, which every start pays, up to 1 000 000 values (31 MB, refused by its size). The mailbox is read as the
// program spells it ("Archivo") and as a hand-edited file may spell it ("ARCHIVO" in "[software\brenlowe\kmr]"), which
// the store finds regardless of case. A poll that finds nothing is what the idle editor does all day.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <utility>

#include "base/hand_off_mailbox.h"
#include "base/settings_store.h"

namespace {

using kmr::gui::HandOffMailbox;
using kmr::gui::IniSettingsStore;
using kmr::gui::SettingsKey;
using kmr::gui::SettingsRoot;

// A settings folder whose machine.ini holds `values` values in keys of 100 after the program's key.
// The text of such a file.
QByteArray bigFile(int values, bool otherSpelling) {
    QByteArray text = otherSpelling ? "[software\\brenlowe\\kmr]\nARCHIVO=\nVERICONOS=1\n"
                                    : "[Software\\Brenlowe\\KMR]\nArchivo=\nVericonos=1\n";
    for (int i = 0; i < values; ++i) {
        if (i % 100 == 0) text += "\n[Software\\Otros\\Programa" + QByteArray::number(i / 100) + "]\n";
        text += "Valor" + QByteArray::number(i % 100) + "=texto de prueba " + QByteArray::number(i) + '\n';
    }
    return text;
}

struct BigStore {
    QTemporaryDir dir;
    std::unique_ptr<IniSettingsStore> store;

    BigStore(int values, bool otherSpelling) {
        QFile f(QDir(dir.path()).filePath(QStringLiteral("machine.ini")));
        if (f.open(QIODevice::WriteOnly)) f.write(bigFile(values, otherSpelling));
        f.close();
        store = std::make_unique<IniSettingsStore>(dir.path());
    }
};

// One store per size and spelling for the whole run: writing and reading a million values once is
// enough.
BigStore& storeOf(int values, bool otherSpelling) {
    static std::map<std::pair<int, bool>, std::unique_ptr<BigStore>> stores;
    auto& s = stores[{values, otherSpelling}];
    if (!s) s = std::make_unique<BigStore>(values, otherSpelling);
    return *s;
}

void BM_HandOffPoll(benchmark::State& state) {
    BigStore& big = storeOf(static_cast<int>(state.range(0)), state.range(1) != 0);
    const HandOffMailbox mailbox(
        SettingsKey(*big.store, SettingsRoot::Machine, QStringLiteral("Software\\Brenlowe\\KMR")));
    // The index of names regardless of case is made at the first look-up after the file changed;
    // the polls after it are what the idle editor does.
    mailbox.take();
    for (auto _ : state) benchmark::DoNotOptimize(mailbox.take());
    state.SetLabel(state.range(1) != 0 ? "otra grafía" : "como la escribe el programa");
}

void BM_ReadOption(benchmark::State& state) {
    BigStore& big = storeOf(static_cast<int>(state.range(0)), state.range(1) != 0);
    const SettingsKey key(*big.store, SettingsRoot::Machine, QStringLiteral("Software\\Brenlowe\\KMR"));
    key.readBool(QStringLiteral("Vericonos"));
    for (auto _ : state) benchmark::DoNotOptimize(key.readBool(QStringLiteral("Vericonos")));
    state.SetLabel(state.range(1) != 0 ? "otra grafía" : "como la escribe el programa");
}

// Opening the store as a start does, and reading one option: what a big file costs at every start.
void BM_OpenStore(benchmark::State& state) {
    QTemporaryDir dir;
    QFile f(QDir(dir.path()).filePath(QStringLiteral("machine.ini")));
    if (f.open(QIODevice::WriteOnly)) f.write(bigFile(static_cast<int>(state.range(0)), false));
    f.close();
    for (auto _ : state) {
        IniSettingsStore store(dir.path());
        const SettingsKey key(store, SettingsRoot::Machine, QStringLiteral("Software\\Brenlowe\\KMR"));
        benchmark::DoNotOptimize(key.readBool(QStringLiteral("Vericonos")));
        if (state.range(0) > 100000 && !store.failure()) state.SkipWithError("a file over 4 MiB was read");
    }
}

void sizes(benchmark::internal::Benchmark* b) {
    for (const int spelling : {0, 1}) {
        for (const int values : {1000, 10000, 100000}) b->Args({values, spelling});
    }
}

BENCHMARK(BM_HandOffPoll)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadOption)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenStore)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
