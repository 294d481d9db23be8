// Reading and writing a project of 10 000 menus, against a plain read of the same file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "project/project_file.h"
#include "text/file_io.h"

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

const std::string& projectPath() {
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "kmr-bench-10000.kmr").string();
        kmr::io::writeFileAtomic(p, kmr::projectFileBytes(bigProject()));
        return p;
    }();
    return path;
}

void BM_PlainRead(benchmark::State& state) {
    for (auto _ : state) {
        auto r = kmr::io::readFile(projectPath());
        benchmark::DoNotOptimize(r.bytes.data());
    }
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

void BM_ReadProject(benchmark::State& state) {
    for (auto _ : state) {
        const auto r = kmr::readProjectFile(kmr::io::readFile(projectPath()).bytes);
        if (r.project.size() != 10003) state.SkipWithError("wrong object count");
        benchmark::DoNotOptimize(r.project.objects.data());
    }
}
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMillisecond);

void BM_WriteProjectBytes(benchmark::State& state) {
    const kmr::Project p = bigProject();
    for (auto _ : state) {
        const std::string bytes = kmr::projectFileBytes(p);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_WriteProjectBytes)->Unit(benchmark::kMillisecond);

void BM_SaveProject(benchmark::State& state) {
    const kmr::Project p = bigProject();
    const std::string out = projectPath() + ".out";
    for (auto _ : state) {
        if (!kmr::io::writeFileAtomic(out, kmr::projectFileBytes(p)).ok()) state.SkipWithError("write failed");
    }
    std::remove(out.c_str());
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
