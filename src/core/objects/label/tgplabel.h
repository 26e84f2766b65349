#pragma once

#include "core/objects/label/tgbaselabel.h"

namespace Dayloom {

// The label the label tool places: a TGBaseLabel whose menu adds "Text"
// (the text dialog, carried out by the window) and "Rotation", and which
// grows to fit its text after a new caption or font (only when unturned,
// and never shrinking).
class TGPLabel : public TGBaseLabel
{
public:
    // The tag of the "Text" item.
    static constexpr int TextItemTag = 1000;

    TGPLabel() = default;

    static QByteArray StoredClassName() { return QByteArrayLiteral("TGPLabel"); }
    QByteArray ClassName() const override { return StoredClassName(); }

    // What a label fresh from the tool looks like: "Enter text...", the
    // surface's font at 20 points, an opaque background and a frame.
    void TakeCreationLook(const FontSpec &surfaceFont);
    // The text dialog's OK: the caption, then grow-to-fit.
    void TakeEditedText(const QString &text);
    // The font, then grow-to-fit.
    void TakeChosenFont(const FontSpec &font) override;
    // Unturned labels only: wide enough for the caption and five spaces and
    // high enough for a line, from the furthest copy's corner; never smaller.
    void GrowToFit();

    // The base items, then "-", "Text", "-" and "Rotation" (No Rotation,
    // 90 Degrees, 180 Degrees, 270 Degrees).
    QList<MenuEntry> MenuEntries() const override;
    bool RunMenuEntry(const QString &caption) override;
    bool HasRotationMenu() const override { return true; }

    static const QString TextCaption;
    static const QString RotationCaption;
    // The rotation items in the order 0, 90, 180, 270 degrees.
    static const QStringList &RotationCaptions();
};

} // namespace Dayloom
