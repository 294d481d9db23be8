#include "project/project.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <stdexcept>
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

namespace detail {

struct TextBlock {
    std::atomic<std::uint32_t> refs{1};

    char* bytes() { return reinterpret_cast<char*>(this + 1); }

    // A block with room for `size` bytes, held once.
    static TextBlock* make(std::size_t size) {
        void* memory = ::operator new(sizeof(TextBlock) + size);
        return new (memory) TextBlock;
    }
    void hold() noexcept { refs.fetch_add(1, std::memory_order_relaxed); }
    void drop() noexcept {
        if (refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            this->~TextBlock();
            ::operator delete(this);
        }
    }
};

}  // namespace detail

namespace {

using detail::TextBlock;

// The offsets are 32 bits wide: an object whose texts reach 4 GiB is refused as memory the program
// cannot hold.
std::uint32_t offsetOf(std::size_t n) {
    if (n > UINT32_MAX) throw std::bad_alloc();
    return static_cast<std::uint32_t>(n);
}

std::size_t laidOutSize(std::string_view caption, std::span<const std::string_view> values) {
    std::size_t size = caption.size();
    for (const auto v : values) size += v.size();
    return size;
}

// The prefixes a caption is made from; an object's form is 1 + the index of its prefix here.
constexpr std::array<std::string_view, 5> kPrefixes = {kProgramPrefix, kResourcePrefix, kIconPrefix, kLabelPrefix,
                                                       kMenuPrefix};

std::uint8_t formOfPrefix(std::string_view prefix) {
    for (std::size_t i = 0; i < kPrefixes.size(); ++i) {
        if (kPrefixes[i] == prefix) return static_cast<std::uint8_t>(i + 1);
    }
    return 0;
}

// The form whose made caption is exactly `caption` for this first value, or 0.
std::uint8_t formOfCaption(std::string_view caption, std::string_view firstValue) {
    if (caption.size() < firstValue.size() + 2 || caption.back() != '"') return 0;
    const std::string_view prefix = caption.substr(0, caption.size() - firstValue.size() - 2);
    if (caption[prefix.size()] != '"' || caption.substr(prefix.size() + 1, firstValue.size()) != firstValue) return 0;
    return formOfPrefix(prefix);
}

char* put(char* out, std::string_view text) {
    if (!text.empty()) std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

std::span<const std::string_view> firstValues(std::initializer_list<std::string_view> values) {
    return std::span(values.begin(), std::min(values.size(), ProjectObject::kMaxValues));
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

ProjectObject::ProjectObject(std::string_view caption, Kind objectKind, std::initializer_list<std::string_view> values)
    : kind(objectKind) {
    assign(caption, firstValues(values));
}

ProjectObject::ProjectObject(const ProjectObject& other)
    : kind(other.kind),
      m_block(other.m_block),
      m_data(other.m_data),
      m_ends(other.m_ends),
      m_count(other.m_count),
      m_form(other.m_form) {
    if (m_block != nullptr) m_block->hold();
}

ProjectObject::ProjectObject(ProjectObject&& other) noexcept
    : kind(other.kind),
      m_block(std::exchange(other.m_block, nullptr)),
      m_data(std::exchange(other.m_data, nullptr)),
      m_ends(std::exchange(other.m_ends, {})),
      m_count(std::exchange(other.m_count, 0)),
      m_form(std::exchange(other.m_form, 0)) {}

ProjectObject& ProjectObject::operator=(const ProjectObject& other) {
    if (this != &other) {
        if (other.m_block != nullptr) other.m_block->hold();
        release();
        kind = other.kind;
        m_block = other.m_block;
        m_data = other.m_data;
        m_ends = other.m_ends;
        m_count = other.m_count;
        m_form = other.m_form;
    }
    return *this;
}

ProjectObject& ProjectObject::operator=(ProjectObject&& other) noexcept {
    if (this != &other) {
        release();
        kind = other.kind;
        m_block = std::exchange(other.m_block, nullptr);
        m_data = std::exchange(other.m_data, nullptr);
        m_ends = std::exchange(other.m_ends, {});
        m_count = std::exchange(other.m_count, 0);
        m_form = std::exchange(other.m_form, 0);
    }
    return *this;
}

ProjectObject::~ProjectObject() { release(); }

void ProjectObject::release() noexcept {
    if (m_block != nullptr) m_block->drop();
    m_block = nullptr;
    m_data = nullptr;
}

bool ProjectObject::operator==(const ProjectObject& other) const {
    if (kind != other.kind || m_count != other.m_count) return false;
    for (std::size_t i = 0; i < m_count; ++i) {
        if (value(i) != other.value(i)) return false;
    }
    return (m_form == other.m_form && m_form != 0) || caption() == other.caption();
}

void ProjectObject::layOut(char* out, std::uint8_t form, std::string_view caption,
                           std::span<const std::string_view> values) {
    const char* start = out;
    if (form == 0) out = put(out, caption);
    std::array<std::uint32_t, kMaxValues + 1> ends{};
    ends[0] = static_cast<std::uint32_t>(out - start);
    for (std::size_t i = 0; i < values.size(); ++i) {
        out = put(out, values[i]);
        ends[i + 1] = static_cast<std::uint32_t>(out - start);
    }
    m_data = start;
    m_ends = ends;
    m_count = static_cast<std::uint8_t>(values.size());
    m_form = form;
}

std::string ProjectObject::caption() const {
    if (m_form == 0) return std::string(m_data, m_ends[0]);
    const std::string_view prefix = kPrefixes[m_form - 1];
    const std::string_view first = value(0);
    std::string caption;
    caption.reserve(prefix.size() + first.size() + 2);
    caption.append(prefix).append(1, '"').append(first).append(1, '"');
    return caption;
}

void ProjectObject::assign(std::string_view caption, std::span<const std::string_view> values) {
    values = values.first(std::min(values.size(), kMaxValues));
    // A caption that its prefix and first value make is not kept.
    const std::uint8_t form = formOfCaption(caption, values.empty() ? std::string_view() : values[0]);
    if (form != 0) caption = {};
    // The texts may lie in the block this object holds: it is let go only once they are copied.
    TextBlock* block = TextBlock::make(offsetOf(laidOutSize(caption, values)));
    TextBlock* old = m_block;
    layOut(block->bytes(), form, caption, values);
    m_block = block;
    if (old != nullptr) old->drop();
}

ProjectObject ProjectObject::quoted(Kind kind, std::string_view prefix,
                                    std::initializer_list<std::string_view> values) {
    const auto list = firstValues(values);
    ProjectObject o;
    o.kind = kind;
    const std::uint8_t form = formOfPrefix(prefix);
    if (form == 0) {
        // Not one of the prefixes: the caption is kept as it is.
        std::string caption;
        caption.append(prefix).append(1, '"').append(list.empty() ? std::string_view() : list[0]).append(1, '"');
        o.assign(caption, list);
        return o;
    }
    o.m_block = TextBlock::make(offsetOf(laidOutSize({}, list)));
    o.layOut(o.m_block->bytes(), form, {}, list);
    return o;
}

void ProjectObject::replace(std::size_t part, std::string_view text) {
    std::array<std::string_view, kMaxValues> values{};
    for (std::size_t i = 0; i < m_count; ++i) values[i] = value(i);
    // The caption as it stands: a change of the first value leaves it as it was.
    const std::string current = part == 0 ? std::string() : this->caption();
    std::string_view caption = current;
    if (part == 0)
        caption = text;
    else
        values[part - 1] = text;
    assign(caption, std::span(values.data(), m_count));
}

void ProjectObject::setCaption(std::string_view caption) { replace(0, caption); }

void ProjectObject::setValue(std::size_t i, std::string_view value) {
    if (i >= kMaxValues) throw std::out_of_range("ProjectObject::setValue");
    if (i >= m_count) {
        // The values before it are kept and the missing ones come as empty texts.
        std::array<std::string_view, kMaxValues> values{};
        for (std::size_t k = 0; k < m_count; ++k) values[k] = this->value(k);
        values[i] = value;
        const std::string current = caption();
        assign(current, std::span(values.data(), i + 1));
        return;
    }
    replace(i + 1, value);
}

ObjectMaker::~ObjectMaker() {
    if (m_block != nullptr) m_block->drop();
}

ProjectObject ObjectMaker::quoted(Kind kind, std::string_view prefix, std::initializer_list<std::string_view> values) {
    // Blocks of 64 KiB; an object of more than a quarter of that gets a block of its own, so that at
    // most a quarter of a block is left unused.
    constexpr std::size_t kBlock = 1u << 16;
    const auto list = firstValues(values);
    const std::uint8_t form = formOfPrefix(prefix);
    const std::size_t size = offsetOf(laidOutSize({}, list));
    if (form == 0 || size > kBlock / 4) return ProjectObject::quoted(kind, prefix, values);
    if (m_block == nullptr || m_capacity - m_used < size) {
        // Let go of the full block before asking for the next, which may fail: the maker must not
        // let go of it twice.
        if (m_block != nullptr) std::exchange(m_block, nullptr)->drop();
        m_block = TextBlock::make(kBlock);
        m_used = 0;
        m_capacity = kBlock;
    }
    ProjectObject o;
    o.kind = kind;
    m_block->hold();
    o.m_block = m_block;
    o.layOut(m_block->bytes() + m_used, form, {}, list);
    m_used += size;
    return o;
}

ProjectObject ObjectMaker::menu(std::string_view text, std::string_view command, std::string_view name,
                                bool isDefault) {
    return quoted(isDefault ? Kind::DefaultMenu : Kind::PlainMenu, kMenuPrefix, {text, command, name});
}

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
