#pragma once
// The program's help: finds the help file, opens the viewer at the topic a command or an "Ayuda" button
// asks for, and says so when there is no help to show.

#include <QPointer>
#include <QString>

#include <memory>

class QWidget;

namespace kmr::gui {

class HelpCollection;
class HelpWindow;
class Prompts;

// The context numbers of the help topics.
inline constexpr int kHelpMain = 1;             // "&Ayuda" (F1) and the tool-bar button
inline constexpr int kHelpWizard = 3;           // the new-project wizard's "Ayuda"
inline constexpr int kHelpBuilder = 4;          // the command builder's "Ayuda"
inline constexpr int kHelpOptions = 9;          // the options dialog's "Ayuda"
inline constexpr int kHelpDiscProperties = 10;  // the "Ayuda" of "Propiedades del disco"
inline constexpr int kHelpDiscPreview = 11;     // the "Ayuda" (and F1) of "Vista previa del disco"

// The help file's name.
inline const QString kHelpFileName = QStringLiteral("kmr.hlp");

// Where the help file of the program at `programFile` lies: beside the program (the build tree, or a
// plain copy), else in <prefix>/share/kmr/ when the program is installed in <prefix>/bin/. When neither
// exists, the path beside the program.
QString findHelpFile(const QString& programFile);

class Help {
public:
    // The viewer is a window of its own over `owner` (the main frame).
    Help(Prompts& prompts, QWidget* owner);
    ~Help();
    Help(const Help&) = delete;
    Help& operator=(const Help&) = delete;

    // The application's help file (the settings value "Ayuda"); it is read at the first request.
    void setHelpFile(const QString& path);
    const QString& helpFile() const { return m_path; }

    // Shows the topic of a context number (an unknown number shows the first page). When the help file
    // is missing or broken, says so and returns false.
    bool showContext(int context);
    // The contents and index.
    bool showContents();

    // The viewer, once it has been shown.
    HelpWindow* window() const;

private:
    bool load();
    void present();

    Prompts& m_prompts;
    QWidget* m_owner;
    QString m_path;
    std::unique_ptr<HelpCollection> m_collection;
    QPointer<HelpWindow> m_window;
    bool m_placed = false;
};

}  // namespace kmr::gui
