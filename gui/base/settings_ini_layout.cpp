#include "base/settings_ini_layout.h"

#include <QIODevice>

#include <map>
#include <utility>
#include <vector>

namespace kmr::gui::ini {

namespace {

bool isControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }

QString percent(QChar c) { return QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper(); }

// Key-path parts and value names as the files hold them: as written, except for the few characters
// that would end them early or cannot stand in a line, which are written as %XX.
QString escapePart(const QString& part) {
    QString out;
    for (const QChar c : part)
        out += (c == QLatin1Char('%') || c == QLatin1Char(']') || isControl(c)) ? percent(c) : QString(c);
    return out;
}

}  // namespace

QString escapeName(const QString& name) {
    if (name.isEmpty()) return kDefaultValue;
    if (name == kDefaultValue) return percent(name.front());
    QString out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const bool first = i == 0;
        const bool last = i == name.size() - 1;
        const bool special = c == QLatin1Char('%') || c == QLatin1Char('/') || c == QLatin1Char('=') || isControl(c) ||
                             (first && QStringLiteral("[;#\"").contains(c)) ||
                             ((first || last) && c == QLatin1Char(' '));
        out += special ? percent(c) : QString(c);
    }
    return out;
}

QString groupOf(const QString& key) {
    QStringList parts;
    for (const QString& part : QString(key).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'))) {
        if (!part.isEmpty()) parts << escapePart(part);
    }
    return parts.join(QLatin1Char('/'));
}

QString joined(const QString& group, const QString& stored) {
    return group.isEmpty() ? stored : group + QLatin1Char('/') + stored;
}

QString folded(const QString& name) { return name.toCaseFolded(); }

QStringList entriesOf(const QSettings& s, const QString& group) {
    QStringList found;
    for (const QString& k : s.allKeys()) {
        if (k.size() > group.size() && k.at(group.size()) == QLatin1Char('/') &&
            k.startsWith(group, Qt::CaseInsensitive)) {
            found << k;
        }
    }
    return found;
}

namespace {

// A value stands as written unless blanks at its ends, control characters or a leading quote would
// be lost or misread; then it is quoted with C-style escapes.
QString encodeValue(const QString& v) {
    bool quote = v.startsWith(QLatin1Char('"')) || v.startsWith(QLatin1Char(' ')) || v.endsWith(QLatin1Char(' '));
    for (const QChar c : v) quote = quote || isControl(c);
    if (!quote) return v;
    QString out = QStringLiteral("\"");
    for (const QChar c : v) {
        switch (c.unicode()) {
            case '"': out += QStringLiteral("\\\""); break;
            case '\\': out += QStringLiteral("\\\\"); break;
            case '\n': out += QStringLiteral("\\n"); break;
            case '\r': out += QStringLiteral("\\r"); break;
            case '\t': out += QStringLiteral("\\t"); break;
            default:
                out += isControl(c) ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')) : QString(c);
        }
    }
    return out + QLatin1Char('"');
}

QString decodeValue(const QString& v) {
    if (v.size() < 2 || !v.startsWith(QLatin1Char('"')) || !v.endsWith(QLatin1Char('"'))) return v;
    QString out;
    for (qsizetype i = 1; i < v.size() - 1; ++i) {
        const QChar c = v.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= v.size() - 1) {
            out += c;
            continue;
        }
        const QChar e = v.at(++i);
        if (e == QLatin1Char('n')) {
            out += QLatin1Char('\n');
        } else if (e == QLatin1Char('r')) {
            out += QLatin1Char('\r');
        } else if (e == QLatin1Char('t')) {
            out += QLatin1Char('\t');
        } else if (e == QLatin1Char('x') && i + 2 < v.size() - 1) {
            out += QChar(v.mid(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
        } else {
            out += e;
        }
    }
    return out;
}

}  // namespace

bool readLayout(QIODevice& device, QSettings::SettingsMap& map) {
    QString section;
    bool sectionHasEntries = true;
    const auto closeSection = [&] {
        if (!sectionHasEntries) map.insert(joined(section, kBareKey), QString());
    };
    const QStringList lines = QString::fromUtf8(device.readAll()).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'))) continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            closeSection();
            section = line.mid(1, line.size() - 2).replace(QLatin1Char('\\'), QLatin1Char('/'));
            sectionHasEntries = false;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        map.insert(joined(section, line.left(eq).trimmed()), decodeValue(line.mid(eq + 1).trimmed()));
        sectionHasEntries = true;
    }
    closeSection();
    return true;
}

bool writeLayout(QIODevice& device, const QSettings::SettingsMap& map) {
    struct Section {
        QString header;
        std::vector<std::pair<QString, QString>> values;
    };
    // Sections in the order of their names regardless of case; one section per key even where the
    // spellings of its path differ.
    std::map<QString, Section> sections;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().lastIndexOf(QLatin1Char('/'));
        const QString group = slash < 0 ? QString() : it.key().left(slash);
        const QString name = it.key().mid(slash + 1);
        Section& section = sections[group.toLower()];
        if (section.header.isEmpty()) section.header = group;
        if (name != kBareKey) section.values.emplace_back(name, encodeValue(it.value().toString()));
    }
    QByteArray out;
    for (const auto& [folded, section] : sections) {
        if (!folded.isEmpty()) {
            if (!out.isEmpty()) out += '\n';
            out += '[' + QString(section.header).replace(QLatin1Char('/'), QLatin1Char('\\')).toUtf8() + "]\n";
        }
        for (const auto& [name, value] : section.values) out += (name + QLatin1Char('=') + value).toUtf8() + '\n';
    }
    return device.write(out) == out.size();
}

QSettings::Format readableFormat() {
    static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("ini"), readLayout, writeLayout);
    return format;
}

}  // namespace kmr::gui::ini
