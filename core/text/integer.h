#pragma once
// Whole numbers as stored in the program's text files.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kmr::text {

struct IntegerSyntax {
    bool allowSign = true;        // a leading '+' or '-'
    bool allowHex0x = true;       // "0x1F" / "0X1F"
    bool allowHexDollar = false;  // "$1F"
};

// Parses the whole text as a 32-bit integer; nullopt when it is not a valid one (empty, stray
// characters, out of range). No blanks are skipped: callers trim first where their rules say so.
std::optional<std::int32_t> parseInteger(std::string_view s, IntegerSyntax syntax = {});

}  // namespace kmr::text
