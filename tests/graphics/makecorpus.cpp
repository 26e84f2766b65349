// Writes the raster decoders' and the icon library's seed corpus, one folder per decoder:
//   build/tests/graphics/make_graphics_corpus tests/graphics/data/corpus
#include "iconsamples.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_graphics_corpus FOLDER\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    using namespace Dayloom::Testing;
    const QList<SampleFile> samples =
        SampleFiles() + HostileSampleFiles() + IconSampleFiles() + HostileIconSampleFiles();
    for (const SampleFile &sample : samples) {
        root.mkpath(sample.decoder);
        QFile file(root.filePath(sample.decoder + QLatin1Char('/') + sample.name));
        if (!file.open(QIODevice::WriteOnly) || file.write(sample.bytes) != sample.bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
