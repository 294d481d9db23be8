#include "base/file_access.h"

#include <QFile>

#include <string_view>

#include "base/prompts.h"
#include "platform/file_read.h"
#include "platform/file_write.h"
#include "project/project_values.h"

namespace kmr::gui {

std::optional<QByteArray> readWholeFile(Prompts& prompts, const QString& path) {
    // The program's own reader, as kmrc's: a file above the input size limit is refused by its size,
    // a stream once that much is read.
    kmr::io::ReadResult r = kmr::io::readFile(QFile::encodeName(path).toStdString());
    if (r.ok() && kmr::io::unfinishedWrite(std::string_view(r.bytes).substr(0, 2)))
        static_cast<kmr::io::IoResult&>(r) = kmr::io::unfinishedFailure(path.toStdString());
    if (!r.ok()) {
        showError(
            prompts,
            QStringLiteral("No se ha podido leer el fichero \"%1\": %2").arg(path, QString::fromStdString(r.reason)));
        return std::nullopt;
    }
    return QByteArray(r.bytes.data(), static_cast<qsizetype>(r.bytes.size()));
}

bool writeWholeFile(Prompts& prompts, const QString& path, const QByteArray& bytes) {
    // The program's own safe write, as kmrc's: a link is followed, a device or a pipe is written where
    // it stands and never replaced by a file, a replaced file keeps its mode and owner, and a folder
    // that refuses the temporary file may still hold a writable target.
    // A file above the input limit, which no reader of the program would open again, is not written.
    const std::string name = QFile::encodeName(path).toStdString();
    const std::string_view content(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    kmr::io::IoResult r = kmr::io::checkOutputSize(name, static_cast<std::uint64_t>(bytes.size()));
    if (r.ok()) r = kmr::io::writeFileAtomic(name, content);
    if (r.status == kmr::io::IoStatus::InPlaceOnly) {
        const Answer answer = prompts.message(
            QStringLiteral("La carpeta de \"%1\" no permite crear ficheros nuevos, así que el fichero solo se puede "
                           "sobrescribir en su sitio. Si la escritura se interrumpe (un corte de luz, el programa "
                           "cerrado a la fuerza), el fichero quedará a medias y no se podrá abrir. ¿Desea "
                           "sobrescribirlo igualmente?")
                .arg(path),
            QStringLiteral("Atención"), MessageIcon::Warning, MessageButtons::YesNo);
        if (answer == Answer::No) return false;
        r = kmr::io::writeFileAtomic(name, content, {.inPlace = true});
    }
    if (r.ok()) return true;
    showError(
        prompts,
        QStringLiteral("No se ha podido escribir el fichero \"%1\": %2").arg(path, QString::fromStdString(r.reason)));
    return false;
}

bool refuseLineBreaks(Prompts& prompts, const kmr::Project& project) {
    const auto refusal = kmr::lineBreakRefusal(project);
    if (!refusal) return false;
    prompts.message(QString::fromStdString(*refusal), QStringLiteral("Atención"), MessageIcon::Warning,
                    MessageButtons::Ok);
    return true;
}

void showError(Prompts& prompts, const QString& text) {
    prompts.message(text, QStringLiteral("Error"), MessageIcon::Error, MessageButtons::Ok);
}

}  // namespace kmr::gui
