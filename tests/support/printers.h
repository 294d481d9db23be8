#pragma once
// Readable GoogleTest output for project objects.

#include <ostream>

#include "project/project.h"

namespace kmr {

inline void PrintTo(const ProjectObject& o, std::ostream* os) {
    *os << "{" << static_cast<int>(o.kind) << ", " << o.caption;
    for (const auto& v : o.values) *os << ", [" << v << "]";
    *os << "}";
}

inline void PrintTo(const Project& p, std::ostream* os) {
    for (const auto& o : p.objects) {
        PrintTo(o, os);
        *os << "\n";
    }
}

}  // namespace kmr
