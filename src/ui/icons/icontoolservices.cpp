#include "ui/icons/icontoolservices.h"

#include "ui/app/uihelpers.h"

#include <QFileDialog>

namespace Dayloom {

IconToolServices IconToolServices::System()
{
    IconToolServices services;
    services.chooseIconFile = [](QWidget *parent, const QString &caption, const QString &folder,
                                 const QString &filters, const QString &selectedFilter) {
        QFileDialog dialog(parent, caption, folder, filters);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setDefaultSuffix(QStringLiteral("ICL"));
        dialog.selectNameFilter(selectedFilter);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    };
    services.showInformation = [](QWidget *parent, const QString &text) {
        ShowInformation(parent, text);
    };
    return services;
}

} // namespace Dayloom
