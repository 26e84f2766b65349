#pragma once

#include <QProxyStyle>

namespace Dayloom {

// The application's style with the program's hint timing: a tool tip shows
// after the mouse rests 1200 ms on a control.
class HintDelayStyle : public QProxyStyle
{
    Q_OBJECT

public:
    static constexpr int WakeUpDelayMs = 1200;

    // Wraps a fresh instance of the style `key` names.
    explicit HintDelayStyle(const QString &key);

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr,
                  const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

    // Puts the style on the application unless the delay is already in force.
    static void Install();
};

} // namespace Dayloom
