#include "base/guarded_application.h"

#include <new>

#include "base/prompts.h"

namespace kmr::gui {

bool runGuarded(Prompts& prompts, const std::function<bool()>& work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        prompts.message(QString::fromUtf16(kOutOfMemoryText), QStringLiteral("Error"), MessageIcon::Error,
                        MessageButtons::Ok);
        return false;
    }
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    if (m_prompts == nullptr) return QApplication::notify(receiver, event);
    return runGuarded(*m_prompts, [&] { return QApplication::notify(receiver, event); });
}

}  // namespace kmr::gui
