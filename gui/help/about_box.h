#pragma once
// The about box (objectName "TAboutBox"), with the banner, the program's icon, its version and a link to the author.

#include <QDialog>
#include <QString>

#include "help/web_links.h"

class QLabel;

namespace kmr::gui {

// The version the about box shows; the update question quotes it too.
inline const QString kAboutVersion = QStringLiteral("Versión 2.3.2006.18");

class AboutBox : public QDialog {
    Q_OBJECT
public:
    // `opener` opens the contact page when the link is clicked.
    explicit AboutBox(UrlOpener opener, QWidget* parent = nullptr);

    // "Contactar con el autor": opens the contact page.
    void openContactPage();

protected:
    // Centred on the screen at every showing.
    void showEvent(QShowEvent* event) override;

private:
    UrlOpener m_opener;
};

}  // namespace kmr::gui
