#include "trainer/Trainer.h"

Trainer::Trainer(QWidget* parent) : QMainWindow(parent) {}
Trainer::~Trainer() = default;

void Trainer::Command6_Click() {}
int Trainer::returnSequenz(int) { return 0; }
void Trainer::RowPositionToUI() {}
void Trainer::OptionsToUI() {}
void Trainer::InitStatusBar() {}
bool Trainer::PositioniereRecord(const QString&) { return false; }
void Trainer::ChangeErrorCount(int) {}
