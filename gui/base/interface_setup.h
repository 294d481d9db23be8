#pragma once
// The program's language and font, set once before any window is made.

#include <QTranslator>

namespace kmr::gui {

// Qt's own Spanish texts. Qt 6 asks for a few of them (the "Carpeta" type of the file dialogs)
// under a context that the Spanish file shipped with Qt does not have yet; those come from here.
class QtSpanishTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
};

// Loads Qt's own Spanish texts (file dialogs, context menus, standard buttons) from Qt's translation
// folder into `translator` and installs it, and makes Spanish the locale of Qt's own texts (file
// types, dates) whatever the system's language; false when the translation is not installed.
bool installQtSpanish(QtSpanishTranslator& translator);

// The interface font, Verdana at 8 points. Where Verdana is missing, DejaVu Sans, of nearly the
// same widths, stands in for it, so the fixed-size dialogs keep the sizes they were laid out for.
void useInterfaceFont();

}  // namespace kmr::gui
