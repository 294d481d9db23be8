// The program's language and font as the user gets them: Qt's own texts in Spanish, and every
// fixed-size dialog showing its whole texts in the interface font.

#include <QAbstractButton>
#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>

#include <memory>

#include "base/interface_setup.h"
#include "project/disc_bar.h"
#include "project/object_list_view.h"
#include "project/project_window.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

TEST(Interface, QtsOwnTextsAreSpanish) {
    const QLocale systemLocale;
    QtSpanishTranslator translator;
    ASSERT_TRUE(installQtSpanish(translator)) << "Qt's Spanish translation (qt6-translations-l10n) is missing";
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Cancelar"));
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* a : menu->actions()) {
        if (!a->isSeparator()) texts << a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("Deshacer"))) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Pegar"))) << texts.join(QLatin1Char('|')).toStdString();
    // The type column of the file dialogs, which Qt 6 asks for under a context of its own.
    EXPECT_EQ(QAbstractFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("Carpeta"));
    EXPECT_EQ(QLocale().language(), QLocale::Spanish);
    QCoreApplication::removeTranslator(&translator);
    QLocale::setDefault(systemLocale);
}

QString shownText(QString text) {
    // "&&" shows one ampersand; a single one marks the mnemonic and is not drawn.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// What of `w`'s text does not fit it, or an empty text.
QString clipping(QWidget* w) {
    const QFontMetrics fm(w->font());
    const QRect r = w->contentsRect();
    QString text;
    QSize need;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->textFormat() == Qt::RichText || label->text().isEmpty()) return {};
        text = shownText(label->text());
        const QRect room = r.adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
        if (label->wordWrap()) {
            const QRect bounds = fm.boundingRect(room, Qt::TextWordWrap | label->alignment(), text);
            if (bounds.height() <= room.height()) return {};
            need = bounds.size();
        } else {
            need = fm.size(0, text);
            if (need.width() <= room.width() && need.height() <= room.height()) return {};
        }
    } else if (qobject_cast<QCheckBox*>(w) != nullptr || qobject_cast<QRadioButton*>(w) != nullptr) {
        // Indicator, spacing and text: exactly what the style asks for.
        text = shownText(static_cast<QAbstractButton*>(w)->text());
        need = w->sizeHint();
        if (need.width() <= w->width() && need.height() <= w->height()) return {};
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        text = shownText(button->text());
        const int frame = 2 * w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        need = QSize(fm.horizontalAdvance(text) + icon + frame, fm.height());
        if (need.width() <= r.width() && need.height() <= r.height()) return {};
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        // The longest entry and the arrow.
        text = combo->currentText();
        need = combo->sizeHint();
        if (need.width() <= w->width()) return {};
    } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
        // An empty line's placeholder, whole, inside the frame and the line's side margins.
        if (!line->text().isEmpty() || line->placeholderText().isEmpty()) return {};
        text = line->placeholderText();
        const int frame = 2 * w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
        need = QSize(fm.horizontalAdvance(text) + frame + 4, fm.height());
        if (need.width() <= w->width()) return {};
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        text = shownText(group->title());
        need = QSize(fm.horizontalAdvance(text), fm.height());
        if (text.isEmpty() || need.width() <= r.width()) return {};
    } else {
        return {};
    }
    return QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
        .arg(QString::fromLatin1(w->metaObject()->className()), text)
        .arg(need.width())
        .arg(need.height())
        .arg(r.width())
        .arg(r.height());
}

// What a person finds wrong in what `dialog` (or any window) shows now: clipped texts, and two controls
// on one Alt key.
QStringList faults(QWidget* dialog) {
    QStringList found;
    QMap<QString, QString> mnemonics;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(dialog)) continue;
        const QString c = clipping(w);
        if (!c.isEmpty()) found << c;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w); label != nullptr && label->buddy() != nullptr) text = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
        const QString key = QKeySequence::mnemonic(text).toString();
        if (key.isEmpty()) continue;
        if (mnemonics.contains(key)) {
            found << QStringLiteral("%1 on \"%2\" and \"%3\"").arg(key, mnemonics.value(key), text);
        }
        mnemonics.insert(key, text);
    }
    return found;
}

class InterfaceTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        m_font = QApplication::font();
        useInterfaceFont();
    }
    void TearDown() override {
        FrameTest::TearDown();
        QApplication::setFont(m_font);
    }
    QFont m_font;
};

