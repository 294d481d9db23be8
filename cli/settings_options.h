#pragma once
// The disc settings on kmrc's command line (kmrc new) and in its JSON (kmrc show, kmrc import).

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "project/disc_settings.h"

namespace kmr::cli {

// Sets what the options of kmrc new's disc entries (OptionGroup::DiscEntries) give: --use-autoplay
// UseAutoPlay=1, --action, --custom-event, --content TIPO[=VALOR] (music, pictures or video; "true"
// without a value), the folders of --exclusive-path, --ignore-path and --driver-path, and
// --platform-entry PLATAFORMA:CLAVE=VALOR. An error message (in Spanish) when one that may be given
// once is repeated or a value is not of its form.
[[nodiscard]] std::string applySettingsOptions(const ParsedArgs& args, DiscSettings& settings);

// The settings as a JSON object, on lines indented for a member of the top object; only what is set
// ({"action": "…", "content": {"MusicFiles": "true"}, "platforms": [{"platform": "x86", "entries":
// [["open", "a.exe"]]}], "kept": [{"section": "Strings", "lines": ["…"]}]…}).
// Written as it is made: the kept lines of a big file are never all in one text.
void writeJsonSettings(std::ostream& out, const DiscSettings& settings);

}  // namespace kmr::cli
