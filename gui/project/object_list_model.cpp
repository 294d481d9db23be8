#include "project/object_list_model.h"

#include <algorithm>
#include <new>
#include <utility>

#include "base/image_list.h"
#include "base/qt_text.h"

namespace kmr::gui {

namespace {

// Only menus carry a second and third value; the third is the internal name.
std::optional<std::string> menuNameOf(const kmr::ProjectObject& o) {
    if (o.valueCount() < 3) return std::nullopt;
    return std::string(o.menuName());
}

// Room for one more element, grown as push_back grows a vector, so that the insertion that follows
// cannot fail.
void makeRoomForOne(auto& list) {
    if (list.size() == list.capacity()) list.reserve(std::max<std::size_t>(8, list.capacity() * 2));
}

}  // namespace

ObjectListModel::ObjectListModel(const ImageList& images, QObject* parent)
    : QAbstractListModel(parent), m_images(images) {}

std::size_t ObjectListModel::slot(kmr::Kind kind) {
    switch (kind) {
        case kmr::Kind::PlainMenu: return 0;
        case kmr::Kind::DefaultMenu: return 1;
        case kmr::Kind::RunEntry: return 2;
        case kmr::Kind::Icon: return 3;
        case kmr::Kind::Label: return 4;
    }
    return 0;
}

void ObjectListModel::track(const kmr::ProjectObject& object, int delta) noexcept {
    std::size_t& n = m_counts[slot(object.kind)];
    n = delta > 0 ? n + 1 : n - 1;
    if (!m_menuNamesBuilt) return;
    try {
        if (const auto name = menuNameOf(object)) {
            int& uses = m_menuNames[*name];
            uses += delta;
            if (uses == 0) m_menuNames.erase(*name);
        }
    } catch (const std::bad_alloc&) {
        // The names are built again when next asked for.
        m_menuNames.clear();
        m_menuNamesBuilt = false;
    }
}

// Every change below does what may fail (running out of memory) before the views hear of it and
// before any of the model's own bookkeeping changes: a change that fails leaves the list as it was.

void ObjectListModel::setProject(kmr::Project project) {
    std::array<std::size_t, 5> counts{};
    std::vector<std::size_t> defaults;
    for (std::size_t i = 0; i < project.objects.size(); ++i) {
        const kmr::Kind kind = project.objects[i].kind;
        ++counts[slot(kind)];
        if (kind == kmr::Kind::DefaultMenu) defaults.push_back(i);
    }
    beginResetModel();
    m_project = std::move(project);
    m_counts = counts;
    m_defaults = std::move(defaults);
    m_menuNames.clear();
    m_menuNamesBuilt = false;
    endResetModel();
}

std::size_t ObjectListModel::insert(kmr::ProjectObject object) {
    const std::size_t pos = m_project.insertPosition(object.kind);
    const int row = static_cast<int>(pos);
    makeRoomForOne(m_project.objects);
    if (object.kind == kmr::Kind::DefaultMenu) makeRoomForOne(m_defaults);
    beginInsertRows(QModelIndex(), row, row);
    for (std::size_t& d : m_defaults) {
        if (d >= pos) ++d;
    }
    if (object.kind == kmr::Kind::DefaultMenu) {
        m_defaults.insert(std::upper_bound(m_defaults.begin(), m_defaults.end(), pos), pos);
    }
    track(object, +1);
    m_project.objects.insert(m_project.objects.begin() + static_cast<std::ptrdiff_t>(pos), std::move(object));
    endInsertRows();
    return pos;
}

void ObjectListModel::remove(std::size_t index) {
    if (index >= m_project.size()) return;
    const int row = static_cast<int>(index);
    beginRemoveRows(QModelIndex(), row, row);
    track(m_project.objects[index], -1);
    std::erase(m_defaults, index);
    for (std::size_t& d : m_defaults) {
        if (d > index) --d;
    }
    m_project.objects.erase(m_project.objects.begin() + static_cast<std::ptrdiff_t>(index));
    endRemoveRows();
}

void ObjectListModel::replace(std::size_t index, kmr::ProjectObject object) {
    if (index >= m_project.size()) return;
    kmr::ProjectObject& old = m_project.objects[index];
    const bool wasDefault = old.kind == kmr::Kind::DefaultMenu;
    const bool isDefault = object.kind == kmr::Kind::DefaultMenu;
    if (isDefault && !wasDefault) makeRoomForOne(m_defaults);
    track(old, -1);
    track(object, +1);
    if (wasDefault && !isDefault) std::erase(m_defaults, index);
    if (isDefault && !wasDefault) {
        m_defaults.insert(std::upper_bound(m_defaults.begin(), m_defaults.end(), index), index);
    }
    old = std::move(object);
    rowChanged(index);
}

void ObjectListModel::swap(std::size_t first, std::size_t second) {
    if (first >= m_project.size() || second >= m_project.size() || first == second) return;
    std::swap(m_project.objects[first], m_project.objects[second]);
    // The rows stay where they are and show each other's object: for a view that is a change of
    // two rows, not of the list's shape.
    for (std::size_t& d : m_defaults) {
        if (d == first)
            d = second;
        else if (d == second)
            d = first;
    }
    std::sort(m_defaults.begin(), m_defaults.end());
    rowChanged(first);
    rowChanged(second);
}

void ObjectListModel::setKind(std::size_t index, kmr::Kind kind) {
    kmr::ProjectObject& o = m_project.objects[index];
    --m_counts[slot(o.kind)];
    ++m_counts[slot(kind)];
    o.kind = kind;
}

void ObjectListModel::clearDefaults() {
    for (std::size_t i = 0; i < m_defaults.size(); ++i) {
        setKind(m_defaults[i], kmr::Kind::PlainMenu);
        rowChanged(m_defaults[i]);
    }
    m_defaults.clear();  // keeping its room, so that the default a toggle makes next fits in it
}

bool ObjectListModel::toggleDefault(std::size_t index) {
    if (index >= m_project.size() || !kmr::isMenu(m_project.objects[index].kind)) return false;
    if (m_project.objects[index].kind == kmr::Kind::DefaultMenu) {
        // The caption stays as it is.
        setKind(index, kmr::Kind::PlainMenu);
        std::erase(m_defaults, index);
    } else {
        makeRoomForOne(m_defaults);
        kmr::ProjectObject& o = m_project.objects[index];
        o.setCaption(kmr::buildCaption(kmr::kMenuPrefix, o.value(0)));  // whole or not at all
        clearDefaults();
        setKind(index, kmr::Kind::DefaultMenu);
        m_defaults.push_back(index);
    }
    rowChanged(index);
    return true;
}

std::optional<std::size_t> ObjectListModel::lastOf(kmr::Kind kind) const {
    std::size_t left = count(kind);
    for (std::size_t i = 0; left > 0 && i < m_project.size(); ++i) {
        if (m_project.objects[i].kind == kind && --left == 0) return i;
    }
    return std::nullopt;
}

bool ObjectListModel::hasMenuName(const std::string& name) const {
    if (!m_menuNamesBuilt) {
        m_menuNames.clear();  // what a building that ran out of memory left
        for (const kmr::ProjectObject& o : m_project.objects) {
            if (const auto n = menuNameOf(o)) ++m_menuNames[*n];
        }
        m_menuNamesBuilt = true;
    }
    return m_menuNames.contains(name);
}

void ObjectListModel::rowChanged(std::size_t index) {
    const QModelIndex at = this->index(static_cast<int>(index));
    emit dataChanged(at, at, {Qt::DisplayRole, Qt::DecorationRole});
}

int ObjectListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_project.size());
}

QVariant ObjectListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    const kmr::ProjectObject& o = m_project.objects[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole: return qs(o.caption());
        // The kind is also the index of its picture in the frame's image list.
        case Qt::DecorationRole: return m_images.icon(pictureOf(o.kind));
        default: return {};
    }
}

QVariant ObjectListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) return QStringLiteral("Comandos");
    return {};
}

Qt::ItemFlags ObjectListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

}  // namespace kmr::gui
