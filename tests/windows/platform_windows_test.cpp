// The Windows side of the platform layer, run under Wine: names beyond the code page, safe
// replacement, device names, read-only files, and starting another program.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <stdexcept>

#include "child_process.h"
#include "kmrc.h"
#include "platform/file_read.h"
#include "platform/file_write.h"
#include "platform/path_text.h"
#include "support/kmrc_runner.h"
#include "support/test_files.h"

namespace kmr {
namespace {

namespace fs = std::filesystem;

// The names in the folder, as UTF-8.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(platform::textOf(e.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

std::string utf8(const fs::path& folder, std::string_view name) {
    return platform::textOf(folder) + "/" + std::string(name);
}

void makeOld(const std::string& path) {
    const HANDLE h = ::CreateFileW(platform::pathOf(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME old{};
    old.dwHighDateTime = 0x01D00000;  // 2014
    ::SetFileTime(h, nullptr, nullptr, &old);
    ::CloseHandle(h);
}

TEST(WindowsFiles, WritesAndReadsAsTheLinuxSideDoes) {
    const test::TempDir dir;
    const std::string folder = utf8(dir.path(), "carpeta ñandú");
    fs::create_directory(platform::pathOf(folder));
    const std::string name = folder + "/año Ágata.kmr";
    struct Case {
        const char* what;
        std::string path;
        std::string bytes;
        bool ok;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"new file with accents", name, "uno\r\n", true, ""},
        {"replaced", name, "dos, más largo\r\n", true, ""},
        {"empty", name, "", true, ""},
        {"a folder", folder, "x", false, "Es una carpeta"},
        {"missing folder", folder + "/no/x.kmr", "x", false, "No existe el fichero o la carpeta"},
        {"NUL", "NUL", "nada", true, ""},
        {"nul in a folder, any case", folder + "/nul.txt", "nada", true, ""},
        {"NUL with an extension, any case", folder + "/Nul.kmr", "nada", true, ""},
    };
    for (const Case& c : cases) {
        const io::IoResult w = io::writeFileAtomic(c.path, c.bytes);
        EXPECT_EQ(w.ok(), c.ok) << c.what << ": " << w.message;
        EXPECT_EQ(w.reason, c.reason) << c.what;
        if (c.ok && c.path == name) {
            const io::ReadResult r = io::readFile(c.path);
            EXPECT_TRUE(r.ok()) << c.what << ": " << r.message;
            EXPECT_EQ(r.bytes, c.bytes) << c.what;
            EXPECT_TRUE(io::fileExists(c.path)) << c.what;
        }
        // Only the file itself is ever in the folder: no temporary file, no file named after a device.
        EXPECT_EQ(namesIn(platform::pathOf(folder)), std::vector<std::string>{"año Ágata.kmr"}) << c.what;
    }
    EXPECT_EQ(io::readFile(folder + "/nada.kmr").status, io::IoStatus::NotFound);
    // Above the limit a file is refused by its size, before it is read.
    ASSERT_TRUE(io::writeFileAtomic(name, "0123456789").ok());
    const io::ReadResult big = io::readFile(name, 9);
    EXPECT_EQ(big.status, io::IoStatus::TooLarge);
    EXPECT_EQ(big.error, EFBIG);
    EXPECT_EQ(big.reason,
              "El fichero es demasiado grande (más de 64 MiB); ningún proyecto, plantilla ni autorun.inf ocupa tanto");
    EXPECT_TRUE(big.bytes.empty());
    EXPECT_EQ(io::readFile(name, 10).bytes, "0123456789");
    EXPECT_EQ(io::readFile(folder).reason, "Es una carpeta");
    EXPECT_FALSE(io::fileExists(folder));
}

TEST(WindowsFiles, ReadOnlyTargetIsRefusedAndKept) {
    const test::TempDir dir;
    const std::string path = utf8(dir.path(), "sólo lectura.inf");
    ASSERT_TRUE(io::writeFileAtomic(path, "antes").ok());
    ASSERT_TRUE(::SetFileAttributesW(platform::pathOf(path).c_str(), FILE_ATTRIBUTE_READONLY));
    const io::IoResult w = io::writeFileAtomic(path, "después");
    EXPECT_FALSE(w.ok());
    EXPECT_EQ(w.message, path + ": No tiene permiso para escribir en este fichero (es de solo lectura)");
    // The image made elsewhere is refused the same way, before anything is made.
    const io::StagedFile staged = io::stageFile(path);
    EXPECT_EQ(staged.result.message, w.message);
    EXPECT_TRUE(staged.tempPath.empty());
    EXPECT_EQ(io::readFile(path).bytes, "antes");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"sólo lectura.inf"});
    ::SetFileAttributesW(platform::pathOf(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFiles, FailedProducerLeavesTheOldFile) {
    const test::TempDir dir;
    const std::string path = utf8(dir.path(), "p.kmr");
    ASSERT_TRUE(io::writeFileAtomic(path, "antes").ok());
    const io::ByteProducer failing = [](const std::function<bool(std::string_view)>& write) {
        write("a medias");
        throw std::runtime_error("sin memoria");
    };
    EXPECT_THROW((void)io::writeFileAtomic(path, failing), std::runtime_error);
    EXPECT_EQ(io::readFile(path).bytes, "antes");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"p.kmr"});
}

TEST(WindowsFiles, LeftoversOfKilledWritesGoUnlessInUseOrRecent) {
    const test::TempDir dir;
    const std::string stale = utf8(dir.path(), ".kmr-Ab12Cd");
    const std::string held = utf8(dir.path(), ".kmr-Held00");
    const std::string recent = utf8(dir.path(), ".kmr-Recent");
    const std::string other = utf8(dir.path(), ".kmr-notours");
    for (const std::string& p : {stale, held, recent, other}) test::writeBytes(platform::pathOf(p), "x");
    makeOld(stale);
    makeOld(held);
    makeOld(other);
    // A live save keeps its file open without letting others delete it.
    const HANDLE h = ::CreateFileW(platform::pathOf(held).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(io::writeFileAtomic(utf8(dir.path(), "p.kmr"), "nuevo").ok());
    ::CloseHandle(h);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{".kmr-Held00", ".kmr-Recent", ".kmr-notours", "p.kmr"}));
}

