// The pages of "Propiedades del disco", one builder each: "General" (the AutoPlay entries and the
// content types), "Carpetas" (the content and driver folders), and the two tables "Plataformas" and
// "Otras entradas".

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
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "autorun/disc_properties_dialog.h"
#include "base/dialog_widgets.h"
#include "base/qt_text.h"
#include "project/settings_entries.h"

namespace kmr::gui {

namespace {

// The three answers a content type can have, in the order of ContentAnswer.
QComboBox* contentBox(const QString& name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems({QStringLiteral("Sin indicar"), QStringLiteral("Sí"), QStringLiteral("No")});
    return box;
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
        box->setCurrentIndex(std::max(0, box->findText(qs(kmr::platformNamed(utf8(index.data().toString()))))));
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

QWidget* DiscPropertiesDialog::makeGeneralPage() {
    // What AutoPlay shows and what the disc holds.
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
    return general;
}

QWidget* DiscPropertiesDialog::makeFoldersPage() {
    // Where AutoPlay looks for the content, and where Windows looks for drivers.
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
    return folders;
}

QWidget* DiscPropertiesDialog::makeTablePage(bool platforms) {
    // A table of entries with its own buttons: the platform sections, or the other entries.
    auto* page = new QWidget(m_pages);
    QTableWidget* table = platforms ? entryTable(QStringLiteral("TablaPlataformas"), QStringLiteral("Plataforma"), page)
                                    : entryTable(QStringLiteral("TablaEntradas"), QStringLiteral("Sección"), page);
    if (platforms) table->setItemDelegateForColumn(0, new PlatformDelegate(table));
    auto* add = tableButton(QStringLiteral("&Añadir"),
                            platforms ? QStringLiteral("AnadirPlataforma") : QStringLiteral("AnadirEntrada"), page);
    auto* remove =
        tableButton(QStringLiteral("&Eliminar"),
                    platforms ? QStringLiteral("EliminarPlataforma") : QStringLiteral("EliminarEntrada"), page);
    page->setObjectName(platforms ? QStringLiteral("PaginaPlataformas") : QStringLiteral("PaginaOtras"));
    const QString explanation =
        platforms ? QStringLiteral(
                        "Entradas de [AutoRun] que Windows solo usa en un procesador (secciones "
                        "[AutoRun.Amd64], [AutoRun.x86]...), por ejemplo open=setup64.exe para Amd64.")
                  : QStringLiteral(
                        "Las demás líneas del fichero importado, tal como estaban: otras secciones, "
                        "entradas que Windows no conoce, repetidas y comentarios. Se escriben al compilar "
                        "al final de su sección.");
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

    // A new row takes its first cell from the current row, or from the table's usual first value.
    const QString firstDefault = platforms ? QStringLiteral("Amd64") : QStringLiteral("autorun");
    connect(add, &QPushButton::clicked, this, [this, table, firstDefault] { addRow(table, firstDefault); });
    connect(remove, &QPushButton::clicked, this, [this, table] { removeRow(table); });
    (platforms ? m_platforms : m_kept) = table;
    return page;
}

}  // namespace kmr::gui
