#include "base/hand_off_mailbox.h"

namespace kmr::gui {

namespace {

const QString kMailbox = QStringLiteral("Archivo");

}  // namespace

QString HandOffMailbox::waiting() const { return m_key.readText(kMailbox); }

QString HandOffMailbox::take() const {
    // The poll reads first: only a waiting path is worth the locked read and write of the file.
    if (m_key.readText(kMailbox).isEmpty()) return {};
    return m_key.updateText(kMailbox, [](const QString&) { return QString(); }).value_or(QString());
}

bool HandOffMailbox::offer(const QString& path) const {
    const auto before = m_key.updateText(kMailbox, [&](const QString& now) { return now.isEmpty() ? path : now; });
    return before && before->isEmpty();
}

bool HandOffMailbox::taken(const QString& path) const { return m_key.readText(kMailbox) != path; }

bool HandOffMailbox::withdraw(const QString& path) const {
    const auto before = m_key.updateText(kMailbox, [&](const QString& now) { return now == path ? QString() : now; });
    // When the mailbox cannot be read, nobody could have taken the path either.
    return before && *before != path;
}

void HandOffMailbox::discard(const QString& left) const {
    if (left.isEmpty()) return;
    m_key.updateText(kMailbox, [&](const QString& now) { return now == left ? QString() : now; });
}

void HandOffMailbox::create() const {
    if (!m_key.valueExists(kMailbox)) m_key.updateText(kMailbox, [](const QString& now) { return now; });
}

}  // namespace kmr::gui
