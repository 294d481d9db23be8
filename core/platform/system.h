#pragma once
// What a program takes from the system it runs on, in the same form everywhere: its arguments in
// UTF-8, its own file, and standard streams that pass bytes unchanged.

#include <string>
#include <vector>

namespace kmr::platform {

// The arguments after the program's name, in UTF-8. On Windows they are taken from the wide command
// line, so that names with "ñ" or accents arrive whole whatever the console's code page.
std::vector<std::string> programArguments(int argc, char** argv);

// A value of this process's environment in UTF-8, empty when it is unset. On Windows it is read in
// UTF-16, not in the ANSI code page, so that "C:\users\José" arrives whole.
std::string environmentValue(const char* name);

// The running program's own file (links followed where the system says), or else what argv[0]
// names; empty when neither is known.
std::string programFile(const char* argv0);

// Standard input and output carry bytes as they are (no line-end translation), and a console shows
// the UTF-8 the program writes. A reader that closes the pipe early makes a failed write (EPIPE) with
// a message, not a silent death.
void setUpStandardStreams();

}  // namespace kmr::platform
