#include "base/file_access.h"

#include <QFile>
#include <QSaveFile>

#include "base/prompts.h"

namespace kmr::gui {

std::optional<QByteArray> readWholeFile(Prompts& prompts, const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        showError(prompts, QStringLiteral("No se ha podido leer el fichero \"%1\": %2").arg(path, f.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        showError(prompts, QStringLiteral("No se ha podido leer el fichero \"%1\": %2").arg(path, f.errorString()));
        return std::nullopt;
    }
    return bytes;
}

bool writeWholeFile(Prompts& prompts, const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    // A folder that refuses the temporary file may still hold a writable target.
    f.setDirectWriteFallback(true);
    if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit()) return true;
    f.cancelWriting();
    showError(prompts, QStringLiteral("No se ha podido escribir el fichero \"%1\": %2").arg(path, f.errorString()));
    return false;
}

void showError(Prompts& prompts, const QString& text) {
    prompts.message(text, QStringLiteral("Error"), MessageIcon::Error, MessageButtons::Ok);
}

}  // namespace kmr::gui
