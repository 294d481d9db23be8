#pragma once
// A help file: the pages of the user guide compiled into one resource file ("kmr.hlp"), with the tree of
// contents, the keyword index and a full-text search over the pages.

#include <QList>
#include <QMap>
#include <QString>
#include <QUrl>

#include <memory>

namespace kmr::gui {

// One entry of the contents: a page, optionally the topic of a context number, and its sub-entries.
struct HelpTopic {
    QString title;
    QString page;     // file name inside the help file, may carry an anchor ("constructor.html#internet")
    int context = 0;  // 0: no context number
    QList<HelpTopic> children;
};

struct HelpKeyword {
    QString keyword;
    QString page;
    QString pageTitle;
};

struct HelpHit {
    QString page;
    QString title;
    int score = 0;
};

class HelpCollection {
public:
    // Opens the help file at `path`. When it is missing or is not a help file of this program, returns
    // null and says why in `error`.
    static std::unique_ptr<HelpCollection> open(const QString& path, QString* error);
    ~HelpCollection();
    HelpCollection(const HelpCollection&) = delete;
    HelpCollection& operator=(const HelpCollection&) = delete;

    const QString& path() const { return m_path; }
    const QString& title() const { return m_title; }
    const QList<HelpTopic>& contents() const { return m_contents; }
    // Every keyword of every page, sorted for reading.
    const QList<HelpKeyword>& index() const { return m_index; }
    // The page of a context number, or empty.
    QString pageForContext(int context) const;
    // Every page of the file, by file name.
    QStringList pages() const { return m_pages.keys(); }
    bool hasPage(const QString& page) const;
    QString pageTitle(const QString& page) const;
    // Where the viewer reads a page (an anchor after "#" is kept).
    QUrl url(const QString& page) const;
    // The page file name of a URL inside this help file, without anchor; empty for any other URL.
    QString pageOf(const QUrl& url) const;
    // Pages that hold every word of `query`, letter case and accents aside, best first.
    QList<HelpHit> search(const QString& query) const;

private:
    struct Page {
        QString title;
        QString text;  // folded plain text, for the search
    };
    HelpCollection() = default;
    bool load(QString* error);

    QString m_path;
    QString m_root;  // where the resource file is mapped, "/kmr-help-N"
    bool m_registered = false;
    QString m_title;
    QList<HelpTopic> m_contents;
    QList<HelpKeyword> m_index;
    QMap<QString, Page> m_pages;
    QMap<int, QString> m_contexts;
};

// Letter case and accents folded away, for comparing words typed by a user.
QString foldForSearch(const QString& text);

}  // namespace kmr::gui
