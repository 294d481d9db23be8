#include "wizards/templates.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "text/text.h"

namespace kmr {
namespace {

namespace fs = std::filesystem;

// A template text: lines joined with CR LF, as the files are written.
std::string lines(std::initializer_list<std::string_view> ls) {
    std::string s;
    for (const std::string_view l : ls) {
        s += l;
        s += "\r\n";
    }
    return s;
}

std::string header(std::string_view extra = "") {
    std::string s = lines({"[Brenlowe KMR Template]", "VersioMajor=2", "VersioMenor=3"});
    s += extra;
    return s;
}

std::optional<TemplateRecord> read(const std::string& text, std::size_t number = 0) {
    return readTemplate(text, number);
}

TEST(TemplateRead, VersionMustBeTwoThree) {
    const struct {
        const char* major;
        const char* minor;
        bool accepted;
    } cases[] = {
        {"2", "3", true},    {" 2 ", "\t3", true}, {"\"2\"", "'3'", true}, {"2", "30", false},
        {"02", "3", false},  {"3", "2", false},    {"2", "", false},       {"", "3", false},
        {"2.3", "3", false}, {"2", "3;", false},   {"2\x0b", "3", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.major) + "|" + c.minor);
        std::string text = "[Brenlowe KMR Template]\r\n";
        if (*c.major) text += std::string("VersioMajor=") + c.major + "\r\n";
        if (*c.minor) text += std::string("VersioMenor=") + c.minor + "\r\n";
        EXPECT_EQ(read(text).has_value(), c.accepted);
    }
    // Section and key names compare without regard to case.
    EXPECT_TRUE(read("[brenlowe kmr TEMPLATE]\nversiomajor=2\nVERSIOMENOR=3\n").has_value());
    EXPECT_FALSE(read(lines({"[Otra]", "VersioMajor=2", "VersioMenor=3"})).has_value());
    EXPECT_FALSE(read("").has_value());
}

TEST(TemplateRead, MissingValuesTakeTheirDefaults) {
    const auto r = read(header(), 4);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->name, "Modelo 4");
    EXPECT_EQ(r->picture, 0);
    EXPECT_EQ(r->explanation, "No hay una definición disponible.");
    EXPECT_EQ(r->program, "");
    EXPECT_EQ(r->icon, "");
    EXPECT_EQ(r->label, "");
    EXPECT_EQ(r->resourceText, "0");
    EXPECT_EQ(r->menuCountText, "0");
    EXPECT_EQ(r->defaultMenuText, "0");
    EXPECT_TRUE(r->menus.empty());
    EXPECT_EQ(r->fileNumber, 4U);
}

TEST(TemplateRead, FullTemplateInOrder) {
    const std::string text = header(lines({
        "Nom=Presentación",
        "Icona=0",
        "Explicacio=Abre la presentación del CD.",
        "[ParametresGenerals]",
        "Programa=docs\\presentacion.ppt",
        "Icona=iconos.dll,2",
        "Etiqueta=\"Mi CD\"",
        "Recurs=1",
        "Menus=3",
        "MenuPredeterminat=2",
        "[Menu1]",
        "Etiqueta=Leer",
        "Comandament=notepad leeme.txt",
        "NomIntern=leer",
        "[Menu3]",
        "Etiqueta=Web",
        "[Menu2]",
        "NomIntern=instalar",
        "Comandament=setup.exe /s",
        "Etiqueta=Instalar",
    }));
    const auto r = read(text::encodeForFile(text), 1);  // in the file's code page
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->name, "Presentación");
    EXPECT_EQ(r->explanation, "Abre la presentación del CD.");
    EXPECT_EQ(r->program, "docs\\presentacion.ppt");
    EXPECT_EQ(r->icon, "iconos.dll,2");
    EXPECT_EQ(r->label, "Mi CD");
    const std::vector<std::array<std::string, 3>> menus = {
        {"Leer", "notepad leeme.txt", "leer"},
        {"Instalar", "setup.exe /s", "instalar"},
        {"Web", "programa.exe", "NombreInterno"},  // the keys missing in Menu3 take their defaults
    };
    EXPECT_EQ(r->menus, menus);

    const WizardData data = applyTemplate(*r);
    EXPECT_EQ(data.runCommand, "docs\\presentacion.ppt");
    EXPECT_TRUE(data.resource);
    EXPECT_EQ(data.icon, "iconos.dll,2");
    EXPECT_EQ(data.label, "Mi CD");
    ASSERT_EQ(data.menus.size(), 3U);
    EXPECT_EQ(data.menus[0].kind, Kind::PlainMenu);
    EXPECT_EQ(data.menus[1].kind, Kind::DefaultMenu);
    EXPECT_EQ(data.menus[2].kind, Kind::PlainMenu);
    EXPECT_EQ(data.menus[1].text, "Instalar");
    EXPECT_EQ(data.menus[1].command, "setup.exe /s");
    EXPECT_EQ(data.menus[1].name, "instalar");
}

