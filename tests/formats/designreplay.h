#pragma once

// The path a user's design takes, for the design fuzzer and the replay of
// its corpus and findings: opened from a file as the window and
// `dayloom --export` open it, painted as the screen paints it, printed into a
// PDF as the export prints it, saved by the calendar file writer, and the
// saved bytes read and saved again.

#include "replay.h"

#include "core/export/pageexport.h"
#include "core/formats/calendarfile.h"
#include "core/surface/pagedocument.h"

#include <QBuffer>
#include <QFile>
#include <QString>

namespace Dayloom::Testing {

namespace DesignReplayDetail {

// Empty when the writer failed.
inline QByteArray WrittenDesign(const PageDocument &document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WriteCalendarFile(document.Page(), document.PersistentObjects(), buffer))
        return QByteArray();
    return buffer.data();
}

} // namespace DesignReplayDetail

// Runs the bytes through the whole path. `scratchFile` is a file the replay
// may overwrite: the design is opened from there. Returns what went wrong:
// the saved design does not read back, or reads back into a design that
// saves differently; empty when nothing did.
inline QString ReplayDesign(const QByteArray &bytes, const QString &scratchFile)
{
    using namespace DesignReplayDetail;
    {
        QFile file(scratchFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            return QStringLiteral("cannot write the scratch file");
    }
    PageDocument document(ReplayDetail::ProgramKinds());
    document.Page().SetDefaultStyle();
    // A design that does not open shows what could be read, as after a
    // failed Open; it must paint, print and save as well.
    document.Open(scratchFile);
    // The screen's paint at a small zoom: a page of 8.5 x 11 inches becomes
    // an image of about 330 x 420 pixels.
    ReplayDetail::PaintDocument(document, 0.4f, 480);
    {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        WriteDocumentPdf(document, 1, PreparePage(), pdf, nullptr);
    }
    const QByteArray saved = WrittenDesign(document);
    if (saved.isEmpty())
        return QStringLiteral("the calendar file writer failed on a buffer");

    PageDocument again(ReplayDetail::ProgramKinds());
    QBuffer buffer;
    buffer.setData(saved);
    buffer.open(QIODevice::ReadOnly);
    PersistentObjectList objects;
    QString error;
    if (!ReadCalendarFile(again.Page(), buffer, again.Kinds().Classes(), {}, objects, &error))
        return QStringLiteral("the saved design did not read back: ") + error;
    again.AdoptObjects(std::move(objects));
    if (again.ObjectCount() != document.ObjectCount())
        return QStringLiteral("the saved design read back with %1 objects instead of %2")
            .arg(again.ObjectCount())
            .arg(document.ObjectCount());
    if (WrittenDesign(again) != saved)
        return QStringLiteral("the saved design read back saves differently");
    return QString();
}

} // namespace Dayloom::Testing
