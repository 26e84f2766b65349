#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace Dayloom {

// A caption plate that looks like a bevelled panel: a raised (or lowered)
// edge of BevelWidth pixels round a face in Color with the caption aligned
// inside. It takes no focus and holds no other widgets. Each setter stores
// its value and repaints.
class TGraphicPanel : public QWidget
{
    Q_OBJECT

public:
    enum TBevelCut
    {
        bvNone,
        bvLowered,
        bvRaised
    };

    explicit TGraphicPanel(QWidget *parent = nullptr);

    Qt::Alignment Alignment() const { return m_alignment; }
    void SetAlignment(Qt::Alignment alignment);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut cut);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    // A one-pixel black frame outside the bevels.
    bool BorderStyle() const { return m_border; }
    void SetBorderStyle(bool single);
    const QColor &Color() const { return m_color; }
    void SetColor(const QColor &color);
    bool Locked() const { return m_locked; }
    void SetLocked(bool locked) { m_locked = locked; }
    const QString &Caption() const { return m_caption; }
    void SetCaption(const QString &caption);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Qt::Alignment m_alignment = Qt::AlignCenter;
    TBevelCut m_bevelInner = bvNone;
    TBevelCut m_bevelOuter = bvRaised;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    bool m_border = false;
    QColor m_color;
    bool m_locked = false;
    QString m_caption;
};

} // namespace Dayloom