TEST(TemplateRead, MissingMenuSectionsTakeTheDefaults) {
    const auto r = read(header(
        lines({"[ParametresGenerals]", "Menus=2", "[Menu1]", "Etiqueta=A", "Comandament=a.exe", "NomIntern=a"})));
    ASSERT_TRUE(r.has_value());
    ASSERT_EQ(r->menus.size(), 2U);
    EXPECT_EQ(r->menus[1], (std::array<std::string, 3>{"Acción", "programa.exe", "NombreInterno"}));
}

TEST(TemplateRead, MenuCountThatIsNoUsableNumberGivesNoMenus) {
    const struct {
        const char* count;
        std::size_t menus;
    } cases[] = {
        {"1", 1}, {" 2 ", 2}, {"0", 0},           {"-3", 0},  {"abc", 0}, {"2.5", 0}, {"0x2", 0},  // decimal only
        {"", 0},  {"1e3", 0}, {"99999999999", 0}, {"64", 64}, {"65", 0},  // with no menu section, up to 64 missing ones
                                                                          // are read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        const auto r = read(header(lines({"[ParametresGenerals]", std::string("Menus=") + c.count})));
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->menus.size(), c.menus);
        EXPECT_EQ(applyTemplate(*r).menus.size(), c.menus);
    }
    // A count is read with no menu section at all, however few lines the file has.
    std::string text = header(lines({"[ParametresGenerals]", "Menus=12"}));
    for (int i = 0; i < 7; ++i) text += "; comentario\r\n";
    const auto r = read(text);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->menus.size(), 12U);
}

TEST(TemplateApply, DefaultMenuByNumber) {
    const struct {
        const char* number;
        int defaultIndex;  // -1: none
    } cases[] = {
        {"1", 0}, {"2", 1}, {"0", -1}, {"3", -1}, {"5", -1}, {"-1", -1}, {"abc", -1}, {"1.0", -1}, {"0x1", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        const auto r =
            read(header(lines({"[ParametresGenerals]", "Menus=2", std::string("MenuPredeterminat=") + c.number})));
        ASSERT_TRUE(r.has_value());
        const WizardData data = applyTemplate(*r);
        ASSERT_EQ(data.menus.size(), 2U);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(data.menus[i].kind, i == c.defaultIndex ? Kind::DefaultMenu : Kind::PlainMenu) << i;
        }
    }
}

TEST(TemplateApply, ResourceFlagFromNumberOrWord) {
    const struct {
        const char* value;
        bool resource;
    } cases[] = {
        {"1", true},    {"0", false},   {"-1", true},       {"2", true},      {"True", true},
        {"TRUE", true}, {"tRuE", true}, {"false", false},   {"FALSE", false}, {"yes", false},
        {"", false},    {"1 0", false}, {"\"true\"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const auto r = read(header(lines({"[ParametresGenerals]", std::string("Recurs=") + c.value})));
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(applyTemplate(*r).resource, c.resource);
    }
}

TEST(TemplateRead, PictureNumberDecimalOrHexadecimal) {
    const struct {
        const char* value;
        int picture;
    } cases[] = {
        {"0", 0},   {"7", 7},     {"0x1F", 31}, {"0X10", 16}, {"$1f", 31}, {"-1", -1},
        {"abc", 0}, {"12abc", 0}, {"0x", 0},    {"$", 0},     {"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const auto r = read(header(std::string("Icona=") + c.value + "\r\n"));
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->picture, c.picture);
    }
}

TEST(TemplateRead, FileEncodings) {
    const std::string cp1252 = header("Nom=Acci\xF3n\r\n");
    ASSERT_TRUE(read(cp1252).has_value());
    EXPECT_EQ(read(cp1252)->name, "Acción");
    const std::string utf8 = "\xEF\xBB\xBF" + header("Nom=Acción\r\n");
    ASSERT_TRUE(read(utf8).has_value());
    EXPECT_EQ(read(utf8)->name, "Acción");
    const std::string utf16 = text::toUtf16LeWithBom(header("Nom=Acción €\r\n"));
    ASSERT_TRUE(read(utf16).has_value());
    EXPECT_EQ(read(utf16)->name, "Acción €");
}

TEST(TemplateApply, EmptyTemplateGivesAnEmptyProject) {
    const auto r = read(header(lines({"[ParametresGenerals]", "Programa=", "Icona=", "Etiqueta=", "Menus=0"})));
    ASSERT_TRUE(r.has_value());
    const WizardData data = applyTemplate(*r);
    EXPECT_EQ(data.runCommand, "");
    EXPECT_EQ(data.icon, "");
    EXPECT_EQ(data.label, "");
    EXPECT_FALSE(data.resource);
    EXPECT_TRUE(buildProject(data).empty());
}

// A folder of its own under the system's temporary folder, removed afterwards.
class TemplateFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        m_dir = fs::temp_directory_path() / ("kmr-templates-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream out(m_dir / name, std::ios::binary);
        out << bytes;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& r : loadTemplates(m_dir.string())) out.push_back(r.name);
        return out;
    }

    fs::path m_dir;
};

