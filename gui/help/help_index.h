#pragma once
// The keyword index as the viewer lists it, and where on a page the section of a keyword starts.

#include <QList>
#include <QString>

#include "help/help_collection.h"

class QTextDocument;

namespace kmr::gui {

// One line of the index: a keyword and every page that names it.
struct HelpIndexEntry {
    QString keyword;
    QList<HelpKeyword> places;
};

// Keywords that differ in letter case only ("Barra de estado", "barra de estado") make one entry, listing
// each of their pages once, in the order of `index`; the entry keeps the spelling that comes first.
QList<HelpIndexEntry> mergeIndex(const QList<HelpKeyword>& index);

// The block where the section about `keyword` begins on a page: the first heading that names it, else the
// heading above the first paragraph that does (letter case aside). -1 when the page does not name it, or
// names it first under no heading but the page title: then the top of the page is the place.
int keywordSection(const QTextDocument& page, const QString& keyword);

}  // namespace kmr::gui
