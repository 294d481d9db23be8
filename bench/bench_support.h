#pragma once
// What the benchmarks share: files of N menus written once per run, the plain read each figure is
// measured against, and the peak memory of one run of an operation.

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

#include "platform/file_read.h"

namespace kmr::bench {

// The largest stays within the 64 MiB that the readers take: 500 000 menus make a project of 54 MB.
inline constexpr int kSizes[] = {10000, 100000, 500000};

inline long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(line.find(':') + 1));
    }
    return 0;
}

// A benchmark file that could not be written would leave nothing to measure: the run stops, saying why.
inline void writtenOrExit(const io::IoResult& written) {
    if (written.ok()) return;
    std::fprintf(stderr, "%s\n", written.message.c_str());
    std::exit(1);
}

// Bytes by which the resident set grows at its peak while `op` runs once. Memory that earlier runs
// freed is handed back first, and the kernel's high-water mark is reset (clear_refs 5).
inline double peakBytesOf(const std::function<void()>& op) {
    ::malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = statusKiB("VmRSS:");
    op();
    return static_cast<double>(statusKiB("VmHWM:") - before) * 1024.0;
}

// Processor time of the thread, the kernel's share (file reads) included: other work on a busy
// machine does not count, as it would in wall-clock time.
inline double threadSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double secondsOf(const std::function<void()>& op) {
    const double start = threadSeconds();
    op();
    return threadSeconds() - start;
}

// The fastest of five plain reads of the file: the baseline of every figure on that file.
inline double plainReadSeconds(const std::string& path) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        best = std::min(best, secondsOf([&] { benchmark::DoNotOptimize(io::readFile(path).bytes.data()); }));
    }
    return best;
}

// Runs the benchmark loop over `op` and reports, beside the time, the processor time per menu, its
// ratio to a plain read of `path` and the peak memory per byte of that file.
inline void measure(benchmark::State& state, const std::string& path, const std::function<void()>& op) {
    const auto menus = static_cast<double>(state.range(0));
    const double fileBytes = static_cast<double>(io::readFile(path).bytes.size());
    const double plain = plainReadSeconds(path);
    const double peak = peakBytesOf(op);
    double total = 0;
    for (auto _ : state) total += secondsOf(op);
    const double perRun = total / static_cast<double>(state.iterations());
    state.counters["ns_per_menu"] = perRun / menus * 1e9;
    state.counters["x_plain_read"] = perRun / plain;
    state.counters["peak_B_per_file_B"] = peak / fileBytes;
    state.counters["file_MB"] = fileBytes / 1e6;
}

}  // namespace kmr::bench
