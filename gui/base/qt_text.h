#pragma once
// Conversions between the core's UTF-8 strings and Qt's strings.

#include <QString>

#include <string>
#include <string_view>

namespace kmr::gui {

inline QString qs(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
inline std::string utf8(const QString& s) { return s.toStdString(); }

}  // namespace kmr::gui
