#include "ui/flatcalendar/flatcalendareditorservices.h"

#include "ui/app/helpwindow.h"
#include "ui/common/fontspecdialog.h"
#include "ui/flatcalendar/tflatcalendareditor.h"

#include <QColorDialog>

namespace Dayloom {

FlatCalendarEditorServices FlatCalendarEditorServices::standard()
{
    FlatCalendarEditorServices services;
    services.chooseFont = AskFontSpec;
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
