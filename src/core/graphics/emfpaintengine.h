#pragma once

#include <QBrush>
#include <QByteArray>
#include <QFont>
#include <QPaintEngine>
#include <QPen>
#include <QRect>
#include <QSize>
#include <QTransform>

#include <vector>

namespace Dayloom {

// The paint engine behind EmfWriter: turns QPainter calls into enhanced
// metafile records.
//
// Units: the reference device is a 96 pixels-per-inch screen, so device
// units are page pixels. Logical units are 1/16 page pixel (the map mode is
// anisotropic, window extent = 16 x viewport extent), which keeps curves and
// thin lines precise while most coordinates still fit the 16-bit records.
// Geometry is transformed by the painter's matrix before it is written; only
// text and images under a rotating or mirroring matrix carry a world
// transform of their own.
//
// What EMF cannot say is approximated: alpha is blended over white paper,
// linear and radial gradients are filled as bands of solid colour, other
// gradients and textures by their average colour, images with alpha are
// composed over white.
class EmfPaintEngine : public QPaintEngine
{
public:
    // Logical units per page pixel.
    static constexpr int Subdivision = 16;

    explicit EmfPaintEngine(const QSize &framePixels);

    bool begin(QPaintDevice *device) override;
    bool end() override;
    void updateState(const QPaintEngineState &state) override;

    void drawPath(const QPainterPath &path) override;
    void drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode) override;
    void drawRects(const QRectF *rects, int rectCount) override;
    void drawEllipse(const QRectF &rect) override;
    void drawPixmap(const QRectF &target, const QPixmap &pixmap, const QRectF &source) override;
    void drawImage(const QRectF &target, const QImage &image, const QRectF &source,
                   Qt::ImageConversionFlags flags) override;
    void drawTextItem(const QPointF &position, const QTextItem &textItem) override;

    Type type() const override { return QPaintEngine::User; }

    // The finished file of the last begin/end pair; empty while painting.
    const QByteArray &File() const { return m_file; }

private:
    enum class Outline
    {
        Stroke,
        Fill,
        StrokeAndFill
    };

    // --- records
    int BeginRecord(quint32 type);
    void EndRecord(int start);
    void Put32(quint32 value);
    void PutSigned(qint32 value);
    void PutFloat(float value);
    void PutRect(const QRect &rect);
    void PutColor(QRgb color);
    void Simple(quint32 type);
    void Simple(quint32 type, quint32 value);

    // --- objects
    int NewHandle();
    void FreeHandle(int handle);
    // Objects made stay in a small cache, so that drawings that switch
    // between a few colours select them again instead of remaking them.
    struct CachedObject
    {
        QByteArray key;
        int handle = 0;
    };
    using ObjectCache = std::vector<CachedObject>;
    using WriteObject = void (EmfPaintEngine::*)(int handle, const QByteArray &key);
    void Select(ObjectCache &cache, QByteArray &selected, const QByteArray &key, WriteObject write);
    void SelectStockFor(QByteArray &selected, quint32 stock);
    void WritePen(int handle, const QByteArray &key);
    void WriteBrush(int handle, const QByteArray &key);
    void WriteFont(int handle, const QByteArray &key);
    void SelectStock(quint32 stock);
    void UsePen(bool wanted);
    void UseBrush(bool wanted, const QColor &color);
    void UseFont(const QFont &font, double scale);
    void UseFillMode(Qt::FillRule rule);
    void UseTextColor(QRgb color);

    // --- geometry
    QPoint Logical(const QPointF &devicePoint) const;
    void WritePoints(quint32 type16, quint32 type32, const std::vector<QPoint> &points,
                     const QRectF &deviceBounds);
    void WritePathRecords(const QPainterPath &devicePath);
    void DrawDevicePath(const QPainterPath &devicePath, bool pen, bool solidBrush);
    void FillBanded(const QPainterPath &userPath);
    void AddBounds(const QRectF &deviceRect);
    QRectF StrokeBounds(const QRectF &deviceRect) const;
    bool HasPen() const;
    bool HasSolidBrush() const;
    bool HasOtherBrush() const;
    bool AxisAligned() const;
    void SetClip(const QPainterPath &userPath, Qt::ClipOperation operation);

    QSize m_frame;
    QPaintDevice *m_device = nullptr;
    QByteArray m_records;
    QByteArray m_file;
    int m_recordCount = 0;
    QRectF m_bounds;

    // What the painter asks for.
    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
    qreal m_opacity = 1.0;

    // What the metafile has selected.
    std::vector<bool> m_handles{false}; // index 0 is never used
    int m_handleCount = 1;
    ObjectCache m_pens;
    ObjectCache m_brushes;
    ObjectCache m_fonts;
    QByteArray m_penKey; // what is selected; "null" for the stock null object
    QByteArray m_brushKey;
    QByteArray m_fontKey;
    int m_fillMode = 0;
    QRgb m_textColor = 0;
    bool m_textColorSet = false;
};

} // namespace Dayloom
