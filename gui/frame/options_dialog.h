#pragma once
// The options dialog: it edits the options of the run, which the frame holds as one plain value.

#include <QDialog>
#include <QString>

#include <array>
#include <utility>
#include <vector>

#include "frame/options.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QPushButton;

namespace kmr::gui {

class SettingsKey;

// One update site: the caption of its button and the address the update command opens.
struct UpdateSite {
    QString caption;
    QString address;
};

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // `options` are the run's: every showing and every close reads them from the key, "Aceptar" stores
    // what the controls hold into them and the key.
    explicit OptionsDialog(Options& options, QWidget* parent = nullptr);
    // A dialog that holds its options itself.
    explicit OptionsDialog(QWidget* parent = nullptr) : OptionsDialog(m_own, parent) {}

    // The key that readOptions and storeOptions read and write; set once the frame has opened it.
    void setSettingsKey(const SettingsKey* key) { m_key = key; }

    // The stored values into the run's options and the controls, and the controls' values into both.
    void readOptions();
    void storeOptions();

    // The run's options, as read or stored last.
    const Options& options() const { return m_options; }
    bool welcome() const { return m_options.welcome; }
    bool centre() const { return m_options.centre; }
    bool runWizard() const { return m_options.runWizard; }
    bool showToolBar() const { return m_options.showToolBar; }
    bool showStatusBar() const { return m_options.showStatusBar; }
    bool showTips() const { return m_options.showTips; }
    bool showQuickStart() const { return m_options.showQuickStart; }
    bool keepImportExtras() const { return m_options.keepImportExtras; }
    int siteSelection() const { return m_options.site; }
    QString otherAddress() const { return m_options.otherAddress; }
    QString siteAddress() const { return m_options.siteAddress(); }

    // A view option turned over, in the options and the controls (not stored).
    void flipToolBar() { flip(&Options::showToolBar); }
    void flipStatusBar() { flip(&Options::showStatusBar); }
    void flipTips() { flip(&Options::showTips); }
    void flipQuickStart() { flip(&Options::showQuickStart); }

    // What the controls hold, and the options into the controls.
    Options shownOptions() const;
    void showOptions(const Options& options);

    static const std::array<UpdateSite, 4>& sites();

signals:
    // Emitted after every close, once the stored values are back in the dialog.
    void closed();
    // "Ayuda": the frame shows the help topic with this context number.
    void helpRequested(int context);

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QCheckBox* check(const QString& text, bool Options::*option, QWidget* parent);
    void flip(bool Options::*option);
    void checkSiteButton();

    Options m_own = designedOptions();  // unused when the frame hands its options over
    Options& m_options;
    const SettingsKey* m_key = nullptr;
    // The check boxes and the options they show.
    std::vector<std::pair<QCheckBox*, bool Options::*>> m_boxes;
    QCheckBox* m_welcome;
    QCheckBox* m_keepExtras;
    QButtonGroup* m_siteGroup;
    std::array<QRadioButton*, 5> m_siteButtons{};
    QLineEdit* m_other;
    int m_site = 0;
};

}  // namespace kmr::gui
