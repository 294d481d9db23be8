#pragma once
// What the tests of the new-project wizard share: template files written into a folder, and the
// wizard's controls by name.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

#include "project/project.h"

class QWidget;

namespace kmr::gui::test {

// A version-2.3 template as a template file holds it: Windows-1252, CR LF.
struct TemplateFile {
    QString name;
    int picture = 0;
    QString explanation;
    QString program;
    QString icon;
    QString label;
    QString resource = QStringLiteral("0");
    int defaultMenu = 0;
    std::vector<kmr::WizardMenu> menus;  // text, command, internal name; the kind is ignored
};

QByteArray templateBytes(const TemplateFile& t);
void writeTemplate(const QString& path, const TemplateFile& t);

// An installer disc: setup program, icon, label and two menus, the second the default.
TemplateFile installerTemplate();

// The wizard's menu list as "text|command|name|kind" rows.
QStringList menuRows(const std::vector<kmr::WizardMenu>& menus);

// The wizard data's menus, built from plain rows for comparisons.
kmr::WizardMenu wizardMenu(const char* text, const char* command, const char* name, bool isDefault = false);

}  // namespace kmr::gui::test
