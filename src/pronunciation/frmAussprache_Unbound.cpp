// Procedures of the pronunciation guide that no command uses. Kept, as they
// were, for callers to come.
#include "pronunciation/frmAussprache.h"

bool frmAussprache::GetKeyValue(qint32&, QString&, QString&, QString& keyVal)
{
    // No command uses it, and this platform has no registry: every look-up
    // fails the way a key that cannot be opened does.
    keyVal.clear();
    return false;
}
