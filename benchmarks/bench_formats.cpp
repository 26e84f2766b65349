// Reading and writing a full design: 42 notes of a few hundred bytes of RTF
// and 200 placed objects with several properties each. Target: under 5 ms
// each way (median).
#include "../tests/formats/testshape.h"
#include "core/calendar/calendarpage.h"
#include "core/formats/calendarfile.h"
#include "core/formats/componentrecord.h"
#include "core/richtext/twprtfstorage.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "guibenchmarkmain.h"

using namespace Dayloom;
using namespace Dayloom::Testing;

namespace {

struct Design
{
    CalendarPage page;
    std::vector<std::unique_ptr<TestShape>> shapes;
    QList<const PersistentObject *> objects;

    Design()
    {
        page.SetCalendarLayout(loFCMinisInTitleLS);
        page.SetUserTitle(QStringLiteral("Family calendar"));
        for (int cell = 1; cell <= CalendarPage::CellCount; ++cell) {
            TWPRtfStorage note;
            QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
            while (rtf.size() < 300)
                rtf += "Dentist at 10, call grandma, pick up the cake. ";
            note.SetRtfText(rtf + "}");
            page.SetCellNote(cell, note);
        }
        for (int i = 0; i < 200; ++i) {
            auto shape = std::make_unique<TestShape>();
            shape->SetName(QStringLiteral("Component%1").arg(i));
            shape->SetLeft(i * 3);
            shape->SetTop(i * 2);
            shape->SetWidth(120 + i % 40);
            shape->SetCaption(QStringLiteral("Birthday %1").arg(i));
            shape->SetAlignment(TestShape::taCenter);
            shape->SetBackColor(i % 2 ? clBtnFace : 0x00336699);
            shape->SetFont(FontSpec(QStringLiteral("Times New Roman"), 12 + i % 20, i % 3 == 0));
            shape->SetTransparent(false);
            objects.append(shape.get());
            shapes.push_back(std::move(shape));
        }
    }

    QByteArray bytes() const
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        WriteCalendarFile(page, objects, buffer);
        return buffer.data();
    }
};

const Design &TheDesign()
{
    static const Design design;
    return design;
}

void BM_WriteCalendarFile(benchmark::State &state)
{
    const Design &design = TheDesign();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        benchmark::DoNotOptimize(WriteCalendarFile(design.page, design.objects, buffer));
    }
    state.SetBytesProcessed(state.iterations() * design.bytes().size());
}
BENCHMARK(BM_WriteCalendarFile)->Unit(benchmark::kMillisecond);

void BM_ReadCalendarFile(benchmark::State &state)
{
    const QByteArray bytes = TheDesign().bytes();
    const ObjectClassRegistry registry = TestRegistry();
    CalendarPage page;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        PersistentObjectList objects;
        if (!ReadCalendarFile(page, buffer, registry, {}, objects) || objects.size() != 200)
            state.SkipWithError("design did not read back");
        benchmark::DoNotOptimize(objects.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadCalendarFile)->Unit(benchmark::kMillisecond);

void BM_SaveCalendarFileToDisk(benchmark::State &state)
{
    const Design &design = TheDesign();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Design.DLF"));
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveCalendarFile(design.page, design.objects, path));
}
BENCHMARK(BM_SaveCalendarFileToDisk)->Unit(benchmark::kMillisecond);

void BM_OpenCalendarFileFromDisk(benchmark::State &state)
{
    const Design &design = TheDesign();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Design.DLF"));
    SaveCalendarFile(design.page, design.objects, path);
    const ObjectClassRegistry registry = TestRegistry();
    CalendarPage page;
    for (auto _ : state) {
        PersistentObjectList objects;
        benchmark::DoNotOptimize(OpenCalendarFile(page, path, registry, {}, objects));
    }
}
BENCHMARK(BM_OpenCalendarFileFromDisk)->Unit(benchmark::kMillisecond);

} // namespace

DAYLOOM_GUI_BENCHMARK_MAIN()
