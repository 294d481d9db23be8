#pragma once
// Runs kmrc in-process and captures what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "kmrc.h"

namespace kmr::test {

struct KmrcRun {
    int code;
    std::string out;
    std::string err;
};

inline KmrcRun kmrc(const std::vector<std::string>& args, const std::string& input = {},
                    const cli::KmrcSetup& setup = {}) {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::runKmrc(args, in, out, err, setup);
    return {code, out.str(), err.str()};
}

}  // namespace kmr::test
