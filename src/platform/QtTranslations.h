#pragma once
// Qt's own texts (printer dialog, help viewer, key names in menus, standard
// buttons) in the language of the program's interface.

namespace QtTranslations {

// Installs Qt's German translations when the interface is German (gSprache
// not "En") and removes them for English. Returns true when German texts are
// installed. The splash's load step calls it once it has set the language.
bool install();

} // namespace QtTranslations
