// The editor on the offscreen platform: one edit of the object list with its refresh and repaint at
// 1 000, 10 000 and 100 000 objects, and opening a big project until its list is painted against
// reading the same file in the core.
//
// An edit is timed from the moment it is asked for (for a command with a dialog: the click on
// "Aceptar") until the event loop has painted what changed; setting it up and undoing it are not.
#include <benchmark/benchmark.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "base/prompts.h"
#include "base/settings_store.h"
#include "editing/clipboard_commands.h"
#include "editing/object_commands.h"
#include "frame/main_window.h"
#include "platform/file_read.h"
#include "platform/file_write.h"
#include "project/project_file.h"
#include "project/project_file_commands.h"
#include "project/project_window.h"

namespace {

using Clock = std::chrono::steady_clock;

// Every question is answered Yes; the editor never asks for a file here.
class YesPrompts : public kmr::gui::Prompts {
public:
    kmr::gui::Answer message(const QString&, const QString&, kmr::gui::MessageIcon, kmr::gui::MessageButtons) override {
        return kmr::gui::Answer::Yes;
    }
    std::optional<QString> openFile(const kmr::gui::FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> saveFile(const kmr::gui::FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return std::nullopt; }
};

// Counts the paints of a widget, so a benchmark knows that the list was drawn.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// One started frame for the whole run, on a private settings folder.
struct Editor {
    QTemporaryDir dir;
    std::unique_ptr<kmr::gui::IniSettingsStore> store;
    YesPrompts prompts;
    std::unique_ptr<kmr::gui::MainWindow> frame;

    Editor() {
        store = std::make_unique<kmr::gui::IniSettingsStore>(dir.filePath(QStringLiteral("settings")));
        kmr::gui::StartOptions start;
        start.programFile = dir.filePath(QStringLiteral("kmr"));
        frame = std::make_unique<kmr::gui::MainWindow>(prompts, *store, start);
        frame->startUp();
        kmr::gui::SettingsKey(*store, kmr::gui::SettingsRoot::Machine, kmr::gui::kSettingsKeyPath)
            .writeBool(QStringLiteral("Asistente"), false);
        frame->show();
        frame->firstActivation();
        // Room for a list that shows a page of rows.
        frame->resize(900, 700);
        QApplication::processEvents();
    }
};

Editor& editor() {
    static Editor e;
    return e;
}

// Lets the event loop lay out and paint whatever is pending.
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Where a project window's list is painted.
QWidget* listViewport(kmr::gui::ProjectWindow* window) {
    return window->findChild<QAbstractScrollArea*>(QStringLiteral("ListView1"))->viewport();
}

kmr::ProjectObject numberedMenu(int k) {
    const std::string n = std::to_string(k);
    return kmr::makeMenu("Menú número " + n, "explorer \"%1\\carpeta" + n + "\\leeme.txt\"", "menu" + n);
}

// A run entry, an icon, a label and menus up to `size` objects.
kmr::Project bigProject(int size) {
    kmr::Project p;
    p.append(kmr::makeProgram("setup.exe"));
    p.append(kmr::makeIcon("disco.ico,3"));
    p.append(kmr::makeLabel("Disco de instalación"));
    for (int k = 1; p.size() < static_cast<std::size_t>(size); ++k) p.append(numberedMenu(k));
    return p;
}

// A project window of `size` objects, painted once, with the object in the middle selected.
struct OpenProject {
    kmr::gui::ProjectWindow* window;
    PaintCounter counter;
    int middle;

    explicit OpenProject(int size) : middle(size / 2) {
        window = editor().frame->createProject(QStringLiteral("Sin nombre 1"));
        window->parentWidget()->showMaximized();
        window->setProject(bigProject(size));
        // Whatever the edit repaints: the list, its scroll bar, the tool bars.
        QCoreApplication::instance()->installEventFilter(&counter);
        window->select(middle);
        settle();
    }
    ~OpenProject() {
        QCoreApplication::instance()->removeEventFilter(&counter);
        window->setSaved(1);
        window->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle();
    }
    // Settles and tells the benchmark when nothing was painted: the figure would not mean anything.
    void settleAndCheck(benchmark::State& state) {
        const int before = counter.paints;
        settle();
        if (counter.paints == before) state.SkipWithError("the list was not repainted");
    }
};

void addTime(benchmark::State& state, Clock::time_point start) {
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
}

// Fills the next modal dialog with `fill`, notes the time and presses its "Aceptar".
void acceptNextDialog(std::function<void(QWidget&)> fill, Clock::time_point& acceptedAt) {
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, fill = std::move(fill), &acceptedAt] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr) return;
        timer->stop();
        timer->deleteLater();
        fill(*dialog);
        acceptedAt = Clock::now();
        dialog->findChild<QPushButton*>(QStringLiteral("Aceptar"))->click();
    });
    timer->start();
}

