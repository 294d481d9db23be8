// The frame's command table: every action with its caption, hint, picture and shortcut, what it
// runs, the menus and tool bars that show it, and the refresh that decides which object commands
// are offered.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <functional>

#include "autorun/autorun_commands.h"
#include "autorun/disc_commands.h"
#include "autorun/disc_properties_dialog.h"
#include "editing/clipboard_commands.h"
#include "editing/object_commands.h"
#include "editing/object_rules.h"
#include "frame/main_window.h"
#include "frame/options_dialog.h"
#include "help/help.h"
#include "project/object_list_model.h"
#include "project/project_file_commands.h"
#include "project/project_window.h"

namespace kmr::gui {

QAction* MainWindow::makeAction(const char* name, const QString& caption, const QString& hint, int image,
                                const QKeySequence& shortcut, const QString& category) {
    auto* a = new QAction(caption, this);
    a->setObjectName(QLatin1String(name));
    // A hint is "short|long": the tool tip shows the short part, the status bar the long one.
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    a->setToolTip(bar < 0 ? hint : hint.left(bar));
    a->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    if (image >= 0) {
        a->setIcon(m_images.icon(image));
        a->setProperty("imageIndex", image);
    }
    a->setShortcut(shortcut);
    a->setProperty("category", category);
    return a;
}

void MainWindow::createActions() {
    const QString file = QStringLiteral("Archivo");
    const QString edit = QStringLiteral("Edición");
    const QString help = QStringLiteral("Ayuda");
    const QString view = QStringLiteral("Ver");
    const QString windows = QStringLiteral("Ventanas");
    const QKeySequence none;

    auto* nuevo = makeAction("Nuevo1", QStringLiteral("&Nuevo..."),
                             QStringLiteral("Nuevo|Abre el asistente para crear un nuevo proyecto"), 6,
                             QKeySequence(Qt::CTRL | Qt::Key_N), file);
    auto* abrir = makeAction("Abrir1", QStringLiteral("&Abrir..."),
                             QStringLiteral("Abrir|Abre un proyecto KMR para editarlo o compilarlo"), 7,
                             QKeySequence(Qt::CTRL | Qt::Key_A), file);
    auto* cerrar = makeAction("Cerrar2", QStringLiteral("&Cerrar"), QStringLiteral("Cerrar|Cierra el proyecto activo"),
                              -1, none, file);
    m_closeAction = cerrar;
    auto* guardar = makeAction("Guardar1", QStringLiteral("&Guardar"),
                               QStringLiteral("Guardar|Guarda la información del proyecto activo"), 8,
                               QKeySequence(Qt::CTRL | Qt::Key_G), file);
    auto* guardarComo =
        makeAction("Guardarcomo1", QStringLiteral("G&uardar como..."),
                   QStringLiteral("Guardar como...|Abre el cuadro de diálogo Guardar como..."), 25, none, file);
    auto* opciones = makeAction("Opciones1", QStringLiteral("&Opciones..."),
                                QStringLiteral("Opciones|Configura algunos parámetros del programa"), 10, none, file);
    auto* importar = makeAction("Importar2", QStringLiteral("&Importar..."),
                                QStringLiteral("Importar...|Importa la información de un autorun.inf"), 24, none, file);
    auto* exportar = makeAction("Exportar1", QStringLiteral("C&ompilar..."),
                                QStringLiteral("Compilar|Crea el fichero autorun.inf con los datos seleccionados"), 30,
                                QKeySequence(Qt::Key_F9), file);
    auto* salir = makeAction("Salir2", QStringLiteral("&Salir"), QStringLiteral("Salir|Abandona la aplicación"), 27,
                             QKeySequence(Qt::ALT | Qt::Key_F4), file);
    auto* conflictos = makeAction("Conflictos1", QStringLiteral("Con&flictos"),
                                  QStringLiteral("Detecta errores típicos en las compilaciones"), 29, none, file);

    connect(nuevo, &QAction::triggered, this, &MainWindow::newProject);
    connect(abrir, &QAction::triggered, this, [this] { m_fileCommands->openProject(); });
    connect(cerrar, &QAction::triggered, this, &MainWindow::closeProject);
    connect(guardar, &QAction::triggered, this, [this] { saveProject(activeProjectWindow()); });
    connect(guardarComo, &QAction::triggered, this, [this] { m_fileCommands->saveProjectAs(); });
    connect(opciones, &QAction::triggered, this, &MainWindow::showOptions);
    connect(importar, &QAction::triggered, this, [this] { m_autorunCommands->importAutorun(); });
    connect(exportar, &QAction::triggered, this, [this] { m_autorunCommands->compileProject(); });
    connect(salir, &QAction::triggered, this, &QWidget::close);
    connect(conflictos, &QAction::triggered, this, [this] { m_autorunCommands->checkConflicts(); });

    // The disc the project is for: its check, its preview and its image, after the autorun commands.
    auto* comprobar =
        makeAction("ComprobarDisco1", QStringLiteral("Comprobar &disco..."),
                   QStringLiteral("Comprobar disco|Comprueba el proyecto con los ficheros de la carpeta del disco"), 29,
                   none, file);
    auto* vistaPrevia =
        makeAction("VistaPreviaDisco1", QStringLiteral("&Vista previa del disco"),
                   QStringLiteral("Vista previa del disco|Muestra el disco como lo verá el explorador de Windows"), -1,
                   none, file);
    auto* imagenIso =
        makeAction("CrearImagenISO1", QStringLiteral("Crear i&magen ISO..."),
                   QStringLiteral("Crear imagen ISO|Crea la imagen ISO de la carpeta del disco, lista para grabar"), -1,
                   none, file);
    auto* propiedades = makeAction(
        "PropDisco1", QStringLiteral("&Propiedades del disco..."),
        QStringLiteral("Propiedades del disco|Reproducción automática, contenido, carpetas, plataformas y demás "
                       "entradas del autorun.inf"),
        -1, none, file);
    connect(comprobar, &QAction::triggered, this, [this] { m_discCommands->checkDisc(); });
    connect(propiedades, &QAction::triggered, this, [this] {
        if (ProjectWindow* child = activeProjectWindow()) m_discProperties->editOn(*child);
    });
    connect(vistaPrevia, &QAction::triggered, this, [this] { m_discCommands->previewDisc(); });
    connect(imagenIso, &QAction::triggered, this, [this] { m_discCommands->makeIsoImage(); });

    // The clipboard commands are always offered; each does nothing when it lacks what it needs.
    auto* cortar =
        makeAction("Cortar1", QStringLiteral("C&ortar"), QStringLiteral("Cortar|Corta el elemento seleccionado"), 0,
                   QKeySequence(Qt::CTRL | Qt::Key_X), edit);
    auto* copiar =
        makeAction("Copiar1", QStringLiteral("&Copiar"), QStringLiteral("Copiar|Copia el elemento seleccionado"), 1,
                   QKeySequence(Qt::CTRL | Qt::Key_C), edit);
    auto* pegar =
        makeAction("Pegar1", QStringLiteral("&Pegar"), QStringLiteral("Pegar|Pega el contenido del portapapeles"), 2,
                   QKeySequence(Qt::CTRL | Qt::Key_V), edit);
    connect(cortar, &QAction::triggered, this, [this] { m_clipboardCommands->cut(); });
    connect(copiar, &QAction::triggered, this, [this] { m_clipboardCommands->copy(); });
    connect(pegar, &QAction::triggered, this, [this] { m_clipboardCommands->paste(); });

    // The object commands: which of them are offered is refreshObjectCommands()'s decision, so none has a
    // shortcut that could reach it while it is hidden.
    const QString contextual = QStringLiteral("Contextual");
    const struct {
        const char* name;
        QString caption;
        QString hint;
        int image;
        void (ObjectCommands::*run)();
    } objectCommands[] = {
        {"IProg1", QStringLiteral("Programa..."), QStringLiteral("Insertar|Añade un nuevo recurso/programa"), 21,
         &ObjectCommands::insertRunEntry},
        {"IIcono1", QStringLiteral("Icono..."), QStringLiteral("Insertar|Añade un nuevo icono"), 22,
         &ObjectCommands::insertIcon},
        {"ITexto1", QStringLiteral("Etiqueta..."), QStringLiteral("Insertar|Añade una nueva etiqueta"), 23,
         &ObjectCommands::insertLabel},
        {"IMenu1", QStringLiteral("Menú..."), QStringLiteral("Insertar|Añade un nuevo menú"), 6,
         &ObjectCommands::insertMenu},
        {"MProg1", QStringLiteral("Modificar programa..."), QStringLiteral("Modificar...|Modifica el programa/recurso"),
         21, &ObjectCommands::modifyRunEntry},
        {"MIcono1", QStringLiteral("Modificar icono..."), QStringLiteral("Modificar...|Modifica el icono"), 22,
         &ObjectCommands::modifyIcon},
        {"MTexto1", QStringLiteral("Modificar etiqueta..."), QStringLiteral("Modificar...|Modifica la etiqueta"), 23,
         &ObjectCommands::modifyLabel},
        {"MMenu1", QStringLiteral("Modificar menú..."), QStringLiteral("Modificar...|Modifica el menú"), 6,
         &ObjectCommands::modifyMenu},
        {"Pred1", QStringLiteral("Predeterminado"),
         QStringLiteral("Predeterminar|Marca el menú actual como predeterminado"), 20, &ObjectCommands::setDefaultMenu},
        {"Up1", QStringLiteral("Subir"), QStringLiteral("Subir|Sube un nivel el menú seleccionado"), 19,
         &ObjectCommands::moveObjectUp},
        {"Down1", QStringLiteral("Bajar"), QStringLiteral("Bajar|Baja un nivel el menú seleccionado"), 18,
         &ObjectCommands::moveObjectDown},
        {"Del1", QStringLiteral("Eliminar"), QStringLiteral("Eliminar|Elimina el objeto seleccionado"), 5,
         &ObjectCommands::deleteObject},
    };
    std::size_t slot = 0;
    for (const auto& c : objectCommands) {
        QAction* a = makeAction(c.name, c.caption, c.hint, c.image, none, contextual);
        connect(a, &QAction::triggered, this, [this, run = c.run] { (m_objectCommands.get()->*run)(); });
        m_objectActions[slot++] = a;
    }
    m_setDefaultAction = m_objectActions[8];
    // Its check mark tells whether the selected menu is the default one.
    m_setDefaultAction->setCheckable(true);
    // The refresh is a command of its own that no menu or tool bar shows.
    auto* refresh = makeAction("Actualizar1", QString(), QString(), -1, none, contextual);
    connect(refresh, &QAction::triggered, this, &MainWindow::refreshObjectCommands);

    // Help, the about box, the update command and the web links. The tool-bar buttons are commands of
    // their own (their hints differ) that run the same handlers as the menu entries.
    using WebPage = kmr::web::WebPage;
    struct Periphery {
        const char* name;
        QString caption;
        QString hint;
        int image;
        QKeySequence shortcut;
        QString category;
        std::function<void()> run;
    };
    const Periphery periphery[] = {
        {"Creditos1", QStringLiteral("A&cerca de..."), QStringLiteral("Acerca de...|Información sobre el programa"), -1,
         none, help, [this] { showAboutBox(); }},
        {"Ayuda1", QStringLiteral("&Ayuda"), QStringLiteral("Obtenga ayuda sobre el programa"), 9,
         QKeySequence(Qt::Key_F1), help, [this] { showHelp(kHelpMain); }},
        {"Contenidos1", QStringLiteral("&Contenidos"), QStringLiteral("Muestra los contenidos de la ayuda"), 9,
         QKeySequence(Qt::ALT | Qt::Key_F1), help, [this] { showHelpContents(); }},
        {"ManualOnLine1", QStringLiteral("&Manual OnLine"),
         QStringLiteral("Consulte todo aquello que no encuentre en la ayuda local"), 12,
         QKeySequence(Qt::CTRL | Qt::Key_F1), help, [this] { openWebPage(WebPage::ManualOnLine); }},
        {"ActualizarWeb1", QStringLiteral("Ac&tualizar..."), QStringLiteral("Actualice KMR desde Internet"), 14,
         QKeySequence(Qt::Key_F2), help, [this] { runUpdate(); }},
        {"Drevanto1", QStringLiteral("&Drevanto"), QStringLiteral("Creación de discos virtuales"), 14, none, help,
         [this] { openWebPage(WebPage::Drevanto); }},
        {"OtrosProgramas1", QStringLiteral("&Otros programas de Brenlowe"), QStringLiteral("Descargue otros programas"),
         -1, none, help, [this] { openWebPage(WebPage::OtherPrograms); }},
        {"OtrosProyectos1", QStringLiteral("Otros &proyectos de Brenlowe"),
         QStringLiteral("Conozca futuros programas de Brenlowe"), -1, none, help,
         [this] { openWebPage(WebPage::FuturePrograms); }},
        {"VisitarPexilon1", QStringLiteral("Visitar Brenlowe &Pexilon"),
         QStringLiteral("Encuentre toda la información sobre brenlowe"), 14, none, help,
         [this] { openWebPage(WebPage::MakerHome); }},
        {"VisitarWendrik1", QStringLiteral("Visitar &Wendrik"), QStringLiteral("Encuentre todo el software de la red"),
         14, none, help, [this] { openWebPage(WebPage::SisterHome); }},
        {"AyudaBoton1", QStringLiteral("&Ayuda"), QStringLiteral("Ayuda|Muestra los títulos de la ayuda"), 9, none,
         help, [this] { showHelp(kHelpMain); }},
        {"AyudaOnLineBoton1", QStringLiteral("&Manual OnLine"),
         QStringLiteral("Ayuda OnLine|Consulte todo aquello que no encuentre en la ayuda local"), 12, none, help,
         [this] { openWebPage(WebPage::ManualOnLine); }},
        {"DescargaBoton1", QStringLiteral("Ac&tualizar..."),
         QStringLiteral("Descarga|Accede a internet para descargar la última versión de KMR"), 14, none, help,
         [this] { runUpdate(); }},
    };
    for (const Periphery& p : periphery) {
        connect(makeAction(p.name, p.caption, p.hint, p.image, p.shortcut, p.category), &QAction::triggered, this,
                p.run);
    }

    const struct {
        const char* name;
        QString caption;
        void (MainWindow::*toggle)();
        QAction** slot;
    } views[] = {
        {"Barradeiconos1", QStringLiteral("Barra de iconos"), &MainWindow::toggleToolBar, &m_viewToolBar},
        {"Barradeestado1", QStringLiteral("Barra de estado"), &MainWindow::toggleStatusBar, &m_viewStatusBar},
        {"Iniciorpido1", QStringLiteral("Inicio rápido"), &MainWindow::toggleQuickStart, &m_viewQuickStart},
        {"Asistenteidea1", QStringLiteral("Asistente idea"), &MainWindow::toggleTips, &m_viewTips},
    };
    for (const auto& v : views) {
        QAction* a = makeAction(v.name, v.caption, QString(), -1, none, view);
        a->setCheckable(true);
        a->setChecked(true);
        // The check mark follows what is shown; a click flips the option, which sets it again.
        connect(a, &QAction::triggered, this, v.toggle);
        *v.slot = a;
    }

    const struct {
        const char* name;
        QString caption;
        int image;
        void (MainWindow::*run)();
    } windowCommands[] = {
        {"Cascada1", QStringLiteral("&Cascada"), 17, nullptr},
        {"MosaicoHorizontal1", QStringLiteral("Mosaico &horizontal"), 15, nullptr},
        {"MosaicoVertical1", QStringLiteral("Mosaico &vertical"), 16, nullptr},
        {"MinimizarTodo1", QStringLiteral("&Minimizar todo"), -1, nullptr},
        {"OrganizarTodo1", QStringLiteral("&Organizar todo"), -1, &MainWindow::arrangeIcons},
    };
    for (const auto& w : windowCommands) {
        const QString hint = QString(w.caption).remove(QLatin1Char('&'));
        QAction* a = makeAction(w.name, w.caption, hint, w.image, none, windows);
        m_windowCommands << a;
        if (w.run != nullptr) connect(a, &QAction::triggered, this, w.run);
    }
    connect(m_windowCommands[0], &QAction::triggered, m_mdi, &QMdiArea::cascadeSubWindows);
    connect(m_windowCommands[1], &QAction::triggered, this, [this] {
        // One above the other, each as wide as the client area.
        const auto windows = m_mdi->subWindowList();
        const QSize area = m_mdi->viewport()->size();
        const int h = windows.isEmpty() ? 0 : area.height() / static_cast<int>(windows.size());
        int y = 0;
        for (QMdiSubWindow* w : windows) {
            w->showNormal();
            w->setGeometry(0, y, area.width(), h);
            y += h;
        }
    });
    connect(m_windowCommands[2], &QAction::triggered, this, [this] {
        // Side by side, each as high as the client area.
        const auto windows = m_mdi->subWindowList();
        const QSize area = m_mdi->viewport()->size();
        const int w = windows.isEmpty() ? 0 : area.width() / static_cast<int>(windows.size());
        int x = 0;
        for (QMdiSubWindow* sub : windows) {
            sub->showNormal();
            sub->setGeometry(x, 0, w, area.height());
            x += w;
        }
    });
    connect(m_windowCommands[3], &QAction::triggered, this, [this] {
        for (QMdiSubWindow* w : m_mdi->subWindowList()) w->showMinimized();
        arrangeIcons();
    });

    // Ctrl+F6 and Ctrl+Shift+F6 go through the project windows, as on the platform the program comes from.
    const struct {
        const char* name;
        QKeySequence keys;
        void (QMdiArea::*go)();
    } cycling[] = {
        {"SiguienteVentana1", QKeySequence(Qt::CTRL | Qt::Key_F6), &QMdiArea::activateNextSubWindow},
        {"AnteriorVentana1", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), &QMdiArea::activatePreviousSubWindow},
    };
    for (const auto& c : cycling) {
        auto* a = new QAction(this);
        a->setObjectName(QLatin1String(c.name));
        a->setShortcut(c.keys);
        addAction(a);
        connect(a, &QAction::triggered, m_mdi, c.go);
    }

