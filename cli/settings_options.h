#pragma once
// The disc settings on kmrc's command line (kmrc new) and in its JSON (kmrc show, kmrc import).

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "command_support.h"
#include "project/disc_settings.h"

namespace kmr::cli {

// The flag and the options of kmrc new that set the documented entries:
//   --use-autoplay                 UseAutoPlay=1
//   --action TEXTO                 action
//   --custom-event NOMBRE          CustomEvent
//   --content TIPO[=VALOR]         MusicFiles, PictureFiles or VideoFiles (music, pictures, video); "true"
//                                  without a value
//   --exclusive-path CARPETA, --ignore-path CARPETA, --driver-path CARPETA   one folder each, repeatable
//   --platform-entry PLATAFORMA:CLAVE=VALOR    an entry of [AutoRun.PLATAFORMA] (x86, Amd64, Alpha, Mips, PPC)
inline constexpr std::string_view kSettingsFlag = "--use-autoplay";
std::vector<std::string_view> settingsOptions();

// Sets what the options give; an error message (in Spanish) when a value is not of its form.
std::string applySettingsOptions(const ParsedArgs& args, DiscSettings& settings);

// The settings as a JSON object, on lines indented for a member of the top object; only what is set
// ({"action": "…", "content": {"MusicFiles": "true"}, "platforms": [{"platform": "x86", "entries":
// [["open", "a.exe"]]}], "kept": [{"section": "Strings", "lines": ["…"]}]…}).
// Written as it is made: the kept lines of a big file are never all in one text.
void writeJsonSettings(std::ostream& out, const DiscSettings& settings);

}  // namespace kmr::cli
