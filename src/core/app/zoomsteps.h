#pragma once

#include <QString>

namespace Dayloom {

// The page's zoom factors are whole percentages plus 0.001 (0.201 ... 1.001)
// so that single-precision arithmetic never lands just below a step.
float ZoomFromPercent(int percent);
int PercentFromZoom(float zoom);
// Zoom in steps by 0.1 while the factor is at most 0.95; zoom out while it
// is above 0.6. Stepping thus moves between 50 % and 100 %.
bool CanZoomIn(float zoom);
bool CanZoomOut(float zoom);

// The main window's caption: "Dayloom", then "  [" file name "]" when a file
// is loaded, then "    [" zoom percent "%]".
QString MainWindowCaption(const QString &filePath, float zoom);

} // namespace Dayloom
