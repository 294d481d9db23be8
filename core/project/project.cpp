// The rules of the project's list: the objects each kind makes, their captions, where a new one goes,
// the default menu and the moving of menus.
#include "project/project.h"

#include <algorithm>
#include <utility>

#include "text/text.h"

namespace kmr {

std::string buildCaption(std::string_view prefix, std::string_view firstValue) {
    std::string s;
    s.reserve(prefix.size() + firstValue.size() + 2);
    s.append(prefix);
    s.push_back('"');
    s.append(firstValue);
    s.push_back('"');
    return s;
}

namespace {

std::string_view prefixOf(const ProjectObject& o) {
    switch (o.kind) {
        case Kind::RunEntry: return isResourceEntry(o) ? kResourcePrefix : kProgramPrefix;
        case Kind::Icon: return kIconPrefix;
        case Kind::Label: return kLabelPrefix;
        case Kind::PlainMenu:
        case Kind::DefaultMenu: break;
    }
    return kMenuPrefix;
}

}  // namespace

ProjectObject makeProgram(std::string_view value) {
    return ProjectObject::quoted(Kind::RunEntry, kProgramPrefix, {value});
}
ProjectObject makeResource(std::string_view value) {
    return ProjectObject::quoted(Kind::RunEntry, kResourcePrefix, {value});
}
ProjectObject makeRunEntry(std::string_view value, bool resource) {
    return resource ? makeResource(value) : makeProgram(value);
}
ProjectObject makeIcon(std::string_view value) { return ProjectObject::quoted(Kind::Icon, kIconPrefix, {value}); }
ProjectObject makeLabel(std::string_view value) { return ProjectObject::quoted(Kind::Label, kLabelPrefix, {value}); }

ProjectObject makeMenu(std::string_view text, std::string_view command, std::string_view name, bool isDefault) {
    return ProjectObject::quoted(isDefault ? Kind::DefaultMenu : Kind::PlainMenu, kMenuPrefix, {text, command, name});
}

std::string_view mediumName(Medium medium) { return medium == Medium::Usb ? "USB" : "CD/DVD"; }

Medium mediumFromName(std::string_view name) {
    return text::asciiLower(text::trimView(name)) == "usb" ? Medium::Usb : Medium::CdDvd;
}

bool valuesFitCp1252(const Project& project) {
    for (const auto& o : project.objects) {
        const std::size_t written = std::min<std::size_t>(o.valueCount(), isMenu(o.kind) ? 3 : 1);
        for (std::size_t i = 0; i < written; ++i) {
            if (!text::fitsCp1252(o.value(i))) return false;
        }
    }
    return settingsFitCp1252(project.settings);
}

bool isResourceEntry(const ProjectObject& o) { return o.caption().starts_with("Ejecutar r"); }
bool isProgramEntry(const ProjectObject& o) { return o.caption().starts_with("Ejecutar p"); }

void setFirstValue(ProjectObject& o, std::string_view value) {
    // One change for caption and value: an object that cannot have both keeps what it had. The value
    // may be a view into the object itself, which assign copies before it lets go of its text.
    std::array<std::string_view, ProjectObject::kMaxValues> values{};
    const std::size_t count = std::max<std::size_t>(o.valueCount(), 1);
    for (std::size_t i = 1; i < o.valueCount(); ++i) values[i] = o.value(i);
    values[0] = value;
    o.assign(buildCaption(prefixOf(o), value), std::span(values.data(), count));
}

std::size_t Project::insertPosition(Kind kind) const {
    const auto kindAt = [this](std::size_t i) { return objects[i].kind; };
    switch (kind) {
        case Kind::RunEntry: return 0;
        case Kind::Icon: return !objects.empty() && kindAt(0) == Kind::RunEntry ? 1 : 0;
        case Kind::Label: {
            std::size_t pos = 0;
            if (!objects.empty() && (kindAt(0) == Kind::RunEntry || kindAt(0) == Kind::Icon)) pos = 1;
            if (objects.size() >= 2 && kindAt(1) == Kind::Icon) pos = 2;
            return pos;
        }
        case Kind::PlainMenu:
        case Kind::DefaultMenu: break;
    }
    return objects.size();
}

std::size_t Project::insert(ProjectObject o) {
    const std::size_t pos = insertPosition(o.kind);
    objects.insert(objects.begin() + static_cast<std::ptrdiff_t>(pos), std::move(o));
    return pos;
}

std::size_t Project::count(Kind kind) const {
    return static_cast<std::size_t>(
        std::count_if(objects.begin(), objects.end(), [kind](const ProjectObject& o) { return o.kind == kind; }));
}

std::size_t Project::menuCount() const {
    return static_cast<std::size_t>(
        std::count_if(objects.begin(), objects.end(), [](const ProjectObject& o) { return isMenu(o.kind); }));
}

void Project::clearDefaults() {
    for (auto& o : objects) {
        if (o.kind == Kind::DefaultMenu) o.kind = Kind::PlainMenu;
    }
}

bool Project::makeDefault(std::size_t index) {
    if (index >= objects.size() || !isMenu(objects[index].kind)) return false;
    clearDefaults();
    auto& o = objects[index];
    o.kind = Kind::DefaultMenu;
    o.setCaption(buildCaption(kMenuPrefix, o.value(0)));
    return true;
}

bool Project::toggleDefault(std::size_t index) {
    if (index >= objects.size() || !isMenu(objects[index].kind)) return false;
    if (objects[index].kind == Kind::DefaultMenu) {
        objects[index].kind = Kind::PlainMenu;  // the caption stays as it is
        return true;
    }
    return makeDefault(index);
}

bool Project::canMoveUp(std::size_t index) const {
    return index > 0 && index < objects.size() && isMenu(objects[index].kind) && isMenu(objects[index - 1].kind);
}

bool Project::canMoveDown(std::size_t index) const {
    return index + 1 < objects.size() && isMenu(objects[index].kind) && isMenu(objects[index + 1].kind);
}

std::size_t Project::moveUp(std::size_t index) {
    if (!canMoveUp(index)) return index;
    std::swap(objects[index], objects[index - 1]);
    return index - 1;
}

std::size_t Project::moveDown(std::size_t index) {
    if (!canMoveDown(index)) return index;
    std::swap(objects[index], objects[index + 1]);
    return index + 1;
}

Project buildProject(const WizardData& data) {
    Project p;
    if (!data.runCommand.empty()) p.append(makeRunEntry(data.runCommand, data.resource));
    if (!data.icon.empty()) p.append(makeIcon(data.icon));
    if (!data.label.empty()) p.append(makeLabel(data.label));
    for (const auto& m : data.menus) {
        auto o = makeMenu(m.text, m.command, m.name);
        o.kind = m.kind;
        p.append(std::move(o));
    }
    return p;
}

}  // namespace kmr
