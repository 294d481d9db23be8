#pragma once
// The kmrc commands; each takes the arguments after its own name and returns the exit code.

#include <string>
#include <vector>

#include "command_support.h"

namespace kmr::cli {

int showCommand(const std::vector<std::string>& args, Streams io);
int convertCommand(const std::vector<std::string>& args, Streams io);
int compileCommand(const std::vector<std::string>& args, Streams io);
int checkCommand(const std::vector<std::string>& args, Streams io);
int importCommand(const std::vector<std::string>& args, Streams io);
int isoCommand(const std::vector<std::string>& args, Streams io);

}  // namespace kmr::cli
