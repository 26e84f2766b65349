#include "core/app/zoomsteps.h"

#include <QFileInfo>

#include <cmath>

namespace Dayloom {

float ZoomFromPercent(int percent)
{
    if (percent < 30)
        return 0.201f;
    if (percent < 40)
        return 0.301f;
    if (percent < 50)
        return 0.401f;
    if (percent < 60)
        return 0.501f;
    if (percent < 70)
        return 0.601f;
    if (percent < 80)
        return 0.701f;
    if (percent < 90)
        return 0.801f;
    if (percent < 100)
        return 0.901f;
    return 1.001f;
}

int PercentFromZoom(float zoom)
{
    if (zoom < 0.3f)
        return 20;
    if (zoom < 0.4f)
        return 30;
    if (zoom < 0.5f)
        return 40;
    if (zoom < 0.6f)
        return 50;
    if (zoom < 0.7f)
        return 60;
    if (zoom < 0.8f)
        return 70;
    if (zoom < 0.9f)
        return 80;
    if (zoom < 1.0f)
        return 90;
    return 100;
}

bool CanZoomIn(float zoom)
{
    return zoom <= 0.95f;
}

bool CanZoomOut(float zoom)
{
    return zoom > 0.6f;
}

QString MainWindowCaption(const QString &filePath, float zoom)
{
    QString caption = QStringLiteral("Dayloom");
    if (!filePath.isEmpty())
        caption += QStringLiteral("  [") + QFileInfo(filePath).fileName() + QLatin1Char(']');
    const long percent = std::lround(static_cast<double>(zoom) * 100.0);
    return caption + QStringLiteral("    [") + QString::number(percent) + QStringLiteral("%]");
}

} // namespace Dayloom
