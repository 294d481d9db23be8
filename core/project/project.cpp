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

ProjectObject single(Kind kind, std::string_view prefix, std::string value) {
    ProjectObject o;
    o.caption = buildCaption(prefix, value);
    o.kind = kind;
    o.values.push_back(std::move(value));
    return o;
}

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

ProjectObject makeProgram(std::string value) { return single(Kind::RunEntry, kProgramPrefix, std::move(value)); }
ProjectObject makeResource(std::string value) { return single(Kind::RunEntry, kResourcePrefix, std::move(value)); }
ProjectObject makeRunEntry(std::string value, bool resource) {
    return resource ? makeResource(std::move(value)) : makeProgram(std::move(value));
}
ProjectObject makeIcon(std::string value) { return single(Kind::Icon, kIconPrefix, std::move(value)); }
ProjectObject makeLabel(std::string value) { return single(Kind::Label, kLabelPrefix, std::move(value)); }

ProjectObject makeMenu(std::string text, std::string command, std::string name, bool isDefault) {
    ProjectObject o;
    o.caption = buildCaption(kMenuPrefix, text);
    o.kind = isDefault ? Kind::DefaultMenu : Kind::PlainMenu;
    // Moved in one by one: a braced list would copy each text.
    o.values.reserve(3);
    o.values.push_back(std::move(text));
    o.values.push_back(std::move(command));
    o.values.push_back(std::move(name));
    return o;
}

std::string_view mediumName(Medium medium) { return medium == Medium::Usb ? "USB" : "CD/DVD"; }

Medium mediumFromName(std::string_view name) {
    return text::asciiLower(text::trimView(name)) == "usb" ? Medium::Usb : Medium::CdDvd;
}

bool valuesFitCp1252(const Project& project) {
    for (const auto& o : project.objects) {
        const std::size_t written = std::min<std::size_t>(o.values.size(), isMenu(o.kind) ? 3 : 1);
        for (std::size_t i = 0; i < written; ++i) {
            if (!text::fitsCp1252(o.values[i])) return false;
        }
    }
    return true;
}

bool isResourceEntry(const ProjectObject& o) { return o.caption.starts_with("Ejecutar r"); }
bool isProgramEntry(const ProjectObject& o) { return o.caption.starts_with("Ejecutar p"); }

void setFirstValue(ProjectObject& o, std::string value) {
    o.caption = buildCaption(prefixOf(o), value);
    if (o.values.empty()) o.values.emplace_back();
    o.values[0] = std::move(value);
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
    o.caption = buildCaption(kMenuPrefix, o.values.empty() ? std::string() : o.values[0]);
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