TEST(WindowsFiles, StagedImageReplacesOnlyWhenFinished) {
    const test::TempDir dir;
    const std::string image = utf8(dir.path(), "imagen ñ.iso");
    test::writeBytes(platform::pathOf(image), "vieja");
    const io::StagedFile pending = io::stageFile(image);
    ASSERT_TRUE(pending.result.ok()) << pending.result.message;
    const io::StagedFile second = io::stageFile(image);
    ASSERT_TRUE(second.result.ok()) << second.result.message;
    EXPECT_NE(pending.tempPath, second.tempPath);
    io::discardStagedFile(second);
    // Another program writes the file by its name while kmrc holds it.
    test::writeBytes(platform::pathOf(pending.tempPath), "nueva");
    EXPECT_EQ(test::readBytes(platform::pathOf(image)), "vieja");
    ASSERT_TRUE(io::commitStagedFile(pending, image).ok());
    EXPECT_EQ(test::readBytes(platform::pathOf(image)), "nueva");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"imagen ñ.iso"});
    // A device or a folder cannot be replaced by a file made elsewhere.
    EXPECT_EQ(io::stageFile("NUL").result.reason,
              "No es un fichero normal (es un dispositivo, una tubería o un socket); escriba la imagen en un fichero");
    EXPECT_EQ(io::stageFile(platform::textOf(dir.path())).result.reason, "Es una carpeta");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"imagen ñ.iso"});
}

// kmrc.exe started through the wide command line: arguments with spaces, quotes, backslashes and
// letters beyond the code page arrive whole, and its output and exit code come back.
TEST(WindowsChild, ArgumentsArriveWholeAndExitCodesComeBack) {
    const test::TempDir dir;
    const std::string project = utf8(dir.path(), "año ñú final.kmr");
    const fs::path program = platform::pathOf(KMRC_PROGRAM);
    const std::string folder = platform::textOf(program.parent_path());
    const std::string name = platform::textOf(program.stem());
    const std::string oldPath = std::getenv("PATH");
    _putenv_s("PATH", (platform::textOf(program.parent_path().make_preferred()) + ";" + oldPath).c_str());
    ASSERT_TRUE(cli::programInstalled(name)) << folder;
    EXPECT_FALSE(cli::programInstalled("no-existe-este-programa"));

    ASSERT_TRUE(io::writeFileAtomic(project,
                                    "[Brenlowe KMR File]\r\nVersion=2.0\r\nEtiqueta=\xD1"
                                    "and\xFA\r\n")
                    .ok());
    std::vector<std::string> lines;
    const cli::ChildResult shown =
        cli::runChild(name, {"show", project}, [&](std::string_view l) { lines.emplace_back(l); });
    EXPECT_TRUE(shown.succeeded());
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[4], "    {\"kind\": 23, \"caption\": \"Mostrar texto \\\"Ñandú\\\"\", \"values\": [\"Ñandú\"]}");

    lines.clear();
    const std::string odd = project + " \"entre comillas\" \\ y barra final\\";
    const cli::ChildResult missing =
        cli::runChild(name, {"show", odd}, [&](std::string_view l) { lines.emplace_back(l); });
    EXPECT_EQ(missing.exitCode, 3);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("kmrc: " + odd + ": ")) << lines[0];
    _putenv_s("PATH", oldPath.c_str());
    EXPECT_EQ(cli::runChild("no-existe-este-programa", {}, [](std::string_view) {}).startError, ENOENT);
}

