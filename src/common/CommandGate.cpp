#include "common/CommandGate.h"

namespace CommandGate {
namespace {
bool g_busy = false;
}

bool busy() { return g_busy; }

detail::Hold::Hold() { g_busy = true; }
detail::Hold::~Hold() { g_busy = false; }

} // namespace CommandGate
