#include "help/help_index.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace kmr::gui {

QList<HelpIndexEntry> mergeIndex(const QList<HelpKeyword>& index) {
    QList<HelpIndexEntry> entries;
    QHash<QString, qsizetype> byKeyword;
    for (const HelpKeyword& k : index) {
        const QString key = k.keyword.toCaseFolded();
        const auto found = byKeyword.constFind(key);
        if (found == byKeyword.cend()) {
            byKeyword.insert(key, entries.size());
            entries.append({k.keyword, {k}});
            continue;
        }
        QList<HelpKeyword>& places = entries[*found].places;
        const bool listed =
            std::any_of(places.cbegin(), places.cend(), [&](const HelpKeyword& p) { return p.page == k.page; });
        if (!listed) places.append(k);
    }
    return entries;
}

int keywordSection(const QTextDocument& page, const QString& keyword) {
    if (keyword.isEmpty()) return -1;
    int heading = -1;       // the last heading passed
    int firstHeading = -1;  // the page title
    int underHeading = -1;  // the heading above the first paragraph that names the keyword
    for (QTextBlock b = page.begin(); b.isValid(); b = b.next()) {
        const bool isHeading = b.blockFormat().headingLevel() > 0;
        if (isHeading) {
            heading = b.blockNumber();
            if (firstHeading < 0) firstHeading = heading;
        }
        if (!b.text().contains(keyword, Qt::CaseInsensitive)) continue;
        if (isHeading) return heading == firstHeading ? -1 : heading;
        if (underHeading < 0) underHeading = heading;
    }
    return underHeading == firstHeading ? -1 : underHeading;
}

}  // namespace kmr::gui
