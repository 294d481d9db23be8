#pragma once
// What the tests of the new-project wizard share: a template file and a look at the menu list.

#include <QByteArray>
#include <QStringList>

#include <vector>

#include "project/project.h"

namespace kmr::gui::test {

// An installer disc as a template file holds it (Windows-1252, CR LF): setup program, icon, label
// and two menus, "Léame" and "Instalar", the second the default.
extern const QByteArray kInstallerTemplate;

// The menus as "text|command|name|kind" rows.
QStringList menuRows(const std::vector<kmr::WizardMenu>& menus);

}  // namespace kmr::gui::test
