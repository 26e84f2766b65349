#pragma once

#include <QStyledItemDelegate>

namespace Dayloom {

// Draws a row of a multiple-selection recurring-date list: the focused row
// white on black, every other row in the palette's text colour on its base
// colour (black on white unless the desktop is dark), and a 16 x 16 check
// mark at the left edge of each selected row, in the row's text colour. The
// text starts after the check mark's width plus 5 pixels. Rows are 16 pixels
// high.
class CheckMarkDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int MarkSize = 16;
    static constexpr int RowHeight = 16;
    static constexpr int TextGap = 5;

    explicit CheckMarkDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace Dayloom
