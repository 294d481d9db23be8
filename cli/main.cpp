#include <cerrno>
#include <cstdio>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "kmrc.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    int code = kmr::cli::kDone;
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        code = kmr::cli::runKmrc(args, std::cin, std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << kmr::cli::kOutOfMemory;
        return kmr::cli::kRefused;
    }
    // Some write errors show only when the output is closed. An output the caller never opened has
    // nothing to lose.
    std::cout.flush();
    if ((!std::cout || (std::fclose(stdout) != 0 && errno != EBADF)) && code != kmr::cli::kFileError) {
        std::cerr << kmr::cli::kStdoutFailed;
        code = kmr::cli::kFileError;
    }
    return code;
}
