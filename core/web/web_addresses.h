#pragma once
// Every web address the program knows, in one place. The sites are names of our own on the reserved
// ".example" domain, which can never belong to anybody, so no click ever leads a user to a stranger's site.

#include <array>
#include <string>
#include <string_view>

namespace kmr::web {

// The maker's site, its root address without a path; also the command builder's default web address.
inline constexpr std::string_view kMakerHost = "www.brenlowe-pexilon.example";
inline constexpr std::string_view kMakerSite = "http://www.brenlowe-pexilon.example";
// The sister site.
inline constexpr std::string_view kSisterHost = "www.wendrik.example";
inline constexpr std::string_view kSisterSite = "http://www.wendrik.example";

static_assert(kMakerSite.ends_with(kMakerHost) && kSisterSite.ends_with(kSisterHost));

// The pages that the help menu, the about box and the tips open.
enum class WebPage {
    ManualOnLine,    // "&Manual OnLine"
    MakerHome,       // "Visitar Brenlowe &Pexilon"
    SisterHome,      // "Visitar &Wendrik"
    Drevanto,        // "&Drevanto"
    OtherPrograms,   // "&Otros programas de Brenlowe"
    FuturePrograms,  // "Otros &proyectos de Brenlowe"
    Contact,         // "Contactar con el autor"
};

inline std::string webAddress(WebPage page) {
    const auto maker = [](std::string_view path) { return std::string(kMakerSite) + std::string(path); };
    switch (page) {
        case WebPage::ManualOnLine: return maker("/manual/kmr/index.htm");
        case WebPage::MakerHome: return std::string(kMakerSite);
        case WebPage::SisterHome: return std::string(kSisterSite) + "/";
        case WebPage::Drevanto: return maker("/programas/drevanto/index.htm");
        case WebPage::OtherPrograms: return maker("/programas/index.htm");
        case WebPage::FuturePrograms: return maker("/programas/proximos.htm");
        case WebPage::Contact: return maker("/contacto/index.htm");
    }
    return {};
}

// One of the four fixed update sites of the options dialog: its button reads name, " - [", host, "]".
struct UpdateSite {
    std::string_view name;
    std::string_view host;
    std::string_view address;  // the program's page there, which the update command opens
};

inline constexpr std::array<UpdateSite, 4> kUpdateSites = {{
    {"Brenlowe Pexilon", kMakerHost, "http://www.brenlowe-pexilon.example/kmr/index.htm"},
    {"Wendrik software gratuito", kSisterHost, "http://espejo.wendrik-soft.example/wendrik2/descargas/kmr.htm"},
    {"Descargas Tolvera", "www.tolvera-descargas.example", "http://www.tolvera-descargas.example/utilidades/kmr.htm"},
    {"Zarpanet Programas", "programas.zarpanet.example", "http://programas.zarpanet.example/ficha/kmr.htm"},
}};

}  // namespace kmr::web
