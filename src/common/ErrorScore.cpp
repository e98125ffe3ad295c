#include "common/ErrorScore.h"

#include <QMetaType>
#include <algorithm>
#include <cmath>

std::optional<QString> ScoreText(const QVariant& stored)
{
    if (!stored.isValid() || stored.isNull())
        return QStringLiteral("6");
    if (stored.typeId() == QMetaType::QByteArray)
        return std::nullopt;
    if (stored.typeId() == QMetaType::Double) {
        const double d = stored.toDouble();
        if (d != std::trunc(d) || std::abs(d) > 1e15)
            return std::nullopt;
        return QString::number(qint64(d));
    }
    bool ok = false;
    const qint64 value = stored.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return QString::number(value);
}

bool IsScoreText(const QString& text)
{
    return text.size() == 1 && text[0] >= QLatin1Char('1') && text[0] <= QLatin1Char('6');
}

int SteppedScore(const QVariant& stored, int delta)
{
    const std::optional<QString> text = ScoreText(stored);
    if (!text || !IsScoreText(*text))
        return 1;
    return std::clamp(text->toInt() + delta, 1, 6);
}
