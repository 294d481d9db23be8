#pragma once
// What each Windows does with a disc, by version and by the drive it sees: one table of rules, each
// one what a page of Microsoft's documentation says, and which page. Where the documentation says
// nothing, the rule says that too ("no documentado") rather than guess. The preview of the disc
// (disc/windows_preview.h), kmrc preview and the disc check's findings on the medium read this table
// and nothing else, so they cannot disagree.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "project/project.h"

namespace kmr::disc {

enum class WindowsVersion : std::uint8_t { Xp, Vista7, Win8to11 };
inline constexpr std::array<WindowsVersion, 3> kWindowsVersions = {WindowsVersion::Xp, WindowsVersion::Vista7,
                                                                   WindowsVersion::Win8to11};

// The drive as Windows sees it: a CD or DVD drive, a removable drive (a USB memory) or a fixed drive
// (a USB hard disk).
enum class DriveType : std::uint8_t { CdDvd, Removable, Fixed };
inline constexpr std::array<DriveType, 3> kDriveTypes = {DriveType::CdDvd, DriveType::Removable, DriveType::Fixed};

// Names as the preview shows them ("Windows Vista y 7", "Memoria USB") and as kmrc takes them
// ("7", "usb").
std::string_view versionName(WindowsVersion version);
std::string_view versionKey(WindowsVersion version);
std::optional<WindowsVersion> versionFromKey(std::string_view key);
std::string_view driveName(DriveType drive);
std::string_view driveKey(DriveType drive);
std::optional<DriveType> driveFromKey(std::string_view key);
// The drive a project's medium is: a CD or DVD, or a USB memory.
DriveType driveOf(Medium medium);
// The medium whose names and volume rules a drive follows.
Medium mediumOf(DriveType drive);

// The pages the rules come from.
enum class Source : std::uint8_t {
    None,
    AutorunEntries,      // "Autorun.inf Entries"
    AutorunApplication,  // "Creating an AutoRun-enabled Application"
    AutoRunPolicy,       // the policy "Set the default behavior for AutoRun"
    Windows7AutoPlay,    // "Improvements to AutoPlay" (Windows 7)
    Kb971029,            // the update that limited AutoRun on drives that are not CDs or DVDs
    Kb967715,            // "How to disable the Autorun functionality in Windows"
    EventHandlers,       // "How to Register a Handler for a Device Event"
    LaunchAction,        // the AutoPlay content events and the AutoPlay panel (Windows 8 and later)
    XpIcons,             // "Creating Windows XP Icons"
    DesktopIcons,        // "Icons" of the Windows desktop guidelines (Vista and later)
};

struct SourceInfo {
    Source source;
    std::string_view key;      // a short name for scripts and the help page's anchors
    std::string_view title;    // as the page is titled
    std::string_view address;  // empty when no address is known to last
};
std::span<const SourceInfo> ruleSources();
const SourceInfo& sourceInfo(Source source);

// What a rule is about.
enum class Topic : std::uint8_t {
    Insertion,        // what inserting the disc does with the program of open or shellexecute
    WithoutUpdate,    // the same on Windows XP and Vista without the update that limited AutoRun
    ActionText,       // whether action presents the program
    UseAutoPlay,      // what UseAutoPlay=1 does
    ContentSections,  // whether [Content] and the content folders are read
    ContentHandlers,  // which programs of the computer the content brings
    CustomEvent,      // what CustomEvent does
    Presentation,     // where the choices are shown
    Notice,           // a notice before the choices
    FolderEntry,      // Windows' own choice of opening the folder
    IconAndLabel,     // whether the drive shows the disc's icon and label
    IconSizes,        // the sizes the file manager shows icons at
    ContextMenu,      // whether the shell entries make the drive's context menu
    DoubleClick,      // what a double click on the drive does
};
inline constexpr int kTopicCount = 14;
std::string_view topicName(Topic topic);

enum class Effect : std::uint8_t {
    DoesNotApply,
    Undocumented,
    RunsProgram,            // Insertion: runs it without asking
    OffersProgram,          // Insertion: one of the choices
    NotOffered,             // Insertion: not among the choices
    OffersWithAction,       // WithoutUpdate: offered only with action, first and marked
    OffersWithDefaultText,  // WithoutUpdate: offered, action optional
    Ignored,                // ActionText: not used
    NamesProgram,           // ActionText: its text presents the program
    IgnoresProgram,         // UseAutoPlay: AutoPlay instead of AutoRun, open ignored
    HidesProgram,           // UseAutoPlay: the program left out of the choices
    NotRead,                // ContentSections
    Read,                   // ContentSections
    Offered,                // ContentHandlers, CustomEvent, FolderEntry
    Window,                 // Presentation: the AutoPlay window
    Panel,                  // Presentation: the AutoPlay panel
    Shown,                  // IconAndLabel
    SizesXp,                // IconSizes: 16, 32 and 48
    SizesDesktop,           // IconSizes: 16, 32, 48 and 256
    FromAutorun,            // ContextMenu: the shell entries, shell= the default
    RunsDefault,            // DoubleClick: the default entry of the context menu
};

inline constexpr std::string_view kUndocumented = "no documentado";

// One rule: for which versions and drives (bit 1 << value of each), what happens, where it is
// written, and what the page says (for an undocumented rule, what it leaves open), in Spanish.
struct Rule {
    Topic topic;
    std::uint8_t versions;
    std::uint8_t drives;
    Effect effect;
    Source source;
    Source also;
    std::string_view text;
};

// Every rule; each topic has exactly one rule for each version and drive.
std::span<const Rule> windowsRules();
bool appliesTo(const Rule& rule, WindowsVersion version, DriveType drive);
const Rule& ruleFor(Topic topic, WindowsVersion version, DriveType drive);

// The icon sizes of an IconSizes effect, smallest first.
std::span<const int> iconSizes(Effect sizes);

}  // namespace kmr::disc
