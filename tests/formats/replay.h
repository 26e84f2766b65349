#pragma once

#include "testshape.h"

#include "core/calendar/calendarpage.h"
#include "core/formats/calendarfile.h"
#include "core/formats/componentrecord.h"
#include "core/formats/stylesheet.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/richtext/rtfreader.h"
#include "core/richtext/rtfwriter.h"
#include "core/surface/pagedocument.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

namespace Dayloom::Testing {

// What a replay does besides reading.
enum class Replay
{
    ReadOnly,
    ReadAndPaint, // also paints what was read onto a small image
};

namespace ReplayDetail {

inline void Check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "replay: %s\n", what);
        std::abort();
    }
}

// The program's kinds of placed objects, as its start-up registers them.
inline const ObjectKindRegistry &ProgramKinds()
{
    static const ObjectKindRegistry kinds = [] {
        ObjectKindRegistry registry;
        RegisterObjectKinds(registry);
        return registry;
    }();
    return kinds;
}

inline void OpenBuffer(QBuffer &buffer, const QByteArray &bytes)
{
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
}

// A small picture of the page and its objects as the screen paints them,
// at the zoom, at most `side` pixels each way.
inline void PaintDocument(PageDocument &document, float zoom = 0.2f, int side = 320)
{
    document.SetZoom(zoom);
    const QSize size = document.SurfaceSize().boundedTo(QSize(side, side)).expandedTo(QSize(1, 1));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    document.Draw(painter);
}

// Reads the bytes as RTF, writes what was read and reads that back: the
// writer's output must always be readable again.
inline void ReplayRtf(const QByteArray &bytes, Replay replay)
{
    QTextDocument doc;
    if (!RtfReader().Read(bytes, doc))
        return;
    const QByteArray written = RtfWriter::ToRtf(doc);
    QTextDocument again;
    RtfReader reader;
    Check(reader.Read(written, again), "the RTF writer's output did not read back");
    if (replay == Replay::ReadAndPaint) {
        QImage image(160, 120, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        doc.setTextWidth(160);
        doc.drawContents(&painter, QRectF(0, 0, 160, 120));
    }
}

} // namespace ReplayDetail

// Runs every reader over the bytes: calendar files, style sheets and object
// records with the test class and with the program's real object classes,
// and RTF; with Replay::ReadAndPaint what was read is painted too. Used by
// the corpus replay, the damaged file checks and the fuzzer.
inline void ReplayAllReaders(const QByteArray &bytes, Replay replay = Replay::ReadOnly)
{
    using namespace ReplayDetail;
    static const ObjectClassRegistry testRegistry = TestRegistry();
    {
        CalendarPage page;
        QBuffer buffer;
        OpenBuffer(buffer, bytes);
        PersistentObjectList objects;
        ReadCalendarFile(page, buffer, testRegistry, {}, objects);
    }
    {
        QBuffer buffer;
        OpenBuffer(buffer, bytes);
        ComponentRecord::ReadObjects(buffer, testRegistry, {});
    }
    {
        // The real object kinds, as the window opens a design.
        PageDocument document(ProgramKinds());
        QBuffer buffer;
        OpenBuffer(buffer, bytes);
        PersistentObjectList objects;
        ReadCalendarFile(document.Page(), buffer, document.Kinds().Classes(), {}, objects);
        document.AdoptObjects(std::move(objects));
        if (replay == Replay::ReadAndPaint)
            PaintDocument(document);
    }
    {
        PageDocument document(ProgramKinds());
        QBuffer buffer;
        OpenBuffer(buffer, bytes);
        ReadStyleSheet(document.Page(), buffer);
        if (replay == Replay::ReadAndPaint)
            PaintDocument(document);
    }
    {
        // Objects as the clipboard holds them.
        PageDocument document(ProgramKinds());
        QBuffer buffer;
        OpenBuffer(buffer, bytes);
        document.AdoptObjects(ComponentRecord::ReadObjects(buffer, document.Kinds().Classes(), {}));
        if (replay == Replay::ReadAndPaint)
            PaintDocument(document);
    }
    ReplayRtf(bytes, replay);
}

} // namespace Dayloom::Testing
