#include "autorun/disc_properties_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "base/dialog_widgets.h"
#include "base/edit_state.h"
#include "base/prompts.h"
#include "base/qt_text.h"
#include "project/project_window.h"
#include "project/settings_entries.h"
#include "text/text.h"

namespace kmr::gui {
namespace {

enum Page { kGeneral, kFolders, kPlatformsPage, kOthersPage };

// The cell roles: the text a cell had when shown (none in a row the user added), and in the first cell
// of a kept entry its line as the file had it and whether that line had an "=".
constexpr int kShownRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;
constexpr int kEqualsRole = Qt::UserRole + 2;

int answerIndex(const std::optional<std::string>& value) { return static_cast<int>(kmr::contentAnswer(value)); }

// An untouched answer keeps the value as the file wrote it ("1", "Y"…); a new one is written in full.
std::optional<std::string> contentValue(const QComboBox* box, const std::optional<std::string>& shown) {
    return kmr::contentValue(static_cast<kmr::ContentAnswer>(box->currentIndex()), shown);
}

// A text entry: untouched, it stays as it was (also "action=" with nothing after it); emptied, it goes.
std::optional<std::string> textValue(const QLineEdit* field, const std::optional<std::string>& shown) {
    if (field->text() == qs(shown.value_or(std::string()))) return shown;
    if (field->text().isEmpty()) return std::nullopt;
    return utf8(field->text());
}

QString joinLines(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) list << qs(line);
    return list.join(QLatin1Char('\n'));
}

std::vector<std::string> folderValue(const QPlainTextEdit* list, const std::vector<std::string>& shown) {
    if (list->toPlainText() == joinLines(shown)) return shown;
    return kmr::folderLines(utf8(list->toPlainText()));
}

QTableWidgetItem* shownCell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setData(kShownRole, text);
    return item;
}

QString cellText(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item != nullptr ? item->text() : QString();
}

// True when the row was shown by setSettings and the user changed none of its cells.
bool rowUntouched(const QTableWidget* table, int row) {
    for (int column = 0; column < table->columnCount(); ++column) {
        const QTableWidgetItem* item = table->item(row, column);
        if (item == nullptr || !item->data(kShownRole).isValid() || item->text() != item->data(kShownRole).toString())
            return false;
    }
    return true;
}

}  // namespace

DiscPropertiesDialog::DiscPropertiesDialog(EditState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_state(state),
      m_prompts(prompts) {
    setObjectName(QStringLiteral("TFormDisco"));
    setWindowTitle(QStringLiteral("Propiedades del disco"));
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("Paginas"));

    m_pages->addTab(makeGeneralPage(), QStringLiteral("&General"));
    m_pages->addTab(makeFoldersPage(), QStringLiteral("&Carpetas"));
    m_pages->addTab(makeTablePage(true), QStringLiteral("&Plataformas"));
    m_pages->addTab(makeTablePage(false), QStringLiteral("&Otras entradas"));

    const auto [ok, cancel] = makeAcceptCancel(this);
    auto* help = new QPushButton(QStringLiteral("Ayuda"), this);
    help->setObjectName(QStringLiteral("Ayuda"));
    help->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    setTabOrder(m_pages, m_action);
    setTabOrder(m_action, m_useAutoPlay);
    setTabOrder(m_useAutoPlay, m_customEvent);
    setTabOrder(m_customEvent, m_music);
    setTabOrder(m_music, m_pictures);
    setTabOrder(m_pictures, m_video);
    setTabOrder(m_exclusive, m_ignore);
    setTabOrder(m_ignore, m_drivers);

    connect(ok, &QPushButton::clicked, this, &DiscPropertiesDialog::tryAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &DiscPropertiesDialog::helpRequested);
    resize(560, 440);
}

