#include "ui/recurring/checkmarkdelegate.h"

#include <QPainter>
#include <QPainterPath>

namespace Dayloom {

CheckMarkDelegate::CheckMarkDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

namespace {

// The tick within its 16 x 16 square.
QPainterPath Tick()
{
    QPainterPath tick;
    tick.moveTo(3, 8.5);
    tick.lineTo(6.5, 12);
    tick.lineTo(13, 4);
    return tick;
}

} // namespace

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
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(text, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->drawPath(Tick().translated(at));
        painter->setRenderHint(QPainter::Antialiasing, false);
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
