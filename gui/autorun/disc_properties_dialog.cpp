#include "autorun/disc_properties_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "base/dialog_widgets.h"
#include "base/edit_state.h"
#include "base/prompts.h"
#include "base/qt_text.h"
#include "project/project_window.h"

namespace kmr::gui {
namespace {

enum Page { kGeneral, kFolders, kPlatformsPage, kOthersPage };

// The cell roles: the text a cell had when shown (none in a row the user added), and in the first cell
// of a kept entry its line as the file had it and whether that line had an "=".
constexpr int kShownRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;
constexpr int kEqualsRole = Qt::UserRole + 2;

const QString kEmptyField = QStringLiteral("Debe introducir algún valor en el campo.");

// The three answers a content type can have: none (Windows looks at the files), yes and no.
QComboBox* contentBox(const QString& name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems({QStringLiteral("Sin indicar"), QStringLiteral("Sí"), QStringLiteral("No")});
    return box;
}

int contentIndex(const std::optional<std::string>& value) {
    if (!value) return 0;
    return kmr::contentTypeOn(*value) ? 1 : 2;
}

// An untouched answer keeps the value as the file wrote it ("1", "Y"…); a new one is written in full.
std::optional<std::string> contentValue(const QComboBox* box, const std::optional<std::string>& shown) {
    if (box->currentIndex() == contentIndex(shown)) return shown;
    if (box->currentIndex() == 0) return std::nullopt;
    return std::string(box->currentIndex() == 1 ? "true" : "false");
}

// A text entry: untouched, it stays as it was (also "action=" with nothing after it); emptied, it goes.
std::optional<std::string> textValue(const QLineEdit* field, const std::optional<std::string>& shown) {
    if (field->text() == qs(shown.value_or(std::string()))) return shown;
    if (field->text().isEmpty()) return std::nullopt;
    return utf8(field->text());
}

QPlainTextEdit* folderList(const QString& name, const QString& tip, QWidget* parent) {
    auto* list = new QPlainTextEdit(parent);
    list->setObjectName(name);
    list->setToolTip(tip);
    // Tab goes on to the next field, as in every other field of the program.
    list->setTabChangesFocus(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    return list;
}

QString joinLines(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) list << qs(line);
    return list.join(QLatin1Char('\n'));
}

// One folder a line; blanks at the ends and empty lines do not count.
QStringList folderLines(const QPlainTextEdit* list) {
    QStringList folders;
    for (const QString& line : list->toPlainText().split(QLatin1Char('\n'))) {
        if (const QString folder = line.trimmed(); !folder.isEmpty()) folders << folder;
    }
    return folders;
}

std::vector<std::string> folderValue(const QPlainTextEdit* list, const std::vector<std::string>& shown) {
    if (list->toPlainText() == joinLines(shown)) return shown;
    std::vector<std::string> folders;
    for (const QString& folder : folderLines(list)) folders.push_back(utf8(folder));
    return folders;
}

QTableWidget* entryTable(const QString& name, const QString& firstColumn, QWidget* parent) {
    auto* table = new QTableWidget(0, 3, parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels({firstColumn, QStringLiteral("Clave"), QStringLiteral("Valor")});
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the table; the arrows move in it and F2 or typing edits a cell.
    table->setTabKeyNavigation(false);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    return table;
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

// A kept line as key and value: a comment, or a line without "=", is all key.
struct LineParts {
    QString key;
    QString value;
    bool equals = false;
};
LineParts splitLine(const QString& line) {
    const QString trimmed = line.trimmed();
    const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
    if (trimmed.startsWith(QLatin1Char(';')) || eq < 0) return {trimmed, QString(), false};
    return {trimmed.left(eq).trimmed(), trimmed.mid(eq + 1).trimmed(), true};
}

// The platform as kAutorunPlatforms spells it, or empty.
QString platformName(const QString& text) {
    return qs(kmr::platformOfSection(utf8(QStringLiteral("autorun.") + text.trimmed())));
}

bool hasLineBreak(const QString& text) { return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')); }

// The platform cell is edited with a list of the five platforms.
class PlatformDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* box = new QComboBox(parent);
        for (const std::string_view p : kmr::kAutorunPlatforms) box->addItem(qs(p));
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* box = static_cast<QComboBox*>(editor);
        box->setCurrentIndex(std::max(0, box->findText(platformName(index.data().toString()))));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }
};

QPushButton* tableButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
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

    // General: what AutoPlay shows and what the disc holds.
    auto* general = new QWidget(m_pages);
    general->setObjectName(QStringLiteral("PaginaGeneral"));
    m_action = makeTextField(QStringLiteral("Accion"), general);
    m_action->setToolTip(QStringLiteral("La frase que muestra la ventana de Reproducción automática (action)"));
    m_useAutoPlay = new QCheckBox(QStringLiteral("&Usar Reproducción automática"), general);
    m_useAutoPlay->setObjectName(QStringLiteral("UsarReproduccion"));
    m_useAutoPlay->setToolTip(
        QStringLiteral("Windows muestra la ventana de Reproducción automática en lugar de ejecutar el programa "
                       "(UseAutoPlay=1)"));
    m_customEvent = makeTextField(QStringLiteral("Evento"), general);
    m_customEvent->setToolTip(QStringLiteral("El evento de Reproducción automática propio del disco (CustomEvent)"));
    m_music = contentBox(QStringLiteral("Musica"), general);
    m_pictures = contentBox(QStringLiteral("Imagenes"), general);
    m_video = contentBox(QStringLiteral("Videos"), general);

    auto* content = new QGroupBox(QStringLiteral("Contenido del disco"), general);
    content->setToolTip(QStringLiteral("Lo que el disco contiene, sin que Windows tenga que buscarlo ([Content])"));
    auto* contentGrid = new QGridLayout(content);
    contentGrid->addWidget(
        makeBuddyLabel(QStringLiteral("&Música:"), m_music, QStringLiteral("MusicaEtiqueta"), content), 0, 0);
    contentGrid->addWidget(m_music, 0, 1);
    contentGrid->addWidget(
        makeBuddyLabel(QStringLiteral("&Imágenes:"), m_pictures, QStringLiteral("ImagenesEtiqueta"), content), 1, 0);
    contentGrid->addWidget(m_pictures, 1, 1);
    contentGrid->addWidget(
        makeBuddyLabel(QStringLiteral("&Vídeo:"), m_video, QStringLiteral("VideosEtiqueta"), content), 2, 0);
    contentGrid->addWidget(m_video, 2, 1);
    contentGrid->setColumnStretch(2, 1);

    auto* generalGrid = new QGridLayout(general);
    int row = 0;
    generalGrid->addWidget(makeBuddyLabel(QStringLiteral("&Texto de Reproducción automática:"), m_action,
                                          QStringLiteral("AccionEtiqueta"), general),
                           row++, 0);
    generalGrid->addWidget(m_action, row++, 0);
    generalGrid->addWidget(makeExampleLine(QStringLiteral("Ejemplo: Instalar Mi programa, o @setup.exe,-101"),
                                           QStringLiteral("AccionEjemplo"), general),
                           row++, 0);
    generalGrid->addWidget(m_useAutoPlay, row++, 0);
    generalGrid->addWidget(makeBuddyLabel(QStringLiteral("&Evento personalizado:"), m_customEvent,
                                          QStringLiteral("EventoEtiqueta"), general),
                           row++, 0);
    generalGrid->addWidget(m_customEvent, row++, 0);
    generalGrid->addWidget(content, row++, 0);
    generalGrid->setRowStretch(row, 1);
    m_pages->addTab(general, QStringLiteral("&General"));

    // Folders: where AutoPlay looks for the content, and where Windows looks for drivers.
    auto* folders = new QWidget(m_pages);
    folders->setObjectName(QStringLiteral("PaginaCarpetas"));
    m_exclusive = folderList(QStringLiteral("RutasExclusivas"),
                             QStringLiteral("Reproducción automática busca el contenido solo en estas carpetas "
                                            "([ExclusiveContentPaths])"),
                             folders);
    m_ignore = folderList(QStringLiteral("RutasIgnoradas"),
                          QStringLiteral("Reproducción automática no busca contenido en estas carpetas "
                                         "([IgnoreContentPaths])"),
                          folders);
    m_drivers = folderList(QStringLiteral("Controladores"),
                           QStringLiteral("Windows busca aquí los controladores de los dispositivos que se conecten "
                                          "(DriverPath de [DeviceInstall])"),
                           folders);
    auto* folderLayout = new QVBoxLayout(folders);
    folderLayout->addWidget(
        makeExplanation(QStringLiteral("Una carpeta por línea, desde la raíz del disco."), folders));
    folderLayout->addWidget(makeBuddyLabel(QStringLiteral("Buscar el contenido &solo en estas carpetas:"), m_exclusive,
                                           QStringLiteral("RutasExclusivasEtiqueta"), folders));
    folderLayout->addWidget(m_exclusive);
    folderLayout->addWidget(makeBuddyLabel(QStringLiteral("&No buscar contenido en estas carpetas:"), m_ignore,
                                           QStringLiteral("RutasIgnoradasEtiqueta"), folders));
    folderLayout->addWidget(m_ignore);
    folderLayout->addWidget(makeBuddyLabel(QStringLiteral("Carpetas con contro&ladores de dispositivos:"), m_drivers,
                                           QStringLiteral("ControladoresEtiqueta"), folders));
    folderLayout->addWidget(m_drivers);
    m_pages->addTab(folders, QStringLiteral("&Carpetas"));

    // The platform sections and the other entries: a table each, with its own buttons.
    const auto tablePage = [this](const char* name, const QString& explanation, QTableWidget* table, QPushButton* add,
                                  QPushButton* remove, QWidget* page) {
        page->setObjectName(QLatin1String(name));
        auto* buttons = new QVBoxLayout;
        buttons->addWidget(add);
        buttons->addWidget(remove);
        buttons->addStretch();
        auto* body = new QHBoxLayout;
        body->addWidget(table, 1);
        body->addLayout(buttons);
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(makeExplanation(explanation, page));
        layout->addLayout(body, 1);
        setTabOrder(table, add);
        setTabOrder(add, remove);
    };
    auto* platforms = new QWidget(m_pages);
    m_platforms = entryTable(QStringLiteral("TablaPlataformas"), QStringLiteral("Plataforma"), platforms);
    m_platforms->setItemDelegateForColumn(0, new PlatformDelegate(m_platforms));
    auto* addPlatform = tableButton(QStringLiteral("&Añadir"), QStringLiteral("AnadirPlataforma"), platforms);
    auto* removePlatform = tableButton(QStringLiteral("&Eliminar"), QStringLiteral("EliminarPlataforma"), platforms);
    tablePage("PaginaPlataformas",
              QStringLiteral("Entradas de [AutoRun] que Windows solo usa en un procesador (secciones "
                             "[AutoRun.Amd64], [AutoRun.x86]...), por ejemplo open=setup64.exe para Amd64."),
              m_platforms, addPlatform, removePlatform, platforms);
    m_pages->addTab(platforms, QStringLiteral("&Plataformas"));

    auto* others = new QWidget(m_pages);
    m_kept = entryTable(QStringLiteral("TablaEntradas"), QStringLiteral("Sección"), others);
    auto* addKept = tableButton(QStringLiteral("&Añadir"), QStringLiteral("AnadirEntrada"), others);
    auto* removeKept = tableButton(QStringLiteral("&Eliminar"), QStringLiteral("EliminarEntrada"), others);
    tablePage("PaginaOtras",
              QStringLiteral("Las demás líneas del fichero importado, tal como estaban: otras secciones, entradas "
                             "que Windows no conoce, repetidas y comentarios. Se escriben al compilar al final de "
                             "su sección."),
              m_kept, addKept, removeKept, others);
    m_pages->addTab(others, QStringLiteral("&Otras entradas"));

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
    connect(addPlatform, &QPushButton::clicked, this, [this] { addRow(m_platforms, QStringLiteral("Amd64")); });
    connect(removePlatform, &QPushButton::clicked, this, [this] { removeRow(m_platforms); });
    connect(addKept, &QPushButton::clicked, this, [this] { addRow(m_kept, QStringLiteral("autorun")); });
    connect(removeKept, &QPushButton::clicked, this, [this] { removeRow(m_kept); });
    resize(560, 440);
}

void DiscPropertiesDialog::setSettings(const kmr::DiscSettings& s) {
    m_shown = s;
    m_action->setText(qs(s.action.value_or(std::string())));
    m_useAutoPlay->setChecked(s.useAutoPlay && kmr::contentTypeOn(*s.useAutoPlay));
    m_customEvent->setText(qs(s.customEvent.value_or(std::string())));
    m_music->setCurrentIndex(contentIndex(s.content.music));
    m_pictures->setCurrentIndex(contentIndex(s.content.pictures));
    m_video->setCurrentIndex(contentIndex(s.content.video));
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
            const LineParts parts = splitLine(qs(line));
            const int row = m_kept->rowCount();
            m_kept->insertRow(row);
            QTableWidgetItem* first = shownCell(qs(k.name));
            first->setData(kLineRole, qs(line));
            first->setData(kEqualsRole, parts.equals);
            m_kept->setItem(row, 0, first);
            m_kept->setItem(row, 1, shownCell(parts.key));
            m_kept->setItem(row, 2, shownCell(parts.value));
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
        const std::string platform = utf8(platformName(cellText(m_platforms, row, 0)));
        if (platform.empty()) continue;  // tryAccept refuses it; nothing to keep of it
        auto it = std::find_if(s.platforms.begin(), s.platforms.end(),
                               [&](const kmr::PlatformSection& p) { return p.platform == platform; });
        if (it == s.platforms.end()) it = s.platforms.insert(s.platforms.end(), kmr::PlatformSection{platform, {}});
        const QString key = cellText(m_platforms, row, 1);
        const QString value = cellText(m_platforms, row, 2);
        // The row of a section without entries stands for its header alone.
        if (key.isEmpty() && value.isEmpty() && rowUntouched(m_platforms, row)) continue;
        it->entries.push_back({utf8(key.trimmed()), utf8(value.trimmed())});
    }

