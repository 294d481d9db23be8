#pragma once
// The project: an ordered list of objects (run entry, icon, label, menus) and the rules on their
// captions, positions, counts and the default menu.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "project/disc_settings.h"

namespace kmr {

// The kind of an object; the number is also the index of its picture in the shared image list.
enum class Kind : int { PlainMenu = 6, DefaultMenu = 20, RunEntry = 21, Icon = 22, Label = 23 };

constexpr bool isMenu(Kind k) { return k == Kind::PlainMenu || k == Kind::DefaultMenu; }
constexpr bool isGeneral(Kind k) { return k == Kind::RunEntry || k == Kind::Icon || k == Kind::Label; }

// Caption prefixes, each with its trailing blank.
inline constexpr std::string_view kProgramPrefix = "Ejecutar programa ";
inline constexpr std::string_view kResourcePrefix = "Ejecutar recurso ";
inline constexpr std::string_view kIconPrefix = "Mostrar icono ";
inline constexpr std::string_view kLabelPrefix = "Mostrar texto ";
inline constexpr std::string_view kMenuPrefix = "Mostrar menú ";

// A caption: the prefix, then the first value between double quotes.
std::string buildCaption(std::string_view prefix, std::string_view firstValue);

namespace detail {
// A block of texts shared by the objects that point into it; freed with the last of them.
struct TextBlock;
}  // namespace detail

// One row of the object list: its kind, its caption and its values. Run entries, icons and labels
// hold one value; menus hold three (menu text, menu command, menu internal name).
//
// The values lie back to back in a block of text, after the caption when the caption is not simply
// one of the prefixes and the first value between double quotes (which most are, and which is then
// made when asked for rather than kept). An object made on its own or changed has a block of its own; the objects a
// reader makes share large blocks (ObjectMaker), so that reading a file allocates once per block rather than once per
// object. The texts of a block never change: copies share it, and a change gives the object a new block.
class ProjectObject {
public:
    static constexpr std::size_t kMaxValues = 3;

    Kind kind = Kind::PlainMenu;

    ProjectObject() = default;
    // An object with this caption, kind and values (at most kMaxValues; more are dropped).
    ProjectObject(std::string_view caption, Kind kind, std::initializer_list<std::string_view> values = {});
    ProjectObject(const ProjectObject& other);
    ProjectObject(ProjectObject&& other) noexcept;
    ProjectObject& operator=(const ProjectObject& other);
    ProjectObject& operator=(ProjectObject&& other) noexcept;
    ~ProjectObject();

    // An object whose caption is the prefix and the first value between double quotes.
    static ProjectObject quoted(Kind kind, std::string_view prefix, std::initializer_list<std::string_view> values);

    // The caption; made from the prefix and the first value when it is not kept.
    std::string caption() const;
    std::size_t valueCount() const { return m_count; }
    // The value at i, or an empty text when the object has fewer values.
    std::string_view value(std::size_t i = 0) const {
        return i < m_count ? std::string_view(m_data + m_ends[i], m_ends[i + 1] - m_ends[i]) : std::string_view();
    }
    std::string_view menuText() const { return value(0); }
    std::string_view menuCommand() const { return value(1); }
    std::string_view menuName() const { return value(2); }

    void setCaption(std::string_view caption);
    // Sets the value at i (below kMaxValues), adding empty values before it when there are fewer.
    void setValue(std::size_t i, std::string_view value);
    // Replaces the caption and every value at once.
    void assign(std::string_view caption, std::span<const std::string_view> values);

    // Same kind, caption and values.
    bool operator==(const ProjectObject& other) const;

private:
    friend class ObjectMaker;

    // Lays out the caption (only when `form` is 0: a caption that is kept) and the values at `out`,
    // which has room for them, and points the object there.
    void layOut(char* out, std::uint8_t form, std::string_view caption, std::span<const std::string_view> values);
    void replace(std::size_t part, std::string_view text);
    void release() noexcept;

    detail::TextBlock* m_block = nullptr;  // null while the object has no text
    const char* m_data = nullptr;
    // m_ends[0] is the end of the caption kept in the block (0 when it is made from a prefix) and
    // m_ends[i + 1] the end of value i; ends past the last value stay 0.
    std::array<std::uint32_t, kMaxValues + 1> m_ends{};
    std::uint8_t m_count = 0;
    std::uint8_t m_form = 0;  // 0: the caption is kept; else 1 + the index of its prefix
};

// Makes the objects of one reading, their texts in shared blocks of about 64 KiB.
class ObjectMaker {
public:
    ObjectMaker() = default;
    ObjectMaker(const ObjectMaker&) = delete;
    ObjectMaker& operator=(const ObjectMaker&) = delete;
    ~ObjectMaker();

