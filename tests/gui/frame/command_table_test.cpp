#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

#include "base/image_list.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

class CommandTableTest : public FrameTest {};

struct Command {
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    int image;
    const char* toolTip;
    const char* statusTip;
    const char* category;
};

TEST_F(CommandTableTest, EveryCommandHasItsCaptionShortcutPictureAndHint) {
    makeFrame();
    const QKeySequence none;
    const Command table[] = {
        {"Nuevo1", "&Nuevo...", QKeySequence(Qt::CTRL | Qt::Key_N), 6, "Nuevo",
         "Abre el asistente para crear un nuevo proyecto", "Archivo"},
        {"Abrir1", "&Abrir...", QKeySequence(Qt::CTRL | Qt::Key_A), 7, "Abrir",
         "Abre un proyecto KMR para editarlo o compilarlo", "Archivo"},
        {"Cerrar2", "&Cerrar", none, -1, "Cerrar", "Cierra el proyecto activo", "Archivo"},
        {"Guardar1", "&Guardar", QKeySequence(Qt::CTRL | Qt::Key_G), 8, "Guardar",
         "Guarda la información del proyecto activo", "Archivo"},
        {"Guardarcomo1", "G&uardar como...", none, 25, "Guardar como...", "Abre el cuadro de diálogo Guardar como...",
         "Archivo"},
        {"Opciones1", "&Opciones...", none, 10, "Opciones", "Configura algunos parámetros del programa", "Archivo"},
        {"Importar2", "&Importar...", none, 24, "Importar...", "Importa la información de un autorun.inf", "Archivo"},
        {"Exportar1", "C&ompilar...", QKeySequence(Qt::Key_F9), 30, "Compilar",
         "Crea el fichero autorun.inf con los datos seleccionados", "Archivo"},
        {"Salir2", "&Salir", QKeySequence(Qt::ALT | Qt::Key_F4), 27, "Salir", "Abandona la aplicación", "Archivo"},
        {"Cortar1", "C&ortar", QKeySequence(Qt::CTRL | Qt::Key_X), 0, "Cortar", "Corta el elemento seleccionado",
         "Edición"},
        {"Copiar1", "&Copiar", QKeySequence(Qt::CTRL | Qt::Key_C), 1, "Copiar", "Copia el elemento seleccionado",
         "Edición"},
        {"Pegar1", "&Pegar", QKeySequence(Qt::CTRL | Qt::Key_V), 2, "Pegar", "Pega el contenido del portapapeles",
         "Edición"},
        {"IProg1", "Programa...", none, 21, "Insertar", "Añade un nuevo recurso/programa", "Contextual"},
        {"IIcono1", "Icono...", none, 22, "Insertar", "Añade un nuevo icono", "Contextual"},
        {"ITexto1", "Etiqueta...", none, 23, "Insertar", "Añade una nueva etiqueta", "Contextual"},
        {"IMenu1", "Menú...", none, 6, "Insertar", "Añade un nuevo menú", "Contextual"},
        {"MProg1", "Modificar programa...", none, 21, "Modificar...", "Modifica el programa/recurso", "Contextual"},
        {"MIcono1", "Modificar icono...", none, 22, "Modificar...", "Modifica el icono", "Contextual"},
        {"MTexto1", "Modificar etiqueta...", none, 23, "Modificar...", "Modifica la etiqueta", "Contextual"},
        {"MMenu1", "Modificar menú...", none, 6, "Modificar...", "Modifica el menú", "Contextual"},
        {"Pred1", "Predeterminado", none, 20, "Predeterminar", "Marca el menú actual como predeterminado",
         "Contextual"},
        {"Up1", "Subir", none, 19, "Subir", "Sube un nivel el menú seleccionado", "Contextual"},
        {"Down1", "Bajar", none, 18, "Bajar", "Baja un nivel el menú seleccionado", "Contextual"},
        {"Del1", "Eliminar", none, 5, "Eliminar", "Elimina el objeto seleccionado", "Contextual"},
        {"Conflictos1", "Con&flictos", none, 29, "Detecta errores típicos en las compilaciones",
         "Detecta errores típicos en las compilaciones", "Archivo"},
        {"PropDisco1", "&Propiedades del disco...", none, -1, "Propiedades del disco",
         "Reproducción automática, contenido, carpetas, plataformas y demás entradas del autorun.inf", "Archivo"},
        {"ComprobarDisco1", "Comprobar &disco...", none, 29, "Comprobar disco",
         "Comprueba el proyecto con los ficheros de la carpeta del disco", "Archivo"},
        {"VistaPreviaDisco1", "&Vista previa del disco", none, -1, "Vista previa del disco",
         "Muestra el disco como lo verá el explorador de Windows", "Archivo"},
        {"CrearImagenISO1", "Crear i&magen ISO...", none, -1, "Crear imagen ISO",
         "Crea la imagen ISO de la carpeta del disco, lista para grabar", "Archivo"},
        {"Creditos1", "A&cerca de...", none, -1, "Acerca de...", "Información sobre el programa", "Ayuda"},
        {"Ayuda1", "&Ayuda", QKeySequence(Qt::Key_F1), 9, "Obtenga ayuda sobre el programa",
         "Obtenga ayuda sobre el programa", "Ayuda"},
        {"Contenidos1", "&Contenidos", QKeySequence(Qt::ALT | Qt::Key_F1), 9, "Muestra los contenidos de la ayuda",
         "Muestra los contenidos de la ayuda", "Ayuda"},
        {"ManualOnLine1", "&Manual OnLine", QKeySequence(Qt::CTRL | Qt::Key_F1), 12,
         "Consulte todo aquello que no encuentre en la ayuda local",
         "Consulte todo aquello que no encuentre en la ayuda local", "Ayuda"},
        {"ActualizarWeb1", "Ac&tualizar...", QKeySequence(Qt::Key_F2), 14, "Actualice KMR desde Internet",
         "Actualice KMR desde Internet", "Ayuda"},
        {"AyudaBoton1", "&Ayuda", none, 9, "Ayuda", "Muestra los títulos de la ayuda", "Ayuda"},
        {"DescargaBoton1", "Ac&tualizar...", none, 14, "Descarga",
         "Accede a internet para descargar la última versión de KMR", "Ayuda"},
        {"Cascada1", "&Cascada", none, 17, "Cascada", "Cascada", "Ventanas"},
        {"MosaicoHorizontal1", "Mosaico &horizontal", none, 15, "Mosaico horizontal", "Mosaico horizontal", "Ventanas"},
        {"MosaicoVertical1", "Mosaico &vertical", none, 16, "Mosaico vertical", "Mosaico vertical", "Ventanas"},
        {"MinimizarTodo1", "&Minimizar todo", none, -1, "Minimizar todo", "Minimizar todo", "Ventanas"},
        {"OrganizarTodo1", "&Organizar todo", none, -1, "Organizar todo", "Organizar todo", "Ventanas"},
    };
    for (const Command& c : table) {
        SCOPED_TRACE(c.name);
        QAction* a = action(c.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(a->shortcut(), c.shortcut);
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(c.toolTip));
        EXPECT_EQ(a->statusTip(), QString::fromUtf8(c.statusTip));
        EXPECT_EQ(a->property("category").toString(), QString::fromUtf8(c.category));
        if (c.image < 0) {
            EXPECT_TRUE(a->icon().isNull());
        } else {
            EXPECT_EQ(a->property("imageIndex").toInt(), c.image);
            EXPECT_EQ(a->icon().pixmap(16).toImage(), m_frame->images().pixmap(c.image).toImage());
        }
    }
}

