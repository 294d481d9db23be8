#pragma once
// What an import keeps beside the objects, how the compiler writes it back, and autorun files
// compared by what they mean to Windows.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"

namespace kmr {

// One entry of an autorun file as Windows reads it (a lone CR ends a line too): section and key without the blanks at
// their ends and A–Z folded, the value without the blanks at its ends. Lines before the first section belong to
// "autorun", as the importer reads them; a line without '=' is a key with an empty value (the folders of
// [ExclusiveContentPaths] are such lines). Empty lines, comments (';') and headers are no entries.
struct InfEntry {
    std::string section;
    std::string key;
    std::string value;

    bool operator==(const InfEntry&) const = default;
};

// The entries of a decoded autorun text, in file order.
std::vector<InfEntry> infEntries(std::string_view text);

// Fills the project's settings from the text it was imported from: every line the objects do not
// give back when compiled is kept, the documented entries as settings (the first of each; later ones
// are kept as lines), everything else as it stands in its section. Lines of [AutoRun] that an object
// gives back (key and value A–Z folded, without the blanks at their ends) are not kept; lines of
// other sections always are, even when the importer made an object of them. Comments are kept; empty
// lines and section headers are not (the sections are written again). For each family of keys of
// which [AutoRun] lines were kept (project/object_lines.h), what the objects compile to is recorded,
// so that the compiler leaves those lines out once the user changes the objects of that family.
void keepExtras(std::string_view content, Project& project);

// Appends the project's disc settings to its compiled [autorun] section, in this fixed order: "action",
// "CustomEvent", "UseAutoPlay" and the kept lines of [AutoRun] (those KeptLineFilter lets through);
// then, each after an empty line and
// only when it holds something, [Content] (MusicFiles, PictureFiles, VideoFiles),
// [ExclusiveContentPaths], [IgnoreContentPaths], [DeviceInstall] (one DriverPath per folder) and the
// platform sections in their order (the entries of two sections of one platform in one, where the first
// stands), each followed by the kept lines of its own section; last, the other kept sections in their
// order, each line as it stands.
// After each kept line `flush`, when given, may hand the text on, and stops the writing by returning false.
void compileSettings(std::string& out, const Project& project, const std::function<bool()>& flush = {});

// What Windows reads of an autorun text: for every section and key, the first value. Two texts mean
// the same when these agree; the value of "shell" (a verb name) is compared with A–Z folded. nullopt
// when they agree, else the first difference in Spanish, in the order of `expected`'s entries and then
// of `actual`'s, such as "falta la entrada action=Instalar de [autorun]".
std::optional<std::string> firstMeaningDifference(std::string_view actual, std::string_view expected);

// The keys that Windows knows in [AutoRun] and in the platform sections, A–Z folded ("shell\verb"
// and "shell\verb\command" are known too).
bool isKnownAutorunKey(std::string_view key);
// The known key nearest to an unknown one when only one or two letters differ (a letter left out,
// added, changed or two neighbours swapped): "label" for "lable". Empty when none is near.
std::string_view nearestAutorunKey(std::string_view key);

}  // namespace kmr
