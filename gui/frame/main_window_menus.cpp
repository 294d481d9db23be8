// MainWindow's menus, tool bars and the object list's context menu: where each action of the command
// table shows, in order.

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <initializer_list>

#include "frame/main_window.h"

namespace kmr::gui {

namespace {

// The separator in a list of action names.
constexpr const char* kLine = "-";

}  // namespace

void MainWindow::addActionsTo(QWidget* menuOrBar, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (std::string_view(name) == kLine) {
            auto* line = new QAction(menuOrBar);
            line->setSeparator(true);
            menuOrBar->addAction(line);
        } else {
            menuOrBar->addAction(action(name));
        }
    }
}

void MainWindow::createMenus() {
    QMenuBar* bar = menuBar();

    QMenu* archivo = bar->addMenu(QStringLiteral("&Archivo"));
    archivo->setObjectName(QStringLiteral("Archivo1"));
    addActionsTo(archivo, {"Nuevo1", "Abrir1", "Cerrar2", kLine, "Guardar1", "Guardarcomo1", kLine, "Opciones1", kLine,
                           "Importar2", "Exportar1", "PropDisco1", "ComprobarDisco1", "VistaPreviaDisco1",
                           "CrearImagenISO1", kLine});
    archivo->addActions(m_links);
    addActionsTo(archivo, {kLine, "Salir2"});

    QMenu* edicion = bar->addMenu(QStringLiteral("&Edición"));
    edicion->setObjectName(QStringLiteral("Edicion1"));
    addActionsTo(edicion, {"Cortar1", "Copiar1", "Pegar1"});
    edicion->addSeparator()->setVisible(false);
    m_addMenu = edicion->addMenu(m_images.icon(Picture::Add), QStringLiteral("Añadir"));
    m_addMenu->setObjectName(QStringLiteral("Anadir1"));
    addActionsTo(m_addMenu, {"IProg1", "IIcono1", "ITexto1", "IMenu1"});
    addActionsTo(edicion, {"MProg1", "MIcono1", "MTexto1", "MMenu1", "Pred1", kLine, "Up1", "Down1", kLine, "Del1"});

    // "&Ventanas" has the V, so "Ver" takes its R.
    QMenu* ver = bar->addMenu(QStringLiteral("Ve&r"));
    ver->setObjectName(QStringLiteral("Ver1"));
    addActionsTo(ver, {"Barradeiconos1", "Barradeestado1", kLine, "Iniciorpido1", "Asistenteidea1"});

    QMenu* ventanas = bar->addMenu(QStringLiteral("&Ventanas"));
    ventanas->setObjectName(QStringLiteral("Ventanas1"));
    addActionsTo(ventanas, {"Cascada1", "MosaicoHorizontal1", "MosaicoVertical1", "MinimizarTodo1", "OrganizarTodo1"});
    m_windowsMenu = ventanas;
    connect(ventanas, &QMenu::aboutToShow, this, &MainWindow::listProjectWindows);

    QMenu* ayuda = bar->addMenu(QStringLiteral("Ay&uda"));
    ayuda->setObjectName(QStringLiteral("Ayuda2"));
    addActionsTo(ayuda, {"Ayuda1", "Contenidos1", "ManualOnLine1", kLine, "ActualizarWeb1"});
    QMenu* otras = ayuda->addMenu(QStringLiteral("&Otras Descargas"));
    otras->setObjectName(QStringLiteral("OtrasDescargas1"));
    addActionsTo(otras, {"Drevanto1", kLine, "OtrosProgramas1", "OtrosProyectos1"});
    addActionsTo(ayuda, {kLine, "VisitarPexilon1", "VisitarWendrik1", kLine, "Creditos1"});
}

void MainWindow::createToolBars() {
    m_mainToolBar = addToolBar(QStringLiteral("ToolBar1"));
    m_mainToolBar->setObjectName(QStringLiteral("ToolBar1"));
    addActionsTo(m_mainToolBar, {"Nuevo1", kLine, "Abrir1", "Guardar1", "Guardarcomo1", kLine, "Cortar1", "Copiar1",
                                 "Pegar1", kLine, "Exportar1", "Importar2", kLine, "AyudaBoton1", "AyudaOnLineBoton1",
                                 "DescargaBoton1", kLine, "Opciones1", "Salir2"});

    addToolBarBreak();
    m_objectToolBar = addToolBar(QStringLiteral("ToolBar2"));
    m_objectToolBar->setObjectName(QStringLiteral("ToolBar2"));
    m_addButton = new QToolButton(m_objectToolBar);
    m_addButton->setObjectName(QStringLiteral("AnadirBoton1"));
    m_addButton->setIcon(m_images.icon(Picture::Add));
    m_addButton->setToolTip(QStringLiteral("Añadir"));
    m_addButton->setStatusTip(QStringLiteral("Añade un objeto"));
    m_addButton->setMenu(m_addMenu);
    m_addButton->setPopupMode(QToolButton::InstantPopup);
    m_addButtonAction = m_objectToolBar->addWidget(m_addButton);
    addActionsTo(m_objectToolBar, {"MProg1", "MIcono1", "MTexto1", "MMenu1", "Pred1", kLine, "Up1", "Down1"});
    m_deleteSeparator = m_objectToolBar->addSeparator();
    m_objectToolBar->addAction(m_deleteAction);

    for (QToolBar* t : {m_mainToolBar, m_objectToolBar}) {
        t->setMovable(false);
        t->setIconSize(QSize(16, 16));
        t->setToolButtonStyle(Qt::ToolButtonIconOnly);
        // The band is switched from "Ver" only.
        t->toggleViewAction()->setEnabled(false);
    }
    setContextMenuPolicy(Qt::NoContextMenu);
}

void MainWindow::createContextMenu() {
    // The same actions as the menu and the tool bar, so a hidden command is gone from all three.
    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu1"));
    QMenu* add = m_popupMenu->addMenu(m_images.icon(Picture::Add), QStringLiteral("Añadir"));
    add->setObjectName(QStringLiteral("PopupAnadir1"));
    addActionsTo(add, {"IProg1", "IIcono1", "ITexto1", "IMenu1"});
    addActionsTo(m_popupMenu,
                 {"MProg1", "MTexto1", "MIcono1", "MMenu1", "Pred1", kLine, "Up1", "Down1", kLine, "Del1"});
}

void MainWindow::showObjectMenu(const QPoint& globalPos) {
    // Not modal: the menu closes by itself when the user chooses or clicks elsewhere.
    m_popupMenu->popup(globalPos);
}

}  // namespace kmr::gui
