#include "help/web_links.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

#include "base/prompts.h"
#include "help/about_box.h"

namespace kmr::gui {

UrlOpener desktopUrlOpener() {
    return [](const QString& address) { QDesktopServices::openUrl(QUrl(address)); };
}

QString webPageAddress(kmr::web::WebPage page) { return QString::fromStdString(kmr::web::webAddress(page)); }

QString updateQuestion() {
    return QStringLiteral("Actualmente dispone de la ") + kAboutVersion.toLower() +
           QStringLiteral(". Pulse \"Aceptar\" para ejecutar la web de descarga.");
}

WebLinks::WebLinks(Prompts& prompts, UrlOpener opener) : m_prompts(prompts), m_opener(std::move(opener)) {}

void WebLinks::open(kmr::web::WebPage page) const { m_opener(webPageAddress(page)); }

void WebLinks::update(const QString& siteAddress) const {
    const Answer a = m_prompts.message(updateQuestion(), QStringLiteral("Confirmación"), MessageIcon::Question,
                                       MessageButtons::OkCancel);
    if (a == Answer::Cancel) return;
    // Handing an empty address to the desktop would at best do nothing and at worst open a file manager.
    if (siteAddress.isEmpty()) return;
    m_opener(siteAddress);
}

}  // namespace kmr::gui
