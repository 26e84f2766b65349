#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

namespace Dayloom {

class TGBasePanel;

// A see-through widget laid over a sibling of the design surface (the note
// editor over a day cell) that draws the surface's placed objects where
// they reach into it, in stacking order: an object lying over a day cell
// stays whole while the cell's note is edited, above the note as on paper.
// It takes neither the mouse nor the focus. The objects are drawn once into
// a picture of the covered area, again only when the surface's document
// asks for a repaint, so the editor's caret does not redraw them.
class ObjectOverlay : public QWidget
{
    Q_OBJECT

public:
    // Made hidden, a child of `parent`, which must hold `surface` (directly
    // or further down).
    ObjectOverlay(TGBasePanel *surface, QWidget *parent);

    // Covers `area` (the parent's pixels), on top of its siblings.
    void Cover(const QRect &area);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Forgets the picture and repaints.
    void Refresh();
    QImage DrawObjects() const;

    TGBasePanel *m_surface;
    QImage m_picture;
};

} // namespace Dayloom
