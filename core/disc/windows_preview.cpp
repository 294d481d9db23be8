#include "disc/windows_preview.h"

#include <algorithm>

#include "disc/content_types.h"
#include "text/text.h"

namespace kmr::disc {
namespace {

std::string quoted(std::string_view s) { return "«" + std::string(s) + "»"; }

std::string undocumented(const Rule& rule) { return "No documentado: " + std::string(rule.text); }

void cite(std::vector<Source>& sources, const Rule& rule) {
    for (const Source s : {rule.source, rule.also}) {
        if (s != Source::None && std::find(sources.begin(), sources.end(), s) == sources.end()) sources.push_back(s);
    }
}

const ProjectObject* firstOf(const Project& project, Kind kind) {
    const auto it = std::find_if(project.objects.begin(), project.objects.end(),
                                 [kind](const ProjectObject& o) { return o.kind == kind; });
    return it == project.objects.end() ? nullptr : &*it;
}

class PreviewMaker {
public:
    PreviewMaker(const Project& project, const std::string& folder, WindowsVersion version, DriveType drive)
        : m_project(project), m_folder(folder), m_version(version), m_drive(drive) {
        m_preview.version = version;
        m_preview.drive = drive;
        const ProjectObject* run = firstOf(project, Kind::RunEntry);
        if (run != nullptr) m_command = std::string(text::trimView(run->value(0)));
        m_runs = run != nullptr;
        const auto& useAutoPlay = project.settings.useAutoPlay;
        m_useAutoPlay = useAutoPlay && text::trimView(*useAutoPlay) == "1";
    }

    DiscPreview make() {
        insertion();
        driveView();
        contextMenuAndDoubleClick();
        return std::move(m_preview);
    }

private:
    const Rule& rule(Topic topic) const { return ruleFor(topic, m_version, m_drive); }

    void note(const Rule& r, std::string text) {
        m_preview.insertion.notes.push_back(std::move(text));
        cite(m_preview.insertion.sources, r);
    }

    void insertion() {
        InsertionView& in = m_preview.insertion;
        const Rule& arrival = rule(Topic::Insertion);
        const Rule& useAutoPlay = rule(Topic::UseAutoPlay);
        const Rule& presentation = rule(Topic::Presentation);
        in.presentation = presentation.effect;
        cite(in.sources, arrival);

        // UseAutoPlay=1 takes the program away before anything else looks at it.
        const bool program = m_runs && !m_useAutoPlay;
        if (m_runs && m_useAutoPlay) note(useAutoPlay, std::string(useAutoPlay.text));
        if (program && arrival.effect == Effect::RunsProgram) {
            in.arrival = Arrival::RunsProgram;
            in.summary = "Windows ejecuta " + quoted(m_command) + " sin preguntar.";
            actionNote();
            return;
        }
        if (program && arrival.effect == Effect::OffersProgram) {
            in.entries.push_back(
                {m_command, "Orden de autoarranque del disco; el texto de la opción: no documentado", true});
        }
        if (program && arrival.effect == Effect::NotOffered) note(arrival, std::string(arrival.text));
        if (program) withoutUpdate();
        actionNote();
        contentEntries();

        const bool offers = !in.entries.empty();
        if (!offers) {
            in.arrival = Arrival::Undocumented;
            in.summary = "No documentado: qué hace Windows al insertar un disco sin programa ni contenido que ofrecer.";
            return;
        }
        const Rule& folder = rule(Topic::FolderEntry);
        in.entries.push_back({"Abrir la carpeta para ver los archivos", "Opción de Windows", false});
        cite(in.sources, folder);
        in.arrival = Arrival::AutoPlay;
        in.summary = presentation.effect == Effect::Panel
                         ? "Windows muestra el panel de Reproducción automática con estas opciones."
                         : "Windows muestra la ventana de Reproducción automática con estas opciones.";
        cite(in.sources, presentation);
        if (const Rule& notice = rule(Topic::Notice); notice.effect == Effect::Undocumented) {
            note(notice, undocumented(notice));
        }
    }

    // What Windows XP and Vista did on a USB drive before the update, applied to this project.
    void withoutUpdate() {
        const Rule& r = rule(Topic::WithoutUpdate);
        if (r.effect != Effect::OffersWithAction && r.effect != Effect::OffersWithDefaultText) return;
        const auto& action = m_project.settings.action;
        const bool hasAction = action && !text::trimView(*action).empty();
        std::string what;
        if (hasAction) {
            what = "presentaría primero, marcado, " + actionPhrase(*action) +
                   " con el icono del disco y un texto de Windows que nombra al proveedor";
        } else if (r.effect == Effect::OffersWithAction) {
            what = "tampoco presentaría el programa: en una unidad extraíble hace falta action";
        } else {
            what = "presentaría el programa con un texto propio de Windows";
        }
        note(r, "Sin la actualización KB971029 (Windows XP SP2 y Vista), la Reproducción automática " + what + ".");
    }

    // action where Windows does not use it.
    void actionNote() {
        if (!m_project.settings.action) return;
        const Rule& r = rule(Topic::ActionText);
        if (r.effect == Effect::Ignored) note(r, std::string(r.text));
    }

