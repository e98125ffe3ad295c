#pragma once
// A hash of a text's UTF-16 units for the engine's lookup tables: Qt's own
// string hash is a slow keyed one on this platform, and these tables are
// looked up a few times for every dynaset the list build opens.
#include <QString>
#include <cstddef>
#include <functional>
#include <string_view>

struct TextHash {
    size_t operator()(const QString& s) const noexcept
    {
        return std::hash<std::u16string_view>{}(std::u16string_view(reinterpret_cast<const char16_t*>(s.constData()),
                                                                    size_t(s.size())));
    }
};

// Lower case as QString::toLower gives it, written into `out` (whose buffer
// is kept): ASCII without a call into Qt, anything else through toLower.
inline void appendLower(QString& out, QStringView s)
{
    for (QChar c : s) {
        if (c.unicode() >= 128) {
            out.append(s.toString().toLower()); // rare: names outside ASCII
            return;
        }
    }
    const qsizetype at = out.size();
    out.resize(at + s.size());
    QChar* p = out.data() + at;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        *p++ = QChar(u >= 'A' && u <= 'Z' ? char16_t(u + 32) : u);
    }
}
