#include "ui/icons/ticonlistbox.h"

#include "ui/app/uihelpers.h"

#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include <cmath>

namespace Dayloom {

const QString TIconListBox::IconMimeType = QStringLiteral("application/x-dayloom-icon");

namespace {

// Draws a cell: the list's background, then the icon centred in it.
class IconCellDelegate : public QStyledItemDelegate
{
public:
    explicit IconCellDelegate(TIconListBox *list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const QRect cell = option.rect;
        painter->fillRect(cell, m_list->palette().brush(QPalette::Base));
        const QImage icon = m_list->Icon(index.row());
        if (!icon.isNull()) {
            // Icons are square: the width centres both ways.
            const int side = qRound(icon.deviceIndependentSize().width());
            painter->drawImage(QPoint(cell.left() + (cell.width() - side) / 2,
                                      cell.top() + (cell.height() - side) / 2),
                               icon);
        }
        if (option.state & QStyle::State_Selected) {
            const QColor frame = option.palette.color(
                m_list->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Highlight);
            painter->setPen(QPen(frame, 1));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(cell.adjusted(1, 1, -2, -2));
        }
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return QSize(m_list->ColumnWidth(), m_list->RowHeight());
    }

private:
    TIconListBox *m_list;
};

} // namespace

TIconListBox::TIconListBox(QWidget *parent) : QListWidget(parent)
{
    setItemDelegate(new IconCellDelegate(this));
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setGridSize(QSize(ColumnWidth(), RowHeight()));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(RowHeight());
    setFont(arial);
    setEnabled(!m_autoDisable);
    UpdateSize();
}

TIconListBox::~TIconListBox() = default;

void TIconListBox::SetFileName(const QString &fileName)
{
    if (fileName == m_fileName)
        return;
    m_fileName = fileName;
    Reload();
}

void TIconListBox::SetAutoDisable(bool on)
{
    if (on == m_autoDisable)
        return;
    m_autoDisable = on;
    setEnabled(!m_autoDisable || QFileInfo(m_fileName).isFile());
}

void TIconListBox::SetEnableCaching(bool on)
{
    m_enableCaching = on;
}

void TIconListBox::SetXIcons(int columns)
{
    if (columns < 1 || columns == m_xIcons)
        return;
    m_xIcons = columns;
    UpdateSize();
}

void TIconListBox::SetYIcons(int rows)
{
    if (rows < 1 || rows == m_yIcons)
        return;
    m_yIcons = rows;
    UpdateSize();
}

void TIconListBox::UpdateSize()
{
    // Exactly XIcons whole columns across; the height keeps room for the
    // sideways scroll bar, so the YIcons rows stay whole whether it shows
    // (the list wraps a column only when a row fits with a pixel to spare).
    const int frame = 2 * frameWidth();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setFixedSize(ColumnWidth() * m_xIcons + frame, RowHeight() * m_yIcons + frame + scrollBar + 1);
}

void TIconListBox::ForgetIcons()
{
    m_icons.clear();
    m_extracted = 0;
}

void TIconListBox::Reload()
{
    ForgetIcons();
    clear();
    m_numberOfIcons = -1;
    m_library = IconLibrary();
    const bool exists = QFileInfo(m_fileName).isFile();
    setEnabled(!m_autoDisable || exists);
    if (exists) {
        if (!m_enableCaching)
            ShowBusyCursor();
        // A file that cannot be read holds no icons.
        m_library.Load(m_fileName);
        m_numberOfIcons = m_library.Count();
        m_icons.assign(size_t(m_numberOfIcons), std::nullopt);
        setUpdatesEnabled(false);
        for (int i = 0; i < m_numberOfIcons; ++i) {
            // The text is the index; a screen reader says which icon of how many.
            auto *item = new QListWidgetItem(QString::number(i), this);
            item->setData(Qt::AccessibleTextRole,
                          QStringLiteral("Icon %1 of %2").arg(i + 1).arg(m_numberOfIcons));
        }
        setUpdatesEnabled(true);
        if (!m_enableCaching) {
            for (int i = 0; i < m_numberOfIcons; ++i)
                Icon(i);
        }
        if (count() > 0)
            setCurrentRow(0);
        if (!m_enableCaching)
            RestoreCursor();
    }
    Q_EMIT OnFileChange();
}

int TIconListBox::IconPixels() const
{
    return std::max(SystemIconSize, qRound(SystemIconSize * devicePixelRatioF()));
}

QImage TIconListBox::Icon(int index) const
{
    if (index < 0 || index >= m_numberOfIcons || size_t(index) >= m_icons.size())
        return {};
    const int pixels = IconPixels();
    if (pixels != m_iconPixels) {
        // Moved to a screen of another density: read the icons again.
        for (auto &icon : m_icons)
            icon.reset();
        m_iconPixels = pixels;
    }
    std::optional<QImage> &slot = m_icons[size_t(index)];
    if (!slot) {
        QImage image = m_library.Icon(index, pixels);
        if (!image.isNull())
            image.setDevicePixelRatio(double(pixels) / SystemIconSize);
        ++m_extracted;
        slot = image; // a failure is kept too: that cell stays empty
    }
    return *slot;
}

QImage TIconListBox::SelectedIcon() const
{
    return Icon(currentRow());
}

bool TIconListBox::IsIconDrag(const QMimeData *data)
{
    return data && data->hasFormat(IconMimeType) && data->hasImage();
}

QImage TIconListBox::DraggedIcon(const QMimeData *data)
{
    if (!IsIconDrag(data))
        return {};
    return qvariant_cast<QImage>(data->imageData());
}

QStringList TIconListBox::mimeTypes() const
{
    return {IconMimeType, QStringLiteral("application/x-qt-image")};
}

QMimeData *TIconListBox::mimeData(const QList<QListWidgetItem *> &items) const
{
    if (items.isEmpty())
        return nullptr;
    const int index = row(items.first());
    const QImage icon = Icon(index);
    if (icon.isNull())
        return nullptr;
    auto *data = new QMimeData;
    data->setImageData(icon);
    data->setData(IconMimeType, (QString::number(index) + QLatin1Char('\n') + m_fileName).toUtf8());
    return data;
}

void TIconListBox::startDrag(Qt::DropActions supportedActions)
{
    QListWidgetItem *item = currentItem();
    if (!item || !(supportedActions & Qt::CopyAction))
        return;
    QMimeData *data = mimeData({item});
    if (!data)
        return;
    const QImage icon = DraggedIcon(data);
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(QPixmap::fromImage(icon));
    const QSizeF size = icon.deviceIndependentSize();
    drag->setHotSpot(QPoint(int(size.width() / 2), int(size.height() / 2)));
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void TIconListBox::wheelEvent(QWheelEvent *event)
{
    // The list scrolls sideways: the wheel turns that way too.
    QScrollBar *bar = horizontalScrollBar();
    if (bar && bar->isVisible() && event->angleDelta().x() == 0) {
        const int steps = event->angleDelta().y() / 120;
        bar->setValue(bar->value() - steps * bar->singleStep());
        event->accept();
        return;
    }
    QListWidget::wheelEvent(event);
}

} // namespace Dayloom
