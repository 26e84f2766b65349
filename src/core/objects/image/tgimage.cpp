#include "core/objects/image/tgimage.h"

#include "core/formats/propertylistbuilder.h"
#include "core/print/printengine.h"

#include <QPainter>

namespace Dayloom {

namespace {
constexpr double ScreenPpi = 96.0;

const QString LoadCaption = QStringLiteral("Load Image From Disk");
const QString BorderCaption = QStringLiteral("Border");
const QString StretchCaption = QStringLiteral("Stretch to Fit");
const QString AutoSizeCaption = QStringLiteral("AutoSize");
const QString FlipCaption = QStringLiteral("Flip");
const QString ReverseCaption = QStringLiteral("Reverse");
} // namespace

TGImage::TGImage()
{
    SetBounds(QRect(0, 0, DefaultSize, DefaultSize));
}

const PropertyList &TGImage::PublishedProperties() const
{
    static const PropertyList list =
        PropertyListBuilder<TGImage>(TGGraphicControl::BaseProperties())
            .binary("Picture", &TGImage::PictureData, &TGImage::SetPictureData)
            .boolean("Stretch", &TGImage::Stretch, &TGImage::SetStretch, true,
                     &TGImage::SizingFlagsEqual)
            .boolean("AutoSize", &TGImage::AutoSize, &TGImage::SetAutoSize, false,
                     &TGImage::SizingFlagsEqual)
            .enumeration<TBorderStyle>("BorderStyle", &TGImage::BorderStyle,
                                       &TGImage::SetBorderStyle, {"bsNone", "bsSingle"}, bsNone)
            .boolean("Flip", &TGImage::Flip, &TGImage::SetFlip, false)
            .boolean("Reverse", &TGImage::Reverse, &TGImage::SetReverse, false)
            .build();
    return list;
}

void TGImage::Loaded()
{
    if (m_stretchRead != m_autoSizeRead) {
        if (m_stretchRead)
            m_autoSize = !m_stretch;
        else
            m_stretch = !m_autoSize;
    }
    m_stretchRead = m_autoSizeRead = false;
    // Setters only stored while the record was read; the picture's size
    // applies now that every property is in.
    if (m_autoSize)
        CheckBoundsChanged();
}

// --- picture ------------------------------------------------------------------------------

void TGImage::SetPicture(const Picture &picture)
{
    m_picture = picture;
    m_stored = StoredPicture(picture.GraphicClass(), picture.GraphicFile());
    m_damagedData.clear();
    if (!IsReading())
        PictureChanged();
}

bool TGImage::SetStoredPicture(const StoredPicture &stored, QString *error)
{
    std::optional<Picture> picture =
        Picture::FromGraphicFile(stored.GraphicClass(), stored.FileBytes(), error);
    m_picture = picture ? *picture : Picture();
    m_stored = stored;
    m_damagedData.clear();
    if (!IsReading())
        PictureChanged();
    return picture.has_value();
}

QByteArray TGImage::PictureData() const
{
    if (!m_damagedData.isEmpty())
        return m_damagedData;
    return m_stored.IsEmpty() ? QByteArray() : m_stored.ToPictureData();
}

void TGImage::SetPictureData(const QByteArray &data)
{
    // A picture that cannot be read leaves the object empty, never the
    // whole design unread; its bytes are written back as they came.
    const std::optional<StoredPicture> stored = StoredPicture::FromPictureData(data);
    if (!stored) {
        m_picture = Picture();
        m_stored = StoredPicture();
        m_damagedData = data;
        if (!IsReading())
            PictureChanged();
        return;
    }
    SetStoredPicture(*stored);
}

void TGImage::PictureChanged()
{
    CheckBoundsChanged();
    Repaint();
}

void TGImage::CheckBoundsChanged()
{
    if (m_autoSize && !m_applyingAutoSize) {
        const QSize size = m_picture.Size();
        if (size.width() > 0 && size.height() > 0) {
            m_applyingAutoSize = true;
            SetBounds(QRect(Bounds().topLeft(), size));
            m_applyingAutoSize = false;
        }
    }
    TGGraphicControl::CheckBoundsChanged();
}

bool TGImage::Opaque() const
{
    return m_picture.IsBitmap() && m_picture.Size() == Bounds().size();
}

// --- flags --------------------------------------------------------------------------------

void TGImage::Changed()
{
    if (IsReading())
        return;
    Repaint();
    NotifyChanged();
}

void TGImage::SetStretch(bool stretch)
{
    m_stretch = stretch;
    if (IsReading()) {
        m_stretchRead = true; // AutoSize follows in Loaded() if not read
        return;
    }
    m_autoSize = !stretch;
    Repaint();
}

void TGImage::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (IsReading()) {
        m_autoSizeRead = true;
        return;
    }
    m_stretch = !autoSize;
    PictureChanged();
    NotifyChanged();
}

