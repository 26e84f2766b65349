#pragma once

#include "core/formats/storedpicture.h"
#include "core/graphics/picture.h"
#include "core/objects/borderstyle.h"
#include "core/objects/tggraphiccontrol.h"

#include <QByteArray>
#include <QImage>

namespace Dayloom {

// Clip art: a placed object showing a picture (bitmap, metafile or icon)
// stretched over its rectangle, optionally upside down (Flip) or mirrored
// (Reverse) when the picture is a bitmap, with an optional one-pixel
// border. Without a picture it shows a framed white box.
//
// Stretch and AutoSize are each other's negation when set one by one: a
// stretched picture fills whatever rectangle the object has; an auto-sized
// object takes the picture's own size. The image browser may leave both off
// (the picture is stretched, the object keeps its size) or both on. Bounds
// are kept at zoom 1, so an auto-sized object is the picture's size in page
// pixels and shows Round(size x Zoom) on screen, rounded half to even like
// every object.
class TGImage : public TGGraphicControl
{
public:
    static constexpr int DefaultSize = 105;

    // An empty image of 105 x 105 pixels.
    TGImage();

    // "TGImage", the class name files store it under.
    static QByteArray StoredClassName() { return QByteArrayLiteral("TGImage"); }
    QByteArray ClassName() const override { return StoredClassName(); }
    // The base properties, then Picture (stored as "Picture.Data"),
    // Stretch, AutoSize, BorderStyle, Flip, Reverse. Stretch and AutoSize
    // are both written whenever they are equal, which a record holding
    // only the one that differs from its default could not tell.
    const PropertyList &PublishedProperties() const override;
    // A record holding only one of Stretch and AutoSize (every record
    // written before both were) sets the other to its negation.
    void Loaded() override;

    // --- published properties ------------------------------------------------------
    const Picture &GetPicture() const { return m_picture; }
    // Takes a copy of the picture and runs the picture-changed step.
    void SetPicture(const Picture &picture);
    // The picture as stored: what was read (kept byte for byte, also when it
    // could not be decoded, so saving again loses nothing), or the stored
    // form of a picture set since.
    const StoredPicture &GetStoredPicture() const { return m_stored; }
    // Takes a stored picture; one that cannot be decoded leaves the object
    // empty but is kept for saving. False when it could not be decoded.
    bool SetStoredPicture(const StoredPicture &stored, QString *error = nullptr);
    // True when a stored picture was kept that could not be shown.
    bool HasUndecodedPicture() const { return m_picture.IsEmpty() && !m_stored.IsEmpty(); }

    bool Stretch() const { return m_stretch; }
    // Stretch := v, AutoSize := not v; repaints. The new size follows on the
    // next bounds check.
    void SetStretch(bool stretch);
    bool AutoSize() const { return m_autoSize; }
    // AutoSize := v, Stretch := not v, then the picture-changed step and the
    // change event.
    void SetAutoSize(bool autoSize);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);
    // Bitmaps only: drawn upside down / mirrored left to right.
    bool Flip() const { return m_flip; }
    void SetFlip(bool flip);
    bool Reverse() const { return m_reverse; }
    void SetReverse(bool reverse);

    // Stores both flags as they are, without the mutual reset, then runs the
    // picture-changed step (the browser's OK).
    void SetSizing(bool stretch, bool autoSize);

    // --- behaviour ---------------------------------------------------------------------
    // The picture-changed step: the bounds check (which applies AutoSize)
    // and a repaint.
    void PictureChanged();
    // With AutoSize and a picture of positive size, the object takes the
    // picture's size (its top left stays); then the base's check.
    void CheckBoundsChanged() override;
    // True when the picture is a bitmap of exactly the object's size: it
    // covers every pixel of the object.
    bool Opaque() const;
    // Flip and Reverse apply: the picture is a bitmap and a flag is set.
    bool Mirrored() const { return m_picture.IsBitmap() && (m_flip || m_reverse); }
    // The picture's bitmap upside down and/or mirrored as the flags say.
    QImage MirroredImage() const;

    void PaintContent(QPainter &painter, const QRect &target, float zoom) const override;
    // At the zoom-1 bounds in inches: a bitmap (mirrored as on screen) or an
    // icon stretched as an image, a metafile played as vectors, and the
    // border as a rectangle of the engine's thinnest black pen.
    void PrintTo(PrintEngine &engine, double xInch, double yInch) const override;

    // "Load Image From Disk" (carried out by the window), "Border",
    // "Stretch to Fit", "AutoSize", "Flip", "Reverse"; Flip and Reverse are
    // enabled for bitmaps only.
    QList<MenuEntry> MenuEntries() const override;
    bool RunMenuEntry(const QString &caption) override;

    void AssignProperties(const TGGraphicControl &source) override;

private:
    void Changed();
    bool SizingFlagsEqual() const { return m_stretch == m_autoSize; }
    QByteArray PictureData() const;
    void SetPictureData(const QByteArray &data);

    Picture m_picture;
    StoredPicture m_stored;
    QByteArray m_damagedData; // "Picture.Data" whose structure could not be read
    bool m_stretch = true;
    bool m_autoSize = false;
    TBorderStyle m_borderStyle = bsNone;
    bool m_flip = false;
    bool m_reverse = false;
    bool m_applyingAutoSize = false;
    bool m_stretchRead = false; // while a record is read
    bool m_autoSizeRead = false;
};

} // namespace Dayloom
