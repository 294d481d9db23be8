#include "wizards/new_project_wizard.h"

// The wizard's frame: its pages in a stack, the buttons below them, the status line, and moving
// between the pages, asking for help and closing. Each page is built and run in its own file:
// wizard_welcome_page.cpp, wizard_general_page.cpp, wizard_menus_page.cpp, wizard_summary_page.cpp.

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QStackedWidget>
#include <QStatusTipEvent>
#include <QVBoxLayout>

#include "base/dialog_placement.h"
#include "base/prompts.h"
#include "base/qt_text.h"
#include "base/shared_values.h"
#include "editing/menu_editor_dialog.h"
#include "wizards/new_project.h"
#include "wizards/wizard_widgets.h"

namespace kmr::gui {

namespace {

const QString kLeaveQuestion =
    QStringLiteral("Si abandona así el asistente no se guardará la información recopilada. ¿Desea salir sin guardar?");

}  // namespace

NewProjectWizard::NewProjectWizard(SharedValues& shared, Prompts& prompts, const ImageList& images,
                                   MenuEditorDialog& menuEditor, CommandComposer& builder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_shared(shared),
      m_prompts(prompts),
      m_images(images),
      m_menuEditor(menuEditor),
      m_builder(builder),
      m_programFolder(QCoreApplication::applicationDirPath()) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Asistente de Quillmere"));

    // Pages without tabs: only the buttons below move between them.
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Paginas"));
    m_pages->addWidget(makeWelcomePage());
    m_pages->addWidget(makeGeneralPage());
    m_pages->addWidget(makeMenusPage(images));
    m_pages->addWidget(makeSummaryPage());

    auto* help =
        makeButton(QStringLiteral("&Ayuda"), "Ayuda",
                   QStringLiteral("Pulse aquí para obtener ayuda sobre el proceso de recopilación de datos"), this);
    m_previous = makeButton(QStringLiteral("A&nterior"), "Anterior",
                            QStringLiteral("Pulse aquí para seleccionar la pantalla anterior del asistente"), this);
    m_main = makeButton(QStringLiteral("&Siguiente"), "Siguiente",
                        QStringLiteral("Pulse aquí para seleccionar la pantalla siguiente del asistente o para "
                                       "finalizar el proceso (según texto)"),
                        this);
    m_main->setDefault(true);
    auto* cancel = makeButton(QStringLiteral("Cancelar"), "Cancelar",
                              QStringLiteral("Pulse aquí para cancelar el proceso de recopilación de datos"), this);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Estado"));
    m_status->setFrameShape(QFrame::StyledPanel);
    m_status->setFrameShadow(QFrame::Sunken);
    m_status->setTextFormat(Qt::PlainText);
    // Two lines high, also while empty: the longest hints need them, and the buttons do not move
    // when a hint appears. Nor does a long hint widen the window: it wraps.
    m_status->setWordWrap(true);
    m_status->setFixedHeight(2 * m_status->fontMetrics().lineSpacing() + 2 * m_status->frameWidth() + 2);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(m_previous);
    buttons->addWidget(m_main);
    buttons->addSpacing(12);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    // A fixed frame, as large as the widest page needs in the interface font.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(help, &QPushButton::clicked, this, &NewProjectWizard::requestHelp);
    // F1 asks for the same topic as "Ayuda", on every page.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &NewProjectWizard::requestHelp);
    connect(m_previous, &QPushButton::clicked, this, &NewProjectWizard::goBack);
    connect(m_main, &QPushButton::clicked, this, &NewProjectWizard::advance);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The menu editor, opened from here, tests a new internal name against this list.
    m_menuEditor.setNameSource(kEditFromWizard, [this] { return menuInternalNames(m_menus); });
    updateButtons();
}

// ---------------------------------------------------------------------------------------------
// Showing, moving between pages and closing

void NewProjectWizard::showEvent(QShowEvent* event) {
    // Returning from the menu editor or the builder is no new showing: only the wizard's own show
    // starts afresh.
    if (!event->spontaneous()) {
        startAfresh();
        // A fresh showing starts on the first field, not where the last one was left, and where the
        // first showing stood.
        centreOnOwner(this);
        startOn(m_templateList);
    }
    QDialog::showEvent(event);
}

void NewProjectWizard::startAfresh() {
    m_pages->setCurrentIndex(Bienvenido);
    m_program->clear();
    m_icon->clear();
    m_label->clear();
    m_explanation->clear();
    m_resource->setChecked(false);
    m_menus.clear();
    refreshMenuList(-1);
    m_templateList->clear();
    m_templates.clear();
    m_status->clear();
    m_finished = false;
    m_handedOff = false;
    m_shared.wizardFinished = false;
    updateButtons();
    loadTemplateList();
}

int NewProjectWizard::currentPage() const { return m_pages->currentIndex(); }

kmr::WizardData NewProjectWizard::data() const {
    return {utf8(m_program->text()), m_resource->isChecked(), utf8(m_icon->text()), utf8(m_label->text()), m_menus};
}

void NewProjectWizard::showPage(int page) {
    m_pages->setCurrentIndex(page);
    // The summary follows whatever the fields and the list hold now.
    if (page == Finalizar) m_summary->setPlainText(qs(kmr::wizardSummary(data())));
}

void NewProjectWizard::updateButtons() {
    m_previous->setEnabled(currentPage() != Bienvenido);
    m_main->setText(currentPage() == Finalizar ? QStringLiteral("&Finalizar") : QStringLiteral("&Siguiente"));
}

void NewProjectWizard::advance() {
    if (currentPage() == Finalizar) {
        m_finished = true;
        m_shared.wizardData = data();
        m_shared.wizardFinished = true;
        accept();
        return;
    }
    if (m_noEdit->isChecked()) {
        // Straight to the end; "Anterior" keeps the state it has.
        showPage(Finalizar);
        m_main->setText(QStringLiteral("&Finalizar"));
        return;
    }
    showPage(currentPage() + 1);
    updateButtons();
}

void NewProjectWizard::goBack() {
    if (currentPage() == Bienvenido) return;
    showPage(currentPage() - 1);
    updateButtons();
}

void NewProjectWizard::requestHelp() { emit helpRequested(kWizardHelpContext); }

void NewProjectWizard::done(int result) {
    if (!m_finished && !m_handedOff &&
        m_prompts.message(kLeaveQuestion, QStringLiteral("Atención"), MessageIcon::Warning, MessageButtons::YesNo) ==
            Answer::No) {
        return;
    }
    QDialog::done(result);
}

bool NewProjectWizard::event(QEvent* event) {
    // The status line shows the long hint of the control under the mouse.
    if (event->type() == QEvent::StatusTip) {
        setStatusText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

void NewProjectWizard::setStatusText(const QString& text) { m_status->setText(text); }

}  // namespace kmr::gui
