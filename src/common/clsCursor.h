#pragma once
// The busy cursor of long operations (the hourglass while a list is built).
#include <Qt>

class QWidget;

class clsCursor {
public:
    void SetCursorToBusy(QWidget* frm);
    void RestoreCursor(QWidget* frm);

    // The screen's mouse pointer as the windows see it (0 = default, 11 = hourglass).
    static void setScreenMousePointer(int pointer);
    static int mousePointer(const QWidget* frm);

private:
    int SavedMousePointer = 0;
};