    for (int i = 0; i < 5; ++i) {
        auto* link = new QAction(this);
        link->setObjectName(QStringLiteral("link%1").arg(i + 1));
        link->setVisible(false);
        connect(link, &QAction::triggered, this, [this, i] { openRecentFile(i); });
        m_links << link;
    }
}

void MainWindow::createMenus() {
    auto act = [this](const char* name) { return findChild<QAction*>(QLatin1String(name)); };
    QMenuBar* bar = menuBar();

    QMenu* archivo = bar->addMenu(QStringLiteral("&Archivo"));
    archivo->setObjectName(QStringLiteral("Archivo1"));
    archivo->addActions({act("Nuevo1"), act("Abrir1"), act("Cerrar2")});
    archivo->addSeparator();
    archivo->addActions({act("Guardar1"), act("Guardarcomo1")});
    archivo->addSeparator();
    archivo->addAction(act("Opciones1"));
    archivo->addSeparator();
    archivo->addActions({act("Importar2"), act("Exportar1")});
    archivo->addActions({act("PropDisco1"), act("ComprobarDisco1"), act("VistaPreviaDisco1"), act("CrearImagenISO1")});
    archivo->addSeparator();
    archivo->addActions(m_links);
    m_linkSeparator = archivo->addSeparator();
    archivo->addAction(act("Salir2"));

    QMenu* edicion = bar->addMenu(QStringLiteral("&Edición"));
    edicion->setObjectName(QStringLiteral("Edicion1"));
    edicion->addActions({act("Cortar1"), act("Copiar1"), act("Pegar1")});
    edicion->addSeparator()->setVisible(false);
    m_addMenu = edicion->addMenu(m_images.icon(26), QStringLiteral("Añadir"));
    m_addMenu->setObjectName(QStringLiteral("Anadir1"));
    m_addMenu->addActions({act("IProg1"), act("IIcono1"), act("ITexto1"), act("IMenu1")});
    edicion->addActions({act("MProg1"), act("MIcono1"), act("MTexto1"), act("MMenu1"), act("Pred1")});
    edicion->addSeparator();
    edicion->addActions({act("Up1"), act("Down1")});
    edicion->addSeparator();
    edicion->addAction(act("Del1"));

    // "&Ventanas" has the V, so "Ver" takes its R.
    QMenu* ver = bar->addMenu(QStringLiteral("Ve&r"));
    ver->setObjectName(QStringLiteral("Ver1"));
    ver->addActions({m_viewToolBar, m_viewStatusBar});
    ver->addSeparator();
    ver->addActions({m_viewQuickStart, m_viewTips});

    QMenu* ventanas = bar->addMenu(QStringLiteral("&Ventanas"));
    ventanas->setObjectName(QStringLiteral("Ventanas1"));
    ventanas->addActions(m_windowCommands);
    m_windowsMenu = ventanas;
    connect(ventanas, &QMenu::aboutToShow, this, &MainWindow::listProjectWindows);

    QMenu* ayuda = bar->addMenu(QStringLiteral("Ay&uda"));
    ayuda->setObjectName(QStringLiteral("Ayuda2"));
    ayuda->addActions({act("Ayuda1"), act("Contenidos1"), act("ManualOnLine1")});
    ayuda->addSeparator();
    ayuda->addAction(act("ActualizarWeb1"));
    QMenu* otras = ayuda->addMenu(QStringLiteral("&Otras Descargas"));
    otras->setObjectName(QStringLiteral("OtrasDescargas1"));
    otras->addAction(act("Drevanto1"));
    otras->addSeparator();
    otras->addActions({act("OtrosProgramas1"), act("OtrosProyectos1")});
    ayuda->addSeparator();
    ayuda->addActions({act("VisitarPexilon1"), act("VisitarWendrik1")});
    ayuda->addSeparator();
    ayuda->addAction(act("Creditos1"));
}

