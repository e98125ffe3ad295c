#include "trainer/frmOptions.h"

void showOptionsWindow(int) {}
