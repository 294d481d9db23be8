// Compiling and importing projects of 10 000, 100 000 and 500 000 menus: time per menu, the ratio
// to a plain read of the compiled file and the peak memory per byte of that file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "autorun/compiler.h"
#include "autorun/conflicts.h"
#include "autorun/importer.h"
#include "bench_support.h"
#include "platform/file_read.h"
#include "text/text.h"

namespace {

kmr::Project bigProject(int menus) {
    kmr::Project p;
    p.append(kmr::makeProgram("setup.exe"));
    p.append(kmr::makeIcon("disco.ico"));
    p.append(kmr::makeLabel("Disco de instalación"));
    for (int k = 1; k <= menus; ++k) {
        const std::string n = std::to_string(k);
        p.append(kmr::makeMenu("Menú " + n, "notepad leeme" + n + ".txt", "menu" + n, k == 2));
    }
    return p;
}

const std::string& autorunPath(int menus) {
    static std::map<int, std::string> paths;
    auto& path = paths[menus];
    if (path.empty()) {
        path = (std::filesystem::temp_directory_path() / ("kmr-bench-" + std::to_string(menus) + ".inf")).string();
        kmr::bench::writtenOrExit(kmr::writeAutorunFile(path, bigProject(menus)));
    }
    return path;
}

void BM_PlainRead(benchmark::State& state) {
    const std::string& path = autorunPath(static_cast<int>(state.range(0)));
    kmr::bench::measure(state, path, [&] { benchmark::DoNotOptimize(kmr::io::readFile(path).bytes.data()); });
}

void BM_ImportFile(benchmark::State& state) {
    const int menus = static_cast<int>(state.range(0));
    const std::string& path = autorunPath(menus);
    kmr::bench::measure(state, path, [&] {
        const kmr::AutorunSource source = kmr::readAutorunFile(path);
        const kmr::ImportResult r = kmr::importAutorun(source.text);
        if (r.project.size() != static_cast<std::size_t>(menus) + 3 || r.unrecognised != 0) {
            state.SkipWithError("wrong import");
        }
        benchmark::DoNotOptimize(r.project.objects.data());
    });
}

void BM_CompileText(benchmark::State& state) {
    const int menus = static_cast<int>(state.range(0));
    const kmr::Project p = bigProject(menus);
    kmr::bench::measure(state, autorunPath(menus), [&] {
        const std::string bytes = kmr::autorunFileBytes(p);
        benchmark::DoNotOptimize(bytes.data());
    });
}

void BM_CompileFile(benchmark::State& state) {
    const int menus = static_cast<int>(state.range(0));
    const kmr::Project p = bigProject(menus);
    const std::string out = autorunPath(menus) + ".out";
    kmr::bench::measure(state, autorunPath(menus), [&] {
        if (!kmr::writeAutorunFile(out, p).ok()) state.SkipWithError("write failed");
    });
    std::remove(out.c_str());
}

void BM_ConflictCheck(benchmark::State& state) {
    const int menus = static_cast<int>(state.range(0));
    const kmr::Project p = bigProject(menus);
    kmr::bench::measure(state, autorunPath(menus), [&] {
        const auto findings = kmr::checkConflicts(p);
        benchmark::DoNotOptimize(findings.data());
    });
}

// Lines that never pair: each one reads its partner and stops, so the work stays linear.
void BM_ImportUnpairedLines(benchmark::State& state) {
    const int menus = static_cast<int>(state.range(0));
    std::string text = "[autorun]\r\n";
    for (int k = 0; k < 2 * menus; ++k) text += "shell\\m" + std::to_string(k) + "=Texto\r\n";
    kmr::bench::measure(state, autorunPath(menus), [&] {
        const kmr::ImportResult r = kmr::importAutorun(text);
        if (r.unrecognised != static_cast<std::size_t>(menus)) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(r.unrecognised);
    });
}

void sizes(benchmark::internal::Benchmark* b) {
    for (const int n : kmr::bench::kSizes) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->MinTime(0.5);
}

BENCHMARK(BM_PlainRead)->Apply(sizes);
BENCHMARK(BM_ImportFile)->Apply(sizes);
BENCHMARK(BM_CompileText)->Apply(sizes);
BENCHMARK(BM_CompileFile)->Apply(sizes);
BENCHMARK(BM_ConflictCheck)->Apply(sizes);
BENCHMARK(BM_ImportUnpairedLines)->Apply(sizes);

}  // namespace

BENCHMARK_MAIN();
