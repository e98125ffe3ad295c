#pragma once
// The program's windows, each created on first use ("loaded") and then kept,
// the way the windows reach each other (Form1, Liste, Form2, Progress, ...).
class Form1;
class Liste;
class Form2;
class Progress;
class frmSplash;
class Trainer;

namespace Forms {

Form1& form1();
Liste& liste();
Form2& form2();
Progress& progress();
Trainer& trainer();

bool isLoaded(const void* window);
bool form2Loaded();
bool progressLoaded();
bool listeLoaded();
bool trainerLoaded();

// The splash window while it exists, else nullptr.
frmSplash* splash();
void setSplash(frmSplash* splash);

// Reports a start-up stage on the splash (bar value, optional status text);
// does nothing once the splash has closed.
void splashProgress(double value, const char* english = nullptr, const char* german = nullptr);

// Deletes every window (tests start each case from scratch).
void unloadAll();

} // namespace Forms
