#pragma once
// Text written in pieces: writers that can hand their text on as it grows use one buffer of about
// 64 KiB, whole lines at a time, so whole characters.

#include <cstddef>
#include <cstring>
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

// Copies into room made beforehand and returns the end: a text whose size is known where it is
// written (a key) is copied without a call, which for the few bytes of a key costs more than the copy.
template <std::size_t N>
char* put(char* p, const char (&text)[N]) {
    std::memcpy(p, text, N - 1);
    return p + N - 1;
}

// The length of a text written as a literal, without its terminating zero: the room a put of it takes.
template <std::size_t N>
constexpr std::size_t lengthOf(const char (&)[N]) {
    return N - 1;
}

inline char* put(char* p, std::string_view text) {
    if (!text.empty()) std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

}  // namespace kmr::text
