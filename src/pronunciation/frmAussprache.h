#pragma once
// The pronunciation guide: letter groups of the open database's foreign
// language and how to pronounce them.
#include <QWidget>

// Shows the guide modeless, without an owner; creates it first when needed.
void showPronunciationGuide();
