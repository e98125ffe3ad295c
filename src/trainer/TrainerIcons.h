#pragma once
// The trainer's small pictures (18 x 18), drawn in code.
#include <QIcon>

namespace TrainerIcons {

enum Navigation { ToBeginning, OneBack, OneForward, ToEnd, Step };

// Picture of toolbar button 1..9 (none for the separators 4 and 7).
QIcon toolbar(int index);
QIcon navigation(Navigation which);

} // namespace TrainerIcons
