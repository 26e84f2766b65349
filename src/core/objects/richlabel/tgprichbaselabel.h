#pragma once

#include "core/common/tcolor.h"
#include "core/objects/borderstyle.h"
#include "core/objects/tggraphiccontrol.h"
#include "core/richtext/twprtfstorage.h"

#include <QByteArray>

namespace Dayloom {

class NoteRenderer;

// A rich text label: a block of formatted text (fonts, sizes, colours,
// paragraph alignment, pictures) placed anywhere on the page, kept as RTF.
//
// The label holds only its text (Storage()); to draw, it borrows the one
// renderer its design provides (MasterRenderer(), the design's
// "MASTERWPRICHTEXT"), sets it up for this label and lets it paint: the
// page is the label's size at zoom 1 with no margins, laid out the way day
// notes are, and shown at the zoom in whole percent. So the lines break at
// the same words at every zoom and on paper. Without a host, or in a host
// without a master renderer, the label draws nothing.
class TGPRichBaseLabel : public TGGraphicControl
{
public:
    static constexpr int DefaultWidth = 190;
    static constexpr int DefaultHeight = 33;
    static constexpr int TwipsPerPixel = 15; // 1440 per inch at 96 pixels per inch
    // Rich text one label holds: longer text read from a file is dropped,
    // and the editor refuses to put it on a label.
    static constexpr qsizetype MaxRtfSize = 16 * 1024 * 1024;

    TGPRichBaseLabel();

    static QByteArray StoredClassName() { return QByteArrayLiteral("TGPRichBaseLabel"); }
    QByteArray ClassName() const override { return StoredClassName(); }
    // The base properties, then RTFText (stored as "RTFText.Data"),
    // BorderStyle, Transparent, BGColor.
    const PropertyList &PublishedProperties() const override;

    // --- published properties -----------------------------------------------------
    const QByteArray &RTFText() const { return m_storage.RtfText(); }
    // Copies the text into the storage, repaints and raises the change event.
    void SetRTFText(const QByteArray &rtf);
    const TWPRtfStorage &Storage() const { return m_storage; }
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);
    bool Transparent() const { return m_transparent; }
    // Repaints, but is no change of the design by itself.
    void SetTransparent(bool transparent);
    TColor BGColor() const { return m_bgColor; }
    void SetBGColor(TColor color);
    // "Background Color": the colour, the change event, and the label
    // becomes opaque.
    void ChooseBackground(TColor color);

    // --- drawing ---------------------------------------------------------------------
    // The host's master renderer; null without one.
    NoteRenderer *MasterRenderer() const;
    // The label's page: its size at zoom 1 in twips, margins 0.
    QSize PageSizeTwips() const { return Bounds().size() * TwipsPerPixel; }
    // Draws the label into `target` at a zoom: the background, the first
    // page of the text through the master renderer, the border. `print`
    // draws the text as text onto the painter's device (recorded pictures,
    // printers) instead of through a screen image.
    void DrawTo(QPainter &painter, const QRect &target, float zoom, bool print) const;
    void PaintContent(QPainter &painter, const QRect &target, float zoom) const override;

    // The tool makes opaque labels (the class's stored default is
    // transparent).
    void PrepareForTool() override { m_transparent = false; }

    // "Transparent", "Background Color" and "Edit" (the last two carried
    // out by the window), "Border".
    QList<MenuEntry> MenuEntries() const override;
    bool RunMenuEntry(const QString &caption) override;
    void AssignProperties(const TGGraphicControl &source) override;
    // "No master rich text object found" when the host has no renderer.
    QString PlacementError() const override;

private:
    void Changed();

    TWPRtfStorage m_storage;
    TBorderStyle m_borderStyle = bsSingle;
    bool m_transparent = true;
    TColor m_bgColor = clWhite;
};

} // namespace Dayloom
