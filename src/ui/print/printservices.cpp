#include "ui/print/printservices.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace Dayloom {

PrintServices PrintServices::System()
{
    PrintServices services;
    services.installedPrinters = [] { return QPrinterInfo::availablePrinterNames(); };
    services.defaultPrinter = [] { return QPrinterInfo::defaultPrinterName(); };
    services.printerDialog = [](QPrinter &printer, QWidget *parent, const QString &caption) {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(caption);
        return dialog.exec() == QDialog::Accepted;
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
        if (parent)
            dialog.resize(parent->size() * 9 / 10);
        dialog.exec();
    };
    services.exportFileDialog = [](QWidget *parent, const QString &proposed,
                                   const QStringList &filters, QString &filter) {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Export Calendar"), proposed,
                                            filters.join(QStringLiteral(";;")), &filter);
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
