#include "core/graphics/metafileplayer.h"

#include "core/graphics/emfrecordplayer.h"
#include "core/graphics/gdicontext.h"
#include "core/graphics/picturelimits.h"
#include "core/graphics/wmfrecordplayer.h"
#include "core/io/seterror.h"

#include <QPainter>
#include <QPicture>

#include <cmath>

namespace Dayloom {

namespace {

constexpr double MmPerInch = 25.4;
// Units per inch of a Windows metafile that does not say.
constexpr int BareWmfUnitsPerInch = 1440;

// Sets up a Windows metafile's mapping: its window starts out as the frame,
// and the records' window origin and extent then map onto that frame.
void StartWmf(GdiContext &dc, const QRectF &frame)
{
    dc.SetMapMode(Gdi::MmAnisotropic);
    dc.SetViewportOrg(frame.topLeft());
    dc.SetViewportExt(frame.size());
    dc.SetWindowOrg(frame.topLeft());
    dc.SetWindowExt(frame.size());
}

// The area a Windows metafile draws on, in its own units, for the files that
// name neither a box nor a window.
QRectF DrawnArea(const MetafileReader &bytes, const WmfRecordPlayer::Header &header,
                 double devicePerMm)
{
    QPicture picture;
    QPainter painter(&picture);
    const QRectF unit(0, 0, 1, 1);
    GdiContext dc(painter, unit, unit, devicePerMm);
    StartWmf(dc, unit);
    WmfRecordPlayer(bytes, dc).Play(header);
    painter.end();
    // By its corners: a file's coordinates can make the integer rectangle's
    // width overflow.
    const QRect drawn = picture.boundingRect();
    return QRectF(QPointF(drawn.left(), drawn.top()),
                  QPointF(double(drawn.right()) + 1, double(drawn.bottom()) + 1));
}

} // namespace

bool MetafilePlayer::LooksLikeMetafile(const QByteArray &bytes)
{
    const MetafileReader r(bytes);
    if (r.U32(0) == 0x9AC6CDD7)
        return true;
    if (r.U32(0) == 1 && r.U32(40) == 0x464D4520)
        return true;
    const quint16 type = r.U16(0);
    const quint16 version = r.U16(4);
    return r.Has(0, 18) && (type == 1 || type == 2) && r.U16(2) == 9 &&
           (version == 0x0100 || version == 0x0300);
}

void MetafilePlayer::Clear()
{
    *this = MetafilePlayer();
}

bool MetafilePlayer::Load(const QByteArray &bytes, QString *error)
{
    Clear();
    if (bytes.size() > MaxPictureFileBytes) {
        SetError(error, QStringLiteral("the metafile is too large"));
        return false;
    }
    const MetafileReader r(bytes);
    Type type = Type::None;
    QRectF frame;
    double devicePerMm = 0;
    QSizeF natural;
    int records = 0;
    if (r.U32(0) == 1) {
        EmfRecordPlayer::Header header;
        if (!EmfRecordPlayer::ReadHeader(r, header, error))
            return false;
        type = Type::Emf;
        const bool deviceKnown =
            header.devicePixels.width() > 0 && header.devicePixels.height() > 0 &&
            header.deviceMillimetres.width() > 0 && header.deviceMillimetres.height() > 0;
        const double perMmX =
            deviceKnown ? double(header.devicePixels.width()) / header.deviceMillimetres.width()
                        : 96 / MmPerInch;
        const double perMmY =
            deviceKnown ? double(header.devicePixels.height()) / header.deviceMillimetres.height()
                        : 96 / MmPerInch;
        devicePerMm = perMmX;
        const QRect f = header.frame;
        const double w = double(f.right()) - f.left();
        const double h = double(f.bottom()) - f.top();
        if (w > 0 && h > 0) {
            frame = QRectF(f.left() / 100.0 * perMmX, f.top() / 100.0 * perMmY, w / 100.0 * perMmX,
                           h / 100.0 * perMmY);
            natural = QSizeF(w / 100.0 / MmPerInch * 96, h / 100.0 / MmPerInch * 96);
        } else {
            // No frame: the bounds, in the reference device's pixels.
            const QRect b = header.bounds;
            frame = QRectF(b.left(), b.top(), double(b.right()) - b.left() + 1,
                           double(b.bottom()) - b.top() + 1);
            natural = QSizeF(frame.width() / perMmX / MmPerInch * 96,
                             frame.height() / perMmY / MmPerInch * 96);
        }
        records = EmfRecordPlayer::CountRecords(r, header);
    } else {
        WmfRecordPlayer::Header header;
        if (!WmfRecordPlayer::ReadHeader(r, header, error))
            return false;
        type = header.placeable ? Type::PlaceableWmf : Type::Wmf;
        const WmfRecordPlayer::Survey survey = WmfRecordPlayer::Walk(r, header);
        records = survey.records;
        int unitsPerInch = BareWmfUnitsPerInch;
        if (header.placeable && !header.bounds.isEmpty()) {
            frame = header.bounds;
            if (header.unitsPerInch > 0)
                unitsPerInch = header.unitsPerInch;
        }
        devicePerMm = unitsPerInch / MmPerInch;
        if (frame.isEmpty() && survey.windowExt &&
            (survey.mapMode == 0 || survey.mapMode >= Gdi::MmIsotropic))
            frame = QRectF(survey.windowOrg.value_or(QPointF()), *survey.windowExt).normalized();
        if (frame.isEmpty())
            frame = DrawnArea(r, header, devicePerMm);
        natural = frame.size() / unitsPerInch * 96;
    }
    if (!(frame.width() > 0) || !(frame.height() > 0) || !std::isfinite(frame.width()) ||
        !std::isfinite(frame.height()) || natural.isEmpty()) {
        SetError(error, QStringLiteral("the metafile's picture has no size"));
        return false;
    }
    m_type = type;
    m_bytes = bytes;
    m_frame = frame;
    m_devicePerMm = devicePerMm;
    m_naturalSize = natural;
    m_recordCount = records;
    return true;
}

void MetafilePlayer::Play(QPainter &painter, const QRectF &target) const
{
    if (m_type == Type::None || !painter.isActive() || target.isNull())
        return;
    const MetafileReader r(m_bytes);
    painter.save();
    {
        GdiContext dc(painter, m_frame, target, m_devicePerMm);
        if (m_type == Type::Emf) {
            EmfRecordPlayer::Header header;
            if (EmfRecordPlayer::ReadHeader(r, header, nullptr)) {
                dc.LimitObjects(std::max(1, header.handles));
                EmfRecordPlayer(r, dc).Play(header);
            }
        } else {
            WmfRecordPlayer::Header header;
            if (WmfRecordPlayer::ReadHeader(r, header, nullptr)) {
                StartWmf(dc, m_frame);
                WmfRecordPlayer(r, dc).Play(header);
            }
        }
    }
    painter.restore();
}

} // namespace Dayloom
