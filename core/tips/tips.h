#pragma once
// The tips of the "Asistente ide@": the table of tips, when each one is useful, and the draw that
// picks the next one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace kmr {

struct Project;

// What a click on a tip runs.
enum class TipAction {
    None,
    Update,          // the update command
    NewProject,      // Nuevo1
    OnlineManual,    // ManualOnLine1
    Options,         // Opciones1
    Import,          // Importar2
    Compile,         // Exportar1
    InsertRunEntry,  // IProg1
    InsertIcon,      // IIcono1
    InsertLabel,     // ITexto1
    InsertMenu,      // IMenu1
    About,           // Creditos1
    Contact,         // the about box's "Contactar con el autor"
    OtherProduct,    // "&Drevanto"
    OtherPrograms,   // "&Otros programas de Brenlowe"
    FutureProjects,  // "Otros &proyectos de Brenlowe"
    MakerSite,       // "Visitar Brenlowe &Pexilon"
    SisterSite,      // "Visitar &Wendrik"
    HideQuickStart,  // the quick-start panel's "x"
};

// When a tip may be shown.
enum class TipCondition {
    Always,
    NoWindow,             // no project window is open
    FewerThanTwoWindows,  // at most one project window is open
    WindowOpen,           // at least one project window is open
    WindowWithoutRun,     // a window is open and the active project has no run entry
    WindowWithoutIcon,    // ... no icon
    WindowWithoutLabel,   // ... no label
    WindowNotEmpty,       // a window is open; an empty active project keeps the current tip
    WelcomeOn,            // the option "Mensaje de bienvenida" is on
    QuickStartShown,      // the quick-start panel is shown
};

struct Tip {
    std::string_view text;  // UTF-8
    TipCondition condition;
    TipAction action;
};

// The draw picks among tips 0 to 23. The table holds one row more, which the draw never reaches:
// its text speaks of the start wizard while its click hides the quick-start panel, and offering
// it would send the user the wrong way.
inline constexpr int kDrawnTips = 24;
inline constexpr int kTipRows = 25;
const std::array<Tip, kTipRows>& tipTable();

// What the open projects and the options say about which tips are useful now.
struct TipContext {
    int projectWindows = 0;
    // The active project window's objects; nothing when no window is active.
    std::size_t objectCount = 0;
    bool hasRunEntry = false;
    bool hasIcon = false;
    bool hasLabel = false;
    bool welcomeOn = true;        // "Mensaje de bienvenida"
    bool quickStartShown = true;  // the quick-start panel is on screen
};

// The context of `projectWindows` open windows whose active one holds `active` (null: none active).
TipContext tipContext(int projectWindows, const Project* active, bool welcomeOn, bool quickStartShown);

enum class TipVerdict {
    Show,         // the tip may be shown
    Redraw,       // not useful now: draw again
    KeepCurrent,  // stop drawing and leave the tip on screen as it is
};

TipVerdict judgeTip(int index, const TipContext& context);

// A source of tip numbers from 0 to 23: every call reseeds and draws one number.
using TipSource = std::function<int()>;

// Reseeds from `clock` at every call; the default clock is the high-resolution clock. Each seed
// also carries a count of the calls, so a clock that has not moved since the last call still
// gives a fresh seed.
TipSource clockSeededTipSource(std::function<std::uint64_t()> clock = {});

// Draws from `source` until a tip may be shown, and returns it; nothing when the current tip stays.
// A source that keeps drawing useless numbers cannot hold the program: after `kMaxDraws` draws
// the first useful tip after the last number drawn is taken.
inline constexpr int kMaxDraws = 256;
std::optional<int> drawTip(const TipContext& context, const TipSource& source);

}  // namespace kmr
