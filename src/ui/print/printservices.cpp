#include "ui/print/printservices.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include <algorithm>

namespace Dayloom {

namespace {

QAction *PreviewPrintAction(QPrintPreviewDialog &dialog)
{
    const QList<QAction *> actions = dialog.findChildren<QAction *>();
    const auto found = std::find_if(actions.begin(), actions.end(), [](const QAction *action) {
        return action->text() == QPrintPreviewDialog::tr("Print");
    });
    return found == actions.end() ? nullptr : *found;
}

} // namespace

PrintServices PrintServices::System()
{
    PrintServices services;
    services.installedPrinters = [] { return QPrinterInfo::availablePrinterNames(); };
    services.defaultPrinter = [] { return QPrinterInfo::defaultPrinterName(); };
    services.printerDialog = [](QPrinter &printer, QWidget *parent, const QString &caption,
                                const QString &confirm) {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(caption);
        // The dialog names its confirm button after printing, also where it
        // only keeps the choices.
        if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
            if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
                ok->setText(confirm);
        }
        return dialog.exec() == QDialog::Accepted;
    };
    services.offersPaper = [](const QPrinter &printer) {
        if (printer.outputFormat() != QPrinter::NativeFormat)
            return true;
        const QPrinterInfo info(printer);
        if (info.isNull())
            return true; // the job reports a printer that is gone
        const QPageSize paper = printer.pageLayout().pageSize();
        const QList<QPageSize> offered = info.supportedPageSizes();
        return std::any_of(offered.begin(), offered.end(),
                           [&paper](const QPageSize &size) { return size.isEquivalentTo(paper); });
    };
    services.maximumCopies = [](const QPrinter &printer) {
        // A driver that copies by itself takes any count in one job.
        return printer.supportsMultipleCopies() ? 9999 : 1;
    };
    services.unprintableMargins = [](const QPrinter &printer) {
        QPageLayout layout = printer.pageLayout();
        layout.setUnits(QPageLayout::Inch);
        return layout.minimumMargins();
    };
    services.previewDialog = [](QPrinter &printer, QWidget *parent,
                                const std::function<void(QPrinter *)> &paint) {
        QPrintPreviewDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Print Preview"));
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
        bool printChosen = false;
        // The preview's own Print would print without the print command's
        // checks and messages: it hands over to the command instead.
        if (QAction *print = PreviewPrintAction(dialog)) {
            print->disconnect(&dialog);
            QObject::connect(print, &QAction::triggered, &dialog, [&dialog, &printChosen] {
                printChosen = true;
                dialog.accept();
            });
        }
        if (parent)
            dialog.resize(parent->size() * 9 / 10);
        dialog.exec();
        return printChosen;
    };
    services.exportFileDialog = [](QWidget *parent, const QString &proposed,
                                   const QStringList &filters, QString &filter) {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Export Calendar"), proposed,
                                            filters.join(QStringLiteral(";;")), &filter);
    };
    services.rangeDialog = [](QWidget *parent, const QString &caption, const PrintRange &proposed,
                              const QDate &pageMonth) -> std::optional<PrintRange> {
        TPrintRangeDialog dialog(caption, proposed, pageMonth, parent);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.Range();
    };
    services.imageResolutionDialog = [](QWidget *parent, int proposed) {
        bool ok = false;
        const int dpi = QInputDialog::getInt(parent, QStringLiteral("Export Image"),
                                             QStringLiteral("Resolution (dots per inch):"),
                                             proposed, 96, 600, 1, &ok);
        return ok ? dpi : 0;
    };
    return services;
}

} // namespace Dayloom