void DiscPropertiesDialog::setSettings(const kmr::DiscSettings& s) {
    m_shown = s;
    m_action->setText(qs(s.action.value_or(std::string())));
    m_useAutoPlay->setChecked(s.useAutoPlay && kmr::contentTypeOn(*s.useAutoPlay));
    m_customEvent->setText(qs(s.customEvent.value_or(std::string())));
    m_music->setCurrentIndex(answerIndex(s.content.music));
    m_pictures->setCurrentIndex(answerIndex(s.content.pictures));
    m_video->setCurrentIndex(answerIndex(s.content.video));
    m_exclusive->setPlainText(joinLines(s.exclusiveContentPaths));
    m_ignore->setPlainText(joinLines(s.ignoreContentPaths));
    m_drivers->setPlainText(joinLines(s.driverPaths));

    m_platforms->setRowCount(0);
    const auto platformRow = [this](const QString& platform, const QString& key, const QString& value) {
        const int row = m_platforms->rowCount();
        m_platforms->insertRow(row);
        m_platforms->setItem(row, 0, shownCell(platform));
        m_platforms->setItem(row, 1, shownCell(key));
        m_platforms->setItem(row, 2, shownCell(value));
    };
    for (const kmr::PlatformSection& p : s.platforms) {
        // A section without entries still has its row, so that it stays unless the user removes it.
        if (p.entries.empty()) platformRow(qs(p.platform), QString(), QString());
        for (const kmr::AutorunEntry& e : p.entries) platformRow(qs(p.platform), qs(e.key), qs(e.value));
    }

    m_kept->setRowCount(0);
    for (const kmr::KeptSection& k : s.kept) {
        for (const std::string_view line : k.lines) {
            const kmr::KeptLineParts parts = kmr::splitKeptLine(line);
            const int row = m_kept->rowCount();
            m_kept->insertRow(row);
            QTableWidgetItem* first = shownCell(qs(k.name));
            first->setData(kLineRole, qs(line));
            first->setData(kEqualsRole, parts.equals);
            m_kept->setItem(row, 0, first);
            m_kept->setItem(row, 1, shownCell(qs(parts.key)));
            m_kept->setItem(row, 2, shownCell(qs(parts.value)));
        }
    }
    m_platforms->resizeColumnToContents(0);
    m_kept->resizeColumnToContents(0);
}

kmr::DiscSettings DiscPropertiesDialog::settings() const {
    kmr::DiscSettings s;
    s.action = textValue(m_action, m_shown.action);
    s.customEvent = textValue(m_customEvent, m_shown.customEvent);
    const bool wasOn = m_shown.useAutoPlay && kmr::contentTypeOn(*m_shown.useAutoPlay);
    if (m_useAutoPlay->isChecked() == wasOn) {
        s.useAutoPlay = m_shown.useAutoPlay;
    } else if (m_useAutoPlay->isChecked()) {
        s.useAutoPlay.emplace(1, '1');  // "1", the one value the reference gives
    }
    s.content.music = contentValue(m_music, m_shown.content.music);
    s.content.pictures = contentValue(m_pictures, m_shown.content.pictures);
    s.content.video = contentValue(m_video, m_shown.content.video);
    s.exclusiveContentPaths = folderValue(m_exclusive, m_shown.exclusiveContentPaths);
    s.ignoreContentPaths = folderValue(m_ignore, m_shown.ignoreContentPaths);
    s.driverPaths = folderValue(m_drivers, m_shown.driverPaths);

    for (int row = 0; row < m_platforms->rowCount(); ++row) {
        const std::string platform(kmr::platformNamed(utf8(cellText(m_platforms, row, 0))));
        if (platform.empty()) continue;  // tryAccept refuses it; nothing to keep of it
        auto it = std::find_if(s.platforms.begin(), s.platforms.end(),
                               [&](const kmr::PlatformSection& p) { return p.platform == platform; });
        if (it == s.platforms.end()) it = s.platforms.insert(s.platforms.end(), kmr::PlatformSection{platform, {}});
        const QString key = cellText(m_platforms, row, 1);
        const QString value = cellText(m_platforms, row, 2);
        // The row of a section without entries stands for its header alone.
        if (key.isEmpty() && value.isEmpty() && rowUntouched(m_platforms, row)) continue;
        it->entries.push_back({kmr::text::trim(utf8(key)), kmr::text::trim(utf8(value))});
    }

    for (int row = 0; row < m_kept->rowCount(); ++row) {
        const QTableWidgetItem* first = m_kept->item(row, 0);
        if (rowUntouched(m_kept, row)) {
            s.keptSection(utf8(first->text())).lines.push_back(utf8(first->data(kLineRole).toString()));
            continue;
        }
        // A line that had no "=" (a comment, a folder) keeps having none while it has no value.
        std::optional<bool> equals;
        if (first != nullptr && first->data(kEqualsRole).isValid()) equals = first->data(kEqualsRole).toBool();
        s.keptSection(kmr::text::trim(utf8(cellText(m_kept, row, 0))))
            .lines.push_back(kmr::joinKeptLine(utf8(cellText(m_kept, row, 1)), utf8(cellText(m_kept, row, 2)), equals));
    }
    return s;
}