void MainWindow::createToolBars() {
    auto act = [this](const char* name) { return findChild<QAction*>(QLatin1String(name)); };

    m_mainToolBar = addToolBar(QStringLiteral("ToolBar1"));
    m_mainToolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_mainToolBar->addAction(act("Nuevo1"));
    m_mainToolBar->addSeparator();
    m_mainToolBar->addActions({act("Abrir1"), act("Guardar1"), act("Guardarcomo1")});
    m_mainToolBar->addSeparator();
    m_mainToolBar->addActions({act("Cortar1"), act("Copiar1"), act("Pegar1")});
    m_mainToolBar->addSeparator();
    m_mainToolBar->addActions({act("Exportar1"), act("Importar2")});
    m_mainToolBar->addSeparator();
    m_mainToolBar->addActions({act("AyudaBoton1"), act("AyudaOnLineBoton1"), act("DescargaBoton1")});
    m_mainToolBar->addSeparator();
    m_mainToolBar->addActions({act("Opciones1"), act("Salir2")});

    addToolBarBreak();
    m_objectToolBar = addToolBar(QStringLiteral("ToolBar2"));
    m_objectToolBar->setObjectName(QStringLiteral("ToolBar2"));
    m_addButton = new QToolButton(m_objectToolBar);
    m_addButton->setObjectName(QStringLiteral("AnadirBoton1"));
    m_addButton->setIcon(m_images.icon(26));
    m_addButton->setToolTip(QStringLiteral("Añadir"));
    m_addButton->setStatusTip(QStringLiteral("Añade un objeto"));
    m_addButton->setMenu(m_addMenu);
    m_addButton->setPopupMode(QToolButton::InstantPopup);
    m_addButtonAction = m_objectToolBar->addWidget(m_addButton);
    m_objectToolBar->addActions({act("MProg1"), act("MIcono1"), act("MTexto1"), act("MMenu1"), act("Pred1")});
    m_objectToolBar->addSeparator();
    m_objectToolBar->addActions({act("Up1"), act("Down1")});
    m_deleteSeparator = m_objectToolBar->addSeparator();
    m_objectToolBar->addAction(act("Del1"));

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
    auto act = [this](const char* name) { return findChild<QAction*>(QLatin1String(name)); };
    // The same actions as the menu and the tool bar, so a hidden command is gone from all three.
    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu1"));
    QMenu* add = m_popupMenu->addMenu(m_images.icon(26), QStringLiteral("Añadir"));
    add->setObjectName(QStringLiteral("PopupAnadir1"));
    add->addActions({act("IProg1"), act("IIcono1"), act("ITexto1"), act("IMenu1")});
    m_popupMenu->addActions({act("MProg1"), act("MTexto1"), act("MIcono1"), act("MMenu1"), act("Pred1")});
    m_popupMenu->addSeparator();
    m_popupMenu->addActions({act("Up1"), act("Down1")});
    m_popupMenu->addSeparator();
    m_popupMenu->addAction(act("Del1"));
}

