#pragma once

#include "core/common/tcolor.h"

#include <QString>

#include <optional>

class QWidget;

namespace Dayloom {

// Asks for a colour with the platform's colour dialog, starting from
// `color`; nothing when the user cancels.
std::optional<TColor> AskColor(QWidget *parent, TColor color, const QString &title = QString());

} // namespace Dayloom
