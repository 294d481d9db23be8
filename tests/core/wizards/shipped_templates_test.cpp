// The templates that ship with the program, loaded from the source tree as the wizard would list them.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "autorun/compiler.h"
#include "autorun/conflicts.h"
#include "autorun/importer.h"
#include "project/project_file.h"
#include "support/test_files.h"
#include "text/text.h"
#include "wizards/templates.h"

namespace kmr {
namespace {

namespace fs = std::filesystem;

struct Shipped {
    const char* file;
    const char* name;
    std::vector<Finding> findings;
    const char* defaultMenu;  // text of the default menu, or empty
};

// Every shipped template must stand here: a new file without a row fails the test.
const std::vector<Shipped> kShipped = {
    {"01-instalador.kmrt", "Instalación de un programa", {}, ""},
    {"02-pagina-web.kmrt", "Página web", {Finding::XpOnlyResource}, ""},
    {"03-documentacion.kmrt", "Documentación en PDF", {}, "Leer el manual"},
    {"04-multimedia.kmrt", "Presentación multimedia", {}, ""},
    {"05-copia-de-datos.kmrt", "Datos y copia de seguridad", {}, "Explorar"},
    {"06-fotos.kmrt", "Álbum de fotos", {}, "Ver las fotos"},
    {"07-musica.kmrt", "Colección de música", {}, "Escuchar la lista"},
};

TEST(ShippedTemplates, EachAppliesChecksAndCompiles) {
    const std::vector<TemplateRecord> records = listTemplates({KMR_SHIPPED_TEMPLATES_DIR});
    ASSERT_EQ(records.size(), kShipped.size());
    for (std::size_t i = 0; i < kShipped.size(); ++i) {
        const Shipped& s = kShipped[i];
        const TemplateRecord& r = records[i];
        SCOPED_TRACE(s.file);
        EXPECT_EQ(fs::path(r.path).filename(), s.file);
        EXPECT_EQ(r.name, s.name);  // also catches a file saved as UTF-8: it would read as "Ã..."
        EXPECT_EQ(r.picture, 0);    // the wizard's picture list holds picture 0 only
        EXPECT_NE(r.explanation, "No hay una definición disponible.");

        // Windows-1252 with CR LF: no byte-order mark, every line feed after a carriage return.
        const std::string bytes = test::readBytes(r.path);
        EXPECT_EQ(text::decode(bytes).encoding, text::Encoding::Cp1252);
        for (std::size_t p = bytes.find('\n'); p != std::string::npos; p = bytes.find('\n', p + 1)) {
            ASSERT_TRUE(p > 0 && bytes[p - 1] == '\r') << "bare line feed at byte " << p;
        }
        ASSERT_TRUE(bytes.ends_with("\r\n"));

        // What the menu editor would demand of each menu: all three texts, names not repeated.
        ASSERT_EQ(std::to_string(r.menus.size()), r.menuCountText);
        std::set<std::string> names;
        for (const auto& [menuText, command, name] : r.menus) {
            EXPECT_FALSE(menuText.empty() || command.empty() || name.empty());
            EXPECT_TRUE(names.insert(name).second) << name;
        }

        const Project project = buildProject(applyTemplate(r));
        EXPECT_FALSE(project.empty());
        EXPECT_EQ(checkConflicts(project), s.findings);
        std::string defaultMenu;
        for (const ProjectObject& o : project.objects) {
            if (o.kind == Kind::DefaultMenu) defaultMenu = o.menuText();
        }
        EXPECT_EQ(defaultMenu, s.defaultMenu);

        // Nothing is lost on the way to autorun.inf and back, nor through a project file.
        const std::string autorun = compileAutorun(project);
        ASSERT_TRUE(autorun.starts_with("[autorun]\r\n"));
        const ImportResult imported = importAutorun(autorun);
        EXPECT_EQ(imported.unrecognised, 0U);
        EXPECT_EQ(imported.project, project);
        EXPECT_EQ(readProjectFile(projectFileBytes(project)).project, project);
    }
}

}  // namespace
}  // namespace kmr
