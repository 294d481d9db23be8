#include "help/help_collection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QResource>
#include <QTextDocumentFragment>
#include <QXmlStreamReader>

#include <algorithm>

namespace kmr::gui {

namespace {

QString readResource(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

QString withoutAnchor(const QString& page) { return page.section(QLatin1Char('#'), 0, 0); }

QString invalidFile(const QString& path) {
    return QStringLiteral("El fichero \"%1\" no es un fichero de ayuda válido.").arg(QDir::toNativeSeparators(path));
}

}  // namespace

QString foldForSearch(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing) out.append(c.toLower());
    }
    return out;
}

std::unique_ptr<HelpCollection> HelpCollection::open(const QString& path, QString* error) {
    std::unique_ptr<HelpCollection> help(new HelpCollection);
    help->m_path = path;
    QString why;
    if (!help->load(&why)) {
        if (error != nullptr) *error = why;
        return nullptr;
    }
    return help;
}

HelpCollection::~HelpCollection() {
    if (m_registered) QResource::unregisterResource(m_path, m_root);
}

bool HelpCollection::load(QString* error) {
    if (m_path.isEmpty() || !QFileInfo(m_path).isFile()) {
        *error = QStringLiteral("No se encuentra el fichero de ayuda.");
        return false;
    }
    // Each help file gets a root of its own, so that an old one can go while a new one is read.
    static int files = 0;
    m_root = QStringLiteral("/kmr-help-%1").arg(++files);
    m_registered = QResource::registerResource(m_path, m_root);
    if (!m_registered) {
        *error = invalidFile(m_path);
        return false;
    }

    const QDir dir(QLatin1Char(':') + m_root);
    static const QRegularExpression titleTag(QStringLiteral("<title>(.*?)</title>"),
                                             QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression keywordsTag(QStringLiteral("<meta\\s+name=\"keywords\"\\s+content=\"([^\"]*)\""));
    for (const QString& name : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        const QString html = readResource(dir.filePath(name));
        Page page;
        page.title = titleTag.match(html).captured(1).trimmed();
        page.text = foldForSearch(page.title + QLatin1Char('\n') + QTextDocumentFragment::fromHtml(html).toPlainText());
        const QString keywords = keywordsTag.match(html).captured(1);
        for (const QString& k : keywords.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (!k.trimmed().isEmpty()) m_index.append({k.trimmed(), name, page.title});
        }
        m_pages.insert(name, page);
    }

    QXmlStreamReader xml(readResource(dir.filePath(QStringLiteral("contents.xml"))));
    QList<HelpTopic> stack;
    bool sawRoot = false;
    bool missingPage = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (!sawRoot) {
                if (xml.name() != QLatin1String("help") ||
                    xml.attributes().value(QLatin1String("version")) != QLatin1String("1"))
                    break;
                sawRoot = true;
                m_title = xml.attributes().value(QLatin1String("title")).toString();
                continue;
            }
            if (xml.name() != QLatin1String("topic")) {
                xml.raiseError(QStringLiteral("unexpected element"));
                break;
            }
            HelpTopic t;
            t.title = xml.attributes().value(QLatin1String("title")).toString();
            t.page = xml.attributes().value(QLatin1String("page")).toString();
            t.context = xml.attributes().value(QLatin1String("context")).toInt();
            if (!t.page.isEmpty() && !m_pages.contains(withoutAnchor(t.page))) missingPage = true;
            if (t.context != 0 && !m_contexts.contains(t.context)) m_contexts.insert(t.context, t.page);
            stack.append(t);
        } else if (xml.isEndElement() && xml.name() == QLatin1String("topic") && !stack.isEmpty()) {
            HelpTopic done = stack.takeLast();
            (stack.isEmpty() ? m_contents : stack.last().children).append(done);
        }
    }
    if (!sawRoot || xml.hasError() || missingPage || m_contents.isEmpty()) {
        *error = invalidFile(m_path);
        return false;
    }

    std::stable_sort(m_index.begin(), m_index.end(), [](const HelpKeyword& a, const HelpKeyword& b) {
        const int byWord = QString::compare(foldForSearch(a.keyword), foldForSearch(b.keyword));
        return byWord != 0 ? byWord < 0 : a.pageTitle < b.pageTitle;
    });
    return true;
}

QString HelpCollection::pageForContext(int context) const { return m_contexts.value(context); }

bool HelpCollection::hasPage(const QString& page) const { return m_pages.contains(withoutAnchor(page)); }

QString HelpCollection::pageTitle(const QString& page) const { return m_pages.value(withoutAnchor(page)).title; }

QUrl HelpCollection::url(const QString& page) const {
    QUrl u;
    u.setScheme(QStringLiteral("qrc"));
    u.setPath(m_root + QLatin1Char('/') + withoutAnchor(page));
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    if (hash >= 0) u.setFragment(page.mid(hash + 1));
    return u;
}

QString HelpCollection::pageOf(const QUrl& url) const {
    if (url.scheme() != QLatin1String("qrc")) return {};
    const QString prefix = m_root + QLatin1Char('/');
    if (!url.path().startsWith(prefix)) return {};
    return url.path().mid(prefix.size());
}

QList<HelpHit> HelpCollection::search(const QString& query) const {
    static const QRegularExpression separators(QStringLiteral("[^\\w]+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    const QStringList words = foldForSearch(query).split(separators, Qt::SkipEmptyParts);
    QList<HelpHit> hits;
    if (words.isEmpty()) return hits;
    for (auto it = m_pages.cbegin(); it != m_pages.cend(); ++it) {
        // A few mentions of a word count, a hundred do not count more; the words side by side as typed, or
        // in the title, count most. Short common words ("de", "el") thus do not decide the order.
        int score = 0;
        const QString title = foldForSearch(it->title);
        for (const QString& w : words) {
            const auto count = static_cast<int>(it->text.count(w));
            if (count == 0) {
                score = 0;
                break;
            }
            score += std::min(count, 3) + (title.contains(w) ? 10 : 0);
        }
        if (score == 0) continue;
        if (words.size() > 1)
            score += 20 * static_cast<int>(std::min<qsizetype>(it->text.count(words.join(QLatin1Char(' '))), 3));
        hits.append({it.key(), it->title, score});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const HelpHit& a, const HelpHit& b) { return a.score > b.score; });
    return hits;
}

}  // namespace kmr::gui
