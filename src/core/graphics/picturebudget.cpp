#include "core/graphics/picturebudget.h"

#include "core/graphics/picturelimits.h"

#include <algorithm>

namespace Dayloom {

namespace {

thread_local const PictureBudget::Scope *t_innermost = nullptr;

QString Mebibytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024 * 1024), 'f', bytes < 1024 * 1024 ? 2 : 0);
}

} // namespace

PictureBudget::PictureBudget(qint64 bytes) : m_limit(std::max<qint64>(0, bytes)) {}

PictureBudget::Scope::Scope(PictureBudget &budget) : m_budget(budget), m_outer(t_innermost)
{
    t_innermost = this;
}

PictureBudget::Scope::~Scope()
{
    t_innermost = m_outer;
}

bool PictureBudget::ClaimPixels(qint64 width, qint64 height, QString *error)
{
    QString reason;
    if (!CheckPictureSize(width, height, &reason)) {
        Refuse(reason);
        if (error)
            *error = reason;
        return false;
    }
    return Claim(width * height * 4,
                 QStringLiteral("the picture's size %1 x %2").arg(width).arg(height), error);
}

bool PictureBudget::ClaimBytes(qint64 bytes, QString *error)
{
    return Claim(std::max<qint64>(0, bytes), QStringLiteral("the picture's data"), error);
}

qint64 PictureBudget::Available()
{
    qint64 least = -1;
    for (const Scope *s = t_innermost; s; s = s->m_outer)
        least = least < 0 ? s->m_budget.Left() : std::min(least, s->m_budget.Left());
    return least;
}

void PictureBudget::Refuse(const QString &reason)
{
    for (const Scope *s = t_innermost; s; s = s->m_outer) {
        PictureBudget &budget = s->m_budget;
        if (budget.m_refusals++ == 0)
            budget.m_firstRefusal = reason;
    }
}

bool PictureBudget::Claim(qint64 bytes, const QString &what, QString *error)
{
    const qint64 available = Available();
    if (available >= 0 && bytes > available) {
        const QString reason = QStringLiteral("%1 needs %2 MiB, more than the %3 MiB left for "
                                              "pictures")
                                   .arg(what, Mebibytes(bytes), Mebibytes(available));
        Refuse(reason);
        if (error)
            *error = reason;
        return false;
    }
    for (const Scope *s = t_innermost; s; s = s->m_outer)
        s->m_budget.m_spent += bytes;
    return true;
}

} // namespace Dayloom
