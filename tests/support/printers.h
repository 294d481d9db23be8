#pragma once
// Readable GoogleTest output for project objects.

#include <ostream>
#include <string>
#include <vector>

#include "project/project.h"

namespace kmr {

// The values of an object, as a list to compare.
inline std::vector<std::string> valuesOf(const ProjectObject& o) {
    std::vector<std::string> values;
    for (std::size_t i = 0; i < o.valueCount(); ++i) values.emplace_back(o.value(i));
    return values;
}

inline void PrintTo(const ProjectObject& o, std::ostream* os) {
    *os << "{" << static_cast<int>(o.kind) << ", " << o.caption();
    for (std::size_t i = 0; i < o.valueCount(); ++i) *os << ", [" << o.value(i) << "]";
    *os << "}";
}

inline void PrintTo(const Project& p, std::ostream* os) {
    for (const auto& o : p.objects) {
        PrintTo(o, os);
        *os << "\n";
    }
}

}  // namespace kmr
