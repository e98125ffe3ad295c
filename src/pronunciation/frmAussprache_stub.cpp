#include "pronunciation/frmAussprache.h"

void showPronunciationGuide() {}
