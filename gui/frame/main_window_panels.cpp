// MainWindow's two panels: the quick-start panel on the left, the tips panel along the foot, and
// the commands that a tip's click runs.

#include <QHBoxLayout>
#include <QMdiArea>
#include <QVBoxLayout>

#include <array>
#include <functional>

#include "autorun/autorun_commands.h"
#include "editing/object_commands.h"
#include "frame/main_window.h"
#include "help/about_box.h"
#include "panels/quick_start_panel.h"
#include "panels/tips_panel.h"
#include "project/project_file_commands.h"
#include "project/project_window.h"

namespace kmr::gui {

namespace {

// A command's caption on a button that must not steal a menu's Alt key: "&&" stays a plain "&".
QString withoutMnemonic(const QString& caption) {
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && ++i >= caption.size()) break;
        plain += caption[i];
    }
    return plain;
}

}  // namespace

void MainWindow::createPanels() {
    m_quickStart = new QuickStartPanel(this);
    m_quickStart->setPicture(m_images.pixmap(Picture::Menu, 24));
    // Hidden until the first activation or the option shows it.
    m_quickStart->hide();
    connect(m_quickStart, &QuickStartPanel::hideRequested, this, &MainWindow::toggleQuickStart);

    struct Start {
        const char* name;
        std::function<void()> run;
    };
    const std::array<Start, 3> starts = {{
        {"Nuevo1", [this] { newProject(); }},
        {"Abrir1", [this] { m_fileCommands->openProject(); }},
        {"Importar2", [this] { m_autorunCommands->importAutorun(); }},
    }};
    QList<CategoryButton> buttons;
    for (const auto& start : starts) {
        const QAction* a = action(start.name);
        const QString hint = a->toolTip() + QLatin1Char('|') + a->statusTip();
        buttons.append({QLatin1String(start.name) + QStringLiteral("Button"), withoutMnemonic(a->text()), a->icon(),
                        hint, start.run});
    }
    m_quickStart->setStartActions(buttons);

    m_tipsPanel = new TipsPanel(this);
    m_tipsPanel->setPicture(m_images.pixmap(Picture::Web, 24));
    m_tipsPanel->setContextSource([this] { return tipContext(); });
    connect(m_tipsPanel, &TipsPanel::actionRequested, this, &MainWindow::runTipAction);

    // The quick-start panel beside the client area, the tips panel under both.
    auto* centre = new QWidget(this);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_quickStart);
    row->addWidget(m_mdi, 1);
    auto* column = new QVBoxLayout(centre);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(row, 1);
    column->addWidget(m_tipsPanel);
    setCentralWidget(centre);
}

kmr::TipContext MainWindow::tipContext() const {
    const ProjectWindow* active = activeProjectWindow();
    return kmr::tipContext(static_cast<int>(projectWindows().size()), active != nullptr ? &active->project() : nullptr,
                           m_options.welcome, !m_quickStart->isHidden());
}

void MainWindow::runTipAction(kmr::TipAction action) {
    using A = kmr::TipAction;
    using kmr::web::WebPage;
    switch (action) {
        case A::None: break;
        case A::Update: runUpdate(); break;
        case A::NewProject: newProject(); break;
        case A::OnlineManual: openWebPage(WebPage::ManualOnLine); break;
        case A::Options: showOptions(); break;
        case A::Import: m_autorunCommands->importAutorun(); break;
        case A::Compile: m_autorunCommands->compileProject(); break;
        case A::InsertRunEntry: m_objectCommands->insertRunEntry(); break;
        case A::InsertIcon: m_objectCommands->insertIcon(); break;
        case A::InsertLabel: m_objectCommands->insertLabel(); break;
        case A::InsertMenu: m_objectCommands->insertMenu(); break;
        case A::About: showAboutBox(); break;
        case A::Contact: m_aboutBox->openContactPage(); break;
        case A::OtherProduct: openWebPage(WebPage::Drevanto); break;
        case A::OtherPrograms: openWebPage(WebPage::OtherPrograms); break;
        case A::FutureProjects: openWebPage(WebPage::FuturePrograms); break;
        case A::MakerSite: openWebPage(WebPage::MakerHome); break;
        case A::SisterSite: openWebPage(WebPage::SisterHome); break;
        case A::HideQuickStart: toggleQuickStart(); break;
    }
}

}  // namespace kmr::gui
