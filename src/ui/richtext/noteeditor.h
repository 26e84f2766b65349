#pragma once

#include "core/common/fontspec.h"

#include <QBasicTimer>
#include <QSize>
#include <QTextEdit>

class QImage;

namespace Dayloom {

class TWPRtfStorage;

// The editor of one day note, laid over the cell's note area.
//
// It has no frame and no scroll bars. Its page is the note area as shown,
// in twips (1440 per inch, 15 per page pixel at 96 pixels per inch); its
// zoom is the page's zoom in whole percent. The text is laid out the way
// the page paints notes (NoteRenderer::PrepareLayout) at the width the note
// area has at zoom 1, page width / zoom, and shown scaled by the zoom, so
// its lines break exactly where the painted note's lines break at any zoom.
// Mouse positions are mapped back through the same scale.
//
// Tab and Shift+Tab are never typed: they ask for the next or previous cell.
// Ctrl+A selects all. noteChanged() reports edits, never loading.
class NoteEditor : public QTextEdit
{
    Q_OBJECT

public:
    static constexpr int TwipsPerPixel = 15;
    static constexpr int MinZoomPercent = 5;
    static constexpr int MaxZoomPercent = 1000;

    explicit NoteEditor(QWidget *parent = nullptr);
    ~NoteEditor() override;

    // The note area as shown, in twips; sizes below one pixel are ignored.
    void SetPageSizeTwips(const QSize &twips);
    const QSize &PageSizeTwips() const { return m_pageTwips; }
    // With `unzoomed` the page size in twips is the page at zoom 1 (rich
    // text labels): the text is laid out at exactly that width at every
    // zoom. Notes give the page as shown (the default).
    void SetPageUnzoomed(bool unzoomed);
    bool PageUnzoomed() const { return m_pageUnzoomed; }
    // Clamped to MinZoomPercent..MaxZoomPercent.
    void SetZoomPercent(int percent);
    // Puts the caret at the character nearest a point of the editor (its own
    // pixels, as a click there would).
    void PlaceCaretAt(const QPointF &point);
    int ZoomPercent() const { return m_zoomPercent; }
    double ZoomFactor() const { return m_zoomPercent / 100.0; }
    // The width the text is laid out at: the note area at zoom 1, page pixels.
    double LayoutWidth() const;
    // The note area in screen pixels; the main window sizes the editor so.
    QSize ShownSize() const;
    static int PixelsToTwips(int pixels) { return pixels * TwipsPerPixel; }
    // Page pixels of text scrolled out above the top; 0 while the text fits.
    double ScrollOffset() const { return m_scrollY; }

    // Replaces the text with the note; the cursor goes to the start and the
    // undo history is cleared. An empty note gets the default editor font.
    // Returns false (editor empty, error set when given) for unreadable RTF.
    bool LoadFrom(const TWPRtfStorage &note, QString *error = nullptr);
    // Writes the text back; an editor without text or pictures empties it.
    void StoreTo(TWPRtfStorage &note) const;
    bool IsEmpty() const;

    // The default editor font: what an empty editor types in.
    void SetDefaultFont(const FontSpec &font) { m_defaultFont = font; }
    const FontSpec &DefaultFont() const { return m_defaultFont; }
    // Makes the default editor font the current character attributes; its
    // colour becomes the last equal entry of the colour table, else entry 0.
    void SetDefaultFontNow();

    // Current character attributes: those at the cursor, which typing uses.
    // Setters apply to the selection, or, without one, to what is typed next.
    FontSpec CurrentAttributes() const;
    void SetCurrentAttributes(const FontSpec &font);
    QString CurrentFontName() const { return CurrentAttributes().Name(); }
    void SetCurrentFontName(const QString &name);
    int CurrentFontSize() const { return CurrentAttributes().Size(); }
    // Points; sizes below 1 are ignored.
    void SetCurrentFontSize(int points);
    bool CurrentBold() const { return CurrentAttributes().Bold(); }
    void SetCurrentBold(bool on);
    bool CurrentItalic() const { return CurrentAttributes().Italic(); }
    void SetCurrentItalic(bool on);
    bool CurrentUnderline() const { return CurrentAttributes().Underline(); }
    void SetCurrentUnderline(bool on);
    bool CurrentStrikeOut() const { return CurrentAttributes().StrikeOut(); }
    void SetCurrentStrikeOut(bool on);
    // Entry 0-15 of TextColorTable; -1 when the colour is not in the table.
    int CurrentColorIndex() const;
    // Entries outside 0-15 are ignored.
    void SetCurrentColorIndex(int index);

    // Inserts the picture at the cursor, shown at its size in pixels at
    // zoom 1; it is stored with the note as PNG. A null image does nothing.
    void InsertPicture(const QImage &image);

Q_SIGNALS:
    // The user (or an inserted picture) changed the text or its formats.
    void noteChanged();
    void nextCellRequested();
    void previousCellRequested();
    // The current character or paragraph attributes may differ.
    void currentAttributesChanged();

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void scrollContentsBy(int dx, int dy) override;
    void timerEvent(QTimerEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void hideEvent(QHideEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void ApplyLayout();
    void KeepScrollBarsStill();
    void EnsureCursorShown();
    void RestartCaretBlink();
    void MergeFormat(const QTextCharFormat &format);
    void ApplyAttributesToEmptyBlock(const QTextCharFormat &format);
    void OnContentsChanged();
    // Event position (viewport pixels) to document position (page pixels).
    QPointF ToDocument(const QPointF &viewportPos) const;
    QRectF ToViewport(const QRectF &documentRect) const;
    QMouseEvent ToDocument(const QMouseEvent &e) const;

    QSize m_pageTwips{1500, 1500};
    int m_zoomPercent = 100;
    bool m_pageUnzoomed = false;
    FontSpec m_defaultFont;
    double m_scrollY = 0;            // page pixels hidden above the editor's top
    bool m_loading = false;          // changes made now are not the user's edits
    bool m_attributesChosen = false; // set in an empty editor since loading
    bool m_caretShown = true;
    QBasicTimer m_caretBlink;
};

} // namespace Dayloom
