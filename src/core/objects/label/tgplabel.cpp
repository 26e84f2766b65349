#include "core/objects/label/tgplabel.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>

namespace Dayloom {

const QString TGPLabel::TextCaption = QStringLiteral("Text");
const QString TGPLabel::RotationCaption = QStringLiteral("Rotation");

const QStringList &TGPLabel::RotationCaptions()
{
    static const QStringList captions = {
        QStringLiteral("No Rotation"), QStringLiteral("90 Degrees"), QStringLiteral("180 Degrees"),
        QStringLiteral("270 Degrees")};
    return captions;
}

void TGPLabel::TakeCreationLook(const FontSpec &surfaceFont)
{
    SetCaption(QStringLiteral("Enter text..."));
    FontSpec font = surfaceFont;
    font.SetSize(20);
    SetFont(font);
    SetTransparent(false);
    SetBorderStyle(bsSingle);
}

void TGPLabel::TakeEditedText(const QString &text)
{
    SetCaption(text);
    GrowToFit();
    Invalidate();
}

void TGPLabel::TakeChosenFont(const FontSpec &font)
{
    TGBaseLabel::TakeChosenFont(font);
    GrowToFit();
}

void TGPLabel::GrowToFit()
{
    if (Angle() != 0)
        return;
    Layout();
    const LabelLayout &layout = CurrentLayout();
    const int left0 =
        std::max({layout.mainRect.left, layout.shadowRect.left, layout.highlightRect.left});
    const int top0 =
        std::max({layout.mainRect.top, layout.shadowRect.top, layout.highlightRect.top});
    const QFontMetrics metrics(DrawingFont());
    const int textWidth = metrics.horizontalAdvance(Caption() + QStringLiteral("     "));
    const int textHeight = metrics.ascent() + metrics.descent();
    int width = Width();
    int height = Height();
    if (width < left0 + textWidth)
        width = left0 + textWidth;
    if (height < top0 + textHeight)
        height = top0 + textHeight;
    if (width != Width() || height != Height())
        SetBounds(QRect(Left(), Top(), width, height));
    LayoutChanged();
    Invalidate();
}

QList<TGGraphicControl::MenuEntry> TGPLabel::MenuEntries() const
{
    QList<MenuEntry> entries = TGBaseLabel::MenuEntries();
    const QString separator = QStringLiteral("-");
    entries.append(MenuEntry(separator));
    entries.append(MenuEntry(TextCaption));
    entries.append(MenuEntry(separator));
    const QStringList &rotations = RotationCaptions();
    for (int i = 0; i < rotations.size(); ++i) {
        MenuEntry item{rotations[i], true, Angle() == i * 90};
        item.parent = RotationCaption;
        item.undoText = QStringLiteral("Rotate label");
        entries.append(item);
    }
    return entries;
}

bool TGPLabel::RunMenuEntry(const QString &caption)
{
    const int index = RotationCaptions().indexOf(caption);
    if (index < 0)
        return TGBaseLabel::RunMenuEntry(caption);
    SetAngle(index * 90);
    Layout();
    return true;
}

} // namespace Dayloom
