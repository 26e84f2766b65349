#include "ui/properties/propertiesdialogservices.h"

#include "ui/app/tsettimedialog.h"
#include "ui/app/uihelpers.h"
#include "ui/common/askcolor.h"
#include "ui/common/fontspecdialog.h"
#include "ui/properties/languagechooser.h"

#include <QFileDialog>
#include <QMessageBox>

namespace Dayloom {

namespace {

QString LineBreaks(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

void ShowInformationBox(QWidget *parent, const QString &message)
{
    ShowInformation(parent, LineBreaks(message));
}

bool AskQuestion(QWidget *parent, const QString &message, const QString &caption)
{
    return AskYesNo(parent, LineBreaks(message), caption);
}

bool AskOkOrCancel(QWidget *parent, const QString &message, const QString &caption)
{
    QMessageBox box(QMessageBox::Warning, caption, LineBreaks(message),
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

QString AskSaveFileName(QWidget *parent, const PropertiesDialogServices::FileRequest &request)
{
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString AskOpenFileName(QWidget *parent, const PropertiesDialogServices::FileRequest &request)
{
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

std::optional<QTime> AskTime(QWidget *parent, const QTime &time)
{
    TSetTimeDialog dialog(parent);
    dialog.SetTime(time);
    CenterForm(&dialog, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Time();
}

std::optional<QLocale> AskLanguage(QWidget *parent)
{
    LanguageChooser chooser(parent);
    CenterForm(&chooser, parent);
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return chooser.ChosenLocale();
}

} // namespace

PropertiesDialogServices PropertiesDialogServices::standard()
{
    PropertiesDialogServices services;
    services.showInformation = ShowInformationBox;
    services.askYesNo = AskQuestion;
    services.askOkCancel = AskOkOrCancel;
    services.getSaveFileName = AskSaveFileName;
    services.getOpenFileName = AskOpenFileName;
    services.pickFont = [](QWidget *parent, const FontSpec &font) {
        return AskFontSpec(parent, font);
    };
    services.pickColor = [](QWidget *parent, TColor color) { return AskColor(parent, color); };
    services.pickTime = AskTime;
    services.pickLanguage = AskLanguage;
    return services;
}

} // namespace Dayloom
