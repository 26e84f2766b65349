#include "core/recurring/datedentry.h"

#include <QLocale>
#include <QUuid>

namespace Dayloom {

QString DatedEntry::textFor(QDate start) const
{
    QString text = description;
    text.replace(QStringLiteral("{years}"), QString::number(rule.yearsAt(start)));
    if (rule.startTime.isValid())
        text.prepend(QLocale().toString(rule.startTime, QLocale::ShortFormat) + u' ');
    return text;
}

QString DatedEntry::newUid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral("@dayloom");
}

} // namespace Dayloom