TEST_F(TemplateFolder, EmptyOrMissingFolderListsNothing) {
    EXPECT_TRUE(loadTemplates(m_dir.string()).empty());
    EXPECT_TRUE(loadTemplates((m_dir / "no-existe").string()).empty());
    write("plano.kmrt", header());
    EXPECT_TRUE(loadTemplates((m_dir / "plano.kmrt").string()).empty());  // a file is no folder
}

TEST_F(TemplateFolder, OrderIgnoresCaseAndNumbersCountRejectedFiles) {
    write("a.kmrt", "[Brenlowe KMR Template]\r\nVersioMajor=2\r\nVersioMenor=2\r\n");  // 0, rejected
    write("B.kmrt", header());                                                         // 1
    write("c.KMRT", header());                                                         // 2
    write("Ch.Kmrt", header("Nom=Con nombre\r\n"));                                    // 3
    write("d.kmrt", "");                                                               // 4, rejected
    write("e.kmrt", header());                                                         // 5
    EXPECT_EQ(names(), (std::vector<std::string>{"Modelo 1", "Modelo 2", "Con nombre", "Modelo 5"}));
    const auto records = loadTemplates(m_dir.string());
    ASSERT_EQ(records.size(), 4U);
    EXPECT_EQ(records[0].fileNumber, 1U);
    EXPECT_EQ(fs::path(records[0].path), m_dir / "B.kmrt");
    EXPECT_EQ(fs::path(records[2].path), m_dir / "Ch.Kmrt");
}

TEST_F(TemplateFolder, OnlyOrdinaryVisibleTemplateFilesCount) {
    write(".oculto.kmrt", header());
    write(".kmrt", header());
    fs::create_directories(m_dir / "carpeta.kmrt");
    write("copia.kmrt.bak", header());
    write("proyecto.kmr", header());
    write("leeme.txt", header());
    write("kmrt", header());
    write("z.kmrt", header());
    EXPECT_EQ(names(), (std::vector<std::string>{"Modelo 0"}));
}

TEST_F(TemplateFolder, OnlyTheSecondOfTwoIsValid) {
    write("uno.kmrt", "[Brenlowe KMR Template]\r\nVersioMajor=2\r\nVersioMenor=30\r\n");
    write("dos.kmrt", header());  // "dos" sorts before "uno"
    write("tres.kmrt", header());
    EXPECT_EQ(names(), (std::vector<std::string>{"Modelo 0", "Modelo 1"}));
    fs::remove(m_dir / "dos.kmrt");
    EXPECT_EQ(names(), (std::vector<std::string>{"Modelo 0"}));  // tres is 0 now, uno 1 is rejected
}

TEST_F(TemplateFolder, BadMenuCountDoesNotStopTheLoading) {
    write("1.kmrt", header(lines({"Nom=Primero", "[ParametresGenerals]", "Menus=1"})));
    write("2.kmrt", header(lines({"Nom=Roto", "[ParametresGenerals]", "Menus=dos", "Programa=setup.exe"})));
    write("3.kmrt",
          header(lines({"Nom=Tercero", "[ParametresGenerals]", "Menus=1", "Recurs=quizá", "MenuPredeterminat=uno"})));
    const auto records = loadTemplates(m_dir.string());
    ASSERT_EQ(records.size(), 3U);
    EXPECT_EQ(records[1].name, "Roto");
    EXPECT_TRUE(records[1].menus.empty());
    EXPECT_EQ(applyTemplate(records[1]).runCommand, "setup.exe");
    const WizardData third = applyTemplate(records[2]);
    EXPECT_FALSE(third.resource);
    ASSERT_EQ(third.menus.size(), 1U);
    EXPECT_EQ(third.menus[0].kind, Kind::PlainMenu);
}

}  // namespace
}  // namespace kmr
