#pragma once
// Why a file cannot be written: the reason as a short text in the user's
// language, for error boxes whose own text names the file or folder.
#include <QString>

namespace WriteCheck {

// Tests what writing `file` needs: the file itself when it exists, then a
// trial file of `bytes` bytes in its folder (or in the nearest existing folder
// above it, when the folder is missing), removed again. Returns the reason
// that failed, or an empty text when all of it worked.
QString whyNotWritable(const QString& file, qint64 bytes);

// The same for a file whose folder must be there already (a file to be
// created now, not a data folder the program makes): a missing folder, or
// something other than a folder where it should be, is the reason too.
QString whyNotCreatable(const QString& file, qint64 bytes);

// A system error number (errno) as such a reason.
QString reasonFor(int err);

} // namespace WriteCheck
