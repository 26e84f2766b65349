#include "ui/common/fontspecdialog.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>

#include <algorithm>

namespace Dayloom {

std::optional<FontSpec> AskFontSpec(QWidget *parent, const FontSpec &font, const QString &title)
{
    // A stored face the system only knows by substitution ("Times New Roman"
    // drawn with Liberation Serif) is shown as the face that draws it; the
    // dialog would otherwise fall back to its first family and a plain OK
    // would change the font.
    QFont initial(font.Name());
    const QString shown =
        QFontDatabase::hasFamily(font.Name()) ? font.Name() : QFontInfo(initial).family();
    initial.setFamily(shown);
    initial.setPointSize(std::max(1, font.Size()));
    initial.setBold(font.Bold());
    initial.setItalic(font.Italic());
    initial.setUnderline(font.Underline());
    initial.setStrikeOut(font.StrikeOut());
    bool ok = false;
    const QFont chosen = title.isEmpty() ? QFontDialog::getFont(&ok, initial, parent)
                                         : QFontDialog::getFont(&ok, initial, parent, title);
    if (!ok)
        return std::nullopt;
    FontSpec result = font;
    if (chosen.family() != shown)
        result.SetName(chosen.family());
    if (chosen.pointSize() > 0)
        result.SetSize(chosen.pointSize());
    else if (chosen.pixelSize() > 0)
        result.SetHeight(-chosen.pixelSize());
    result.SetBold(chosen.bold());
    result.SetItalic(chosen.italic());
    result.SetUnderline(chosen.underline());
    result.SetStrikeOut(chosen.strikeOut());
    return result;
}

} // namespace Dayloom
