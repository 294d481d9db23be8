#include "help/web_links.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

#include "base/prompts.h"
#include "help/about_box.h"

namespace kmr::gui {

QString noBrowserMessage(const QString& address) {
    return QStringLiteral("No se ha encontrado ningún navegador con el que abrir la dirección\n\n") + address +
           QStringLiteral("\n\nPuede copiarla desde aquí y abrirla en el navegador que prefiera.");
}

UrlOpener desktopUrlOpener(Prompts& prompts, UrlHandler handler) {
    if (!handler) handler = [](const QString& address) { return QDesktopServices::openUrl(QUrl(address)); };
    return [&prompts, handler = std::move(handler)](const QString& address) {
        if (handler(address)) return;
        prompts.message(noBrowserMessage(address), QStringLiteral("Atención"), MessageIcon::Warning,
                        MessageButtons::Ok);
    };
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
