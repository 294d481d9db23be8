#include "web/web_addresses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wizards/command_builder.h"

namespace {

using kmr::web::WebPage;

std::string hostOf(const std::string& address) {
    const auto start = address.find("://");
    if (start == std::string::npos) return {};
    const auto end = address.find('/', start + 3);
    return address.substr(start + 3, end == std::string::npos ? std::string::npos : end - start - 3);
}

// No address may lead anywhere but to the reserved example domain.
TEST(WebAddresses, EveryHostIsOnTheReservedExampleDomain) {
    std::vector<std::string> addresses;
    for (int p = 0; p <= static_cast<int>(WebPage::Contact); ++p) {
        addresses.push_back(kmr::web::webAddress(static_cast<WebPage>(p)));
    }
    for (const auto& site : kmr::web::kUpdateSites) {
        addresses.emplace_back(site.address);
        EXPECT_TRUE(site.host.ends_with(".example")) << site.host;
    }
    addresses.emplace_back(kmr::internetTexts(false).address);
    for (const auto& a : addresses) {
        const std::string host = hostOf(a);
        EXPECT_TRUE(host.ends_with(".example")) << a;
    }
    // The first update site is the maker's, the command builder's default address its root.
    EXPECT_EQ(hostOf(std::string(kmr::web::kUpdateSites[0].address)), kmr::web::kMakerHost);
    EXPECT_EQ(kmr::internetTexts(false).address, kmr::web::kMakerSite);
}

}  // namespace
