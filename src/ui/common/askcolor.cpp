#include "ui/common/askcolor.h"

#include <QColorDialog>

namespace Dayloom {

std::optional<TColor> AskColor(QWidget *parent, TColor color, const QString &title)
{
    const QColor chosen = title.isEmpty() ? QColorDialog::getColor(ToQColor(color), parent)
                                          : QColorDialog::getColor(ToQColor(color), parent, title);
    if (!chosen.isValid())
        return std::nullopt;
    return FromQColor(chosen);
}

} // namespace Dayloom
