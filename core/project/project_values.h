#pragma once
// Every text of a project that its files hold as a value, with the name the user knows it by: what
// the writers refuse when a value would change the file's lines, and what the check looks at.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "project/project.h"

namespace kmr {

// Where a value stands, to name it when it is reported.
struct ValuePlace {
    enum class What { Object, DiscFolder, Entry, Folder, SectionName, Line };
    What what = What::Object;
    const ProjectObject* object = nullptr;  // Object: the object, and which of its values
    std::size_t index = 0;
    std::string_view key;      // Entry: the key ("action", "MusicFiles"...)
    std::string_view section;  // Entry, Folder, Line: the section it stands in, empty for [autorun]
};

// "El programa o recurso a ejecutar", "El comando del menú \"Instalar\"", "La entrada action",
// "Una carpeta de [ExclusiveContentPaths]", "Una línea de [Strings]"...
std::string subjectOf(const ValuePlace& place);

// Calls `take` for every value the project file or autorun.inf holds: the objects' values, the disc
// folder, the disc settings (keys of platform entries and names of kept sections too).
void forEachValue(const Project& project, const std::function<void(const ValuePlace&, std::string_view)>& take);

// The refusal of a writer meeting a value that holds a CR or an LF, which would end its line early
// and make the rest another line: the text that names the first such value; nullopt when there is none.
std::optional<std::string> lineBreakRefusal(const Project& project);

}  // namespace kmr
