#include "ui/label/labeldialogservices.h"

#include "ui/app/helpwindow.h"
#include "ui/common/askcolor.h"
#include "ui/common/fontspecdialog.h"

#include <QDialog>

namespace Dayloom {

LabelDialogServices LabelDialogServices::standard()
{
    LabelDialogServices services;
    services.chooseFont = AskFontSpec;
    services.chooseColor = AskColor;
    services.showHelp = HelpWindow::ShowTopicFor;
    services.runDialog = [](QDialog &dialog) { return dialog.exec() == QDialog::Accepted; };
    return services;
}

} // namespace Dayloom
