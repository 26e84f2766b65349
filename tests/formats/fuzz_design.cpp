// libFuzzer entry point: a whole design takes the path a user's file takes.
// It is opened as the window opens it, with the program's object kinds,
// painted as the screen paints it, printed into a PDF as `--export x.pdf`
// prints it, saved, and the saved bytes must read back into a design that
// saves the same. Run it through scripts/fuzz:
//   scripts/fuzz fuzz_design 300
#include "designmutator.h"
#include "designreplay.h"
#include "fuzzbudget.h"

#include "core/io/appfolders.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t *data, std::size_t size, std::size_t maxSize);

// Half of the changes go through the design's own structure (see
// designmutator.h), half are libFuzzer's byte changes.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t *data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed)
{
    std::mt19937 random(seed);
    if (random() % 2 == 0) {
        const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
        if (const std::optional<QByteArray> mutated = Dayloom::Testing::MutateDesignValue(
                bytes, random, static_cast<qsizetype>(maxSize), LLVMFuzzerMutate)) {
            std::memcpy(data, mutated->constData(), static_cast<std::size_t>(mutated->size()));
            return static_cast<std::size_t>(mutated->size());
        }
    }
    return LLVMFuzzerMutate(data, size, maxSize);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Dayloom::PictureBudget budget(Dayloom::Testing::FuzzPictureBytes);
    const Dayloom::PictureBudget::Scope scope(budget);
    static int argc = 1;
    static char name[] = "fuzz_design";
    static char *argv[] = {name, nullptr};
    // Painting text needs a GUI application, never a display.
    static const bool platform = qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    static const QTemporaryDir scratch;
    static const QString file = [] {
        // Border pictures come from the repository's assets.
        Dayloom::SetProgramFolder(QStringLiteral(DAYLOOM_ASSETS_FOLDER));
        return scratch.filePath(QStringLiteral("design.dlf"));
    }();
    Q_UNUSED(platform);
    const QString failure = Dayloom::Testing::ReplayDesign(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)), file);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "fuzz_design: %s\n", qPrintable(failure));
        std::abort();
    }
    return 0;
}
