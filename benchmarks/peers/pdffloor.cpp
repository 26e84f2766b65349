// The least any Qt program pays to write a PDF with text: start a GUI
// application on the offscreen platform, write one page with two words in
// two fonts, leave. benchmarks/peers/run times it beside Dayloom's exports
// so that the platform's share of an export is on record.
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>

#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fputs("usage: pdffloor OUT.pdf\n", stderr);
        return 2;
    }
    QGuiApplication app(argc, argv);
    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setPageSize(QPageSize(QPageSize::Letter));
    QPainter painter(&writer);
    painter.setFont(QFont(QStringLiteral("Times New Roman"), 24));
    painter.drawText(600, 600, QStringLiteral("December 2026"));
    painter.setFont(QFont(QStringLiteral("Arial"), 10));
    painter.drawText(600, 1200, QStringLiteral("Christmas Day"));
    const bool ok = painter.end();
    ::_exit(ok ? 0 : 1);
}