std::function<void(QWidget&)> menuFields(const QString& text, const QString& name) {
    return [text, name](QWidget& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("Texto"))->setText(text);
        dialog.findChild<QLineEdit*>(QStringLiteral("Comando"))->setText(QStringLiteral("notepad leeme.txt"));
        dialog.findChild<QLineEdit*>(QStringLiteral("NombreInterno"))->setText(name);
        dialog.findChild<QCheckBox*>(QStringLiteral("Clave"))->setChecked(false);
    };
}

kmr::gui::ObjectCommands& objects() { return editor().frame->objectCommands(); }
kmr::gui::ClipboardCommands& clipboard() { return editor().frame->clipboardCommands(); }

int lastRow(const OpenProject& p) { return static_cast<int>(p.window->project().size()) - 1; }

// Deletes the last object, untimed, to undo an insert or a paste, and shows the end of the list
// again, where a new menu goes.
void deleteLast(OpenProject& p) {
    p.window->select(lastRow(p));
    objects().deleteObject();
    p.window->select(lastRow(p));
    settle();
}

void BM_EditMove(benchmark::State& state) {
    OpenProject p(static_cast<int>(state.range(0)));
    bool down = true;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (down)
            objects().moveObjectDown();
        else
            objects().moveObjectUp();
        p.settleAndCheck(state);
        addTime(state, start);
        down = !down;
    }
}

// The first name test of a project indexes its menus' internal names once; edits after it are timed.
void warmUpNameIndex(OpenProject& p) {
    Clock::time_point accepted;
    acceptNextDialog(menuFields(QStringLiteral("Previo"), QStringLiteral("previo")), accepted);
    objects().insertMenu();
    deleteLast(p);
}

// A menu is appended, with the end of the list in sight.
void BM_EditInsert(benchmark::State& state) {
    OpenProject p(static_cast<int>(state.range(0)));
    p.window->select(lastRow(p));
    warmUpNameIndex(p);
    int k = 0;
    for (auto _ : state) {
        Clock::time_point accepted;
        acceptNextDialog(menuFields(QStringLiteral("Nuevo"), QStringLiteral("nuevo%1").arg(++k)), accepted);
        objects().insertMenu();
        p.settleAndCheck(state);
        addTime(state, accepted);
        deleteLast(p);
    }
}

void BM_EditDelete(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    OpenProject p(size);
    const kmr::Project original = p.window->project();
    for (auto _ : state) {
        const auto start = Clock::now();
        objects().deleteObject();
        p.settleAndCheck(state);
        addTime(state, start);
        // Undone untimed: the object goes back where it was.
        p.window->setProject(original, p.middle);
        settle();
    }
}

void BM_EditModify(benchmark::State& state) {
    OpenProject p(static_cast<int>(state.range(0)));
    const QString name =
        QString::fromStdString(std::string(p.window->project().objects[static_cast<std::size_t>(p.middle)].menuName()));
    int k = 0;
    for (auto _ : state) {
        Clock::time_point accepted;
        acceptNextDialog(menuFields(QStringLiteral("Cambiado %1").arg(++k), name), accepted);
        objects().modifyMenu();
        p.settleAndCheck(state);
        addTime(state, accepted);
    }
}

// The menu editor opened by "Menú..." and closed with "Cancelar": what closing the dialog costs in
// the edits above that go through it, without an edit.
void BM_MenuEditorCancelled(benchmark::State& state) {
    OpenProject p(static_cast<int>(state.range(0)));
    p.window->select(lastRow(p));
    settle();
    for (auto _ : state) {
        Clock::time_point cancelled;
        auto* timer = new QTimer;
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, [timer, &cancelled] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr) return;
            timer->stop();
            timer->deleteLater();
            cancelled = Clock::now();
            dialog->findChild<QPushButton*>(QStringLiteral("Cancelar"))->click();
        });
        timer->start();
        objects().insertMenu();
        settle();
        addTime(state, cancelled);
    }
}

