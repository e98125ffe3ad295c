#pragma once
// The options window of the trainer: order, language order and test options
// (first and second tab), equal-character pairs and list columns.
#include <QDialog>

// Shows the options window modal with tab `tabIndex` (1-based) selected;
// creates it first when needed. Used by the trainer's menus.
void showOptionsWindow(int tabIndex);