void TGImage::SetSizing(bool stretch, bool autoSize)
{
    m_stretch = stretch;
    m_autoSize = autoSize;
    if (IsReading())
        return;
    PictureChanged();
    NotifyChanged();
}

void TGImage::SetBorderStyle(TBorderStyle style)
{
    if (style != bsNone && style != bsSingle)
        return;
    if (m_borderStyle == style)
        return;
    m_borderStyle = style;
    Changed();
}

void TGImage::SetFlip(bool flip)
{
    if (m_flip == flip)
        return;
    m_flip = flip;
    Changed();
}

void TGImage::SetReverse(bool reverse)
{
    if (m_reverse == reverse)
        return;
    m_reverse = reverse;
    Changed();
}

// --- drawing ------------------------------------------------------------------------------

QImage TGImage::MirroredImage() const
{
    return m_picture.Image().mirrored(m_reverse, m_flip);
}

void TGImage::PaintContent(QPainter &painter, const QRect &target, float zoom) const
{
    Q_UNUSED(zoom);
    if (target.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // What the picture leaves uncovered shows what lies beneath, as on
    // paper.
    const QRectF frame = QRectF(target).adjusted(0.5, 0.5, -0.5, -0.5);
    QPen pen(Qt::black, 1);
    pen.setCosmetic(true);
    if (Mirrored()) {
        painter.drawImage(QRectF(target), MirroredImage());
    } else if (!m_picture.IsEmpty()) {
        // A metafile is never mirrored, whatever the flags say.
        m_picture.Draw(painter, QRectF(target));
    } else {
        painter.setPen(pen);
        painter.setBrush(Qt::white);
        painter.drawRect(frame);
    }
    if (m_borderStyle == bsSingle) {
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(frame);
    }
    painter.restore();
}

void TGImage::PrintTo(PrintEngine &engine, double xInch, double yInch) const
{
    if (Width() <= 0 || Height() <= 0)
        return;
    const double left = xInch + Left() / ScreenPpi;
    const double top = yInch + Top() / ScreenPpi;
    const double right = xInch + (Left() + Width()) / ScreenPpi;
    const double bottom = yInch + (Top() + Height()) / ScreenPpi;
    const TRect target = engine.DeviceRect(left, top, right, bottom);
    if (m_picture.IsMetafile()) {
        // Stretched as vectors, so paper gets the printer's resolution.
        QPainter &painter = engine.Painter();
        painter.save();
        m_picture.Draw(painter, target.toQRectF());
        painter.restore();
    } else if (!m_picture.IsEmpty()) {
        // Bitmaps go at their own resolution (mirrored first when asked);
        // the printer stretches them into place.
        engine.StretchDraw(Mirrored() ? MirroredImage() : m_picture.Image(), target);
    }
    if (m_borderStyle == bsSingle) {
        engine.SetPen(clBlack, Qt::SolidLine, 1);
        engine.SetBrush(clWhite, PrintEngine::BrushStyle::Clear);
        engine.Rectangle(left, top, right, bottom);
    }
}

// --- popup items --------------------------------------------------------------------------

QList<TGGraphicControl::MenuEntry> TGImage::MenuEntries() const
{
    const bool bitmap = m_picture.IsBitmap();
    return {
        {QStringLiteral("-")},
        {LoadCaption},
        {QStringLiteral("-")},
        {BorderCaption, true, m_borderStyle == bsSingle},
        {StretchCaption, true, m_stretch},
        {AutoSizeCaption, true, m_autoSize},
        {FlipCaption, true, m_flip, bitmap},
        {ReverseCaption, true, m_reverse, bitmap},
    };
}

bool TGImage::RunMenuEntry(const QString &caption)
{
    if (caption == BorderCaption) {
        SetBorderStyle(m_borderStyle == bsSingle ? bsNone : bsSingle);
    } else if (caption == StretchCaption) {
        SetStretch(!m_stretch);
        NotifyChanged();
    } else if (caption == AutoSizeCaption) {
        SetAutoSize(!m_autoSize);
    } else if (caption == FlipCaption) {
        SetFlip(!m_flip);
    } else if (caption == ReverseCaption) {
        SetReverse(!m_reverse);
    } else {
        return false;
    }
    return true;
}

void TGImage::AssignProperties(const TGGraphicControl &source)
{
    // The picture and flags first, so that the bounds check the base runs
    // sees the source's own sizing.
    if (const auto *image = dynamic_cast<const TGImage *>(&source)) {
        m_picture = image->m_picture;
        m_stored = image->m_stored;
        m_damagedData = image->m_damagedData;
        m_stretch = image->m_stretch;
        m_autoSize = image->m_autoSize;
        m_borderStyle = image->m_borderStyle;
        m_flip = image->m_flip;
        m_reverse = image->m_reverse;
    }
    TGGraphicControl::AssignProperties(source);
}

} // namespace Dayloom
