#pragma once
// ObjectListModel: a project's object list as an item model, one row per object with its caption and
// the picture of its kind. Every change goes through it and is announced for the rows it touches
// only, so a view over a list of any length does no more work for an edit than the edit itself.

#include <QAbstractListModel>

#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "project/project.h"

namespace kmr::gui {

class ImageList;

class ObjectListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ObjectListModel(const ImageList& images, QObject* parent = nullptr);

    const kmr::Project& project() const { return m_project; }
    // Replaces the whole list.
    void setProject(kmr::Project project);
    // The disc the project is burnt to; no row shows it.
    void setDisc(const kmr::DiscTarget& disc) { m_project.disc = disc; }
    // The disc settings beside the list; no row shows them either.
    void setSettings(kmr::DiscSettings settings) { m_project.settings = std::move(settings); }

    // Inserts at the position the order rules give the object's kind and returns it.
    std::size_t insert(kmr::ProjectObject object);
    void remove(std::size_t index);
    void replace(std::size_t index, kmr::ProjectObject object);
    // Exchanges two neighbouring objects.
    void swap(std::size_t first, std::size_t second);
    // Turns every default menu into a plain one.
    void clearDefaults();
    // Default → plain, or plain → the only default with its caption rebuilt. False when the object
    // is not a menu.
    bool toggleDefault(std::size_t index);

    // Whether the list holds an object of `kind`, without looking at the list.
    bool contains(kmr::Kind kind) const { return count(kind) > 0; }
    std::size_t count(kmr::Kind kind) const { return m_counts[slot(kind)]; }
    // The last object of `kind`; looks no further than the last one.
    std::optional<std::size_t> lastOf(kmr::Kind kind) const;
    // Whether a menu of the list has this internal name.
    bool hasMenuName(const std::string& name) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    static std::size_t slot(kmr::Kind kind);
    // Bookkeeping of what an object adds to or takes from the list.
    void track(const kmr::ProjectObject& object, int delta) noexcept;
    void setKind(std::size_t index, kmr::Kind kind);
    void rowChanged(std::size_t index);

    const ImageList& m_images;
    kmr::Project m_project;
    // How many objects of each kind the list holds.
    std::array<std::size_t, 5> m_counts{};
    // Positions of the default menus, kept in step with every change; rarely more than one.
    std::vector<std::size_t> m_defaults;
    // The menus' internal names with how often each occurs, built when first asked for.
    mutable std::unordered_map<std::string, int> m_menuNames;
    mutable bool m_menuNamesBuilt = false;
};

}  // namespace kmr::gui
