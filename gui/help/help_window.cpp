#include "help/help_window.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>

#include "help/help_collection.h"

namespace kmr::gui {

namespace {
constexpr int kPageRole = Qt::UserRole;
}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Ayuda de KMR"));
    resize(860, 600);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("Pagina"));
    m_browser->setOpenExternalLinks(true);

    auto* bar = new QToolBar(this);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Atrás"));
    back->setObjectName(QStringLiteral("Atras"));
    back->setShortcut(QKeySequence::Back);
    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Adelante"));
    forward->setObjectName(QStringLiteral("Adelante"));
    forward->setShortcut(QKeySequence::Forward);
    QAction* home = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Inicio"));
    home->setObjectName(QStringLiteral("Inicio"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(home, &QAction::triggered, this, [this] {
        if (m_help != nullptr && !m_help->contents().isEmpty()) showPage(m_help->contents().first().page);
    });

    m_contents = new QTreeWidget(this);
    m_contents->setObjectName(QStringLiteral("Contenido"));
    m_contents->setHeaderHidden(true);
    connect(m_contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showPage(item->data(0, kPageRole).toString()); });
    connect(m_contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { showPage(item->data(0, kPageRole).toString()); });

    auto* indexPage = new QWidget(this);
    m_indexFilter = new QLineEdit(indexPage);
    m_indexFilter->setObjectName(QStringLiteral("IndiceTexto"));
    m_indexFilter->setPlaceholderText(QStringLiteral("Escriba la palabra que busca"));
    m_index = new QListWidget(indexPage);
    m_index->setObjectName(QStringLiteral("Indice"));
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(m_indexFilter);
    indexLayout->addWidget(m_index);
    connect(m_indexFilter, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(m_indexFilter, &QLineEdit::returnPressed, this, [this] {
        for (int i = 0; i < m_index->count(); ++i) {
            if (!m_index->item(i)->isHidden()) {
                showPage(m_index->item(i)->data(kPageRole).toString());
                return;
            }
        }
    });
    connect(m_index, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showPage(item->data(kPageRole).toString()); });

    auto* searchPage = new QWidget(this);
    m_searchText = new QLineEdit(searchPage);
    m_searchText->setObjectName(QStringLiteral("BuscarTexto"));
    m_searchText->setPlaceholderText(QStringLiteral("Palabras que deben aparecer"));
    auto* searchButton = new QPushButton(QStringLiteral("Buscar"), searchPage);
    searchButton->setObjectName(QStringLiteral("Buscar"));
    m_results = new QListWidget(searchPage);
    m_results->setObjectName(QStringLiteral("Resultados"));
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(m_searchText);
    searchRow->addWidget(searchButton);
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addLayout(searchRow);
    searchLayout->addWidget(m_results);
    connect(m_searchText, &QLineEdit::returnPressed, this, &HelpWindow::runSearch);
    connect(searchButton, &QPushButton::clicked, this, &HelpWindow::runSearch);
    connect(m_results, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showPage(item->data(kPageRole).toString()); });
    connect(m_results, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showPage(item->data(kPageRole).toString()); });

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("Pestanas"));
    m_tabs->addTab(m_contents, QStringLiteral("Contenido"));
    m_tabs->addTab(indexPage, QStringLiteral("Índice"));
    m_tabs->addTab(searchPage, QStringLiteral("Buscar"));

    auto* split = new QSplitter(this);
    split->addWidget(m_tabs);
    split->addWidget(m_browser);
    split->setStretchFactor(1, 1);
    split->setSizes({250, 610});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(split, 1);

    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::pageChanged);
}

void HelpWindow::setCollection(const HelpCollection* help) {
    m_help = help;
    m_contents->clear();
    m_index->clear();
    m_results->clear();
    m_browser->clear();
    m_browser->clearHistory();
    if (help == nullptr) return;
    setWindowTitle(help->title().isEmpty() ? QStringLiteral("Ayuda de KMR") : help->title());
    fillContents(nullptr, help->contents());
    m_contents->expandToDepth(0);
    for (const HelpKeyword& k : help->index()) {
        auto* item = new QListWidgetItem(k.keyword, m_index);
        item->setData(kPageRole, k.page);
        item->setToolTip(k.pageTitle);
    }
}

void HelpWindow::fillContents(QTreeWidgetItem* parent, const QList<HelpTopic>& topics) {
    for (const HelpTopic& t : topics) {
        auto* item = parent == nullptr ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parent);
        item->setText(0, t.title);
        item->setData(0, kPageRole, t.page);
        fillContents(item, t.children);
    }
}

void HelpWindow::showPage(const QString& page) {
    if (m_help == nullptr || page.isEmpty()) return;
    m_browser->setSource(m_help->url(page));
}

void HelpWindow::showContentsTab() { m_tabs->setCurrentIndex(0); }

void HelpWindow::showIndexTab() {
    m_tabs->setCurrentIndex(1);
    m_indexFilter->setFocus();
}

void HelpWindow::placeOver(const QWidget* owner) {
    const QScreen* screen = owner != nullptr ? owner->screen() : this->screen();
    if (screen == nullptr) return;
    const QRect room = screen->availableGeometry();
    // The frame the window manager adds stays outside size(): leave it some room.
    const QSize frame(16, 40);
    resize(size().boundedTo(room.size() - frame));
    QRect placed(QPoint(), size() + frame);
    placed.moveCenter(owner != nullptr ? owner->window()->frameGeometry().center() : room.center());
    placed.moveLeft(std::clamp(placed.left(), room.left(), room.right() + 1 - placed.width()));
    placed.moveTop(std::clamp(placed.top(), room.top(), room.bottom() + 1 - placed.height()));
    move(placed.topLeft());
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

QString HelpWindow::currentPage() const { return m_help == nullptr ? QString() : m_help->pageOf(m_browser->source()); }

void HelpWindow::filterIndex(const QString& text) {
    const QString wanted = foldForSearch(text.trimmed());
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < m_index->count(); ++i) {
        QListWidgetItem* item = m_index->item(i);
        const bool shown = foldForSearch(item->text()).startsWith(wanted);
        item->setHidden(!shown);
        if (shown && first == nullptr) first = item;
    }
    if (first != nullptr) m_index->setCurrentItem(first);
}

void HelpWindow::runSearch() {
    m_results->clear();
    if (m_help == nullptr) return;
    const QList<HelpHit> hits = m_help->search(m_searchText->text());
    for (const HelpHit& h : hits) {
        auto* item = new QListWidgetItem(h.title, m_results);
        item->setData(kPageRole, h.page);
    }
    if (hits.isEmpty()) new QListWidgetItem(QStringLiteral("Ninguna página contiene esas palabras."), m_results);
}

void HelpWindow::pageChanged(const QUrl& url) {
    // The contents follow the page, also when it was reached by a link or by going back.
    const QString page = m_help == nullptr ? QString() : m_help->pageOf(url).section(QLatin1Char('#'), 0, 0);
    if (page.isEmpty()) return;
    for (QTreeWidgetItemIterator it(m_contents); *it != nullptr; ++it) {
        if ((*it)->data(0, kPageRole).toString().section(QLatin1Char('#'), 0, 0) == page) {
            const QSignalBlocker quiet(m_contents);
            m_contents->setCurrentItem(*it);
            return;
        }
    }
}

}  // namespace kmr::gui
