#include "disc/windows_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace kmr::disc {
namespace {

// Each topic answers once for every version and drive: a gap would leave the preview without an
// answer, an overlap would let the order of the table decide.
TEST(WindowsRules, EachTopicHasExactlyOneRuleForEveryVersionAndDrive) {
    for (int t = 0; t < kTopicCount; ++t) {
        for (const WindowsVersion v : kWindowsVersions) {
            for (const DriveType d : kDriveTypes) {
                int rules = 0;
                for (const Rule& r : windowsRules()) rules += r.topic == Topic(t) && appliesTo(r, v, d) ? 1 : 0;
                EXPECT_EQ(rules, 1) << topicName(Topic(t)) << ", " << versionName(v) << ", " << driveName(d);
            }
        }
    }
}

// A rule that applies somewhere cites a page the help lists, and says something; the pages have
// distinct keys, and a known address is one of Microsoft's.
TEST(WindowsRules, EveryRuleThatAppliesCitesAListedPage) {
    std::set<std::string_view> keys;
    for (const SourceInfo& s : ruleSources()) {
        EXPECT_TRUE(keys.insert(s.key).second) << s.key;
        EXPECT_TRUE(s.address.empty() || s.address.find("microsoft.com/") != std::string_view::npos) << s.key;
    }
    for (const Rule& r : windowsRules()) {
        if (r.effect == Effect::DoesNotApply) continue;
        EXPECT_NE(r.source, Source::None) << r.text;
        EXPECT_EQ(keys.count(sourceInfo(r.source).key), 1u) << r.text;
        EXPECT_FALSE(r.text.empty()) << topicName(r.topic);
        EXPECT_NE(r.also, r.source) << r.text;
    }
}

TEST(WindowsRules, NamesAndKeysGoBothWays) {
    const std::pair<WindowsVersion, std::string_view> versions[] = {
        {WindowsVersion::Xp, "xp"}, {WindowsVersion::Vista7, "7"}, {WindowsVersion::Win8to11, "10"}};
    for (const auto& [v, key] : versions) {
        EXPECT_EQ(versionKey(v), key);
        EXPECT_EQ(versionFromKey(key), v);
    }
    const std::pair<DriveType, std::string_view> drives[] = {
        {DriveType::CdDvd, "cd"}, {DriveType::Removable, "usb"}, {DriveType::Fixed, "usb-disk"}};
    for (const auto& [d, key] : drives) {
        EXPECT_EQ(driveKey(d), key);
        EXPECT_EQ(driveFromKey(key), d);
    }
    for (const std::string_view wrong : {"", "XP", "8", "dvd", "USB"}) {
        EXPECT_EQ(versionFromKey(wrong), std::nullopt) << wrong;
        EXPECT_EQ(driveFromKey(wrong), std::nullopt) << wrong;
    }
    EXPECT_EQ(driveOf(Medium::Usb), DriveType::Removable);
    EXPECT_EQ(mediumOf(DriveType::Fixed), Medium::Usb);
}

}  // namespace
}  // namespace kmr::disc
