// Compiling, importing and checking a project of 10 000 menus.
#include <benchmark/benchmark.h>

#include <string>

#include "autorun/compiler.h"
#include "autorun/conflicts.h"
#include "autorun/importer.h"

namespace {

kmr::Project bigProject() {
    kmr::Project p;
    p.append(kmr::makeProgram("setup.exe"));
    p.append(kmr::makeIcon("disco.ico,3"));
    p.append(kmr::makeLabel("Disco de instalación"));
    for (int k = 1; k <= 10000; ++k) {
        const std::string n = std::to_string(k);
        p.append(
            kmr::makeMenu("Menú número " + n, "explorer \"%1\\carpeta" + n + "\\leeme.txt\"", "menu" + n, k == 5000));
    }
    return p;
}

void BM_CompileAutorun(benchmark::State& state) {
    const kmr::Project p = bigProject();
    for (auto _ : state) {
        const kmr::CompileResult r = kmr::compileAutorun(p);
        if (!r.ok()) state.SkipWithError("refused");
        benchmark::DoNotOptimize(r.text.data());
    }
}
BENCHMARK(BM_CompileAutorun)->Unit(benchmark::kMillisecond);

void BM_ImportAutorun(benchmark::State& state) {
    const std::string text = kmr::compileAutorun(bigProject()).text;
    for (auto _ : state) {
        const kmr::ImportResult r = kmr::importAutorun(text);
        if (r.project.size() != 10003 || r.unrecognised != 0) state.SkipWithError("wrong import");
        benchmark::DoNotOptimize(r.project.objects.data());
    }
}
BENCHMARK(BM_ImportAutorun)->Unit(benchmark::kMillisecond);

// A file of unpaired menu lines: each is tried against the next one and counted.
void BM_ImportUnpairedLines(benchmark::State& state) {
    std::string text = "[autorun]\r\n";
    for (int k = 0; k < 20000; ++k) text += "shell\\m" + std::to_string(k) + "=Texto\r\n";
    for (auto _ : state) {
        const kmr::ImportResult r = kmr::importAutorun(text);
        if (r.unrecognised != 20000) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(r.unrecognised);
    }
}
BENCHMARK(BM_ImportUnpairedLines)->Unit(benchmark::kMillisecond);

void BM_CheckConflicts(benchmark::State& state) {
    const kmr::Project p = bigProject();
    for (auto _ : state) benchmark::DoNotOptimize(kmr::checkConflicts(p));
}
BENCHMARK(BM_CheckConflicts)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