// The captions of a menu's entries, "-" for a separator, "(hidden)" marks.
QStringList entries(const QMenu* menu) {
    QStringList list;
    for (const QAction* a : menu->actions()) {
        QString s = a->isSeparator() ? QStringLiteral("-") : a->text();
        if (!a->isVisible()) s += QStringLiteral(" (hidden)");
        list << s;
    }
    return list;
}

TEST_F(CommandTableTest, MenusAndToolBarsHoldTheirCommandsInOrder) {
    makeFrame();
    const auto menus = m_frame->menuBar()->actions();
    QStringList titles;
    for (const QAction* a : menus) titles << a->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&Archivo"), QStringLiteral("&Edición"), QStringLiteral("Ve&r"),
                                   QStringLiteral("&Ventanas"), QStringLiteral("Ay&uda")}));
    // Every menu opens by its own Alt key.
    QStringList keys;
    for (const QAction* a : menus) {
        const QKeySequence key = QKeySequence::mnemonic(a->text());
        EXPECT_FALSE(key.isEmpty()) << a->text().toStdString();
        EXPECT_FALSE(keys.contains(key.toString())) << a->text().toStdString();
        keys << key.toString();
    }
    const QString h = QStringLiteral(" (hidden)");
    EXPECT_EQ(entries(menus[0]->menu()).join(QLatin1Char('|')),
              QStringLiteral("&Nuevo...|&Abrir...|&Cerrar|-|&Guardar|G&uardar como...|-|&Opciones...|-|&Importar...|"
                             "C&ompilar...|&Propiedades del disco...|Comprobar &disco...|&Vista previa del disco|Crear "
                             "i&magen ISO...|-|") +
                  QStringList(5, h).join(QLatin1Char('|')) + QStringLiteral("|-|&Salir"));
    EXPECT_EQ(entries(menus[1]->menu()).join(QLatin1Char('|')),
              QStringLiteral("C&ortar|&Copiar|&Pegar|- (hidden)|Añadir (hidden)|Modificar programa... (hidden)|"
                             "Modificar icono... (hidden)|Modificar etiqueta... (hidden)|Modificar menú... (hidden)|"
                             "Predeterminado (hidden)|-|Subir (hidden)|Bajar (hidden)|-|Eliminar (hidden)"))
        << "without a project window no object command is offered";
    EXPECT_EQ(entries(m_frame->findChild<QMenu*>(QStringLiteral("Anadir1"))).join(QLatin1Char('|')),
              QStringLiteral("Programa... (hidden)|Icono... (hidden)|Etiqueta... (hidden)|Menú... (hidden)"));
    EXPECT_EQ(entries(menus[2]->menu()).join(QLatin1Char('|')),
              QStringLiteral("Barra de iconos|Barra de estado|-|Inicio rápido|Asistente idea"));
    for (const QAction* a : menus[2]->menu()->actions()) EXPECT_TRUE(a->isSeparator() || a->isCheckable());
    EXPECT_EQ(entries(menus[3]->menu()).join(QLatin1Char('|')),
              QStringLiteral("&Cascada|Mosaico &horizontal|Mosaico &vertical|&Minimizar todo|&Organizar todo"));
    EXPECT_EQ(entries(menus[4]->menu()).join(QLatin1Char('|')),
              QStringLiteral("&Ayuda|&Contenidos|&Manual OnLine|-|Ac&tualizar...|&Otras Descargas|-|"
                             "Visitar Brenlowe &Pexilon|Visitar &Wendrik|-|A&cerca de..."));
    EXPECT_EQ(entries(m_frame->findChild<QMenu*>(QStringLiteral("OtrasDescargas1"))).join(QLatin1Char('|')),
              QStringLiteral("&Drevanto|-|&Otros programas de Brenlowe|Otros &proyectos de Brenlowe"));

    auto names = [](const QToolBar* bar) {
        QStringList list;
        for (const QAction* a : bar->actions()) {
            if (a->isSeparator())
                list << QStringLiteral("|");
            else if (a->objectName().isEmpty())
                list << QStringLiteral("widget");
            else
                list << a->objectName();
        }
        return list.join(QLatin1Char(' '));
    };
    EXPECT_EQ(names(m_frame->findChild<QToolBar*>(QStringLiteral("ToolBar1"))),
              QStringLiteral("Nuevo1 | Abrir1 Guardar1 Guardarcomo1 | Cortar1 Copiar1 Pegar1 | Exportar1 Importar2 | "
                             "AyudaBoton1 AyudaOnLineBoton1 DescargaBoton1 | Opciones1 Salir2"));
    EXPECT_EQ(names(m_frame->findChild<QToolBar*>(QStringLiteral("ToolBar2"))),
              QStringLiteral("widget MProg1 MIcono1 MTexto1 MMenu1 Pred1 | Up1 Down1 | Del1"));
    auto* add = m_frame->findChild<QToolButton*>(QStringLiteral("AnadirBoton1"));
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->toolTip(), QStringLiteral("Añadir"));
    EXPECT_EQ(add->statusTip(), QStringLiteral("Añade un objeto"));
    EXPECT_EQ(add->menu(), m_frame->findChild<QMenu*>(QStringLiteral("Anadir1")));
}

