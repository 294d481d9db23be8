// MainWindow's command table: every action of the frame once, as a row, and the one loop that builds
// them; the refresh that decides which object commands are offered walks the same rows.

#include <QMdiArea>
#include <QMenu>

#include "autorun/autorun_commands.h"
#include "autorun/disc_commands.h"
#include "autorun/disc_properties_dialog.h"
#include "editing/clipboard_commands.h"
#include "editing/object_commands.h"
#include "frame/main_window.h"
#include "help/help.h"
#include "project/object_list_model.h"
#include "project/project_file_commands.h"
#include "project/project_window.h"

namespace kmr::gui {

namespace {

constexpr const char* kFile = "Archivo";
constexpr const char* kEdit = "Edición";
constexpr const char* kObject = "Contextual";
constexpr const char* kHelp = "Ayuda";
constexpr const char* kView = "Ver";
constexpr const char* kWindows = "Ventanas";

QString text(const char* utf8) { return utf8 != nullptr ? QString::fromUtf8(utf8) : QString(); }

}  // namespace

std::span<const FrameAction> MainWindow::actionTable() {
    using P = Picture;
    using O = kmr::OfferedCommands;
    using WebPage = kmr::web::WebPage;
    // name, caption, tool tip, status tip (null: the tool tip), picture, shortcut, category, what it runs;
    // then, where they apply: the offered object command, the check mark, where the frame keeps it,
    // whether it needs a project window, whether the frame holds it.
    static const FrameAction table[] = {
        {"Nuevo1", "&Nuevo...", "Nuevo", "Abre el asistente para crear un nuevo proyecto", P::Menu,
         Qt::CTRL | Qt::Key_N, kFile, [](MainWindow& f) { f.newProject(); }},
        {"Abrir1", "&Abrir...", "Abrir", "Abre un proyecto KMR para editarlo o compilarlo", P::Open,
         Qt::CTRL | Qt::Key_A, kFile, [](MainWindow& f) { f.m_fileCommands->openProject(); }},
        {"Cerrar2", "&Cerrar", "Cerrar", "Cierra el proyecto activo", P::None, kNoKey, kFile,
         [](MainWindow& f) { f.closeProject(); }, nullptr, CheckMark::None, nullptr, true},
        {"Guardar1", "&Guardar", "Guardar", "Guarda la información del proyecto activo", P::Save, Qt::CTRL | Qt::Key_G,
         kFile, [](MainWindow& f) { f.saveProject(f.activeProjectWindow()); }},
        {"Guardarcomo1", "G&uardar como...", "Guardar como...", "Abre el cuadro de diálogo Guardar como...", P::SaveAs,
         kNoKey, kFile, [](MainWindow& f) { f.m_fileCommands->saveProjectAs(); }},
        {"Opciones1", "&Opciones...", "Opciones", "Configura algunos parámetros del programa", P::Options, kNoKey,
         kFile, [](MainWindow& f) { f.showOptions(); }},
        {"Importar2", "&Importar...", "Importar...", "Importa la información de un autorun.inf", P::Import, kNoKey,
         kFile, [](MainWindow& f) { f.m_autorunCommands->importAutorun(); }},
        {"Exportar1", "C&ompilar...", "Compilar", "Crea el fichero autorun.inf con los datos seleccionados", P::Compile,
         Qt::Key_F9, kFile, [](MainWindow& f) { f.m_autorunCommands->compileProject(); }},
        {"Salir2", "&Salir", "Salir", "Abandona la aplicación", P::Exit, Qt::ALT | Qt::Key_F4, kFile,
         [](MainWindow& f) { f.close(); }},
        {"Conflictos1", "Con&flictos", "Detecta errores típicos en las compilaciones", nullptr, P::Warning, kNoKey,
         kFile, [](MainWindow& f) { f.m_autorunCommands->checkConflicts(); }},
        // The disc the project is for: its check, its preview and its image, after the autorun commands.
        {"ComprobarDisco1", "Comprobar &disco...", "Comprobar disco",
         "Comprueba el proyecto con los ficheros de la carpeta del disco", P::Warning, kNoKey, kFile,
         [](MainWindow& f) { f.m_discCommands->checkDisc(); }},
        {"VistaPreviaDisco1", "&Vista previa del disco", "Vista previa del disco",
         "Muestra el disco como lo verá el explorador de Windows", P::None, kNoKey, kFile,
         [](MainWindow& f) { f.m_discCommands->previewDisc(); }},
        {"CrearImagenISO1", "Crear i&magen ISO...", "Crear imagen ISO",
         "Crea la imagen ISO de la carpeta del disco, lista para grabar", P::None, kNoKey, kFile,
         [](MainWindow& f) { f.m_discCommands->makeIsoImage(); }},
        {"PropDisco1", "&Propiedades del disco...", "Propiedades del disco",
         "Reproducción automática, contenido, carpetas, plataformas y demás entradas del autorun.inf", P::None, kNoKey,
         kFile, [](MainWindow& f) { f.editDiscProperties(f.activeProjectWindow()); }},
        // The clipboard commands are always offered; each does nothing when it lacks what it needs.
        {"Cortar1", "C&ortar", "Cortar", "Corta el elemento seleccionado", P::Cut, Qt::CTRL | Qt::Key_X, kEdit,
         [](MainWindow& f) { f.m_clipboardCommands->cut(); }},
        {"Copiar1", "&Copiar", "Copiar", "Copia el elemento seleccionado", P::Copy, Qt::CTRL | Qt::Key_C, kEdit,
         [](MainWindow& f) { f.m_clipboardCommands->copy(); }},
        {"Pegar1", "&Pegar", "Pegar", "Pega el contenido del portapapeles", P::Paste, Qt::CTRL | Qt::Key_V, kEdit,
         [](MainWindow& f) { f.m_clipboardCommands->paste(); }},
        // The object commands, in the order of the "&Edición" menu.
        {"IProg1", "Programa...", "Insertar", "Añade un nuevo recurso/programa", P::RunEntry, kNoKey, kObject,
         [](MainWindow& f) { f.m_objectCommands->insertRunEntry(); }, &O::insertProgram},
        {"IIcono1", "Icono...", "Insertar", "Añade un nuevo icono", P::Icon, kNoKey, kObject,
         [](MainWindow& f) { f.m_objectCommands->insertIcon(); }, &O::insertIcon},
        {"ITexto1", "Etiqueta...", "Insertar", "Añade una nueva etiqueta", P::Label, kNoKey, kObject,
         [](MainWindow& f) { f.m_objectCommands->insertLabel(); }, &O::insertLabel},
        {"IMenu1", "Menú...", "Insertar", "Añade un nuevo menú", P::Menu, kNoKey, kObject,
         [](MainWindow& f) { f.m_objectCommands->insertMenu(); }, &O::insertMenu},
        {"MProg1", "Modificar programa...", "Modificar...", "Modifica el programa/recurso", P::RunEntry, kNoKey,
         kObject, [](MainWindow& f) { f.m_objectCommands->modifyRunEntry(); }, &O::modifyProgram},
        {"MIcono1", "Modificar icono...", "Modificar...", "Modifica el icono", P::Icon, kNoKey, kObject,
         [](MainWindow& f) { f.m_objectCommands->modifyIcon(); }, &O::modifyIcon},
        {"MTexto1", "Modificar etiqueta...", "Modificar...", "Modifica la etiqueta", P::Label, kNoKey, kObject,
         [](MainWindow& f) { f.m_objectCommands->modifyLabel(); }, &O::modifyLabel},
        {"MMenu1", "Modificar menú...", "Modificar...", "Modifica el menú", P::Menu, kNoKey, kObject,
         [](MainWindow& f) { f.m_objectCommands->modifyMenu(); }, &O::modifyMenu},
        // Its check mark tells whether the selected menu is the default one.
        {"Pred1", "Predeterminado", "Predeterminar", "Marca el menú actual como predeterminado", P::DefaultMenu, kNoKey,
         kObject, [](MainWindow& f) { f.m_objectCommands->setDefaultMenu(); }, &O::setDefault, CheckMark::Off,
         &MainWindow::m_setDefaultAction},
        {"Up1", "Subir", "Subir", "Sube un nivel el menú seleccionado", P::Up, kNoKey, kObject,
         [](MainWindow& f) { f.m_objectCommands->moveObjectUp(); }, &O::moveUp},
        {"Down1", "Bajar", "Bajar", "Baja un nivel el menú seleccionado", P::Down, kNoKey, kObject,
         [](MainWindow& f) { f.m_objectCommands->moveObjectDown(); }, &O::moveDown},
        {"Del1", "Eliminar", "Eliminar", "Elimina el objeto seleccionado", P::Delete, kNoKey, kObject,
         [](MainWindow& f) { f.m_objectCommands->deleteObject(); }, &O::remove, CheckMark::None,
         &MainWindow::m_deleteAction},
        // The refresh is a command of its own that no menu or tool bar shows.
        {"Actualizar1", nullptr, nullptr, nullptr, P::None, kNoKey, kObject,
         [](MainWindow& f) { f.refreshObjectCommands(); }},
        // Help, the about box, the update command and the web links. The tool-bar buttons are commands of
        // their own (their hints differ) that run the same handlers as the menu entries.
        {"Creditos1", "A&cerca de...", "Acerca de...", "Información sobre el programa", P::None, kNoKey, kHelp,
         [](MainWindow& f) { f.showAboutBox(); }},
        {"Ayuda1", "&Ayuda", "Obtenga ayuda sobre el programa", nullptr, P::Help, Qt::Key_F1, kHelp,
         [](MainWindow& f) { f.showHelp(kHelpMain); }},
        {"Contenidos1", "&Contenidos", "Muestra los contenidos de la ayuda", nullptr, P::Help, Qt::ALT | Qt::Key_F1,
         kHelp, [](MainWindow& f) { f.showHelpContents(); }},
        {"ManualOnLine1", "&Manual OnLine", "Consulte todo aquello que no encuentre en la ayuda local", nullptr,
         P::OnlineHelp, Qt::CTRL | Qt::Key_F1, kHelp, [](MainWindow& f) { f.openWebPage(WebPage::ManualOnLine); }},
        {"ActualizarWeb1", "Ac&tualizar...", "Actualice KMR desde Internet", nullptr, P::Web, Qt::Key_F2, kHelp,
         [](MainWindow& f) { f.runUpdate(); }},
        {"Drevanto1", "&Drevanto", "Creación de discos virtuales", nullptr, P::Web, kNoKey, kHelp,
         [](MainWindow& f) { f.openWebPage(WebPage::Drevanto); }},
        {"OtrosProgramas1", "&Otros programas de Brenlowe", "Descargue otros programas", nullptr, P::None, kNoKey,
         kHelp, [](MainWindow& f) { f.openWebPage(WebPage::OtherPrograms); }},
        {"OtrosProyectos1", "Otros &proyectos de Brenlowe", "Conozca futuros programas de Brenlowe", nullptr, P::None,
         kNoKey, kHelp, [](MainWindow& f) { f.openWebPage(WebPage::FuturePrograms); }},
        {"VisitarPexilon1", "Visitar Brenlowe &Pexilon", "Encuentre toda la información sobre brenlowe", nullptr,
         P::Web, kNoKey, kHelp, [](MainWindow& f) { f.openWebPage(WebPage::MakerHome); }},
        {"VisitarWendrik1", "Visitar &Wendrik", "Encuentre todo el software de la red", nullptr, P::Web, kNoKey, kHelp,
         [](MainWindow& f) { f.openWebPage(WebPage::SisterHome); }},
        {"AyudaBoton1", "&Ayuda", "Ayuda", "Muestra los títulos de la ayuda", P::Help, kNoKey, kHelp,
         [](MainWindow& f) { f.showHelp(kHelpMain); }},
        {"AyudaOnLineBoton1", "&Manual OnLine", "Ayuda OnLine",
         "Consulte todo aquello que no encuentre en la ayuda local", P::OnlineHelp, kNoKey, kHelp,
         [](MainWindow& f) { f.openWebPage(WebPage::ManualOnLine); }},
        {"DescargaBoton1", "Ac&tualizar...", "Descarga", "Accede a internet para descargar la última versión de KMR",
         P::Web, kNoKey, kHelp, [](MainWindow& f) { f.runUpdate(); }},
        // The check marks follow what is shown; a click flips the option, which sets them again.
        {"Barradeiconos1", "Barra de iconos", nullptr, nullptr, P::None, kNoKey, kView,
         [](MainWindow& f) { f.toggleToolBar(); }, nullptr, CheckMark::On, &MainWindow::m_viewToolBar},
        {"Barradeestado1", "Barra de estado", nullptr, nullptr, P::None, kNoKey, kView,
         [](MainWindow& f) { f.toggleStatusBar(); }, nullptr, CheckMark::On, &MainWindow::m_viewStatusBar},
        {"Iniciorpido1", "Inicio rápido", nullptr, nullptr, P::None, kNoKey, kView,
         [](MainWindow& f) { f.toggleQuickStart(); }, nullptr, CheckMark::On, &MainWindow::m_viewQuickStart},
        {"Asistenteidea1", "Asistente idea", nullptr, nullptr, P::None, kNoKey, kView,
         [](MainWindow& f) { f.toggleTips(); }, nullptr, CheckMark::On, &MainWindow::m_viewTips},
        {"Cascada1", "&Cascada", "Cascada", nullptr, P::Cascade, kNoKey, kWindows,
         [](MainWindow& f) { f.m_mdi->cascadeSubWindows(); }, nullptr, CheckMark::None, nullptr, true},
        {"MosaicoHorizontal1", "Mosaico &horizontal", "Mosaico horizontal", nullptr, P::TileHorizontally, kNoKey,
         kWindows, [](MainWindow& f) { f.tileHorizontally(); }, nullptr, CheckMark::None, nullptr, true},
        {"MosaicoVertical1", "Mosaico &vertical", "Mosaico vertical", nullptr, P::TileVertically, kNoKey, kWindows,
         [](MainWindow& f) { f.tileVertically(); }, nullptr, CheckMark::None, nullptr, true},
        {"MinimizarTodo1", "&Minimizar todo", "Minimizar todo", nullptr, P::None, kNoKey, kWindows,
         [](MainWindow& f) { f.minimizeAll(); }, nullptr, CheckMark::None, nullptr, true},
        {"OrganizarTodo1", "&Organizar todo", "Organizar todo", nullptr, P::None, kNoKey, kWindows,
         [](MainWindow& f) { f.arrangeIcons(); }, nullptr, CheckMark::None, nullptr, true},
        // Ctrl+F6 and Ctrl+Shift+F6 go through the project windows, as on the platform the program comes from.
        {"SiguienteVentana1", nullptr, nullptr, nullptr, P::None, Qt::CTRL | Qt::Key_F6, kWindows,
         [](MainWindow& f) { f.m_mdi->activateNextSubWindow(); }, nullptr, CheckMark::None, nullptr, false, true},
        {"AnteriorVentana1", nullptr, nullptr, nullptr, P::None, Qt::CTRL | Qt::SHIFT | Qt::Key_F6, kWindows,
         [](MainWindow& f) { f.m_mdi->activatePreviousSubWindow(); }, nullptr, CheckMark::None, nullptr, false, true},
    };
    return table;
}

void MainWindow::createActions() {
    const std::span<const FrameAction> table = actionTable();
    m_actions.reserve(table.size());
    for (const FrameAction& row : table) {
        auto* a = new QAction(text(row.caption), this);
        a->setObjectName(QLatin1String(row.name));
        // The tool tip shows the hint's short part, the status bar the long one.
        a->setToolTip(text(row.toolTip));
        a->setStatusTip(text(row.statusTip != nullptr ? row.statusTip : row.toolTip));
        if (row.picture != Picture::None) {
            a->setIcon(m_images.icon(row.picture));
            a->setProperty("imageIndex", static_cast<int>(row.picture));
        }
        a->setShortcut(QKeySequence(row.shortcut));
        a->setProperty("category", QString::fromUtf8(row.category));
        if (row.mark != CheckMark::None) {
            a->setCheckable(true);
            a->setChecked(row.mark == CheckMark::On);
        }
        if (row.keep != nullptr) this->*row.keep = a;
        if (row.onFrame) addAction(a);
        connect(a, &QAction::triggered, this, [this, run = row.run] { run(*this); });
        m_actions.push_back(a);
    }

    for (int i = 0; i < 5; ++i) {
        auto* link = new QAction(this);
        link->setObjectName(QStringLiteral("link%1").arg(i + 1));
        link->setVisible(false);
        connect(link, &QAction::triggered, this, [this, i] { openRecentFile(i); });
        m_links << link;
    }
}

QAction* MainWindow::action(std::string_view name) const {
    const std::span<const FrameAction> table = actionTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (name == table[i].name) return m_actions[i];
    }
    return nullptr;
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
    const std::span<const FrameAction> table = actionTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].offered != nullptr) m_actions[i]->setVisible(offered.*table[i].offered);
    }
    m_setDefaultAction->setChecked(offered.defaultChecked);
    m_addMenu->menuAction()->setVisible(offered.addGroup);
    m_addButtonAction->setVisible(offered.addGroup);
    m_deleteSeparator->setVisible(offered.remove);
    m_objectCommandsOffered = offered.addGroup;
    applyObjectToolBarVisibility();
}

void MainWindow::refreshWindowCommands() {
    const bool any = !projectWindows().isEmpty();
    const std::span<const FrameAction> table = actionTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].needsProjectWindow) m_actions[i]->setEnabled(any);
    }
    // Another project window is active now, or none is.
    refreshObjectCommands();
}

void MainWindow::modifyObject(kmr::Kind kind) { m_objectCommands->modifyObject(kind); }

void MainWindow::deleteSelectedObject() {
    // The command itself carries no shortcut; the list's key runs it only where the menu offers it.
    refreshObjectCommands();
    if (m_deleteAction->isVisible() && m_deleteAction->isEnabled()) m_deleteAction->trigger();
}

}  // namespace kmr::gui
