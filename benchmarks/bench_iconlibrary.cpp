// Reading a library of 200 icons (16, 32 and 64 pixels each, as the shipped
// ones) and extracting every icon, as the icon tool does when it shows a
// library without caching. Target: under 20 ms.
#include "../tests/graphics/iconsamples.h"
#include "core/graphics/iconlibrary.h"

#include <QTemporaryFile>

#include <benchmark/benchmark.h>

using namespace Dayloom;
using namespace Dayloom::Testing;

namespace {

const QByteArray &Library()
{
    static const QByteArray bytes = MakeIconLibrary(QList<QList<int>>(200, {16, 32, 64}), 4);
    return bytes;
}

// The library as a file, read the way the icon tool reads one.
QString LibraryFile()
{
    static QTemporaryFile file;
    if (!file.isOpen() && file.open()) {
        file.write(Library());
        file.flush();
    }
    return file.fileName();
}

// size: the pixels asked for; 48 has no image of its own and is scaled.
void BM_ReadAndExtractAll(benchmark::State &state)
{
    const int size = int(state.range(0));
    for (auto _ : state) {
        IconLibrary library;
        if (!library.Load(LibraryFile()) || library.Count() != 200) {
            state.SkipWithError("the library did not read");
            break;
        }
        for (int i = 0; i < library.Count(); ++i) {
            const QImage icon = library.Icon(i, size);
            benchmark::DoNotOptimize(icon.constBits());
        }
    }
    state.counters["KiB"] = double(Library().size()) / 1024;
}
BENCHMARK(BM_ReadAndExtractAll)->Arg(32)->Arg(48)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
