#pragma once
// The bodies of kmrc's verbs: each runs once its line has been parsed against the verb's description
// (verbs.cpp) and returns the exit code.

#include "command_line.h"
#include "command_support.h"
#include "kmrc.h"

namespace kmr::cli {

[[nodiscard]] int showCommand(const ParsedArgs& args, Streams io, const KmrcSetup& setup);
[[nodiscard]] int convertCommand(const ParsedArgs& args, Streams io, const KmrcSetup& setup);
[[nodiscard]] int compileCommand(const ParsedArgs& args, Streams io, const KmrcSetup& setup);
[[nodiscard]] int checkCommand(const ParsedArgs& args, Streams io, const KmrcSetup& setup);
[[nodiscard]] int importCommand(const ParsedArgs& args, Streams io, const KmrcSetup& setup);
// These two list templates from the setup's folders, in order.
[[nodiscard]] int templatesCommand(const ParsedArgs& args, Streams io, const KmrcSetup& setup);
[[nodiscard]] int newCommand(const ParsedArgs& args, Streams io, const KmrcSetup& setup);
[[nodiscard]] int isoCommand(const ParsedArgs& args, Streams io, const KmrcSetup& setup);

}  // namespace kmr::cli
