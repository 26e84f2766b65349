#include "ui/app/hintdelaystyle.h"

#include <QApplication>

namespace Dayloom {

HintDelayStyle::HintDelayStyle(const QString &key) : QProxyStyle(key) {}

int HintDelayStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                              QStyleHintReturn *returnData) const
{
    if (hint == SH_ToolTip_WakeUpDelay)
        return WakeUpDelayMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void HintDelayStyle::Install()
{
    QStyle *current = QApplication::style();
    if (qobject_cast<HintDelayStyle *>(current))
        return;
    QApplication::setStyle(new HintDelayStyle(current->name()));
}

} // namespace Dayloom
