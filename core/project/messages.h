#pragma once
// Texts of the questions and messages about project files that both the editor and kmrc show.

#include <string_view>

namespace kmr::msg {

inline constexpr std::string_view kVersionQuestion =
    "El fichero no tiene una versión reconocida o el formato es incorrecto. ¿Desea proceder igualmente?";
inline constexpr std::string_view kVersion1Errors =
    "El fichero contenía errores. Puede no haberse cargado correctamente.";
inline constexpr std::string_view kVersion1Advice =
    "El fichero se ha cargado con éxito, pero se trata de un fichero de una versión anterior. Es recomendable "
    "guardarlo en la versión actual.";
inline constexpr std::string_view kSaved = "El fichero ha sido guardado con éxito.";
inline constexpr std::string_view kOverwriteQuestion = "El fichero ya existe. ¿Desea sobreescribir?";
inline constexpr std::string_view kNotFound = "No se encuentra el fichero.";
// After the name of a value (project_values.h) that holds a line break, which no file can hold.
inline constexpr std::string_view kValueOfLines =
    " ocupa más de una línea: escrito en el fichero, lo que sigue al salto de línea se leería como otra "
    "entrada. Corrija el valor antes de guardar o compilar.";

}  // namespace kmr::msg
