#pragma once
// Small text procedures shared by several windows: the expression format,
// trimming, cutting, the date display, one-digit numbers and friends.
#include <QString>

#include <functional>

class QWidget;

QString generiereAusdruck(const QString& s1, const QString& s2, const QString& s3, const QString& s4);
QString extract(const QString& str);                // blanks (only character 32) removed at both ends
int MyStoI(const QString& str);                     // one digit -> 0..9, anything else 0
bool IsBuchstabe(const QString& str);               // one ASCII letter
int CheckForInternalCharacters(const QString& str); // position of the first '@' or ';' (message shown), 0 = none
int TextualStrComp(const QString& str1, const QString& str2);

// Module Utils.
QString FormatDBDate(const QString& text); // "yyyymmdd" -> "dd.mm.yy", any other text unchanged
// Cut to at most n UTF-16 units; a character outside the basic plane
// (a surrogate pair, such as an emoji) is kept whole or left out, never halved.
QString CutToLength(const QString& text, int n);
// The length of the longest start of text of at most n units that does not end
// inside a surrogate pair.
qsizetype WholeCharacterLength(const QString& text, qsizetype n);
// Shortens text with "..." until it fits width (twips), measured with window's
// font: the longest start of whole characters that fits with "...", at least
// the first character (which may still be too wide). The cut is found by
// halving, which takes widths to grow with the text; where a font's do not
// (mixed scripts shaped with fallback fonts) the start fits but may not be the longest.
QString FitTextToWidth(const QString& text, int width, const QWidget* window);
// The same with the widths given by `measure`.
QString FitTextToWidth(const QString& text, int width, const std::function<int(const QString&)>& measure);
// Width of text in twips, in window's current font (the window's TextWidth).
int TextWidthTwips(const QString& text, const QWidget* window);
