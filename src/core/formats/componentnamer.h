#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace Dayloom {

// Names objects read from a file or the clipboard "Component" followed by
// the smallest number from 0 to 1000 that no component uses yet (names
// compared ignoring case). When all are taken the stored name stays. Each
// name handed out counts as used from then on.
class ComponentNamer
{
public:
    static constexpr int MaxNumber = 1000;

    explicit ComponentNamer(const QStringList &namesInUse = {});

    QString next(const QString &storedName);

private:
    QSet<QString> m_used; // lower case
    int m_lowestFree = 0; // no smaller number is free: names are only added
};

// One-off form of ComponentNamer::next().
QString NextComponentName(const QStringList &namesInUse, const QString &storedName);

} // namespace Dayloom
