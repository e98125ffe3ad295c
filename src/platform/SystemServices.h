#pragma once
// Things tests must be able to replace: the clock, the random generator and
// ending the process. The program uses the defaults.
#include <QDateTime>
#include <functional>

namespace SystemServices {

// Current local date and time.
QDateTime now();
void setClock(std::function<QDateTime()> clock); // nullptr restores the real clock

// Seeds the random generator from the system timer (Randomize Timer).
void randomize();
// Next single-precision value in [0, 1).
float rnd();
void setRandomSource(std::function<float()> source, std::function<void()> reseed = {}); // nullptr restores

// Ends the process at once, without unload events (End).
[[noreturn]] void endProcess(int code = 0);
// Tests replace it with a function that throws, so the test itself goes on.
void setEndProcess(std::function<void(int)> endFunction);

} // namespace SystemServices
