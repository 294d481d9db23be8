#pragma once
// The settings of the disc that are not objects: the documented autorun entries that the object list
// does not model (the AutoPlay text, the custom event, "UseAutoPlay", the content types, the content
// folders, the driver folders and the platform sections), and every other line of an imported file,
// kept as the file had it. They stand beside the object list; the list, its order rules and the
// object commands know nothing of them.

#include <array>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kmr {

// One entry of an autorun section: key and value with the blanks at their ends removed, the key as
// written (Windows ignores its letter case).
struct AutorunEntry {
    std::string key;
    std::string value;

    bool operator==(const AutorunEntry&) const = default;
};

// The platforms of the sections [AutoRun.x86], [AutoRun.Amd64], [AutoRun.Alpha], [AutoRun.Mips] and
// [AutoRun.PPC], which take the keys of [AutoRun] for that processor.
inline constexpr std::array<std::string_view, 5> kAutorunPlatforms = {"x86", "Amd64", "Alpha", "Mips", "PPC"};

// The platform named by a section name ("autorun.amd64", any letter case) as kAutorunPlatforms spells
// it, or an empty view when the section is no platform section.
std::string_view platformOfSection(std::string_view sectionName);

// A platform section: its platform, as kAutorunPlatforms spells it, and its entries in file order.
struct PlatformSection {
    std::string platform{};
    std::vector<AutorunEntry> entries{};

    bool operator==(const PlatformSection&) const = default;
};

// The lines of a kept section in one text, each after its length: a file of many short lines or many
// small sections costs little more than its own text (a list of strings costs 32 bytes a line before
// its text). Any text is a line, whatever characters it holds.
class KeptLines {
public:
    class Iterator {
    public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        Iterator() = default;
        explicit Iterator(const char* at) : m_at(at) {}
        std::string_view operator*() const;
        Iterator& operator++();
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator&) const = default;

    private:
        const char* m_at = nullptr;
    };

    KeptLines() = default;
    KeptLines(std::initializer_list<std::string_view> lines);
    KeptLines(const std::vector<std::string>& lines);

    Iterator begin() const { return Iterator(m_text.data()); }
    Iterator end() const { return Iterator(m_text.data() + m_text.size()); }
    bool empty() const { return m_text.empty(); }
    // Counted: the lines are not indexed.
    std::size_t size() const;
    std::string_view operator[](std::size_t i) const;
    void push_back(std::string_view line);
    void emplace_back(std::string_view line) { push_back(line); }
    operator std::vector<std::string>() const { return {begin(), end()}; }

    bool operator==(const KeptLines&) const = default;

private:
    std::string m_text;
};

// Lines kept exactly as a file had them, in file order, under the name of their section as written
// between its brackets ("autorun" for the lines of [AutoRun] and for those before any section).
// Sections of the same name, in any letter case, are one.
struct KeptSection {
    std::string name;
    KeptLines lines{};

    bool operator==(const KeptSection&) const = default;
};

// The content types of [Content]; each value as written ("true", "1", "false"…).
struct ContentTypes {
    std::optional<std::string> music{};     // MusicFiles
    std::optional<std::string> pictures{};  // PictureFiles
    std::optional<std::string> video{};     // VideoFiles

    bool operator==(const ContentTypes&) const = default;
};

// The keys of [AutoRun] that the objects write, by what they say: the run entry ("open",
// "shellexecute"), the icon ("icon"), the label ("label") and the default menu ("shell").
enum class KeyFamily { Run, Icon, Label, DefaultMenu };

// The first key of a family ("open", "icon", "label", "shell"), and the family of such a name (A–Z
// folded), or nullopt.
std::string_view familyName(KeyFamily family);
std::optional<KeyFamily> familyNamed(std::string_view name);

// What the objects compiled to in one family of keys when an import kept lines of that family
// (project/object_lines.h says how it is used).
struct FamilyLines {
    KeyFamily family = KeyFamily::Run;
    std::vector<std::string> lines{};  // "open=setup.exe", "shell=instalar"…, in the compiler's order

    bool operator==(const FamilyLines&) const = default;
};

// The disc settings. An unset optional is an entry the file does not hold; a set one holds its value,
// which may be empty ("action=").
struct DiscSettings {
    std::optional<std::string> action{};       // [AutoRun] action: a text or "@[path\]file,-id"
    std::optional<std::string> customEvent{};  // [AutoRun] CustomEvent
    std::optional<std::string> useAutoPlay{};  // [AutoRun] UseAutoPlay ("1")
    ContentTypes content{};
    std::vector<std::string> exclusiveContentPaths{};  // the folders of [ExclusiveContentPaths]
    std::vector<std::string> ignoreContentPaths{};     // the folders of [IgnoreContentPaths]
    std::vector<std::string> driverPaths{};            // the DriverPath entries of [DeviceInstall]
    std::vector<PlatformSection> platforms{};          // in the order of the file
    std::vector<KeptSection> kept{};                   // in the order in which their sections first came
    // For each family of which [AutoRun] lines are kept, what the objects compiled to when they were kept.
    std::vector<FamilyLines> importedLines{};

    bool empty() const;
    bool operator==(const DiscSettings&) const = default;

    // The kept section of that name (A–Z folded), made at the end when there is none.
    KeptSection& keptSection(std::string_view name);
    // The kept lines of that section, or null.
    const KeptSection* findKept(std::string_view name) const;
};

// True when a content type's value turns it on: "1", "true", "y" or "yes", any letter case.
bool contentTypeOn(std::string_view value);

// True when every text of the settings has a Windows-1252 byte for each of its characters.
bool settingsFitCp1252(const DiscSettings& settings);

// The section the project file keeps the settings in, after the menus; written only when the
// settings are not empty, so that the files of other projects do not change. Its keys, in this order:
// "Accion", "Evento", "UsarReproduccion", "Musica", "Imagenes", "Videos", one "RutaExclusiva",
// "RutaIgnorada" and "Controlador" per folder, then per platform section "Plataforma" followed by one
// "Entrada" (key, "=", value) per entry, then per kept section "Seccion" followed by one "Linea" per
// line, then per recorded family "Objeto" (its first key: "open", "icon", "label", "shell") followed by
// one "Compilado" per line. A value that the profile rules would change (blanks at its ends,
// enclosing quotes) is written inside one more pair of double quotes.
inline constexpr std::string_view kSettingsSection = "Entradas del autorun";

// Appends the section (an empty line first) to the text of a project file; nothing when empty. After
// each kept line `flush`, when given, may hand the text on, and stops the writing by returning false.
void writeSettingsSection(std::string& out, const DiscSettings& settings, const std::function<bool()>& flush = {});

// Takes the key lines of the section one by one, in file order: `key` trimmed, `value` as the profile
// rules give it (trimmed, one enclosing pair of quotes removed, decoded) but never cut.
class SettingsSectionReader {
public:
    explicit SettingsSectionReader(DiscSettings& settings) : m_settings(settings) {}
    // A (further) settings section begins: its "Entrada" and "Linea" keys belong to its own
    // "Plataforma" and "Seccion".
    void startSection() {
        m_platform.reset();
        m_kept.reset();
    }
    void take(std::string_view key, std::string_view value);

private:
    DiscSettings& m_settings;
    // Where the "Entrada", "Linea" and "Compilado" keys go: the last "Plataforma", "Seccion" and
    // "Objeto" read.
    std::optional<std::size_t> m_platform;
    std::optional<std::size_t> m_kept;
    std::optional<std::size_t> m_family;
};

}  // namespace kmr
