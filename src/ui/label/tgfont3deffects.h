#pragma once

#include "core/objects/label/tgbaselabel.h"

#include <QDialog>

#include <functional>

class QComboBox;

namespace Dayloom {

class ColorListCombo;
class LabelPreview;

// "Text 3D Effects": the shadow and highlight of a label's text. A sample
// label ("Text", transparent) takes the label's font and effect settings at
// the size of its panel; every list changes the sample at once. OK leaves
// the choice in Preview() for the caller to copy back (CopyTo); Cancel
// changes nothing. Help opens the manual at the 3D effects topic.
class TGFont3DEffects : public QDialog
{
    Q_OBJECT

public:
    static constexpr int HelpTopic = 40008;
    static constexpr int MaxListDepth = 10;

    TGFont3DEffects(const TGBaseLabel &label, QWidget *parent = nullptr,
                    std::function<void(QWidget *, int)> showHelp = {});

    const TGBaseLabel &Preview() const { return m_preview; }
    // The font and the six effect properties of the sample into `label`,
    // then its change event.
    void CopyTo(TGBaseLabel &label) const;

    QComboBox *ShadowDirection() const { return m_shadowDirection; }
    QComboBox *ShadowDepth() const { return m_shadowDepth; }
    ColorListCombo *ShadowColor() const { return m_shadowColor; }
    QComboBox *HighlightDirection() const { return m_highlightDirection; }
    QComboBox *HighlightDepth() const { return m_highlightDepth; }
    ColorListCombo *HighlightColor() const { return m_highlightColor; }
    ColorListCombo *FontColor() const { return m_fontColor; }

    static const QStringList &ShadowDirectionNames();
    static const QStringList &HighlightDirectionNames();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void LoadControls();
    void Changed();

    TGBaseLabel m_preview;
    LabelPreview *m_previewPanel;
    QComboBox *m_shadowDirection;
    QComboBox *m_shadowDepth;
    ColorListCombo *m_shadowColor;
    QComboBox *m_highlightDirection;
    QComboBox *m_highlightDepth;
    ColorListCombo *m_highlightColor;
    ColorListCombo *m_fontColor;
    std::function<void(QWidget *, int)> m_showHelp;
};

} // namespace Dayloom
