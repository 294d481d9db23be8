// How an object holds its caption and values: texts laid out back to back in a shared block, with a
// caption that its prefix and first value make left to be made when asked for.
#include "project/project.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

namespace kmr {

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

}  // namespace kmr
