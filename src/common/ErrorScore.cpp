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

int SteppedScore(const QVariant& stored, int delta)
{
    const std::optional<QString> text = ScoreText(stored);
    static const QStringList valid = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                      QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")};
    if (!text || !valid.contains(*text))
        return 1;
    return std::clamp(text->toInt() + delta, 1, 6);
}