// ---------------------------------------------------------------------------------------------
// Offered object commands

void MainWindow::refreshObjectCommands() {
    // Runs on every change of the selection: it looks at the selected object and its neighbours,
    // and asks the list which kinds it holds instead of counting them.
    const ProjectWindow* child = activeProjectWindow();
    kmr::OfferedCommands offered;
    if (child != nullptr) {
        const ObjectListModel& objects = child->objects();
        const kmr::HeldKinds held{objects.contains(kmr::Kind::RunEntry), objects.contains(kmr::Kind::Icon),
                                  objects.contains(kmr::Kind::Label)};
        offered = kmr::offeredCommands(&child->project(), child->selectedObject(), held);
    }
    const bool shown[] = {offered.insertProgram, offered.insertIcon, offered.insertLabel, offered.insertMenu,
                          offered.modifyProgram, offered.modifyIcon, offered.modifyLabel, offered.modifyMenu,
                          offered.setDefault,    offered.moveUp,     offered.moveDown,    offered.remove};
    for (std::size_t i = 0; i < m_objectActions.size(); ++i) m_objectActions[i]->setVisible(shown[i]);
    m_setDefaultAction->setChecked(offered.defaultChecked);
    m_addMenu->menuAction()->setVisible(offered.addGroup);
    m_addButtonAction->setVisible(offered.addGroup);
    m_deleteSeparator->setVisible(offered.remove);
    m_objectCommandsOffered = offered.addGroup;
    applyObjectToolBarVisibility();
}

void MainWindow::modifyObject(kmr::Kind kind) { m_objectCommands->modifyObject(kind); }

void MainWindow::showObjectMenu(const QPoint& globalPos) {
    // Not modal: the menu closes by itself when the user chooses or clicks elsewhere.
    m_popupMenu->popup(globalPos);
}

}  // namespace kmr::gui
