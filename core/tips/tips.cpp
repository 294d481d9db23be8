#include "tips/tips.h"

#include <chrono>
#include <random>
#include <utility>

#include "project/project.h"

namespace kmr {

const std::array<Tip, kTipRows>& tipTable() {
    using C = TipCondition;
    using A = TipAction;
    static const std::array<Tip, kTipRows> table = {{
        {"Actualice Brenlowe KMR desde el sitio web de Brenlowe Pexilon.", C::Always, A::Update},
        {"Para empezar a trabajar utilice el asistente de KMR para recopilación de datos.", C::NoWindow, A::NewProject},
        {"Encuentre toda la ayuda en línea sobre KMR desde Brenlowe Pexilon.", C::Always, A::OnlineManual},
        {"Recuerde que Brenlowe KMR es una aplicación MDI, puede trabajar con varios proyectos a la vez.",
         C::FewerThanTwoWindows, A::None},
        {"¿Sabe que con KMR puede añadir un texto al icono del CD-ROM? ¡Pulse aquí!", C::WindowWithoutLabel,
         A::InsertLabel},
        {"¿No le parece útil el Asistente ide@? Puede desactivarlo en opciones.", C::Always, A::Options},
        {"Configure algunos aspectos de KMR en opciones.", C::Always, A::Options},
        {"Si no desea ver la pantalla de bienvenida al arrancar la aplicación desactívelo en opciones.", C::WelcomeOn,
         A::Options},
        {"¿Sabe que con KMR puede extraer los datos de un fichero autorun.inf compilado? Utilice la función "
         "importar.",
         C::Always, A::Import},
        {"Cuando su proyecto esté listo debe convertirlo en fichero autorun.inf y copiarlo al directorio raíz de su "
         "CD grabable.",
         C::WindowNotEmpty, A::Compile},
        {"Si desea que su autorun ejecute un programa o un fichero pulse sobre \"añadir programa\".",
         C::WindowWithoutRun, A::InsertRunEntry},
        {"Si no se aclara con el programa y la ayuda no resuelve sus dudas puede enviarme un e-mail enviándome su "
         "cuestión. Si puedo, le ayudaré con mucho gusto ;)",
         C::Always, A::Contact},
        {"¿Conoce Drevanto? Es un programa de Brenlowe que puede ayudarle a crear compilaciones y probar sus ficheros "
         "\"autorun.inf\". Descárguelo desde Brenlowe Pexilon.",
         C::Always, A::OtherProduct},
        {"Brenlowe tiene una amplia gama de programas gratuitos. Descárguelos desde Brenlowe Pexilon.", C::Always,
         A::OtherPrograms},
        {"Próximamente Brenlowe creará un complemento de KMR para crear programas-menú autoejecutables fácilmente. "
         "Consulte Brenlowe Pexilon.",
         C::Always, A::FutureProjects},
        {"Brenlowe Quillmere es un programa freeware gratuito... De un usuario para todos los usuarios ;)", C::Always,
         A::About},
        {"Contribuya a mejorar el programa. Envíeme cualquier cosa (sugerencias, errores, críticas constructivas...) "
         "a mi dirección de correo electrónico.",
         C::Always, A::Contact},
        {"KMR está preparado para crear menús contextuales para su unidad de CD-ROM. Pulse aquí para añadir uno.",
         C::WindowOpen, A::InsertMenu},
        {"Siempre es interesante que la unidad de CD muestre un icono representativo del contenido del disco. KMR "
         "está preparado para añadirlo.",
         C::WindowWithoutIcon, A::InsertIcon},
        {"Todo lo relacionado con el software e internet (descargas, recursos web, programación, etc.) lo encontrará "
         "en Wendrik software gratuito.",
         C::Always, A::SisterSite},
        {"Brenlowe Pexilon es la página web de Brenlowe. Aquí encontrará toda la información útil, como descargas, "
         "ayuda, etc. sobre mis programas.",
         C::Always, A::MakerSite},
        {"Brenlowe Quillmere es freeware... Bueno, mejor dicho Ombrelux... Si le ha sido útil el programa puede "
         "tener un detallito con el autor xD. Contacte via e-mail.",
         C::Always, A::Contact},
        {"¿Sabe que KMR tiene una completa ayuda en línea? Las principales dudas de los usuarios se actualizan en "
         "Brenlowe Pexilon.",
         C::Always, A::OnlineManual},
        {"Para cerrar inicio rápido hasta que vuelva a ejecutar el programa pulse sobre la x del extremo superior "
         "derecho del cuadro.",
         C::QuickStartShown, A::Options},
        {"Puede evitar que se ejecute el asistente de inicio desactivándolo en las opciones del programa.",
         C::QuickStartShown, A::HideQuickStart},
    }};
    return table;
}

TipContext tipContext(int projectWindows, const Project* active, bool welcomeOn, bool quickStartShown) {
    TipContext c;
    c.projectWindows = projectWindows;
    c.welcomeOn = welcomeOn;
    c.quickStartShown = quickStartShown;
    if (active != nullptr) {
        c.objectCount = active->size();
        c.hasRunEntry = active->contains(Kind::RunEntry);
        c.hasIcon = active->contains(Kind::Icon);
        c.hasLabel = active->contains(Kind::Label);
    }
    return c;
}

TipVerdict judgeTip(int index, const TipContext& context) {
    if (index < 0 || index >= kTipRows) return TipVerdict::Redraw;
    const bool open = context.projectWindows > 0;
    const auto allowIf = [](bool condition) { return condition ? TipVerdict::Show : TipVerdict::Redraw; };
    switch (tipTable()[static_cast<std::size_t>(index)].condition) {
        case TipCondition::Always: return TipVerdict::Show;
        case TipCondition::NoWindow: return allowIf(!open);
        case TipCondition::FewerThanTwoWindows: return allowIf(context.projectWindows < 2);
        case TipCondition::WindowOpen: return allowIf(open);
        case TipCondition::WindowWithoutRun: return allowIf(open && !context.hasRunEntry);
        case TipCondition::WindowWithoutIcon: return allowIf(open && !context.hasIcon);
        case TipCondition::WindowWithoutLabel: return allowIf(open && !context.hasLabel);
        case TipCondition::WindowNotEmpty:
            if (!open) return TipVerdict::Redraw;
            return context.objectCount == 0 ? TipVerdict::KeepCurrent : TipVerdict::Show;
        case TipCondition::WelcomeOn: return allowIf(context.welcomeOn);
        case TipCondition::QuickStartShown: return allowIf(context.quickStartShown);
    }
    return TipVerdict::Redraw;
}

TipSource clockSeededTipSource(std::function<std::uint64_t()> clock) {
    if (!clock) {
        clock = [] {
            return static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
        };
    }
    return [clock = std::move(clock), calls = std::uint64_t{0}]() mutable {
        const std::uint64_t now = clock();
        ++calls;
        std::seed_seq seed{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32),
                           static_cast<std::uint32_t>(calls)};
        std::mt19937 engine(seed);
        return std::uniform_int_distribution<int>(0, kDrawnTips - 1)(engine);
    };
}

std::optional<int> drawTip(const TipContext& context, const TipSource& source) {
    int last = 0;
    for (int draw = 0; draw < kMaxDraws; ++draw) {
        last = source();
        // Only tips 0 to 23 take part, whatever the source hands back.
        if (last < 0 || last >= kDrawnTips) continue;
        switch (judgeTip(last, context)) {
            case TipVerdict::Show: return last;
            case TipVerdict::KeepCurrent: return std::nullopt;
            case TipVerdict::Redraw: break;
        }
    }
    // Tip 0 is always useful, so this walk ends within one round.
    const int start = last >= 0 && last < kDrawnTips ? last : 0;
    for (int step = 1; step <= kDrawnTips; ++step) {
        const int index = (start + step) % kDrawnTips;
        if (judgeTip(index, context) == TipVerdict::Show) return index;
    }
    return 0;
}

}  // namespace kmr
