#include "autorun/conflicts.h"

#include "text/text.h"

namespace kmr {
namespace {

constexpr std::array<FindingText, 6> kFindings = {{
    {"Objetos incompatibles",
     kWarningImage,
     {"  Se han encontrado dos objetos incompatibles. No debería colocar un \"menú predeterminado\" cuando tiene un "
      "programa o recurso para ejecutar o biceversa.",
      "  Quite la propiedad de predeterminado del menú predeterminado o elimine el recurso o programa a ejecutar."}},
    {"No hay recurso",
     kInformationImage,
     {"  No existe ningún objeto de recurso o programa autoejecutable.",
      "  Como consecuencia, el CD que albergue este autorun NO autoejecutará ningún programa. Asegúrese de que es lo "
      "que desea."}},
    {"Referencia peligrosa a icono",
     kInformationImage,
     {"  Ha referenciado el icono a una unidad concreta. Eso es peligroso, ya que puede que el icono no se encuentre "
      "en todos los ordenadores en los que se ejecute el CD.",
      "  Siempre es recomendable copiar el fichero de icono al CD compilado y referenciar respecto a la unidad de "
      "CD."}},
    {"Referencia peligrosa a programa o recurso",
     kInformationImage,
     {"  Ha referenciado el programa o recurso a una unidad concreta. Eso es peligroso, ya que puede que el programa "
      "o recurso no se encuentre en todos los ordenadores en los que se ejecute el CD.",
      "  Siempre es recomendable, si es posible, copiar el fichero de programa o recurso al CD compilado y "
      "referenciar respecto a la unidad de CD."}},
    {"Referencia peligrosa a comando de menú",
     kInformationImage,
     {"  Ha referenciado el comando de un menu a una unidad concreta. Eso es peligroso, ya que puede que el comando "
      "de menú no se encuentre en todos los ordenadores en los que se ejecute el CD.",
      "  Siempre es recomendable, si es posible, copiar el fichero de comando de menú al CD compilado y referenciar "
      "respecto a la unidad de CD."}},
    {"Autorun válido solo para Windows XP",
     kInformationImage,
     {"  Es posible que el CD que albergue este autorun sólo funcione bajo Windows XP en la ejecución del recurso.",
      "  Para evitar esto utilice la compatibilidad con Windows 95 (no utilizando \"recurso asociado a "
      "programa\")."}},
}};

// The check compares the caption's first ten characters in lower case, so a caption typed in
// capitals still counts as a resource here.
bool looksLikeResource(const ProjectObject& o) { return text::asciiLower(text::left(o.caption(), 10)) == "ejecutar r"; }

std::string_view firstValue(const ProjectObject& o) { return o.value(0); }

std::string_view commandOf(const ProjectObject& o) { return o.value(1); }

}  // namespace

const FindingText& findingText(Finding finding) { return kFindings.at(static_cast<std::size_t>(finding)); }

std::string explanationOf(Finding finding) {
    const FindingText& f = findingText(finding);
    std::string s(f.explanation[0]);
    s.push_back('\n');
    s.append(f.explanation[1]);
    return s;
}

bool isDriveReference(std::string_view value) {
    if (value.empty()) return false;
    return value.front() == ':' || text::from(value, 1).starts_with(':');
}

std::vector<Finding> checkConflicts(const Project& project) {
    if (project.empty()) return {};  // nothing to compile, so nothing to warn about
    std::array<bool, kFindings.size()> raised{};
    const auto raise = [&raised](Finding f) { raised.at(static_cast<std::size_t>(f)) = true; };
    bool hasRunEntry = false;
    bool hasDefaultMenu = false;
    for (const ProjectObject& o : project.objects) {
        switch (o.kind) {
            case Kind::RunEntry:
                hasRunEntry = true;
                if (isDriveReference(firstValue(o))) raise(Finding::RunDriveReference);
                if (looksLikeResource(o)) raise(Finding::XpOnlyResource);
                break;
            case Kind::Icon:
                if (isDriveReference(firstValue(o))) raise(Finding::IconDriveReference);
                break;
            case Kind::DefaultMenu: hasDefaultMenu = true; [[fallthrough]];
            case Kind::PlainMenu:
                if (isDriveReference(commandOf(o))) raise(Finding::MenuDriveReference);
                break;
            case Kind::Label: break;  // labels take part in no rule
        }
    }
    if (hasRunEntry && hasDefaultMenu) raise(Finding::IncompatibleObjects);
    if (!hasRunEntry && !hasDefaultMenu) raise(Finding::NoResource);

    std::vector<Finding> findings;
    for (std::size_t i = 0; i < raised.size(); ++i) {
        if (raised[i]) findings.push_back(static_cast<Finding>(i));
    }
    return findings;
}

}  // namespace kmr