// Every dialog of a fixed size, each page of a paged one, in Verdana 8 points or its stand-in: whole
// texts, and one control per Alt key.
TEST_F(InterfaceTest, FixedSizeDialogsShowWholeTextsAndDistinctMnemonics) {
    const QFontInfo font(QApplication::font());
    EXPECT_EQ(font.pointSize(), 8);
    EXPECT_TRUE(font.family() == QStringLiteral("Verdana") || font.family() == QStringLiteral("DejaVu Sans"))
        << "the interface font's stand-in (fonts-dejavu-core) is missing: " << font.family().toStdString();

    startFrame();
    QStringList walked;
    for (QDialog* dialog : m_frame->findChildren<QDialog*>()) {
        dialog->show();
        QApplication::processEvents();
        if (dialog->minimumSize() == dialog->maximumSize()) {
            const QString name = QString::fromLatin1(dialog->metaObject()->className());
            walked << name;
            const auto stacks = dialog->findChildren<QStackedWidget*>();
            QStringList clipped = faults(dialog);
            for (QStackedWidget* stack : stacks) {
                const int shown = stack->currentIndex();
                for (int page = 0; page < stack->count(); ++page) {
                    stack->setCurrentIndex(page);
                    QApplication::processEvents();
                    for (const QString& c : faults(dialog)) {
                        if (!clipped.contains(c)) clipped << QStringLiteral("page %1: ").arg(page) + c;
                    }
                }
                stack->setCurrentIndex(shown);
            }
            EXPECT_TRUE(clipped.isEmpty()) << name.toStdString() << ":\n"
                                           << clipped.join(QLatin1Char('\n')).toStdString();
        }
        dialog->hide();
    }
    for (const char* expected :
         {"kmr::gui::OptionsDialog", "kmr::gui::ConflictsDialog", "kmr::gui::MenuEditorDialog", "kmr::gui::ValueDialog",
          "kmr::gui::CommandBuilderDialog", "kmr::gui::NewProjectWizard"}) {
        EXPECT_TRUE(walked.contains(QLatin1String(expected))) << expected << " is not a fixed-size dialog";
    }
}

// What is cut by the edge of a project window: the disc bar's controls and the list (its header and a
// row at least; more rows scroll). A window past the client area's edge must be reached by scroll bars.
QStringList cutOff(ProjectWindow* child, const QMdiArea* area) {
    QStringList found;
    for (QWidget* w : child->discBar()->findChildren<QWidget*>()) {
        if (w->isVisibleTo(child) && !child->rect().contains(QRect(w->mapTo(child, QPoint()), w->size())))
            found << w->objectName() + QStringLiteral(" is cut");
    }
    const ObjectListView* list = child->listView();
    if (list->geometry().bottom() > child->rect().bottom() ||
        list->height() < list->header()->height() + list->rowHeight())
        found << QStringLiteral("the list is cut");
    const bool scrolls = area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible();
    if (!area->viewport()->rect().contains(child->parentWidget()->geometry()) && !scrolls)
        found << QStringLiteral("the window overflows a client area without scroll bars");
    return found;
}

// Project windows maximised at the frame's smallest size and tiled in the designed and in a wide frame:
// every caption, button, arrow and placeholder whole; cascaded windows past the edge can be scrolled to.
TEST_F(InterfaceTest, ProjectWindowsShowWholeTextsAtEverySize) {
    MainWindow& f = startFrame();
    auto* area = f.findChild<QMdiArea*>(QStringLiteral("ClientArea"));
    QList<ProjectWindow*> children;
    for (int i = 1; i <= 3; ++i) children << newProject(exampleProject(), QStringLiteral("Sin nombre %1").arg(i));
    const QString folder = QStringLiteral("/home/usuario/Documentos/Proyectos de discos/Instalador de 2026/disco");
    children[1]->discBar()->folderEdit()->setText(folder);
    EXPECT_TRUE(children[1]->discBar()->folderEdit()->toolTip().contains(folder));
    const struct {
        QSize frame;
        const char* arrange;  // a command of "Ventanas", or none to maximise the active window
    } cases[] = {{{500, 300}, nullptr},
                 {{626, 532}, "MosaicoVertical1"},
                 {{626, 532}, "MosaicoHorizontal1"},
                 {{1280, 900}, "MosaicoVertical1"},
                 {{500, 300}, "MosaicoVertical1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frame.width() << " " << (c.arrange ? c.arrange : "maximised"));
        f.resize(c.frame);
        QApplication::processEvents();
        c.arrange == nullptr ? area->activeSubWindow()->showMaximized() : action(c.arrange)->trigger();
        QApplication::processEvents();
        for (ProjectWindow* child : children) {
            if (c.arrange == nullptr && child->parentWidget() != area->activeSubWindow()) continue;
            const QStringList found = faults(child) + cutOff(child, area);
            EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
        }
        area->activeSubWindow()->showNormal();
    }
    f.resize(500, 300);
    action("Cascada1")->trigger();
    for (QMdiSubWindow* w : area->subWindowList()) w->resize(420, 260);
    QApplication::processEvents();
    EXPECT_TRUE(area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible());
}

// "Arranque" and "Ver" side by side: one top, one height, their check boxes line by line.
TEST_F(InterfaceTest, OptionsGroupsStandAligned) {
    startFrame();
    QDialog* options = m_frame->findChild<QDialog*>(QStringLiteral("TForm5"));
    ASSERT_NE(options, nullptr);
    options->show();
    QApplication::processEvents();
    QMap<QString, QGroupBox*> groups;
    for (QGroupBox* g : options->findChildren<QGroupBox*>()) groups.insert(g->title(), g);
    QGroupBox* start = groups.value(QStringLiteral("Arranque"));
    QGroupBox* view = groups.value(QStringLiteral("Ver"));
    ASSERT_TRUE(start != nullptr && view != nullptr);
    EXPECT_EQ(start->geometry().top(), view->geometry().top());
    EXPECT_EQ(start->geometry().height(), view->geometry().height());
    const auto startBoxes = start->findChildren<QCheckBox*>();
    const auto viewBoxes = view->findChildren<QCheckBox*>();
    ASSERT_EQ(startBoxes.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(startBoxes[i]->mapTo(options, QPoint()).y(), viewBoxes[i]->mapTo(options, QPoint()).y()) << i;
    }
    options->hide();
}

}  // namespace
}  // namespace kmr::gui::test
