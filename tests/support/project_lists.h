#pragma once
// Projects written as strings of letters, for tests of the order and editing rules:
// P program, R resource, I icon, L label, M plain menu, D default menu. Values are a, b, c… by position.

#include <string>
#include <string_view>

#include "project/project.h"

namespace kmr::test {

inline Project listOf(std::string_view kinds) {
    Project p;
    char next = 'a';
    for (const char c : kinds) {
        const std::string v(1, next++);
        switch (c) {
            case 'P': p.append(makeProgram(v)); break;
            case 'R': p.append(makeResource(v)); break;
            case 'I': p.append(makeIcon(v)); break;
            case 'L': p.append(makeLabel(v)); break;
            case 'D': p.append(makeMenu(v, "cmd", v, true)); break;
            default: p.append(makeMenu(v, "cmd", v)); break;
        }
    }
    return p;
}

inline std::string kindsOf(const Project& p) {
    std::string s;
    for (const auto& o : p.objects) {
        switch (o.kind) {
            case Kind::RunEntry: s += isResourceEntry(o) ? 'R' : 'P'; break;
            case Kind::Icon: s += 'I'; break;
            case Kind::Label: s += 'L'; break;
            case Kind::PlainMenu: s += 'M'; break;
            case Kind::DefaultMenu: s += 'D'; break;
        }
    }
    return s;
}

}  // namespace kmr::test