// Paste of a copied label over the project's own label, after the replacement question; the list
// shows its top, where the label is.
void BM_EditPasteReplace(benchmark::State& state) {
    OpenProject p(static_cast<int>(state.range(0)));
    p.window->select(2);
    clipboard().copy();
    settle();
    for (auto _ : state) {
        const auto start = Clock::now();
        clipboard().paste();
        p.settleAndCheck(state);
        addTime(state, start);
    }
}

// Paste of a copied menu, renamed in the menu editor, at the end of the list, which is in sight.
void BM_EditPasteMenu(benchmark::State& state) {
    OpenProject p(static_cast<int>(state.range(0)));
    clipboard().copy();
    p.window->select(lastRow(p));
    warmUpNameIndex(p);
    int k = 0;
    for (auto _ : state) {
        Clock::time_point accepted;
        acceptNextDialog(menuFields(QStringLiteral("Pegado"), QStringLiteral("pegado%1").arg(++k)), accepted);
        clipboard().paste();
        p.settleAndCheck(state);
        addTime(state, accepted);
        deleteLast(p);
    }
}

void editArgs(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
}
BENCHMARK(BM_EditMove)->Apply(editArgs);
BENCHMARK(BM_EditInsert)->Apply(editArgs);
BENCHMARK(BM_EditDelete)->Apply(editArgs);
BENCHMARK(BM_EditModify)->Apply(editArgs);
BENCHMARK(BM_EditPasteReplace)->Apply(editArgs);
BENCHMARK(BM_EditPasteMenu)->Apply(editArgs);
BENCHMARK(BM_MenuEditorCancelled)->Apply(editArgs);

// ---------------------------------------------------------------------------------------------
// Opening

const QString& projectFile(int menus) {
    static std::map<int, QString> files;
    QString& path = files[menus];
    if (path.isEmpty()) {
        path = editor().dir.filePath(QStringLiteral("grande-%1.kmr").arg(menus));
        kmr::Project p;
        for (int k = 1; k <= menus; ++k) p.append(numberedMenu(k));
        // A project that could not be written would leave nothing to measure.
        const kmr::io::IoResult written = kmr::io::writeFileAtomic(path.toStdString(), kmr::projectFileBytes(p));
        if (!written.ok()) qFatal("%s", written.message.c_str());
    }
    return path;
}

// Reading the file in the core: the baseline of opening it in the editor.
void BM_OpenCoreRead(benchmark::State& state) {
    const std::string path = projectFile(static_cast<int>(state.range(0))).toStdString();
    for (auto _ : state) {
        const auto r = kmr::readProjectFile(kmr::io::readFile(path).bytes);
        if (r.project.size() != static_cast<std::size_t>(state.range(0))) state.SkipWithError("wrong object count");
        benchmark::DoNotOptimize(r.project.objects.data());
    }
}

// "&Abrir..." with the path handed over, until the new window's list is painted; closing it is untimed.
void BM_OpenInEditor(benchmark::State& state) {
    const QString path = projectFile(static_cast<int>(state.range(0)));
    kmr::gui::MainWindow& frame = *editor().frame;
    for (auto _ : state) {
        PaintCounter counter;
        const auto start = Clock::now();
        frame.shared().pendingPath = path;
        frame.fileCommands().openProject();
        kmr::gui::ProjectWindow* window = frame.activeProjectWindow();
        if (window == nullptr || window->project().size() != static_cast<std::size_t>(state.range(0))) {
            state.SkipWithError("the project did not open");
            break;
        }
        listViewport(window)->installEventFilter(&counter);
        while (counter.paints == 0) settle();
        addTime(state, start);
        listViewport(window)->removeEventFilter(&counter);
        window->setSaved(1);
        window->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle();
    }
}

BENCHMARK(BM_OpenCoreRead)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_OpenInEditor)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    editor().frame.reset();
    return 0;
}
