#include "base/settings_warning.h"

#include <QDir>

#include "base/prompts.h"
#include "base/settings_store.h"

namespace kmr::gui {

QString settingsFailureText(const SettingsFailure& failure) {
    const QString folder = QDir::toNativeSeparators(failure.folder);
    if (failure.readable) {
        return QStringLiteral(
                   "No se pueden guardar las opciones en la carpeta \"%1\" (%2). El programa sigue, pero "
                   "las opciones, los últimos ficheros y el tamaño de la ventana de esta sesión no se "
                   "guardarán.")
            .arg(folder, failure.detail);
    }
    return QStringLiteral(
               "No se pueden leer las opciones de la carpeta \"%1\" (%2). El programa sigue con los valores "
               "predeterminados y no guardará las opciones, los últimos ficheros ni el tamaño de la "
               "ventana.")
        .arg(folder, failure.detail);
}

void SettingsWarning::showOnce(const SettingsStore& store, Prompts& prompts) {
    if (m_shown) return;
    const auto failure = store.failure();
    if (!failure) return;
    m_shown = true;
    prompts.message(settingsFailureText(*failure), QStringLiteral("Atención"), MessageIcon::Warning,
                    MessageButtons::Ok);
}

}  // namespace kmr::gui
