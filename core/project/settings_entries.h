#pragma once
// What an edited disc setting may hold: a kept line as key and value and back, the checks that keep a
// changed entry readable from the file (each refusal with its message and the field it points at), the
// folder lists, and the three answers a content type can have.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kmr {

// A kept line as key and value, the blanks at their ends removed: a comment, or a line without "=", is
// all key.
struct KeptLineParts {
    std::string key;
    std::string value;
    bool equals = false;  // the line has an "="

    bool operator==(const KeptLineParts&) const = default;
};
KeptLineParts splitKeptLine(std::string_view line);

// The line of a kept entry from its key and value (blanks at their ends removed): the key, then "=" and
// the value when the line had an "=" or now has a value. Without `equals` (an entry the user added),
// every line but a comment has its "=".
std::string joinKeptLine(std::string_view key, std::string_view value, std::optional<bool> equals);

// The platform that a platform cell names ("amd64 " gives "Amd64"), as kAutorunPlatforms spells it, or
// an empty view.
std::string_view platformNamed(std::string_view cell);

// The field of an entry that a refusal points at: the first one is the platform or the section.
enum class EntryField { First, Key, Value };

struct EntryFault {
    EntryField field;
    std::string_view message;

    bool operator==(const EntryFault&) const = default;
};

inline constexpr std::string_view kEmptyField = "Debe introducir algún valor en el campo.";
inline constexpr std::string_view kUnknownPlatform = "Elija una de las plataformas: x86, Amd64, Alpha, Mips o PPC.";
inline constexpr std::string_view kBracketsInSection = "El nombre de la sección no puede llevar corchetes.";
inline constexpr std::string_view kBadPlatformKey =
    "La clave no puede llevar el signo \"=\" ni empezar por \"[\" o \";\".";
inline constexpr std::string_view kBadKeptKey = "La clave no puede llevar el signo \"=\" ni empezar por \"[\".";
inline constexpr std::string_view kValueOnTwoLines = "Un valor no puede ocupar más de una línea.";
inline constexpr std::string_view kFolderAsHeader = "Una carpeta no puede empezar por \"[\" ni por \";\".";

// The checks of an entry the user changed or added, in the order they are made; nullopt when the
// entry reads back from the file as it was written. A platform entry is never a comment; in a kept
// section a key that begins with ";" is one, and may hold anything on its line.
std::optional<EntryFault> checkPlatformEntry(std::string_view platform, std::string_view key, std::string_view value);
std::optional<EntryFault> checkKeptEntry(std::string_view section, std::string_view key, std::string_view value);

bool hasLineBreak(std::string_view text);

// One folder a line; blanks at the ends and empty lines do not count.
std::vector<std::string> folderLines(std::string_view text);
// Whether a folder that stands alone on its line would read back as a section header or a comment.
bool readsAsHeaderOrComment(std::string_view folder);

// The three answers to a content type: not given (Windows looks at the files), yes and no.
enum class ContentAnswer { Unset, Yes, No };
ContentAnswer contentAnswer(const std::optional<std::string>& value);
// The value for `answer`: `shown` while the answer is still its own (so "1" or "Y" stay as written),
// else the answer in full ("true", "false").
std::optional<std::string> contentValue(ContentAnswer answer, const std::optional<std::string>& shown);

}  // namespace kmr
