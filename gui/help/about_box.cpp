#include "help/about_box.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <utility>

#include "base/pictures.h"
#include "help/banner.h"

namespace kmr::gui {

namespace {

// A link that looks like one: blue, underlined, with the hand pointer.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, std::function<void()> onClick, QWidget* parent)
        : QLabel(text, parent), m_onClick(std::move(onClick)) {
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
        QPalette pal = palette();
        pal.setColor(QPalette::WindowText, Qt::blue);
        setPalette(pal);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        m_onClick();
    }

private:
    std::function<void()> m_onClick;
};

QLabel* line(const QString& text, const char* name, QWidget* parent, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(96, y, 480, 16);
    return label;
}

}  // namespace

AboutBox::AboutBox(UrlOpener opener, QWidget* parent) : QDialog(parent), m_opener(std::move(opener)) {
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("Acerca de..."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(QFont(QStringLiteral("Verdana"), 8));
    setFixedSize(595, 323);

    // The banner is 600 pixels wide, five more than the box: its right edge is cut off, as designed.
    auto* banner = new Banner(this);
    banner->move(0, 0);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(programIcon());
    icon->setGeometry(16, 145, 64, 64);

    line(kAboutVersion, "Version", this, 145);
    line(QStringLiteral("Programa freeware"), "Freeware", this, 165);
    line(QStringLiteral("Programado para Windows 9x/Me/xp"), "Plataforma", this, 185);
    line(QStringLiteral("Prepara el autorun.inf que arranca sus CD al insertarlos."), "Descripcion", this, 205);
    auto* contact = new LinkLabel(
        QStringLiteral("Contactar con el autor"), [this] { openContactPage(); }, this);
    contact->setObjectName(QStringLiteral("Contactar"));
    contact->setGeometry(96, 229, 200, 16);

    auto* rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("Bevel1"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(8, 260, 579, 4);

    auto* ok = new QPushButton(QStringLiteral("Aceptar"), this);
    ok->setObjectName(QStringLiteral("Aceptar"));
    ok->setDefault(true);
    ok->setGeometry(260, 280, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::showEvent(QShowEvent* event) {
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}

void AboutBox::openContactPage() { m_opener(webPageAddress(kmr::web::WebPage::Contact)); }

}  // namespace kmr::gui