    for (int row = 0; row < m_kept->rowCount(); ++row) {
        const QTableWidgetItem* first = m_kept->item(row, 0);
        if (rowUntouched(m_kept, row)) {
            s.keptSection(utf8(first->text())).lines.push_back(utf8(first->data(kLineRole).toString()));
            continue;
        }
        const QString section = cellText(m_kept, row, 0).trimmed();
        const QString key = cellText(m_kept, row, 1).trimmed();
        const QString value = cellText(m_kept, row, 2).trimmed();
        // A line that had no "=" (a comment, a folder) keeps having none while it has no value.
        const bool equals = first != nullptr && first->data(kEqualsRole).isValid() ? first->data(kEqualsRole).toBool()
                                                                                   : !key.startsWith(QLatin1Char(';'));
        QString line = key;
        if (equals || !value.isEmpty()) line += QLatin1Char('=') + value;
        s.keptSection(utf8(section)).lines.push_back(utf8(line));
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
    const QString badKey = platforms
                               ? QStringLiteral("La clave no puede llevar el signo \"=\" ni empezar por \"[\" o \";\".")
                               : QStringLiteral("La clave no puede llevar el signo \"=\" ni empezar por \"[\".");
    for (int row = 0; row < table->rowCount(); ++row) {
        // What the file had stays as it was, even where it breaks these rules.
        if (rowUntouched(table, row)) continue;
        const QString first = cellText(table, row, 0).trimmed();
        const QString key = cellText(table, row, 1).trimmed();
        const QString value = cellText(table, row, 2);
        if (platforms && platformName(first).isEmpty()) {
            return refuseCell(QStringLiteral("Elija una de las plataformas: x86, Amd64, Alpha, Mips o PPC."), page,
                              table, row, 0);
        }
        if (!platforms && first.isEmpty()) return refuseCell(kEmptyField, page, table, row, 0);
        if (!platforms &&
            (first.contains(QLatin1Char('[')) || first.contains(QLatin1Char(']')) || hasLineBreak(first))) {
            return refuseCell(QStringLiteral("El nombre de la sección no puede llevar corchetes."), page, table, row,
                              0);
        }
        if (key.isEmpty()) return refuseCell(kEmptyField, page, table, row, 1);
        const bool comment = !platforms && key.startsWith(QLatin1Char(';'));
        if (!comment && (key.contains(QLatin1Char('=')) || key.startsWith(QLatin1Char('[')) ||
                         (platforms && key.startsWith(QLatin1Char(';'))))) {
            return refuseCell(badKey, page, table, row, 1);
        }
        if (hasLineBreak(key)) {
            return refuseCell(QStringLiteral("Un valor no puede ocupar más de una línea."), page, table, row, 1);
        }
        if (hasLineBreak(value)) {
            return refuseCell(QStringLiteral("Un valor no puede ocupar más de una línea."), page, table, row, 2);
        }
    }
    return true;
}

bool DiscPropertiesDialog::checkFolders(QPlainTextEdit* list, int page, bool bareLines) {
    // A folder standing alone on its line must not read back as a header or a comment.
    if (!bareLines) return true;
    for (const QString& folder : folderLines(list)) {
        if (folder.startsWith(QLatin1Char('[')) || folder.startsWith(QLatin1Char(';')))
            return refuse(QStringLiteral("Una carpeta no puede empezar por \"[\" ni por \";\"."), page, list);
    }
    return true;
}

void DiscPropertiesDialog::tryAccept() {
    for (QLineEdit* field : {m_action, m_customEvent}) {
        if (hasLineBreak(field->text())) {
            refuse(QStringLiteral("Un valor no puede ocupar más de una línea."), kGeneral, field);
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
