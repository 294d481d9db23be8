// Compiling and importing a project of 100 000 menus, against a plain read of the same file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "autorun/compiler.h"
#include "autorun/conflicts.h"
#include "autorun/importer.h"
#include "text/file_io.h"
#include "text/text.h"

namespace {

constexpr int kMenus = 100000;

kmr::Project bigProject() {
    kmr::Project p;
    p.append(kmr::makeProgram("setup.exe"));
    p.append(kmr::makeIcon("disco.ico"));
    p.append(kmr::makeLabel("Disco de instalación"));
    for (int k = 1; k <= kMenus; ++k) {
        const std::string n = std::to_string(k);
        p.append(kmr::makeMenu("Menú " + n, "notepad leeme" + n + ".txt", "menu" + n, k == 2));
    }
    return p;
}

const std::string& autorunPath() {
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "kmr-bench-autorun.inf").string();
        kmr::writeAutorunFile(p, bigProject());
        return p;
    }();
    return path;
}

void BM_PlainRead(benchmark::State& state) {
    for (auto _ : state) {
        const auto r = kmr::io::readFile(autorunPath());
        benchmark::DoNotOptimize(r.bytes.data());
    }
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

void BM_ImportFile(benchmark::State& state) {
    for (auto _ : state) {
        const kmr::AutorunSource source = kmr::readAutorunFile(autorunPath());
        const kmr::ImportResult r = kmr::importAutorun(source.text);
        if (r.project.size() != kMenus + 3 || r.unrecognised != 0) state.SkipWithError("wrong import");
        benchmark::DoNotOptimize(r.project.objects.data());
    }
}
BENCHMARK(BM_ImportFile)->Unit(benchmark::kMillisecond);

void BM_CompileFile(benchmark::State& state) {
    const kmr::Project p = bigProject();
    const std::string out = autorunPath() + ".out";
    for (auto _ : state) {
        if (!kmr::writeAutorunFile(out, p).ok()) state.SkipWithError("write failed");
    }
    std::filesystem::remove(out);
}
BENCHMARK(BM_CompileFile)->Unit(benchmark::kMillisecond);

void BM_CompileText(benchmark::State& state) {
    const kmr::Project p = bigProject();
    for (auto _ : state) {
        const std::string bytes = kmr::text::encodeForFile(kmr::compileAutorun(p));
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_CompileText)->Unit(benchmark::kMillisecond);

void BM_ConflictCheck(benchmark::State& state) {
    const kmr::Project p = bigProject();
    for (auto _ : state) {
        const auto findings = kmr::checkConflicts(p);
        benchmark::DoNotOptimize(findings.data());
    }
}
BENCHMARK(BM_ConflictCheck)->Unit(benchmark::kMillisecond);

// Lines that never pair: each one reads its partner and stops, so the work stays linear.
void BM_ImportUnpairedLines(benchmark::State& state) {
    std::string text = "[autorun]\r\n";
    for (int k = 0; k < 2 * kMenus; ++k) text += "shell\\m" + std::to_string(k) + "=Texto\r\n";
    for (auto _ : state) {
        const kmr::ImportResult r = kmr::importAutorun(text);
        if (r.unrecognised != static_cast<std::size_t>(kMenus)) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(r.unrecognised);
    }
}
BENCHMARK(BM_ImportUnpairedLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
