// The command builder's frame: its stack of pages and buttons, the move from the chooser to a page,
// and the reading of a page's fields into the composed command.
#include "wizards/command_builder_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "base/dialog_widgets.h"
#include "base/edit_state.h"
#include "base/prompts.h"
#include "base/qt_text.h"
#include "wizards/command_builder_pages.h"

namespace kmr::gui {

using kmr::BuilderPage;

namespace {

const QString kFieldHint = QStringLiteral("Escriba aquí el comando que desea ejecutar");

// Writes a normalised value back only when it differs, so an untouched field keeps exactly the
// characters the user typed (and its cursor).
void writeBack(QLineEdit* field, const std::string& value) {
    if (field == nullptr || utf8(field->text()) == value) return;
    field->setText(qs(value));
}

MessageIcon messageIcon(kmr::MessageIcon icon) {
    return icon == kmr::MessageIcon::Information ? MessageIcon::Information : MessageIcon::Warning;
}

bool isPathPage(BuilderPage page) {
    return page == BuilderPage::Programa || page == BuilderPage::Recursos || page == BuilderPage::Multimedia ||
           page == BuilderPage::Icono;
}

}  // namespace

QLineEdit* builderField(const QString& name, QWidget* parent) {
    QLineEdit* field = makeTextField(name, parent);
    field->setToolTip(kFieldHint);
    return field;
}

QCheckBox* checkBox(const QString& text, const QString& name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

QVBoxLayout* pageLayout(QWidget* page, const QString& headline, const QString& explanation) {
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(makeHeadline(headline, page));
    layout->addWidget(makeExplanation(explanation, page));
    layout->addSpacing(6);
    return layout;
}

CommandBuilderDialog::CommandBuilderDialog(EditState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_state(state),
      m_prompts(prompts) {
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Asistente de edición de comandos"));

    // The pages go in by number, so the stack's index is the page number.
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Paginas"));
    m_pages->addWidget(makePathPage(BuilderPage::Programa));
    m_pages->addWidget(makePathPage(BuilderPage::Recursos));
    m_pages->addWidget(makePathPage(BuilderPage::Multimedia));
    m_pages->addWidget(makeExplorarPage());
    m_pages->addWidget(makeInternetPage());
    m_pages->addWidget(makePathPage(BuilderPage::Icono));
    m_pages->addWidget(makeChooserPage());

    auto* help = new QPushButton(QStringLiteral("&Ayuda"), this);
    help->setObjectName(QStringLiteral("Ayuda"));
    help->setToolTip(QStringLiteral("Pulse aquí para obtener ayuda sobre el proceso de recopilación de datos"));
    help->setAutoDefault(false);
    m_main = new QPushButton(this);
    m_main->setObjectName(QStringLiteral("Siguiente"));
    m_main->setToolTip(
        QStringLiteral("Pulse aquí para seleccionar la pantalla siguiente del asistente o para finalizar el "
                       "proceso (según texto)"));
    m_main->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("Cancelar"));
    cancel->setToolTip(QStringLiteral("Pulse aquí para cancelar el proceso de recopilación de datos"));
    cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(m_main);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(help, &QPushButton::clicked, this, &CommandBuilderDialog::requestHelp);
    connect(m_main, &QPushButton::clicked, this, &CommandBuilderDialog::advance);
    // The main button's caption goes with the page shown, however it came to be shown.
    connect(m_pages, &QStackedWidget::currentChanged, this, &CommandBuilderDialog::updateMainButton);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setCurrentPage(BuilderPage::Nuevo);
}

CommandBuilderDialog::DriveGroup& CommandBuilderDialog::group(BuilderPage page) {
    return m_groups.at(static_cast<std::size_t>(page));
}
const CommandBuilderDialog::DriveGroup& CommandBuilderDialog::group(BuilderPage page) const {
    return m_groups.at(static_cast<std::size_t>(page));
}

void CommandBuilderDialog::setCurrentPage(BuilderPage page) {
    m_pages->setCurrentIndex(static_cast<int>(page));
    updateMainButton();
}

BuilderPage CommandBuilderDialog::currentPage() const { return static_cast<BuilderPage>(m_pages->currentIndex()); }

void CommandBuilderDialog::forceCompatibility() {
    m_compatibility->setChecked(true);
    m_compatibility->setEnabled(false);
}

void CommandBuilderDialog::releaseCompatibility() {
    m_compatibility->setChecked(false);
    m_compatibility->setEnabled(true);
}

bool CommandBuilderDialog::execOn(BuilderPage start, bool forcedCompatibility) {
    setCurrentPage(start);
    if (forcedCompatibility) forceCompatibility();
    exec();
    if (forcedCompatibility) releaseCompatibility();
    return !m_state.builderResult.isEmpty();
}

void CommandBuilderDialog::advance() {
    const BuilderPage page = currentPage();
    if (page != BuilderPage::Nuevo) {
        compose(page);
        return;
    }
    setCurrentPage(static_cast<BuilderPage>(m_kind));
    focusFirstControl();
}

void CommandBuilderDialog::focusFirstControl() {
    const BuilderPage page = currentPage();
    if (page == BuilderPage::Nuevo) {
        m_kindButtons[static_cast<std::size_t>(m_kind)]->setFocus();
    } else if (page == BuilderPage::Internet) {
        m_address->setFocus();
    } else {
        group(page).name->setFocus();
    }
}

void CommandBuilderDialog::requestHelp() { emit helpRequested(kBuilderHelpContext); }

kmr::BuilderFields CommandBuilderDialog::readFields(BuilderPage page) const {
    kmr::BuilderFields f;
    if (page == BuilderPage::Internet) {
        f.address = utf8(m_address->text());
        f.internetEmail = m_internetEmail->isChecked();
        f.compatibility = m_compatibility->isChecked();
        return f;
    }
    if (page == BuilderPage::Nuevo) return f;
    const DriveGroup& g = group(page);
    f.drive = utf8(g.drive->text());
    f.inCompilation = g.inCompilation->isChecked();
    if (page == BuilderPage::Explorar) {
        f.path = utf8(g.name->text());
        f.email = m_email->isChecked();
        return f;
    }
    f.name = utf8(g.name->text());
    f.folder = utf8(g.folder->text());
    if (page == BuilderPage::Icono) {
        f.multipleIcons = m_multipleIcons->isChecked();
        f.iconCode = m_code->value();
    }
    return f;
}

void CommandBuilderDialog::writeFields(BuilderPage page, const kmr::BuilderFields& f) {
    if (page == BuilderPage::Internet) {
        writeBack(m_address, f.address);
    } else if (page == BuilderPage::Explorar) {
        writeBack(group(page).name, f.path);
        writeBack(group(page).drive, f.drive);
    } else if (isPathPage(page)) {
        const DriveGroup& g = group(page);
        writeBack(g.name, f.name);
        writeBack(g.drive, f.drive);
        writeBack(g.folder, f.folder);
    }
}

void CommandBuilderDialog::compose(BuilderPage page) {
    const kmr::CompositionResult r = kmr::composeCommand(page, readFields(page));
    writeFields(page, r.fields);
    if (r.message) {
        m_prompts.message(qs(r.message->text), qs(r.message->title), messageIcon(r.message->icon), MessageButtons::Ok);
        return;
    }
    if (!r.accepted) return;
    m_state.builderResult = qs(r.result);
    if (r.resourceFlag) m_state.resourceFlag = *r.resourceFlag;
    accept();
}

void CommandBuilderDialog::updateDriveControls(BuilderPage page) {
    const DriveGroup& g = group(page);
    const bool email = page == BuilderPage::Explorar && m_email != nullptr && m_email->isChecked();
    const kmr::DriveControls c = kmr::driveControls(page, g.inCompilation->isChecked(), email);
    g.drive->setEnabled(c.driveEnabled);
    g.driveLabel->setEnabled(c.driveEnabled);
    setButtonFace(g.drive, c.driveButtonFace);
    g.inCompilation->setEnabled(c.compilationBoxEnabled);
}

void CommandBuilderDialog::updateMainButton() {
    m_main->setText(currentPage() == BuilderPage::Nuevo ? QStringLiteral("&Siguiente") : QStringLiteral("&Insertar"));
    m_main->setEnabled(true);
}

void CommandBuilderDialog::done(int result) {
    QDialog::done(result);
    // Every close starts the next opening afresh on the chooser; the fields keep their texts.
    setCurrentPage(BuilderPage::Nuevo);
    m_kind = 0;
    m_kindButtons[0]->setChecked(true);
    m_compatibility->setEnabled(true);
}

void CommandBuilderDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    m_state.builderResult.clear();
    updateMainButton();
    focusFirstControl();
}

bool CommandBuilderDialog::eventFilter(QObject* watched, QEvent* event) {
    QLineEdit* path = group(BuilderPage::Explorar).name;
    if (watched == path && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && !path->isReadOnly()) {
            const char32_t key = text.toUcs4().value(0);
            m_email->setChecked(kmr::emailBoxAfterKey(key, path->text().isEmpty(), m_email->isChecked()));
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (std::size_t i = 0; i < m_kindButtons.size(); ++i) {
            if (watched != m_kindButtons[i]) continue;
            m_kindButtons[i]->setChecked(true);
            m_kind = static_cast<int>(i);
            advance();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kmr::gui
