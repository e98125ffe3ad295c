#pragma once
// The error score of an entry, 1 (best) to 6 (worst), as the file stores it
// and as the list shows it.
#include <QString>
#include <QVariant>
#include <optional>

// The score's text in the list: "6" for a Null (an entry never scored), else
// the number's decimal text; nothing for a value that is no whole number
// (a text such as "abc", 2.5, a blob).
std::optional<QString> ScoreText(const QVariant& stored);

// Whether `text` is one of the scores "1" .. "6", exactly.
bool IsScoreText(const QString& text);

// The score after one answer (delta -1 right, +1 wrong, 0 neither), from the
// score stored: a score whose text is "1" .. "6" moves one step within 1..6;
// any other value gives 1.
int SteppedScore(const QVariant& stored, int delta);
