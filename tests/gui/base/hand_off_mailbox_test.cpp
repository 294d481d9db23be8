#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "base/hand_off_mailbox.h"
#include "base/settings_store.h"

namespace kmr::gui {
namespace {

const QString kKey = QStringLiteral("Software\\Brenlowe\\KMR");

// A store that runs `step` once, just before its `at`-th call that touches the mailbox: what
// another process does at that moment, between two steps of this one.
class InterleavedStore : public SettingsStore {
public:
    InterleavedStore(SettingsStore& store, int at, std::function<void()> step)
        : m_store(store), m_at(at), m_step(std::move(step)) {}

    bool keyExists(SettingsRoot root, const QString& key) override { return m_store.keyExists(root, key); }
    void createKey(SettingsRoot root, const QString& key) override { m_store.createKey(root, key); }
    bool deleteKey(SettingsRoot root, const QString& key) override { return m_store.deleteKey(root, key); }
    bool valueExists(SettingsRoot root, const QString& key, const QString& name) override {
        touch();
        return m_store.valueExists(root, key, name);
    }
    std::optional<QString> readText(SettingsRoot root, const QString& key, const QString& name) override {
        touch();
        return m_store.readText(root, key, name);
    }
    std::optional<qint32> readInt(SettingsRoot root, const QString& key, const QString& name) override {
        touch();
        return m_store.readInt(root, key, name);
    }
    void writeText(SettingsRoot root, const QString& key, const QString& name, const QString& value) override {
        touch();
        m_store.writeText(root, key, name, value);
    }
    void writeInt(SettingsRoot root, const QString& key, const QString& name, qint32 value) override {
        touch();
        m_store.writeInt(root, key, name, value);
    }
    std::optional<QString> updateText(SettingsRoot root, const QString& key, const QString& name,
                                      const std::function<QString(const QString&)>& change) override {
        touch();
        return m_store.updateText(root, key, name, change);
    }
    // After the last call: the step runs now if it did not run in between.
    void finish() {
        if (m_step) std::exchange(m_step, nullptr)();
    }

private:
    void touch() {
        if (m_calls++ == m_at) finish();
    }
    SettingsStore& m_store;
    int m_calls = 0;
    int m_at;
    std::function<void()> m_step;
};

// A running instance takes the path while the start that offered it reaches the end of its wait
// and takes it back: whichever comes first at any point between the steps of the take, the path
// is opened exactly once, by one of the two.
TEST(HandOffMailboxTest, APathIsTakenByExactlyOneOfTheRunningInstanceAndItsStart) {
    const QString path = QStringLiteral("/discos/uno.kmr");
    for (int at = 0; at < 4; ++at) {
        SCOPED_TRACE(at);
        QTemporaryDir dir;
        IniSettingsStore running(dir.path());
        IniSettingsStore starting(dir.path());
        const HandOffMailbox start(SettingsKey(starting, SettingsRoot::Machine, kKey));
        ASSERT_TRUE(start.offer(path));
        bool startTookItBack = false;
        InterleavedStore interleaved(running, at, [&] { startTookItBack = !start.withdraw(path); });
        const QString taken = HandOffMailbox(SettingsKey(interleaved, SettingsRoot::Machine, kKey)).take();
        interleaved.finish();
        EXPECT_EQ(int(taken == path) + int(startTookItBack), 1)
            << "taken by the running instance: " << taken.toStdString();
        EXPECT_TRUE(taken.isEmpty() || taken == path);
        EXPECT_EQ(starting.readText(SettingsRoot::Machine, kKey, QStringLiteral("Archivo")), QString());
    }
}

// Two starts beside one running instance: the second path waits until the first was taken, never
// replacing it; a start sees its path gone only when it was taken.
TEST(HandOffMailboxTest, APathWaitsForTheOneBeforeItAndIsNeverReplaced) {
    QTemporaryDir dir;
    IniSettingsStore a(dir.path());
    IniSettingsStore b(dir.path());
    IniSettingsStore c(dir.path());
    const HandOffMailbox running(SettingsKey(a, SettingsRoot::Machine, kKey));
    const HandOffMailbox first(SettingsKey(b, SettingsRoot::Machine, kKey));
    const HandOffMailbox second(SettingsKey(c, SettingsRoot::Machine, kKey));
    const QString uno = QStringLiteral("/discos/uno.kmr");
    const QString dos = QStringLiteral("/discos/dos.kmr");

    EXPECT_EQ(running.take(), QString()) << "an empty mailbox gives nothing";
    ASSERT_TRUE(first.offer(uno));
    EXPECT_FALSE(second.offer(dos)) << "the first path still waits";
    EXPECT_FALSE(first.taken(uno));
    EXPECT_EQ(running.take(), uno);
    EXPECT_TRUE(first.taken(uno));
    ASSERT_TRUE(second.offer(dos));
    EXPECT_TRUE(first.taken(uno)) << "another path in the mailbox is not the first one";
    EXPECT_TRUE(first.withdraw(uno)) << "taken: the first start ends";
    EXPECT_EQ(running.take(), dos) << "the first start's end left the second path alone";
    EXPECT_EQ(running.take(), QString());

    // A start alone throws away only the path that waited before it took the lock.
    ASSERT_TRUE(second.offer(dos));
    first.discard(uno);
    EXPECT_EQ(running.take(), dos);
    ASSERT_TRUE(second.offer(dos));
    first.discard(dos);
    EXPECT_EQ(running.take(), QString());
}

}  // namespace
}  // namespace kmr::gui
