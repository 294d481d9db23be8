#pragma once
// Text written in pieces: writers that can hand their text on as it grows use one buffer of about
// 64 KiB, whole lines at a time, so whole characters.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kmr::text {

// Runs `write(out, flush)`, which writes into `out` and calls flush() after each whole line or group
// of lines; flush hands `out` to `sink` once it holds 64 KiB and returns false when the sink refused
// it, and the writer then stops. What is left is handed on at the end unless the sink refused.
template <class Write>
void writeInPieces(const std::function<bool(std::string_view)>& sink, Write&& write) {
    constexpr std::size_t kPiece = 1u << 16;
    std::string out;
    out.reserve(kPiece + 256);
    bool stopped = false;
    write(out, [&] {
        if (out.size() < kPiece) return true;
        stopped = !sink(out);
        out.clear();
        return !stopped;
    });
    if (!stopped) sink(out);
}

}  // namespace kmr::text