bool DiscPropertiesDialog::refuse(const QString& text, int page, QWidget* field) {
    m_prompts.message(text, QStringLiteral("Atención"), MessageIcon::Warning, MessageButtons::Ok);
    m_pages->setCurrentIndex(page);
    field->setFocus();
    return false;
}

bool DiscPropertiesDialog::refuseCell(const QString& text, int page, QTableWidget* table, int row, int column) {
    table->setCurrentCell(row, column);
    return refuse(text, page, table);
}

bool DiscPropertiesDialog::checkTable(QTableWidget* table, int page, bool platforms) {
    for (int row = 0; row < table->rowCount(); ++row) {
        // What the file had stays as it was, even where it breaks these rules.
        if (rowUntouched(table, row)) continue;
        const std::string first = utf8(cellText(table, row, 0));
        const std::string key = utf8(cellText(table, row, 1));
        const std::string value = utf8(cellText(table, row, 2));
        const std::optional<kmr::EntryFault> fault =
            platforms ? kmr::checkPlatformEntry(first, key, value) : kmr::checkKeptEntry(first, key, value);
        // The fields are the table's columns, in their order.
        if (fault) return refuseCell(qs(fault->message), page, table, row, static_cast<int>(fault->field));
    }
    return true;
}

bool DiscPropertiesDialog::checkFolders(QPlainTextEdit* list, int page, bool bareLines) {
    // A folder standing alone on its line must not read back as a header or a comment.
    if (!bareLines) return true;
    for (const std::string& folder : kmr::folderLines(utf8(list->toPlainText()))) {
        if (kmr::readsAsHeaderOrComment(folder)) return refuse(qs(kmr::kFolderAsHeader), page, list);
    }
    return true;
}

void DiscPropertiesDialog::tryAccept() {
    for (QLineEdit* field : {m_action, m_customEvent}) {
        if (kmr::hasLineBreak(utf8(field->text()))) {
            refuse(qs(kmr::kValueOnTwoLines), kGeneral, field);
            return;
        }
    }
    if (!checkFolders(m_exclusive, kFolders, true) || !checkFolders(m_ignore, kFolders, true) ||
        !checkFolders(m_drivers, kFolders, false) || !checkTable(m_platforms, kPlatformsPage, true) ||
        !checkTable(m_kept, kOthersPage, false))
        return;
    m_state.editContext = kEditAccepted;
    accept();
}

void DiscPropertiesDialog::addRow(QTableWidget* table, const QString& firstDefault) {
    const int current = table->currentRow();
    const QString first = current >= 0 ? cellText(table, current, 0) : firstDefault;
    const int row = current >= 0 ? current + 1 : table->rowCount();
    table->insertRow(row);
    table->setItem(row, 0, new QTableWidgetItem(first));
    table->setItem(row, 1, new QTableWidgetItem);
    table->setItem(row, 2, new QTableWidgetItem);
    table->setCurrentCell(row, 1);
    table->setFocus();
    table->editItem(table->item(row, 1));
}

void DiscPropertiesDialog::removeRow(QTableWidget* table) {
    const int row = table->currentRow();
    if (row < 0) return;
    table->removeRow(row);
    table->setFocus();
}

bool DiscPropertiesDialog::editOn(ProjectWindow& window) {
    setSettings(window.project().settings);
    m_state.editContext = kEditFromProject;
    exec();
    if (!m_state.accepted()) return false;
    return window.setDiscSettings(settings());
}

void DiscPropertiesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    // Each showing starts on the first field.
    m_pages->setCurrentIndex(kGeneral);
    m_action->setFocus();
}

}  // namespace kmr::gui
