// The object list model: every edit gives the same list as the core's rules on a plain project, keeps
// the model consistent for its views, and announces the rows it touched and nothing more.

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/image_list.h"
#include "editing/menu_editor_dialog.h"
#include "editing/object_rules.h"
#include "project/object_list_model.h"
#include "support/failing_allocations.h"

namespace kmr::gui::test {
namespace {

using kmr::makeIcon;
using kmr::makeLabel;
using kmr::makeMenu;
using kmr::makeProgram;
using kmr::makeResource;

const ImageList& images() {
    static const ImageList list;
    return list;
}

// One edit, made on the model and, by the core's own operations, on a plain project.
struct Edit {
    const char* name;
    std::function<void(ObjectListModel&)> onModel;
    std::function<void(kmr::Project&)> onProject;
    // What a view hears: rows inserted, rows removed, rows changed.
    int inserted;
    int removed;
    int changed;
};

std::vector<Edit> edits() {
    const auto insert = [](kmr::ProjectObject o) -> Edit {
        return {"", [o](ObjectListModel& m) { m.insert(o); }, [o](kmr::Project& p) { p.insert(o); }, 1, 0, 0};
    };
    const auto named = [](const char* name, Edit e) {
        e.name = name;
        return e;
    };
    return {
        named("a menu is appended", insert(makeMenu("A", "a.exe", "a"))),
        named("a label into a list of menus goes first", insert(makeLabel("MiCD"))),
        named("an icon goes before the label", insert(makeIcon("d.ico"))),
        named("a run entry goes to the top", insert(makeProgram("setup.exe"))),
        named("a default menu is appended", insert(makeMenu("B", "b.exe", "b", true))),
        named("another menu", insert(makeMenu("C", "c.exe", "c"))),
        {"the plain menu C becomes the only default", [](ObjectListModel& m) { m.toggleDefault(5); },
         [](kmr::Project& p) { p.toggleDefault(5); }, 0, 0, 2},
        {"the default menu C becomes plain, its caption kept", [](ObjectListModel& m) { m.toggleDefault(5); },
         [](kmr::Project& p) { p.toggleDefault(5); }, 0, 0, 1},
        {"toggling a label changes nothing", [](ObjectListModel& m) { EXPECT_FALSE(m.toggleDefault(2)); },
         [](kmr::Project&) {}, 0, 0, 0},
        {"two menus exchange places", [](ObjectListModel& m) { m.swap(4, 5); }, [](kmr::Project& p) { p.moveUp(5); }, 0,
         0, 2},
        {"a menu is replaced, now a default one",
         [](ObjectListModel& m) { m.replace(4, makeMenu("D", "d.exe", "d", true)); },
         [](kmr::Project& p) { p.objects[4] = makeMenu("D", "d.exe", "d", true); }, 0, 0, 1},
        {"every default becomes plain", [](ObjectListModel& m) { m.clearDefaults(); },
         [](kmr::Project& p) { p.clearDefaults(); }, 0, 0, 1},
        {"the run entry is replaced by a resource", [](ObjectListModel& m) { m.replace(0, makeResource("a.html")); },
         [](kmr::Project& p) { p.objects[0] = makeResource("a.html"); }, 0, 0, 1},
        {"the icon is removed", [](ObjectListModel& m) { m.remove(1); },
         [](kmr::Project& p) { p.objects.erase(p.objects.begin() + 1); }, 0, 1, 0},
        {"a second default menu, then the first menu removed",
         [](ObjectListModel& m) {
             m.toggleDefault(4);
             m.remove(2);
         },
         [](kmr::Project& p) {
             p.toggleDefault(4);
             p.objects.erase(p.objects.begin() + 2);
         },
         0, 1, 1},
        {"the default menu, now fourth, becomes plain", [](ObjectListModel& m) { m.toggleDefault(3); },
         [](kmr::Project& p) { p.toggleDefault(3); }, 0, 0, 1},
        {"removing past the end changes nothing", [](ObjectListModel& m) { m.remove(99); }, [](kmr::Project&) {}, 0, 0,
         0},
    };
}

TEST(ObjectListModelTest, EditsFollowTheCoresRulesAndAnnounceOnlyTheRowsTheyTouch) {
    ObjectListModel model(images());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
    kmr::Project expected;
    for (const Edit& e : edits()) {
        SCOPED_TRACE(e.name);
        inserted.clear();
        removed.clear();
        changed.clear();
        e.onModel(model);
        e.onProject(expected);
        ASSERT_EQ(model.project(), expected);
        EXPECT_EQ(inserted.size(), e.inserted);
        EXPECT_EQ(removed.size(), e.removed);
        EXPECT_EQ(changed.size(), e.changed);
        for (const QList<QVariant>& args : changed) {
            EXPECT_EQ(args.at(0).toModelIndex(), args.at(1).toModelIndex()) << "one row at a time";
        }
        for (int row = 0; row < model.rowCount(); ++row) {
            const kmr::ProjectObject& o = expected.objects[static_cast<std::size_t>(row)];
            EXPECT_EQ(model.index(row).data().toString(),
                      QString::fromUtf8(o.caption().data(), static_cast<qsizetype>(o.caption().size())));
            EXPECT_EQ(model.index(row).data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage(),
                      images().pixmap(static_cast<int>(o.kind)).toImage());
        }
    }
    EXPECT_EQ(reset.size(), 0);
    EXPECT_EQ(layout.size(), 0);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Comandos"));
}

// What the model keeps instead of looking at the list: counts by kind, the last object of a kind,
// the menus' internal names. After any sequence of edits each answers what the list itself says.
TEST(ObjectListModelTest, WhatItKeepsAgreesWithTheListAfterEveryEdit) {
    ObjectListModel model(images());
    // Two run entries and two default menus, as a version-2 file and an autorun file can give.
    model.setProject(kmr::Project{{makeProgram("a.exe"), makeResource("b.html"), makeLabel("L"),
                                   makeMenu("M1", "m1.exe", "m1", true), makeMenu("M2", "m2.exe", "m2"),
                                   makeMenu("M3", "m3.exe", "m3", true)}});
    const auto check = [&model] {
        const kmr::Project& p = model.project();
        for (const kmr::Kind k :
             {kmr::Kind::RunEntry, kmr::Kind::Icon, kmr::Kind::Label, kmr::Kind::PlainMenu, kmr::Kind::DefaultMenu}) {
            EXPECT_EQ(model.count(k), p.count(k)) << static_cast<int>(k);
            kmr::ObjectBuffer buffer;
            buffer.kind = k;
            if (kmr::pasteReplaces(k)) {
                EXPECT_EQ(model.lastOf(k), kmr::pasteReplacementTarget(p, buffer));
            }
        }
        const QStringList names = menuInternalNames(p);
        for (const char* name : {"m1", "m2", "m3", "m4", "nuevo", "M1"}) {
            EXPECT_EQ(model.hasMenuName(name), names.contains(QString::fromUtf8(name))) << name;
        }
    };
    check();
    model.remove(0);
    check();
    model.insert(makeIcon("i.ico"));
    model.insert(makeMenu("M4", "m4.exe", "m4"));
    check();
    model.replace(5, makeMenu("Nuevo", "n.exe", "nuevo", true));
    check();
    model.clearDefaults();
    check();
    model.toggleDefault(3);
    model.swap(3, 4);
    check();
    model.remove(4);
    check();
    EXPECT_EQ(model.project().count(kmr::Kind::DefaultMenu), 0u) << "the default menu was the one removed";
}

// The changes of its shape a model announces: each that begins must end.
struct Announcements {
    explicit Announcements(const ObjectListModel& m)
        : insertBegun(&m, &QAbstractItemModel::rowsAboutToBeInserted),
          inserted(&m, &QAbstractItemModel::rowsInserted),
          removeBegun(&m, &QAbstractItemModel::rowsAboutToBeRemoved),
          removed(&m, &QAbstractItemModel::rowsRemoved),
          resetBegun(&m, &QAbstractItemModel::modelAboutToBeReset),
          reset(&m, &QAbstractItemModel::modelReset) {}
    bool balanced() const {
        return insertBegun.size() == inserted.size() && removeBegun.size() == removed.size() &&
               resetBegun.size() == reset.size();
    }
    QSignalSpy insertBegun, inserted, removeBegun, removed, resetBegun, reset;
};

// An edit that runs out of memory part-way leaves the list as it was: the same objects, the views told
// of nothing half done, and what the model keeps still true, so the edit made again gives what it gives
// on a plain project.
TEST(ObjectListModelTest, AnEditThatRunsOutOfMemoryLeavesTheListAsItWas) {
    if (!kmr::test::allocationFailuresWork()) GTEST_SKIP() << "AddressSanitizer owns operator new";
    const kmr::Project start{{makeProgram("a.exe"), makeLabel("L"), makeMenu("M1", "m1.exe", "m1", true),
                              makeMenu("M2", "m2.exe", "m2"), makeMenu("M3", "m3.exe", "m3")}};
    struct Case {
        const char* name;
        std::function<void(ObjectListModel&)> edit;
    };
    const std::vector<Case> cases = {
        {"insert a menu", [](ObjectListModel& m) { m.insert(makeMenu("N", "n.exe", "n")); }},
        {"insert a default menu", [](ObjectListModel& m) { m.insert(makeMenu("N", "n.exe", "n", true)); }},
        {"insert an icon", [](ObjectListModel& m) { m.insert(makeIcon("i.ico")); }},
        {"replace a menu by a default one", [](ObjectListModel& m) { m.replace(3, makeMenu("N", "n", "n", true)); }},
        {"make a plain menu the default", [](ObjectListModel& m) { m.toggleDefault(4); }},
        {"remove the default menu", [](ObjectListModel& m) { m.remove(2); }},
        {"a whole new project", [&start](ObjectListModel& m) { m.setProject(kmr::Project{{start.objects[3]}}); }},
    };
    std::size_t failures = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectListModel expected(images());
        expected.setProject(start);
        c.edit(expected);

        ObjectListModel model(images());
        std::unique_ptr<Announcements> heard;
        const auto prepare = [&] {
            model.setProject(start);
            EXPECT_TRUE(model.hasMenuName("m1"));  // the names are kept from here on
            heard = std::make_unique<Announcements>(model);
        };
        prepare();
        kmr::test::failEachAllocationInTurn(
            [&] { c.edit(model); },
            [&](bool failed) {
                EXPECT_TRUE(heard->balanced());
                if (failed) {
                    ++failures;
                    ASSERT_EQ(model.project(), start);
                    c.edit(model);
                }
                EXPECT_EQ(model.project(), expected.project());
                for (const char* name : {"m1", "m2", "m3", "n"}) {
                    EXPECT_EQ(model.hasMenuName(name), expected.hasMenuName(name));
                }
                for (const kmr::Kind k :
                     {kmr::Kind::RunEntry, kmr::Kind::Icon, kmr::Kind::PlainMenu, kmr::Kind::DefaultMenu}) {
                    EXPECT_EQ(model.count(k), model.project().count(k));
                }
                prepare();
            });
    }
    EXPECT_GT(failures, cases.size()) << "the edits allocate";
}

}  // namespace
}  // namespace kmr::gui::test
