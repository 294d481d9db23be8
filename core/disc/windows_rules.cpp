#include "disc/windows_rules.h"

#include <algorithm>
#include <cstdlib>

namespace kmr::disc {
namespace {

constexpr std::uint8_t bit(WindowsVersion v) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(v)); }
constexpr std::uint8_t bit(DriveType d) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(d)); }

constexpr std::uint8_t kXp = bit(WindowsVersion::Xp);
constexpr std::uint8_t kVista7 = bit(WindowsVersion::Vista7);
constexpr std::uint8_t kWin8 = bit(WindowsVersion::Win8to11);
constexpr std::uint8_t kFromVista = kVista7 | kWin8;
constexpr std::uint8_t kAllVersions = kXp | kFromVista;
constexpr std::uint8_t kCd = bit(DriveType::CdDvd);
constexpr std::uint8_t kUsb = bit(DriveType::Removable) | bit(DriveType::Fixed);
constexpr std::uint8_t kRemovable = bit(DriveType::Removable);
constexpr std::uint8_t kFixed = bit(DriveType::Fixed);
constexpr std::uint8_t kAllDrives = kCd | kUsb;

constexpr SourceInfo kSources[] = {
    {Source::None, "", "", ""},
    {Source::AutorunEntries, "autorun-inf", "Autorun.inf Entries",
     "https://learn.microsoft.com/windows/win32/shell/autorun-cmds"},
    {Source::AutorunApplication, "autorun-app", "Creating an AutoRun-enabled Application",
     "https://learn.microsoft.com/windows/win32/shell/autoplay-works"},
    {Source::AutoRunPolicy, "autorun-policy", "Set the default behavior for AutoRun (AutoPlay Policies)",
     "https://learn.microsoft.com/windows/client-management/mdm/policy-csp-autoplay"},
    {Source::Windows7AutoPlay, "autoplay-windows7", "Improvements to AutoPlay (Engineering Windows 7, 2009)",
     "https://blogs.msdn.microsoft.com/e7/2009/04/27/improvements-to-autoplay/"},
    {Source::Kb971029, "kb971029", "Update for the AutoPlay functionality in Windows (KB971029)",
     "https://support.microsoft.com/kb/971029"},
    {Source::Kb967715, "kb967715", "How to disable the Autorun functionality in Windows (KB967715)",
     "https://support.microsoft.com/kb/967715"},
    {Source::EventHandlers, "autoplay-handlers", "How to Register a Handler for a Device Event",
     "https://learn.microsoft.com/windows/win32/shell/how-to-register-a-handler-for-a-device-event"},
    {Source::LaunchAction, "autoplay-content", "uap:LaunchAction (in uap:AutoPlayContent)",
     "https://learn.microsoft.com/uwp/schemas/appxpackage/uapmanifestschema/element-uap-launchaction"},
    {Source::XpIcons, "xp-icons", "Creating Windows XP Icons (MSDN, 2001)", ""},
    {Source::DesktopIcons, "desktop-icons", "Icons (Windows desktop guidelines)",
     "https://learn.microsoft.com/windows/win32/uxguide/vis-icons"},
};

using enum Topic;
using enum Effect;
using enum Source;

