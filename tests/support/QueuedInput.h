#pragma once
// A click as the user makes it while the program is busy: it waits in the
// window system's queue and reaches the widget only when the program next
// takes user input, not from event processing that leaves input out.
class QWidget;

namespace QueuedInput {
// Queues a left click (press and release) on the middle of a visible widget.
void click(QWidget& widget);
} // namespace QueuedInput
