#include "common/clsCursor.h"

#include <QCursor>
#include <QVariant>
#include <QWidget>

namespace {
constexpr int kDefault = 0;
constexpr int kHourglass = 11;
constexpr const char* kPointerProperty = "lexuvantMousePointer";

int g_screenMousePointer = kDefault;

// A window keeps its pointer value beside its Qt cursor, so the value read back
// is the one that was set (Qt's cursor shapes do not map one to one).
void setPointer(QWidget* frm, int pointer)
{
    if (!frm)
        return;
    frm->setProperty(kPointerProperty, pointer);
    switch (pointer) {
    case kDefault:
        frm->unsetCursor();
        break;
    case kHourglass:
        frm->setCursor(Qt::WaitCursor);
        break;
    case 1:
        frm->setCursor(Qt::ArrowCursor);
        break;
    case 2:
        frm->setCursor(Qt::CrossCursor);
        break;
    case 3:
        frm->setCursor(Qt::IBeamCursor);
        break;
    case 12:
        frm->setCursor(Qt::ForbiddenCursor);
        break;
    case 13:
        frm->setCursor(Qt::BusyCursor);
        break;
    case 99:
        frm->setCursor(Qt::PointingHandCursor);
        break;
    default:
        frm->unsetCursor();
        break;
    }
}
} // namespace

void clsCursor::SetCursorToBusy(QWidget* frm)
{
    SavedMousePointer = g_screenMousePointer;
    setPointer(frm, kHourglass);
}

void clsCursor::RestoreCursor(QWidget* frm) { setPointer(frm, SavedMousePointer); }

void clsCursor::setScreenMousePointer(int pointer) { g_screenMousePointer = pointer; }

int clsCursor::mousePointer(const QWidget* frm)
{
    if (!frm)
        return kDefault;
    const QVariant v = frm->property(kPointerProperty);
    return v.isValid() ? v.toInt() : kDefault;
}
