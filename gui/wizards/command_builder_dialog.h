#pragma once
// The command builder composes a command line, a path, an address or an icon reference from a few
// plain fields and leaves it in the shared edit state.

#include <QDialog>

#include <array>

#include "base/command_composer.h"
#include "wizards/command_builder.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

namespace kmr::gui {

class Prompts;
struct EditState;

// The help topic that "Ayuda" asks for.
inline constexpr int kBuilderHelpContext = 4;

class CommandBuilderDialog : public QDialog, public CommandComposer {
    Q_OBJECT
public:
    CommandBuilderDialog(EditState& state, Prompts& prompts, QWidget* parent = nullptr);

    // The page the next opening shows; without a call it is the chooser page ("Nuevo").
    void setCurrentPage(kmr::BuilderPage page);
    kmr::BuilderPage currentPage() const;
    // The kind chosen on the chooser page (0 to 4), which is also the page it leads to.
    int selectedKind() const { return m_kind; }

    // Checks "Compatibilidad con Windows 95 (utilizar explorer)" and locks it; release() unchecks
    // and unlocks it.
    void forceCompatibility();
    void releaseCompatibility();

    // Opens the builder modally on `start` (the chooser for BuilderPage::Nuevo), with the
    // compatibility option forced while it is open when asked. True when it composed a result,
    // which is then in the edit state's builderResult (and resourceFlag).
    bool execOn(kmr::BuilderPage start, bool forcedCompatibility = false) override;

    // "Siguiente" on the chooser page (to the chosen kind's page), "Insertar" on every other page
    // (composes and closes).
    void advance();
    // "Ayuda": asks for the builder's help topic.
    void requestHelp();

signals:
    // "Ayuda": the frame shows the help topic with this context number.
    void helpRequested(int context);

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls of a page that has a drive field and an in-compilation box.
    struct DriveGroup {
        QLineEdit* name = nullptr;  // Explorar: the path field
        QLineEdit* drive = nullptr;
        QLabel* driveLabel = nullptr;
        QLineEdit* folder = nullptr;  // none on Explorar
        QCheckBox* inCompilation = nullptr;
    };

    QWidget* makeChooserPage();
    QWidget* makePathPage(kmr::BuilderPage page);
    QWidget* makeExplorarPage();
    QWidget* makeInternetPage();
    DriveGroup& group(kmr::BuilderPage page);
    const DriveGroup& group(kmr::BuilderPage page) const;

    kmr::BuilderFields readFields(kmr::BuilderPage page) const;
    void writeFields(kmr::BuilderPage page, const kmr::BuilderFields& fields);
    void compose(kmr::BuilderPage page);

    void updateDriveControls(kmr::BuilderPage page);
    void updateExplorarTexts();
    void selectInternetChoice(bool email);
    void iconNameChanged(const QString& text);
    void updateIconCode();
    void updateMainButton();
    void focusFirstControl();

    EditState& m_state;
    Prompts& m_prompts;
    QStackedWidget* m_pages;
    QPushButton* m_main;
    int m_kind = 0;

    QButtonGroup* m_kindGroup;
    std::array<QRadioButton*, 5> m_kindButtons{};
    // Programa, Recursos, Multimedia, Explorar, (Internet unused), Icono, by page number.
    std::array<DriveGroup, 6> m_groups{};
    QLabel* m_explorarLabel = nullptr;
    QLabel* m_explorarExample = nullptr;
    QCheckBox* m_email = nullptr;
    QRadioButton* m_web = nullptr;
    QRadioButton* m_internetEmail = nullptr;
    QLabel* m_addressLabel = nullptr;
    QLineEdit* m_address = nullptr;
    QLabel* m_addressExample = nullptr;
    QCheckBox* m_compatibility = nullptr;
    QCheckBox* m_multipleIcons = nullptr;
    QLabel* m_codeLabel = nullptr;
    QSpinBox* m_code = nullptr;
};

}  // namespace kmr::gui