// The rules, topic by topic. A rule's text is what its page says, as this program's user needs it; an
// undocumented rule's text says what is left open and follows "No documentado: ".
constexpr Rule kRules[] = {
    {Insertion, kXp, kCd, RunsProgram, AutoRunPolicy, None,
     "Antes de Windows Vista, al insertar un disco con una orden de autoarranque (open o shellexecute) Windows "
     "ejecuta el programa sin preguntar."},
    {Insertion, kFromVista, kCd, OffersProgram, AutoRunPolicy, None,
     "Desde Windows Vista, Windows pregunta antes de ejecutar la orden de autoarranque: la presenta como una de las "
     "opciones de la Reproducción automática."},
    {Insertion, kAllVersions, kUsb, NotOffered, Windows7AutoPlay, Kb971029,
     "Desde Windows 7 la Reproducción automática no presenta la orden de autoarranque en las unidades que no son CD "
     "ni DVD; la actualización KB971029 hace lo mismo en Windows XP y Vista."},

    {WithoutUpdate, kXp | kVista7, kRemovable, OffersWithAction, AutorunEntries, None,
     "Sin esa actualización (Windows XP SP2 y Vista), una unidad extraíble solo presenta el programa si el "
     "autorun.inf tiene action: es la primera opción, marcada, con el texto de action y el icono del disco."},
    {WithoutUpdate, kXp | kVista7, kFixed, OffersWithDefaultText, AutorunEntries, None,
     "Sin esa actualización (Windows XP SP2 y Vista), en una unidad fija action es opcional: sin ella la "
     "Reproducción automática presenta el programa con un texto propio."},
    {WithoutUpdate, kXp | kVista7, kCd, DoesNotApply, None, None, ""},
    {WithoutUpdate, kWin8, kAllDrives, DoesNotApply, None, None, ""},

    {ActionText, kAllVersions, kCd, Ignored, AutorunEntries, None,
     "Windows solo usa action en unidades extraíbles y fijas, desde Windows XP SP2; en un CD o DVD no la usa."},
    {ActionText, kAllVersions, kUsb, NamesProgram, AutorunEntries, None,
     "En una unidad extraíble o fija, el texto de action, seguido de un texto de Windows que nombra al proveedor, "
     "presenta el programa en la Reproducción automática, con el icono del disco al lado."},

    {UseAutoPlay, kXp, kAllDrives, IgnoresProgram, AutorunEntries, None,
     "Con UseAutoPlay=1, Windows XP usa la Reproducción automática en lugar del autoarranque y no hace caso de open "
     "ni de shellexecute."},
    {UseAutoPlay, kFromVista, kAllDrives, HidesProgram, AutorunEntries, None,
     "Con UseAutoPlay=1, desde Windows Vista la orden de open o shellexecute no aparece entre las opciones de la "
     "Reproducción automática."},

    {ContentSections, kXp, kAllDrives, NotRead, AutorunEntries, None,
     "[Content], [ExclusiveContentPaths] e [IgnoreContentPaths] solo se admiten desde Windows Vista: Windows XP "
     "busca el contenido en todo el disco."},
    {ContentSections, kFromVista, kAllDrives, Read, AutorunEntries, None,
     "[Content] dice a la Reproducción automática qué contenido lleva el disco sin que tenga que buscarlo; "
     "[ExclusiveContentPaths] e [IgnoreContentPaths] dicen en qué carpetas buscarlo y en cuáles no."},

    {ContentHandlers, kAllVersions, kAllDrives, Offered, EventHandlers, LaunchAction,
     "Cada tipo de contenido es un evento de la Reproducción automática (PlayMusicFilesOnArrival, "
     "ShowPicturesOnArrival, PlayVideoFilesOnArrival, MixedContentOnArrival): se ofrecen los programas que el equipo "
     "tenga registrados para ese evento."},

    {CustomEvent, kAllVersions, kAllDrives, Offered, AutorunEntries, None,
     "Con CustomEvent, la Reproducción automática solo ofrece los programas registrados para ese evento."},

    {Presentation, kXp | kVista7, kAllDrives, Window, AutorunEntries, AutoRunPolicy,
     "Las opciones se muestran en la ventana de Reproducción automática."},
    {Presentation, kWin8, kAllDrives, Panel, LaunchAction, None,
     "Desde Windows 8 las opciones se muestran en el panel de Reproducción automática."},

    {Notice, kXp | kVista7, kAllDrives, DoesNotApply, None, None, ""},
    {Notice, kWin8, kAllDrives, Undocumented, LaunchAction, None,
     "si Windows avisa con una notificación antes de mostrar el panel de Reproducción automática."},

    {FolderEntry, kAllVersions, kAllDrives, Offered, Windows7AutoPlay, None,
     "La Reproducción automática ofrece también su propia opción de abrir la carpeta para ver los archivos."},

    {IconAndLabel, kAllVersions, kAllDrives, Shown, AutorunEntries, None,
     "El icono, con la etiqueta, representa la unidad en Windows: el Explorador lo muestra en lugar del icono "
     "normal de la unidad."},

    {IconSizes, kXp, kAllDrives, SizesXp, XpIcons, None, "Los iconos de Windows XP se muestran a 16, 32 y 48 píxeles."},
    {IconSizes, kFromVista, kAllDrives, SizesDesktop, DesktopIcons, None,
     "Desde Windows Vista los iconos se muestran a 16, 32, 48 y 256 píxeles (entre 32 y 256, a escala)."},

    {ContextMenu, kAllVersions, kCd, FromAutorun, AutorunEntries, AutorunApplication,
     "Cada shell\\verbo añade al menú contextual de la unidad una orden con su texto; shell=verbo la hace "
     "predeterminada; sin shell= la predeterminada es «Reproducción automática», que ejecuta el programa de open."},
    {ContextMenu, kAllVersions, kUsb, Undocumented, Kb967715, Windows7AutoPlay,
     "si los menús del autorun.inf llegan al menú contextual de una unidad que no es CD ni DVD: el autoarranque "
     "comprende el doble clic, el menú contextual y la Reproducción automática, y lo publicado sobre la "
     "actualización que lo limitó solo habla de la Reproducción automática."},

    {DoubleClick, kAllVersions, kCd, RunsDefault, AutorunEntries, AutorunApplication,
     "Un doble clic en el icono de la unidad ejecuta la orden predeterminada de su menú contextual."},
    {DoubleClick, kAllVersions, kUsb, Undocumented, Kb967715, Windows7AutoPlay,
     "qué hace un doble clic en una unidad que no es CD ni DVD con un autorun.inf: el doble clic es parte del "
     "autoarranque, y lo publicado sobre la actualización que lo limitó solo habla de la Reproducción automática."},
};

