// kmr's command line: --help and --version answer without a window, an unknown option is a usage
// error and never a project to open.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "frame/editor_arguments.h"

namespace kmr::gui {
namespace {

using Action = EditorArguments::Action;

TEST(EditorArguments, ReadsTheLine) {
    struct Case {
        std::vector<std::string> args;
        Action action;
        std::string project;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{}, Action::Run, "", ""},
        {{"a.kmr"}, Action::Run, "a.kmr", ""},
        {{"--help"}, Action::Help, "", ""},
        {{"-h"}, Action::Help, "", ""},
        {{"a.kmr", "--version"}, Action::Version, "", ""},
        // A question about the program wins over a wrong line.
        {{"--nada", "--help"}, Action::Help, "", ""},
        {{"--nada"}, Action::UsageError, "", "opción desconocida: --nada"},
        {{"-x", "a.kmr"}, Action::UsageError, "", "opción desconocida: -x"},
        {{"a.kmr", "b.kmr"}, Action::UsageError, "", "sobra el argumento: b.kmr (se abre un proyecto cada vez)"},
        {{"--", "--help"}, Action::Run, "--help", ""},
        {{"--", "-raro.kmr"}, Action::Run, "-raro.kmr", ""},
        // Qt's own options go by, with their values.
        {{"-platform", "offscreen", "a.kmr"}, Action::Run, "a.kmr", ""},
        {{"--style=fusion", "-reverse", "a.kmr"}, Action::Run, "a.kmr", ""},
        {{"-style", "-h"}, Action::Run, "", ""},
        {{"-platformx"}, Action::UsageError, "", "opción desconocida: -platformx"},
    };
    for (const Case& c : cases) {
        const EditorArguments parsed = parseEditorArguments(c.args);
        const std::string what = testing::PrintToString(c.args);
        EXPECT_EQ(parsed.action, c.action) << what;
        EXPECT_EQ(parsed.project, c.project) << what;
        EXPECT_EQ(parsed.error, c.error) << what;
    }
}

// The real program, with no display at all: the answers need none.
TEST(EditorArguments, TheProgramAnswersWithoutAWindow) {
    struct Case {
        QStringList args;
        int code;
        QString outStart;
        QString errStart;
    };
    const std::vector<Case> cases = {
        {{QStringLiteral("--help")}, 0, QStringLiteral("uso: kmr [OPCIONES] [PROYECTO.kmr]\n"), {}},
        {{QStringLiteral("-h")}, 0, QStringLiteral("uso: kmr "), {}},
        {{QStringLiteral("--version")}, 0, QStringLiteral("kmr (KMR) 2."), {}},
        {{QStringLiteral("--zzz")},
         2,
         {},
         QStringLiteral("kmr: opción desconocida: --zzz (kmr --help muestra la ayuda)\n")},
    };
    QTemporaryDir settings;
    for (const Case& c : cases) {
        QProcess kmr;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("KMR_SETTINGS_DIR"), settings.path());
        kmr.setProcessEnvironment(env);
        kmr.start(QStringLiteral(KMR_EDITOR_PATH), c.args);
        ASSERT_TRUE(kmr.waitForFinished(10000)) << c.args.join(u' ').toStdString();
        const QString out = QString::fromUtf8(kmr.readAllStandardOutput());
        const QString err = QString::fromUtf8(kmr.readAllStandardError());
        EXPECT_EQ(kmr.exitCode(), c.code) << c.args.join(u' ').toStdString() << err.toStdString();
        EXPECT_TRUE(out.startsWith(c.outStart)) << out.toStdString();
        EXPECT_TRUE(err.startsWith(c.errStart)) << err.toStdString();
        for (const QString& line : out.split(u'\n')) EXPECT_LE(line.size(), 80) << line.toStdString();
    }
}

}  // namespace
}  // namespace kmr::gui
