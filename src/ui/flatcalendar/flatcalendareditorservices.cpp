#include "ui/flatcalendar/flatcalendareditorservices.h"

#include "ui/app/helpwindow.h"
#include "ui/common/askcolor.h"
#include "ui/common/fontspecdialog.h"
#include "ui/flatcalendar/tflatcalendareditor.h"

namespace Dayloom {

FlatCalendarEditorServices FlatCalendarEditorServices::standard()
{
    FlatCalendarEditorServices services;
    services.chooseFont = AskFontSpec;
    services.chooseColor = AskColor;
    services.showHelp = HelpWindow::ShowTopicFor;
    services.runEditor = [](TFlatCalendarEditor &editor) {
        return editor.exec() == QDialog::Accepted;
    };
    return services;
}

} // namespace Dayloom
