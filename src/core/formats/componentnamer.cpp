#include "core/formats/componentnamer.h"

namespace Dayloom {

namespace {
QString Candidate(int number)
{
    return QStringLiteral("component") + QString::number(number);
}
} // namespace

ComponentNamer::ComponentNamer(const QStringList &namesInUse)
{
    m_used.reserve(namesInUse.size());
    for (const QString &name : namesInUse)
        m_used.insert(name.toLower());
}

QString ComponentNamer::next(const QString &storedName)
{
    while (m_lowestFree <= MaxNumber && m_used.contains(Candidate(m_lowestFree)))
        ++m_lowestFree;
    if (m_lowestFree > MaxNumber)
        return storedName;
    const QString name = QStringLiteral("Component") + QString::number(m_lowestFree);
    m_used.insert(name.toLower());
    ++m_lowestFree;
    return name;
}

QString NextComponentName(const QStringList &namesInUse, const QString &storedName)
{
    return ComponentNamer(namesInUse).next(storedName);
}

} // namespace Dayloom
