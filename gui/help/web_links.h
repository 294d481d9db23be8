#pragma once
// The update command and the links to the maker's web pages, opened with the platform's default handler.

#include <QString>

#include <functional>

#include "web/web_addresses.h"

namespace kmr::gui {

class Prompts;

// Opens an address; the application hands over the desktop's handler, tests record what would open.
using UrlOpener = std::function<void(const QString& address)>;

// Hands an address to a handler; false when no handler took it (no browser on the system).
using UrlHandler = std::function<bool(const QString& address)>;

// What the user reads when no browser opens `address`: the address itself, to copy by hand.
QString noBrowserMessage(const QString& address);

// Opens an address with `handler`, by default the desktop's (the browser, the mail program). When no
// handler takes it, the user gets the address in a message to copy instead of nothing at all.
UrlOpener desktopUrlOpener(Prompts& prompts, UrlHandler handler = {});

// The address of one of the maker's pages.
QString webPageAddress(kmr::web::WebPage page);

// The update question: the version as the about box shows it, in lower case.
QString updateQuestion();

class WebLinks {
public:
    WebLinks(Prompts& prompts, UrlOpener opener);

    // A web command ("&Manual OnLine", "Visitar &Wendrik"...): opens its page.
    void open(kmr::web::WebPage page) const;
    // The update command: asks before it opens `siteAddress`, the address of the site chosen in the
    // options; Cancel opens nothing, and neither does an empty address (a site selection outside 0 to 4).
    void update(const QString& siteAddress) const;
    const UrlOpener& opener() const { return m_opener; }

private:
    Prompts& m_prompts;
    UrlOpener m_opener;
};

}  // namespace kmr::gui
