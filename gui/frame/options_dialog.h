#pragma once
// The options dialog, which also holds the option values while the program runs.

#include <QDialog>
#include <QString>

#include <array>

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
    explicit OptionsDialog(QWidget* parent = nullptr);

    // The key that readOptions and storeOptions read and write; set once the frame has opened it.
    void setSettingsKey(SettingsKey* key) { m_key = key; }

    // The stored values into the dialog, and the dialog's values into the key.
    void readOptions();
    void storeOptions();

    bool welcome() const;
    bool centre() const;
    bool runWizard() const;
    bool showToolBar() const;
    bool showStatusBar() const;
    bool showTips() const;
    bool showQuickStart() const;
    // "Conservar al importar las entradas que no son órdenes del proyecto".
    bool keepImportExtras() const;
    int siteSelection() const { return m_site; }
    QString otherAddress() const;
    // The address of the selected site ("Otro:" gives the edit box's text), or empty when the
    // selection is outside 0 to 4.
    QString siteAddress() const;

    void flipToolBar();
    void flipStatusBar();
    void flipTips();
    void flipQuickStart();

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
    void checkSiteButton();

    SettingsKey* m_key = nullptr;
    QCheckBox* m_welcome;
    QCheckBox* m_centre;
    QCheckBox* m_wizard;
    QCheckBox* m_toolBar;
    QCheckBox* m_statusBar;
    QCheckBox* m_tips;
    QCheckBox* m_quickStart;
    QCheckBox* m_keepExtras;
    QButtonGroup* m_siteGroup;
    std::array<QRadioButton*, 5> m_siteButtons{};
    QLineEdit* m_other;
    int m_site = 0;
};

}  // namespace kmr::gui
