// Draws the icon libraries the program ships from the colour emoji font:
//   makeicons FONT_FILE OUTPUT_FOLDER [PREVIEW_FOLDER]
// writes each library of iconsets.cpp (16, 32 and 64 pixels an icon) below
// the output folder; with a preview folder, also a PNG sheet of each.
// "makeicons --list" prints the sets and their code points.
#include "iconsets.h"

#include "core/graphics/iconlibrarywriter.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextStream>

using namespace Dayloom;

namespace {

constexpr int Canvas = 192;      // pixels of the drawing the sizes are taken from
constexpr int GlyphPixels = 128; // the font's size in it
const int Sides[] = {16, 32, 64};

// The emoji drawn large, cropped to what it covers; null when the font
// draws nothing for it or only the pen's black (no colour glyph).
QImage DrawEmoji(const QFont &font, char32_t codePoint)
{
    QImage canvas(Canvas, Canvas, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(canvas.rect(), Qt::AlignCenter, QString::fromUcs4(&codePoint, 1));
    }
    QRect covered;
    bool coloured = false; // a plain glyph would come out in the pen's black only
    for (int y = 0; y < Canvas; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
        for (int x = 0; x < Canvas; ++x) {
            if (qAlpha(line[x]) < 8)
                continue;
            covered |= QRect(x, y, 1, 1);
            coloured = coloured || (qAlpha(line[x]) == 255 && (line[x] & 0xffffff) != 0);
        }
    }
    return coloured ? canvas.copy(covered) : QImage();
}

// The drawing centred in a square of the given side, one pixel kept free
// round it from 32 pixels up.
QImage Fit(const QImage &drawing, int side)
{
    const int room = side >= 32 ? side - 2 : side;
    const QImage scaled = drawing.scaled(room, room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage square(side, side, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((side - scaled.width()) / 2, (side - scaled.height()) / 2, scaled);
    return square;
}

QString CodePointText(char32_t codePoint)
{
    return QStringLiteral("U+%1").arg(uint(codePoint), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    const QStringList args = app.arguments();
    if (args.size() == 2 && args[1] == QLatin1String("--list")) {
        for (const IconSet &set : ShippedIconSets()) {
            QStringList points;
            for (char32_t c : set.codePoints)
                points.append(CodePointText(c).mid(2));
            out << set.file << " (" << set.theme << "): " << points.join(QLatin1Char(' ')) << "\n";
        }
        return 0;
    }
    if (args.size() < 3 || args.size() > 4) {
        err << "usage: makeicons FONT_FILE OUTPUT_FOLDER [PREVIEW_FOLDER] | makeicons --list\n";
        return 2;
    }
    const int id = QFontDatabase::addApplicationFont(args[1]);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        err << "makeicons: cannot load the emoji font " << args[1] << "\n";
        return 1;
    }
    QFont font(families.first());
    font.setPixelSize(GlyphPixels);
    font.setStyleStrategy(QFont::NoFontMerging); // never another font's glyph
    const QRawFont raw = QRawFont::fromFont(font);
    const QDir output(args[2]);
    const QString preview = args.size() > 3 ? args[3] : QString();
    if (!preview.isEmpty())
        QDir().mkpath(preview);

    int missing = 0;
    for (const IconSet &set : ShippedIconSets()) {
        IconLibraryWriter writer;
        QList<QImage> sheet;
        for (char32_t codePoint : set.codePoints) {
            const QImage drawing =
                raw.supportsCharacter(codePoint) ? DrawEmoji(font, codePoint) : QImage();
            if (drawing.isNull()) {
                err << "makeicons: the font has no colour emoji " << CodePointText(codePoint)
                    << " for " << set.file << "\n";
                ++missing;
                continue;
            }
            QList<QImage> images;
            for (int side : Sides)
                images.append(Fit(drawing, side));
            sheet.append(images.last());
            writer.AddIcon(images);
        }
        if (missing)
            continue;
        const QString path = output.filePath(set.file);
        QString error;
        if (!QDir().mkpath(QFileInfo(path).path()) || !writer.Save(path, &error)) {
            err << "makeicons: cannot write " << path << ": " << error << "\n";
            return 1;
        }
        if (!preview.isEmpty()) {
            const int columns = 10, rows = int(sheet.size() + columns - 1) / columns;
            QImage page(columns * 68, rows * 68, QImage::Format_ARGB32_Premultiplied);
            page.fill(Qt::white);
            QPainter painter(&page);
            for (int i = 0; i < sheet.size(); ++i)
                painter.drawImage(i % columns * 68 + 2, i / columns * 68 + 2, sheet[i]);
            painter.end();
            page.save(
                QDir(preview).filePath(QFileInfo(set.file).baseName() + QStringLiteral(".png")));
        }
    }
    return missing ? 1 : 0;
}
