// Draws the texture pictures the program ships:
//   maketextures OUTPUT_FOLDER [SIZE]
// writes "<name>.jpg", SIZE pixels square (256 when not given), for every
// texture.
#include "textureart.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTextStream>

using namespace Dayloom;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    bool sizeOk = true;
    const int size = args.size() > 2 ? args[2].toInt(&sizeOk) : 256;
    if (args.size() < 2 || args.size() > 3 || !sizeOk || size < 16 || size > 2048) {
        err << "usage: maketextures OUTPUT_FOLDER [SIZE 16-2048]\n";
        return 2;
    }
    const QDir output(args[1]);
    if (!QDir().mkpath(output.path())) {
        err << "cannot create " << output.path() << "\n";
        return 1;
    }
    for (const QString &name : TextureArt::Names()) {
        QImageWriter writer(output.filePath(name + QStringLiteral(".jpg")), "jpg");
        writer.setQuality(90);
        writer.setOptimizedWrite(true);
        if (!writer.write(TextureArt::Draw(name, size))) {
            err << "cannot write " << name << ".jpg: " << writer.errorString() << "\n";
            return 1;
        }
    }
    return 0;
}
