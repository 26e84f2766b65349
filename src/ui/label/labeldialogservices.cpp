#include "ui/label/labeldialogservices.h"

#include "ui/app/helpwindow.h"
#include "ui/common/fontspecdialog.h"

#include <QColorDialog>
#include <QDialog>

namespace Dayloom {

LabelDialogServices LabelDialogServices::standard()
{
    LabelDialogServices services;
    services.chooseFont = AskFontSpec;
    services.chooseColor = [](QWidget *parent, TColor color,
                              const QString &title) -> std::optional<TColor> {
        const QColor chosen = QColorDialog::getColor(ToQColor(color), parent, title);
        if (!chosen.isValid())
            return std::nullopt;
        return FromQColor(chosen);
    };
    services.showHelp = [](QWidget *dialog, int topic) {
        // A window of the dialog's own, so that it takes input while the
        // dialog is modal.
        auto *help = dialog->findChild<HelpWindow *>();
        if (!help)
            help = new HelpWindow(dialog);
        help->ShowHelpTopic(topic);
    };
    services.runDialog = [](QDialog &dialog) { return dialog.exec() == QDialog::Accepted; };
    return services;
}

} // namespace Dayloom
