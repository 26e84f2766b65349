#include "ui/flatcalendar/flatcalendareditorservices.h"

#include "ui/app/helpwindow.h"
#include "ui/flatcalendar/tflatcalendareditor.h"

#include <QColorDialog>
#include <QFontDialog>

#include <algorithm>

namespace Dayloom {

FlatCalendarEditorServices FlatCalendarEditorServices::standard()
{
    FlatCalendarEditorServices services;
    services.chooseFont = [](QWidget *parent, const FontSpec &font,
                             const QString &title) -> std::optional<FontSpec> {
        QFont initial(font.Name());
        initial.setPointSize(std::max(1, font.Size()));
        initial.setBold(font.Bold());
        initial.setItalic(font.Italic());
        initial.setUnderline(font.Underline());
        initial.setStrikeOut(font.StrikeOut());
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, initial, parent, title);
        if (!ok)
            return std::nullopt;
        FontSpec result = font;
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
    };
    services.chooseColor = [](QWidget *parent, TColor color,
                              const QString &title) -> std::optional<TColor> {
        const QColor chosen = QColorDialog::getColor(ToQColor(color), parent, title);
        if (!chosen.isValid())
            return std::nullopt;
        return FromQColor(chosen);
    };
    services.showHelp = [](QWidget *editor, int topic) {
        auto *help = editor->findChild<HelpWindow *>();
        if (!help)
            help = new HelpWindow(editor);
        help->ShowHelpTopic(topic);
    };
    services.runEditor = [](TFlatCalendarEditor &editor) {
        return editor.exec() == QDialog::Accepted;
    };
    return services;
}

} // namespace Dayloom
