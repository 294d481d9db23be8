#pragma once
// Acting on the next modal dialog from inside a test that opened it with exec().

#include <functional>
#include <memory>

class QObject;
class QWidget;

namespace kmr::gui::test {

// Polls for the next modal widget from a zero-interval timer owned by `owner`, runs `action` on it as
// soon as it shows, then closes it if it is still open, also when the action failed or threw, so a
// failing test never hangs. The flag tells whether it ran; deleting the owner drops a poll that found
// no dialog.
std::shared_ptr<bool> actOnNextModal(QObject* owner, std::function<void(QWidget*)> action);

}  // namespace kmr::gui::test