    // As ProjectObject::quoted and makeMenu.
    ProjectObject quoted(Kind kind, std::string_view prefix, std::initializer_list<std::string_view> values);
    ProjectObject menu(std::string_view text, std::string_view command, std::string_view name, bool isDefault);

private:
    detail::TextBlock* m_block = nullptr;  // the block being filled, held by the maker too
    std::size_t m_used = 0;
    std::size_t m_capacity = 0;
};

ProjectObject makeProgram(std::string_view value);
ProjectObject makeResource(std::string_view value);
// A run entry in the resource form when `resource`, else in the program form.
ProjectObject makeRunEntry(std::string_view value, bool resource);
ProjectObject makeIcon(std::string_view value);
ProjectObject makeLabel(std::string_view value);
ProjectObject makeMenu(std::string_view text, std::string_view command, std::string_view name, bool isDefault = false);

// A run entry is a resource when the first ten characters of its caption are "Ejecutar r", and a
// program when they are "Ejecutar p"; the caption is the only place this is recorded.
bool isResourceEntry(const ProjectObject& o);
bool isProgramEntry(const ProjectObject& o);

// Replaces the first value and rebuilds the caption in the form the object already has.
void setFirstValue(ProjectObject& o, std::string_view value);

// What the disc will be made on: a CD or DVD, or a USB memory. What each Windows does with each
// (a USB hard disk too) is in the rules of disc/windows_rules.h.
enum class Medium { CdDvd, Usb };

// The folder whose contents will be burnt, and the medium; an empty folder means none is named.
struct DiscTarget {
    std::string folder;
    Medium medium = Medium::CdDvd;

    bool operator==(const DiscTarget&) const = default;
};

// "CD/DVD" or "USB", as the project file and the editor write it.
std::string_view mediumName(Medium medium);
// The medium named by a text, A–Z folded: "USB" is a USB drive, anything else a CD or DVD.
Medium mediumFromName(std::string_view name);

// The ordered object list with the operations that keep its order rules, the disc it is for and the
// disc's settings beside the list.
struct Project {
    std::vector<ProjectObject> objects;
    DiscTarget disc;
    DiscSettings settings;

    Project() = default;
    // A project of these objects, with no disc named.
    explicit Project(std::vector<ProjectObject> objectList) : objects(std::move(objectList)) {}

    std::size_t size() const { return objects.size(); }
    bool empty() const { return objects.empty(); }

    // Where a new object of the kind goes: a run entry at 0; an icon at 1 after a run entry, else
    // 0; a label after a run entry or icon (2 when an icon stands second); a menu at the end.
    std::size_t insertPosition(Kind kind) const;
    // Inserts at insertPosition(kind) and returns the position.
    std::size_t insert(ProjectObject o);
    void append(ProjectObject o) { objects.push_back(std::move(o)); }

    std::size_t count(Kind kind) const;
    bool contains(Kind kind) const { return count(kind) > 0; }
    std::size_t menuCount() const;

    // Turns every default menu into a plain one.
    void clearDefaults();
    // Makes the menu at the index the only default menu (its caption rebuilt from its text).
    // Returns false when the index is not a menu.
    bool makeDefault(std::size_t index);
    // Default → plain, or plain → the only default. Returns false when the index is not a menu.
    bool toggleDefault(std::size_t index);

    // A menu moves only among menus: up when the object before it is a menu, down when the one
    // after it is. Each returns the menu's new position, or the old one when it cannot move.
    bool canMoveUp(std::size_t index) const;
    bool canMoveDown(std::size_t index) const;
    std::size_t moveUp(std::size_t index);
    std::size_t moveDown(std::size_t index);

    bool operator==(const Project&) const = default;
};

// True when every value that the project's files hold (the first of a run entry, icon or label, the
// three of a menu, the texts of the disc settings) has a Windows-1252 byte for each of its characters,
// so that those files (whose other characters are ASCII) need not be UTF-16.
bool valuesFitCp1252(const Project& project);

// One menu gathered by the new-project wizard.
struct WizardMenu {
    std::string text;
    std::string command;
    std::string name;
    Kind kind = Kind::PlainMenu;  // PlainMenu or DefaultMenu
};

// What the new-project wizard holds when it finishes.
struct WizardData {
    std::string runCommand;
    bool resource = false;  // "Recurso con programa asociado"
    std::string icon;
    std::string label;
    std::vector<WizardMenu> menus;
};

// Builds a project from wizard data: the run entry, icon and label when not empty, then every
// menu in order with its kind unchanged.
Project buildProject(const WizardData& data);

}  // namespace kmr
