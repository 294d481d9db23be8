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
// These two list templates from the given folders, in order.
int templatesCommand(const std::vector<std::string>& args, Streams io, const std::vector<std::string>& folders);
int newCommand(const std::vector<std::string>& args, Streams io, const std::vector<std::string>& folders);
int isoCommand(const std::vector<std::string>& args, Streams io);

}  // namespace kmr::cli