    void contentEntries() {
        InsertionView& in = m_preview.insertion;
        const Rule& sections = rule(Topic::ContentSections);
        const DiscSettings& s = m_project.settings;
        const bool hasSections =
            s.content != ContentTypes{} || !s.exclusiveContentPaths.empty() || !s.ignoreContentPaths.empty();
        if (hasSections) note(sections, std::string(sections.text));
        if (s.customEvent && !text::trimView(*s.customEvent).empty()) {
            const Rule& r = rule(Topic::CustomEvent);
            in.entries.push_back({"Programas registrados para el evento " + quoted(text::trimView(*s.customEvent)),
                                  "CustomEvent", false});
            cite(in.sources, r);
            return;
        }
        const std::array<bool, 3> found = contentFound(m_folder, s, sections.effect == Effect::Read);
        const auto kinds = std::count(found.begin(), found.end(), true);
        if (kinds == 0) return;
        const Rule& r = rule(Topic::ContentHandlers);
        cite(in.sources, r);
        if (kinds > 1) {
            in.entries.push_back({"Programas registrados para contenido mixto", "MixedContentOnArrival", false});
            return;
        }
        const auto at = static_cast<std::size_t>(std::find(found.begin(), found.end(), true) - found.begin());
        const ContentKind kind = kContentKinds[at];
        in.entries.push_back(
            {"Programas registrados para " + std::string(contentWhat(kind)), std::string(contentEvent(kind)), false});
    }

    void driveView() {
        DriveView& d = m_preview.driveView;
        const Rule& shown = rule(Topic::IconAndLabel);
        const Rule& sizes = rule(Topic::IconSizes);
        d.label = discName(m_project, {m_folder, mediumOf(m_drive)});
        if (const ProjectObject* icon = firstOf(m_project, Kind::Icon))
            d.icon = std::string(text::trimView(icon->value(0)));
        const auto px = iconSizes(sizes.effect);
        d.sizes.assign(px.begin(), px.end());
        cite(d.sources, shown);
        cite(d.sources, sizes);
    }

    void contextMenuAndDoubleClick() {
        ContextMenuView& menu = m_preview.menu;
        const Rule& menuRule = rule(Topic::ContextMenu);
        menu.documented = menuRule.effect == Effect::FromAutorun;
        menu.entries = discContextMenu(m_project, m_version, m_drive);
        cite(menu.sources, menuRule);

        DoubleClickView& click = m_preview.doubleClick;
        const Rule& clickRule = rule(Topic::DoubleClick);
        cite(click.sources, clickRule);
        click.documented = clickRule.effect == Effect::RunsDefault;
        if (!click.documented) {
            click.text = undocumented(clickRule);
            return;
        }
        const auto def =
            std::find_if(menu.entries.begin(), menu.entries.end(), [](const MenuEntry& e) { return e.isDefault; });
        if (def == menu.entries.end() || def->windows) {
            click.text = "Abre la unidad para ver sus archivos.";
        } else if (m_runs && def == menu.entries.begin()) {
            click.text = "Ejecuta la orden de autoarranque: " + quoted(m_command) + ".";
        } else {
            const auto index = static_cast<std::size_t>(def - menu.entries.begin()) - (m_runs ? 1 : 0);
            std::size_t seen = 0;
            for (const ProjectObject& o : m_project.objects) {
                if (!isMenu(o.kind) || seen++ != index) continue;
                click.text = "Ejecuta el menú " + quoted(def->text) + ": " + quoted(text::trimView(o.value(1))) + ".";
            }
        }
    }

    const Project& m_project;
    const std::string& m_folder;
    WindowsVersion m_version;
    DriveType m_drive;
    std::string m_command;
    bool m_runs = false;
    bool m_useAutoPlay = false;
    DiscPreview m_preview;
};

}  // namespace

DiscPreview previewDisc(const Project& project, const std::string& folder, WindowsVersion version, DriveType drive) {
    return PreviewMaker(project, folder, version, drive).make();
}

std::string entriesNotRunOn(const Project& project, DriveType drive) {
    std::string run;
    std::string menus;
    if (const ProjectObject* o = firstOf(project, Kind::RunEntry)) run = isResourceEntry(*o) ? "shellexecute" : "open";
    if (project.contains(Kind::DefaultMenu)) menus = "shell";
    for (const ProjectObject& o : project.objects) {
        if (isMenu(o.kind)) menus.append(menus.empty() ? "" : ", ").append("shell\\").append(o.value(2));
    }
    const auto everywhere = [drive](Topic topic, Effect effect) {
        return std::all_of(kWindowsVersions.begin(), kWindowsVersions.end(),
                           [&](WindowsVersion v) { return ruleFor(topic, v, drive).effect == effect; });
    };
    std::string said;
    if (!run.empty() && everywhere(Topic::Insertion, Effect::NotOffered)) {
        said = std::string(ruleFor(Topic::Insertion, WindowsVersion::Win8to11, drive).text) +
               " No se ofrecerá: " + run + ".";
    }
    if (!menus.empty() && everywhere(Topic::ContextMenu, Effect::Undocumented)) {
        said += std::string(said.empty() ? "" : " ") + "Si Windows usa en una unidad USB los menús del autorun.inf (" +
                menus + ") no está documentado.";
    }
    return said;
}

std::string actionPhrase(std::string_view action) {
    const std::string_view value = text::trimView(action);
    const auto comma = value.rfind(',');
    if (!value.starts_with('@') || comma == std::string_view::npos) return quoted(value);
    std::string_view id = text::trimView(value.substr(comma + 1));
    if (id.starts_with('-')) id.remove_prefix(1);
    return "el texto número " + std::string(id) + " de " + quoted(text::trimView(value.substr(1, comma - 1)));
}

}  // namespace kmr::disc
