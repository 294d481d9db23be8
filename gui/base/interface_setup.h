#pragma once
// The program's language and font, set once before any window is made.

class QTranslator;

namespace kmr::gui {

// Loads Qt's own Spanish texts (file dialogs, context menus, standard buttons) from Qt's translation
// folder into `translator` and installs it; false when the translation is not installed.
bool installQtSpanish(QTranslator& translator);

// The interface font, Verdana at 8 points. Where Verdana is missing, DejaVu Sans, of nearly the
// same widths, stands in for it, so the fixed-size dialogs keep the sizes they were laid out for.
void useInterfaceFont();

}  // namespace kmr::gui
