// Reading and writing projects of 10 000, 100 000 and 500 000 menus: time per menu, the ratio to a
// plain read of the same file and the peak memory per byte of the file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "bench_support.h"
#include "platform/file_read.h"
#include "platform/file_write.h"
#include "project/project_file.h"

namespace {

kmr::Project bigProject(int menus) {
    kmr::Project p;
    p.append(kmr::makeProgram("setup.exe"));
    p.append(kmr::makeIcon("disco.ico,3"));
    p.append(kmr::makeLabel("Disco de instalación"));
    for (int k = 1; k <= menus; ++k) {
        const std::string n = std::to_string(k);
        p.append(kmr::makeMenu("Menú número " + n, "explorer \"%1\\carpeta" + n + "\\leeme.txt\"", "menu" + n,
                               k == menus / 2));
    }
    return p;
}

const std::string& projectPath(int menus) {
    static std::map<int, std::string> paths;
    auto& path = paths[menus];
    if (path.empty()) {
        path = (std::filesystem::temp_directory_path() / ("kmr-bench-" + std::to_string(menus) + ".kmr")).string();
        kmr::bench::writtenOrExit(kmr::io::writeFileAtomic(path, kmr::projectFileBytes(bigProject(menus))));
    }
    return path;
}

void BM_PlainRead(benchmark::State& state) {
    const std::string& path = projectPath(static_cast<int>(state.range(0)));
    kmr::bench::measure(state, path, [&] { benchmark::DoNotOptimize(kmr::io::readFile(path).bytes.data()); });
}

void BM_ReadProject(benchmark::State& state) {
    const int menus = static_cast<int>(state.range(0));
    const std::string& path = projectPath(menus);
    kmr::bench::measure(state, path, [&] {
        const auto r = kmr::readProjectFile(kmr::io::readFile(path).bytes);
        if (r.project.size() != static_cast<std::size_t>(menus) + 3) state.SkipWithError("wrong object count");
        benchmark::DoNotOptimize(r.project.objects.data());
    });
}

// As kmrc reads: from the path, the file's bytes handed back as the reader goes.
void BM_ReadProjectPath(benchmark::State& state) {
    const int menus = static_cast<int>(state.range(0));
    const std::string& path = projectPath(menus);
    kmr::bench::measure(state, path, [&] {
        const auto r = kmr::readProjectPath(path);
        if (r.read.project.size() != static_cast<std::size_t>(menus) + 3) state.SkipWithError("wrong object count");
        benchmark::DoNotOptimize(r.read.project.objects.data());
    });
}

void BM_WriteProjectBytes(benchmark::State& state) {
    const int menus = static_cast<int>(state.range(0));
    const kmr::Project p = bigProject(menus);
    kmr::bench::measure(state, projectPath(menus), [&] {
        const std::string bytes = kmr::projectFileBytes(p);
        benchmark::DoNotOptimize(bytes.data());
    });
}

void BM_SaveProject(benchmark::State& state) {
    const int menus = static_cast<int>(state.range(0));
    const kmr::Project p = bigProject(menus);
    const std::string out = projectPath(menus) + ".out";
    kmr::bench::measure(state, projectPath(menus), [&] {
        if (!kmr::io::writeFileAtomic(out, kmr::projectFileBytes(p)).ok()) state.SkipWithError("write failed");
    });
    std::remove(out.c_str());
}

void sizes(benchmark::internal::Benchmark* b) {
    for (const int n : kmr::bench::kSizes) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->MinTime(0.5);
}

BENCHMARK(BM_PlainRead)->Apply(sizes);
BENCHMARK(BM_ReadProject)->Apply(sizes);
BENCHMARK(BM_ReadProjectPath)->Apply(sizes);
BENCHMARK(BM_WriteProjectBytes)->Apply(sizes);
BENCHMARK(BM_SaveProject)->Apply(sizes);

}  // namespace

BENCHMARK_MAIN();
