#include "help/help_window.h"

#include <QAbstractTextDocumentLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>

#include "help/help_collection.h"
#include "help/help_index.h"

namespace kmr::gui {

namespace {
constexpr int kPageRole = Qt::UserRole;
constexpr int kEntryRole = Qt::UserRole + 1;  // the index entry's position in m_entries
constexpr int kKeywordRole = Qt::UserRole + 2;

// Long titles wrap instead of ending in "...": a narrow side panel still shows them whole.
void wrapItems(QListWidget* list) {
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideNone);
    list->setResizeMode(QListView::Adjust);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}
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
    wrapItems(m_index);
    // The pages of the keyword chosen above: one line each, so equal keywords of several pages are one entry.
    m_indexPages = new QListWidget(indexPage);
    m_indexPages->setObjectName(QStringLiteral("IndicePaginas"));
    m_indexPages->setMaximumHeight(6 * m_indexPages->fontMetrics().lineSpacing());
    wrapItems(m_indexPages);
    auto* pagesLabel = new QLabel(QStringLiteral("&Páginas de la palabra:"), indexPage);
    pagesLabel->setBuddy(m_indexPages);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(m_indexFilter);
    indexLayout->addWidget(m_index, 1);
    indexLayout->addWidget(pagesLabel);
    indexLayout->addWidget(m_indexPages);
    connect(m_indexFilter, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(m_indexFilter, &QLineEdit::returnPressed, this, [this] {
        // The entry under the cursor, else the first one the filter leaves.
        QListWidgetItem* item = m_index->currentItem();
        for (int i = 0; (item == nullptr || item->isHidden()) && i < m_index->count(); ++i) item = m_index->item(i);
        if (item != nullptr && !item->isHidden()) chooseEntry(item);
    });
    connect(m_index, &QListWidget::currentItemChanged, this, &HelpWindow::listEntryPages);
    connect(m_index, &QListWidget::itemActivated, this, &HelpWindow::chooseEntry);
    const auto openPlace = [this](QListWidgetItem* item) {
        showKeyword(item->data(kPageRole).toString(), item->data(kKeywordRole).toString());
    };
    connect(m_indexPages, &QListWidget::itemActivated, this, openPlace);
    connect(m_indexPages, &QListWidget::itemClicked, this, openPlace);

    auto* searchPage = new QWidget(this);
    m_searchText = new QLineEdit(searchPage);
    m_searchText->setObjectName(QStringLiteral("BuscarTexto"));
    m_searchText->setPlaceholderText(QStringLiteral("Palabras que deben aparecer"));
    auto* searchButton = new QPushButton(QStringLiteral("Buscar"), searchPage);
    searchButton->setObjectName(QStringLiteral("Buscar"));
    m_results = new QListWidget(searchPage);
    m_results->setObjectName(QStringLiteral("Resultados"));
    wrapItems(m_results);
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
    m_indexPages->clear();
    m_entries.clear();
    m_results->clear();
    m_browser->clear();
    m_browser->clearHistory();
    if (help == nullptr) return;
    setWindowTitle(help->title().isEmpty() ? QStringLiteral("Ayuda de KMR") : help->title());
    fillContents(nullptr, help->contents());
    m_contents->expandToDepth(0);
    m_entries = mergeIndex(help->index());
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        auto* item = new QListWidgetItem(m_entries[i].keyword, m_index);
        item->setData(kEntryRole, static_cast<int>(i));
        QStringList titles;
        for (const HelpKeyword& place : m_entries[i].places) titles << place.pageTitle;
        item->setToolTip(titles.join(QLatin1Char('\n')));
    }
}

void HelpWindow::listEntryPages(QListWidgetItem* item) {
    m_indexPages->clear();
    if (item == nullptr) return;
    const HelpIndexEntry& entry = m_entries.at(item->data(kEntryRole).toInt());
    for (const HelpKeyword& place : entry.places) {
        auto* line = new QListWidgetItem(place.pageTitle, m_indexPages);
        line->setData(kPageRole, place.page);
        line->setData(kKeywordRole, place.keyword);
    }
}

void HelpWindow::chooseEntry(QListWidgetItem* item) {
    if (item == nullptr) return;
    if (m_index->currentItem() != item) m_index->setCurrentItem(item);
    if (m_indexPages->count() == 1) {
        QListWidgetItem* only = m_indexPages->item(0);
        showKeyword(only->data(kPageRole).toString(), only->data(kKeywordRole).toString());
        return;
    }
    // Several pages name the keyword: the user picks one from the list below.
    m_indexPages->setCurrentRow(0);
    m_indexPages->setFocus();
}

void HelpWindow::showKeyword(const QString& page, const QString& keyword) {
    showPage(page);
    if (m_help == nullptr || currentPage() != page) return;
    // The section that the keyword names comes to the top of the view.
    const int block = keywordSection(*m_browser->document(), keyword);
    if (block < 0) return;
    const QTextBlock at = m_browser->document()->findBlockByNumber(block);
    const QRectF where = m_browser->document()->documentLayout()->blockBoundingRect(at);
    m_browser->verticalScrollBar()->setValue(qRound(where.top()));
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
