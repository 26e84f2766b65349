#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>

#include <algorithm>
#include <list>
#include <memory>

class QPainter;
class QTextDocument;

namespace Dayloom {

class TWPRtfStorage;

// Paints notes into rectangles, the page's hidden renderer.
//
// A note is laid out once at the page size, the size of the note area at
// zoom 1 in page pixels (96 per inch; font points convert at that rate),
// whatever the zoom or the device. Line breaks therefore never change with
// the zoom, and paper shows the breaks of the screen.
//
// Screen mode draws the visible part into a scratch image filled with the
// background colour, with the text scaled by the zoom, and stretches it into
// the target rectangle; the scratch image has the resolution of the target device
// (its device pixel ratio and the painter's scale), so text stays sharp on
// high-density screens. Print mode paints straight onto the painter's
// device (vector text on printers, PDF writers, QPicture), scaling the page
// size to the target rectangle.
//
// Laid-out notes are cached by their RTF bytes (least recently used first
// out), since a month page paints 42 notes per paint. A transparent
// background colour leaves the target unfilled. One thread only.
class NoteRenderer
{
public:
    enum class Mode
    {
        Screen,
        Print
    };

    struct LineRange
    {
        int start = 0; // document position of the line's first character
        int length = 0;
        friend bool operator==(const LineRange &, const LineRange &) = default;
    };

    // How a note is painted: the mode, the background (transparent leaves
    // the target unfilled), the zoom (1.0 = 100 %; screen mode only) and the
    // page size (page pixels at zoom 1; print mode scales it to the target).
    struct View
    {
        Mode mode = Mode::Screen;
        QColor background = Qt::white;
        double zoom = 1.0;
        QSizeF pageSize{100, 100};
    };

    static constexpr int DefaultCacheCapacity = 64;
    // The inner margin of a note's text, in page pixels; editors use it too.
    static constexpr double DocumentMargin = 2.0;
    // Scratch images never exceed this many device pixels per side, nor
    // MaxScratchPixels in all (a larger note is drawn at a lower
    // resolution). Only the part of a note the painter can reach is drawn.
    static constexpr int MaxScratchSide = 8192;
    static constexpr double MaxScratchPixels = 12.0 * 1024 * 1024;

    explicit NoteRenderer(int cacheCapacity = DefaultCacheCapacity);
    ~NoteRenderer();
    NoteRenderer(const NoteRenderer &) = delete;
    NoteRenderer &operator=(const NoteRenderer &) = delete;

    // The view Paint() without a view of its own uses (editors keep one).
    void SetBackground(const QColor &color) { m_view.background = color; }
    const QColor &Background() const { return m_view.background; }
    // Values at or below 0 are ignored.
    void SetZoom(double zoom);
    double Zoom() const { return m_view.zoom; }
    // An empty size is ignored.
    void SetPageSize(const QSizeF &size);
    const QSizeF &PageSize() const { return m_view.pageSize; }
    void SetMode(Mode mode) { m_view.mode = mode; }
    Mode RenderMode() const { return m_view.mode; }
    const View &CurrentView() const { return m_view; }

    // Paints the note into target (painter coordinates). An empty or
    // unreadable note paints only the background.
    void Paint(QPainter &painter, const QRectF &target, const TWPRtfStorage &note)
    {
        Paint(painter, target, note, m_view);
    }
    // The same with a view of the caller's: the renderer's own view does not
    // change, so drawings sharing one renderer (and its cache of laid-out
    // notes) do not disturb each other. A view with a zoom or page size at
    // or below 0 paints nothing.
    void Paint(QPainter &painter, const QRectF &target, const TWPRtfStorage &note,
               const View &view) const;
    // The same for a document held elsewhere (an editor's); not cached.
    void Paint(QPainter &painter, const QRectF &target, const QTextDocument &doc);

    // The lines of the note as Paint lays them out with the current settings.
    QList<LineRange> Lines(const TWPRtfStorage &note);
    static QList<LineRange> Lines(const QTextDocument &doc);

    // A zoom taken to whole percent (at least 1 %), as editors show it.
    static double WholePercent(float zoom)
    {
        return std::max(1, static_cast<int>(zoom * 100.0f)) / 100.0;
    }

    // Makes a document lay out the way notes are painted: at 96 pixels per
    // inch, pictures at their size in page pixels (NoteImageHandler), with
    // design metrics, at the given width in page pixels.
    static void PrepareLayout(QTextDocument &doc, double pageWidth);

    int CachedCount() const { return int(m_entries.size()); }
    // The scratch image screen mode keeps between paints (device pixels).
    QSize ScratchSize() const { return m_scratch.size(); }
    void ClearCache();

private:
    struct Entry
    {
        QByteArray rtf;
        std::unique_ptr<QTextDocument> doc;
    };

    // The cached layout of the note at a page width.
    QTextDocument *CachedDocument(const QByteArray &rtf, double pageWidth) const;
    void PaintDocument(QPainter &painter, const QRectF &target, QTextDocument *doc,
                       const View &view) const;
    void PaintScreen(QPainter &painter, const QRectF &target, QTextDocument *doc,
                     const View &view) const;
    static void PaintPrint(QPainter &painter, const QRectF &target, QTextDocument *doc,
                           const View &view);
    static void DrawText(QPainter &painter, QTextDocument &doc, const QRectF &clip);

    View m_view;

    // Caches: what painting keeps between paints, never what it shows.
    int m_capacity;
    mutable std::list<Entry> m_entries; // most recently used first
    mutable QHash<QByteArray, std::list<Entry>::iterator> m_index;
    mutable QImage m_scratch;
};

} // namespace Dayloom
