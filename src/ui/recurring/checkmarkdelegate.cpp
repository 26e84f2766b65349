#include "ui/recurring/checkmarkdelegate.h"

#include <QPainter>
#include <QPainterPath>

namespace Dayloom {

CheckMarkDelegate::CheckMarkDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QPixmap CheckMarkDelegate::CheckMark(const QColor &colour)
{
    QPixmap mark(MarkSize, MarkSize);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(3, 8.5);
    tick.lineTo(6.5, 12);
    tick.lineTo(13, 4);
    painter.drawPath(tick);
    return mark;
}

void CheckMarkDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    const bool focused = option.state.testFlag(QStyle::State_HasFocus);
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QRect row = option.rect;

    // The palette's text colour, not black: on a dark desktop the base
    // colour is dark too.
    const QColor text = focused ? QColor(Qt::white) : option.palette.color(QPalette::Text);
    painter->save();
    painter->fillRect(row, focused ? QColor(Qt::black) : option.palette.color(QPalette::Base));
    if (selected) {
        const QPoint at(row.left(), row.top() + (row.height() - MarkSize) / 2);
        painter->drawPixmap(at, CheckMark(text));
    }
    painter->setFont(option.font);
    painter->setPen(text);
    const QRect textRect = row.adjusted(MarkSize + TextGap, 0, 0, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize CheckMarkDelegate::sizeHint(const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    const QSize natural = QStyledItemDelegate::sizeHint(option, index);
    return {natural.width() + MarkSize + TextGap, RowHeight};
}

} // namespace Dayloom