// A path is taken in the forms Windows users type: a drive named alone is its root, and the long-path
// prefix names the same path as without it, also once the path is text with "/" again.
TEST(WindowsPaths, TypedFormsNameTheSamePath) {
    const std::vector<std::pair<std::string, std::string>> forms = {
        {"E:", "E:\\"},          {"e:", "e:\\"},
        {"\\\\?\\E:\\", "E:\\"}, {"\\\\?\\Z:\\tmp\\x", "Z:\\tmp\\x"},
        {"//?/C:/a", "C:/a"},    {"\\\\?\\UNC\\servidor\\recurso\\a", "\\\\servidor\\recurso\\a"},
    };
    for (const auto& [typed, plain] : forms) EXPECT_EQ(platform::pathOf(typed), platform::pathOf(plain)) << typed;
    EXPECT_EQ(platform::textOf(platform::pathOf("E:")), "E:/");

    // The check of a disc named in the long form says what it says of the same disc named plainly.
    const test::TempDir dir;
    const std::string folder = utf8(dir.path(), "dísco");
    fs::create_directory(platform::pathOf(folder));
    ASSERT_TRUE(io::writeFileAtomic(folder + "/autorun.inf", "[autorun]\r\nopen=otro.exe\r\n").ok());
    ASSERT_TRUE(io::writeFileAtomic(folder + "/setup.exe", "MZ").ok());
    const std::string project = utf8(dir.path(), "p.kmr");
    ASSERT_TRUE(io::writeFileAtomic(project, "[Brenlowe KMR File]\r\nVersion=2.0\r\nPrograma=setup.exe\r\n").ok());
    std::string longForm = "\\\\?\\" + folder;
    std::replace(longForm.begin(), longForm.end(), '/', '\\');
    const test::KmrcRun plain = test::kmrc({"check", "--disc", folder, project});
    const test::KmrcRun prefixed = test::kmrc({"check", "--disc", longForm, project});
    EXPECT_EQ(prefixed.code, plain.code) << prefixed.err;
    EXPECT_EQ(prefixed.out, plain.out);
    EXPECT_NE(plain.out.find("vale \"otro.exe\" en lugar de \"setup.exe\""), std::string::npos) << plain.out;
    // A drive named alone is a folder (Wine's Z: is the machine's root).
    const test::KmrcRun drive = test::kmrc({"check", "--disc", "Z:", project});
    EXPECT_EQ(drive.err.find("no es una carpeta"), std::string::npos) << drive.err;
    EXPECT_EQ(drive.code, cli::kFindings);
}

// Environment values beyond the ANSI code page ("José", as Git for Windows and MSYS2 set HOME) arrive
// whole: kmrc lists the user's templates from there instead of aborting.
TEST(WindowsEnvironment, ValuesBeyondTheCodePageArriveWhole) {
    const test::TempDir dir;
    const std::string home = utf8(dir.path(), "José");
    const std::string templates = home + "/.local/share/kmr/templates";
    fs::create_directories(platform::pathOf(templates));
    ASSERT_TRUE(io::writeFileAtomic(templates + "/uno.kmrt",
                                    "[Brenlowe KMR Template]\r\nVersioMajor=2\r\nVersioMenor=3\r\nNom=A\xF1o uno\r\n")
                    .ok());
    // Set for this process and the kmrc it starts, and put back afterwards.
    const auto valueOf = [](const wchar_t* name) {
        std::wstring v(32768, L'\0');
        v.resize(::GetEnvironmentVariableW(name, v.data(), static_cast<DWORD>(v.size())));
        return v;
    };
    const std::wstring oldHome = valueOf(L"HOME"), oldData = valueOf(L"XDG_DATA_HOME");
    ::SetEnvironmentVariableW(L"HOME", platform::pathOf(home).make_preferred().c_str());
    ::SetEnvironmentVariableW(L"XDG_DATA_HOME", nullptr);
    const fs::path program = platform::pathOf(KMRC_PROGRAM);
    const std::string oldPath = std::getenv("PATH");
    _putenv_s("PATH", (platform::textOf(program.parent_path().make_preferred()) + ";" + oldPath).c_str());
    std::string said;
    const cli::ChildResult r = cli::runChild(platform::textOf(program.stem()), {"templates"},
                                             [&](std::string_view l) { said.append(l).append("\n"); });
    _putenv_s("PATH", oldPath.c_str());
    ::SetEnvironmentVariableW(L"HOME", oldHome.empty() ? nullptr : oldHome.c_str());
    ::SetEnvironmentVariableW(L"XDG_DATA_HOME", oldData.empty() ? nullptr : oldData.c_str());
    EXPECT_TRUE(r.succeeded()) << said;
    EXPECT_NE(said.find("uno.kmrt\tAño uno\t0"), std::string::npos) << said;
}

}  // namespace
}  // namespace kmr