TEST_F(CommandTableTest, TheStatusBarShowsTheLongHintOfWhatIsUnderThePointer) {
    startFrame();
    action("Exportar1")->showStatusText(m_frame.get());
    EXPECT_EQ(m_frame->statusBar()->currentMessage(),
              QStringLiteral("Crea el fichero autorun.inf con los datos seleccionados"));
    auto* add = m_frame->findChild<QToolButton*>(QStringLiteral("AnadirBoton1"));
    QStatusTipEvent tip(add->statusTip());
    QCoreApplication::sendEvent(add, &tip);
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), QStringLiteral("Añade un objeto"));
}

TEST_F(CommandTableTest, WindowCommandsAndCloseAreOfferedOnlyWithAProjectWindow) {
    startFrame();
    const char* names[] = {"Cascada1",       "MosaicoHorizontal1", "MosaicoVertical1",
                           "MinimizarTodo1", "OrganizarTodo1",     "Cerrar2"};
    for (const char* n : names) EXPECT_FALSE(action(n)->isEnabled()) << n;
    newBlankProject();
    for (const char* n : names) EXPECT_TRUE(action(n)->isEnabled()) << n;
    action("Cerrar2")->trigger();  // an empty project closes without a question
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    for (const char* n : names) EXPECT_FALSE(action(n)->isEnabled()) << n;
}

TEST(ImageListTest, EveryIndexHasItsOwnPicture) {
    ImageList images;
    std::vector<QImage> seen;
    for (int index : ImageList::indices()) {
        SCOPED_TRACE(index);
        const QImage img = images.pixmap(index).toImage();
        int painted = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) painted += qAlpha(img.pixel(x, y)) > 0 ? 1 : 0;
        EXPECT_GT(painted, 20) << "a picture that is (nearly) empty";
        for (const QImage& other : seen) EXPECT_NE(img, other) << "two indices share a picture";
        seen.push_back(img);
    }
    EXPECT_TRUE(images.icon(3).isNull());
    EXPECT_TRUE(images.icon(99).isNull());
}

}  // namespace
}  // namespace kmr::gui::test
