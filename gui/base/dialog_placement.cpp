#include "base/dialog_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kmr::gui {

void centreOnOwner(QWidget* dialog) {
    const QWidget* owner = dialog->parentWidget() != nullptr ? dialog->parentWidget()->window() : nullptr;
    const bool ownerShown = owner != nullptr && owner->isVisible() && !owner->isMinimized();
    const QScreen* screen = ownerShown ? owner->screen() : dialog->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : QRect();
    QRect placed(QPoint(), dialog->size());
    placed.moveCenter(ownerShown ? owner->geometry().center() : room.center());
    if (room.isValid()) {
        // The title bar is what moves a window: it stays on the screen, the rest as far as it fits.
        placed.moveLeft(std::max(room.left(), std::min(placed.left(), room.right() + 1 - placed.width())));
        const int titleBar = dialog->geometry().top() - dialog->frameGeometry().top();
        placed.moveTop(std::max(room.top() + titleBar, std::min(placed.top(), room.bottom() + 1 - placed.height())));
    }
    dialog->setGeometry(placed);
}

void startOn(QWidget* first) { first->setFocus(Qt::OtherFocusReason); }

}  // namespace kmr::gui