constexpr int kXpSizes[] = {16, 32, 48};
constexpr int kDesktopSizes[] = {16, 32, 48, 256};

}  // namespace

std::string_view versionName(WindowsVersion version) {
    switch (version) {
        case WindowsVersion::Xp: return "Windows XP";
        case WindowsVersion::Vista7: return "Windows Vista y 7";
        case WindowsVersion::Win8to11: break;
    }
    return "Windows 8, 10 y 11";
}

std::string_view versionKey(WindowsVersion version) {
    switch (version) {
        case WindowsVersion::Xp: return "xp";
        case WindowsVersion::Vista7: return "7";
        case WindowsVersion::Win8to11: break;
    }
    return "10";
}

std::optional<WindowsVersion> versionFromKey(std::string_view key) {
    for (const WindowsVersion v : kWindowsVersions) {
        if (versionKey(v) == key) return v;
    }
    return std::nullopt;
}

std::string_view driveName(DriveType drive) {
    switch (drive) {
        case DriveType::CdDvd: return "CD o DVD";
        case DriveType::Removable: return "Memoria USB";
        case DriveType::Fixed: break;
    }
    return "Disco duro USB";
}

std::string_view driveKey(DriveType drive) {
    switch (drive) {
        case DriveType::CdDvd: return "cd";
        case DriveType::Removable: return "usb";
        case DriveType::Fixed: break;
    }
    return "usb-disk";
}

std::optional<DriveType> driveFromKey(std::string_view key) {
    for (const DriveType d : kDriveTypes) {
        if (driveKey(d) == key) return d;
    }
    return std::nullopt;
}

DriveType driveOf(Medium medium) { return medium == Medium::Usb ? DriveType::Removable : DriveType::CdDvd; }
Medium mediumOf(DriveType drive) { return drive == DriveType::CdDvd ? Medium::CdDvd : Medium::Usb; }

std::span<const SourceInfo> ruleSources() { return std::span(kSources).subspan(1); }

const SourceInfo& sourceInfo(Source source) { return kSources[static_cast<std::size_t>(source)]; }

std::string_view topicName(Topic topic) {
    constexpr std::string_view names[kTopicCount] = {
        "Al insertar el disco",
        "Sin la actualización KB971029",
        "action",
        "UseAutoPlay",
        "[Content] y carpetas de contenido",
        "Programas según el contenido",
        "CustomEvent",
        "Dónde se eligen las opciones",
        "Aviso previo",
        "Abrir la carpeta",
        "Icono y etiqueta",
        "Tamaños del icono",
        "Menú contextual",
        "Doble clic",
    };
    return names[static_cast<std::size_t>(topic)];
}

std::span<const Rule> windowsRules() { return kRules; }

bool appliesTo(const Rule& rule, WindowsVersion version, DriveType drive) {
    return (rule.versions & bit(version)) != 0 && (rule.drives & bit(drive)) != 0;
}

const Rule& ruleFor(Topic topic, WindowsVersion version, DriveType drive) {
    const auto it = std::find_if(std::begin(kRules), std::end(kRules),
                                 [&](const Rule& r) { return r.topic == topic && appliesTo(r, version, drive); });
    // The table covers every topic, version and drive (a test walks them all).
    if (it == std::end(kRules)) std::abort();
    return *it;
}

std::span<const int> iconSizes(Effect sizes) {
    if (sizes == Effect::SizesXp) return kXpSizes;
    if (sizes == Effect::SizesDesktop) return kDesktopSizes;
    return {};
}

}  // namespace kmr::disc
