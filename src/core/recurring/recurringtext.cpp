#include "core/recurring/recurringtext.h"

#include <cstdlib>

namespace Dayloom {

QString PadField(const QString &text, int width)
{
    width = qMax(0, width);
    QString field = text.left(width);
    if (field.size() == width && width > 0 && field.back().isHighSurrogate())
        field.chop(1);
    return field.leftJustified(width, QLatin1Char(' '));
}

QStringView TrimBlanks(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 0x20)
        ++first;
    while (last > first && text[last - 1].unicode() <= 0x20)
        --last;
    return text.sliced(first, last - first);
}

QString TrimBlanks(const QString &text)
{
    return TrimBlanks(QStringView(text)).toString();
}

QString OrdinalText(int n)
{
    // Two characters per last digit 0-9.
    static constexpr char Suffixes[] = "thstndrdthththththth";
    const long magnitude = std::labs(static_cast<long>(n));
    const long lastTwo = magnitude % 100;
    QString text = QString::number(n);
    if (lastTwo >= 11 && lastTwo <= 19)
        return text + QLatin1String("th");
    return text + QLatin1String(Suffixes + 2 * (magnitude % 10), 2);
}

} // namespace Dayloom
