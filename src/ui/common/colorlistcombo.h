#pragma once

#include "core/common/tcolor.h"

#include <QComboBox>

#include <functional>
#include <optional>

namespace Dayloom {

// A drop-down list of colours: the sixteen standard colours by name with a
// swatch each, the current colour as "Custom" when it is none of them, and
// "Other..." last, which asks for any colour (the colour dialog unless a
// chooser was set).
class ColorListCombo : public QComboBox
{
    Q_OBJECT

public:
    using Chooser = std::function<std::optional<TColor>(QWidget *parent, TColor current)>;

    explicit ColorListCombo(QWidget *parent = nullptr);

    TColor Color() const { return m_color; }
    // Selects the colour (adding "Custom" for one outside the list); emits
    // colorChanged when it differs.
    void SetColor(TColor color);
    // What "Other..." asks; tests hand in their own.
    void SetChooser(Chooser chooser) { m_chooser = std::move(chooser); }

    // The sixteen standard colours in list order, and their names.
    static const QList<TColor> &StandardColors();
    static const QStringList &StandardNames();

Q_SIGNALS:
    void colorChanged(Dayloom::TColor color);

private:
    void Fill();
    void Activated(int index);

    TColor m_color = clBlack;
    Chooser m_chooser;
    bool m_filling = false;
};

} // namespace Dayloom
