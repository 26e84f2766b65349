// Draws the page borders the program ships into metafiles:
//   makeborders OUTPUT_FOLDER [PREVIEW_FOLDER]
// writes "<name>.wpo" (portrait letter page) and "<name>.wls" (landscape)
// for every border; with a preview folder, also each drawing as a PNG.
#include "borderart.h"

#include "core/graphics/emfwriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

using namespace Dayloom;

namespace {

// A letter page at 96 pixels per inch.
const QSize Portrait(816, 1056);
const QSize Landscape(1056, 816);

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 3) {
        err << "usage: makeborders OUTPUT_FOLDER [PREVIEW_FOLDER]\n";
        return 2;
    }
    const QDir output(args[1]);
    const QString preview = args.size() > 2 ? args[2] : QString();
    if (!QDir().mkpath(output.path()) || (!preview.isEmpty() && !QDir().mkpath(preview))) {
        err << "cannot create the output folders\n";
        return 1;
    }
    for (const QString &name : BorderArt::Names()) {
        for (const QSize &page : {Portrait, Landscape}) {
            const QString extension =
                page == Portrait ? QStringLiteral(".wpo") : QStringLiteral(".wls");
            EmfWriter writer(page);
            QPainter painter(&writer);
            BorderArt::Draw(name, painter, page);
            painter.end();
            const QByteArray bytes = writer.Bytes();
            if (bytes.isEmpty() || !WriteFile(output.filePath(name + extension), bytes)) {
                err << "cannot write " << name << extension << "\n";
                return 1;
            }
            if (!preview.isEmpty()) {
                QImage image(page, QImage::Format_RGB32);
                image.fill(Qt::white);
                QPainter imagePainter(&image);
                BorderArt::Draw(name, imagePainter, page);
                imagePainter.end();
                image.save(QDir(preview).filePath(name + extension + QStringLiteral(".png")));
            }
        }
    }
    return 0;
}
