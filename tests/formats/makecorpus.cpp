// Writes real files into the fuzzing corpus, made by the program's own
// writers: designs with floating calendars and notes, a style sheet, the
// clipboard's object records and a note as RTF. Run it again when a format
// changes:
//   build/tests/formats/make_formats_corpus tests/formats/data/corpus
#include "core/calendar/calendarpage.h"
#include "core/formats/calendarfile.h"
#include "core/formats/componentrecord.h"
#include "core/formats/stylesheet.h"
#include "core/objects/flatcalendar/tgflatcalendar.h"
#include "core/recurring/recurringpagefill.h"
#include "core/richtext/rtfwriter.h"
#include "core/richtext/twprtfstorage.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <memory>

using namespace Dayloom;

namespace {

// A note with the formats the reader knows: fonts, bold and colour, a
// centred paragraph, text outside Latin-1 and a small picture.
void MakeNote(QTextDocument &doc, const QString &text, bool withPicture)
{
    QTextCursor cursor(&doc);
    QTextCharFormat bold;
    bold.setFontFamilies({QStringLiteral("Arial")});
    bold.setFontPointSize(11);
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(0x80, 0x00, 0x20));
    cursor.insertText(text, bold);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Times New Roman")});
    plain.setFontPointSize(9);
    plain.setFontItalic(true);
    cursor.insertText(QString::fromUtf8("Mom’s – €5, Ж"), plain);
    if (withPicture) {
        QImage picture(6, 4, QImage::Format_RGB32);
        picture.fill(QColor(0x20, 0x60, 0xA0));
        doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("note:dot")), picture);
        cursor.insertImage(QStringLiteral("note:dot"));
    }
}

TWPRtfStorage Note(const QString &text, bool withPicture = false)
{
    QTextDocument doc;
    MakeNote(doc, text, withPicture);
    TWPRtfStorage note;
    note.StoreFrom(doc);
    return note;
}

std::unique_ptr<TGFlatCalendar> FloatingCalendar(const QRect &bounds, int month)
{
    auto calendar = std::make_unique<TGFlatCalendar>();
    calendar->SetBounds(bounds);
    calendar->ChangeModel([month](FlatCalendarModel &model) {
        model.SetYear(2026);
        model.SetMonth(month);
        model.SetShowYear(true);
        return model.SetDayNameBGColor(TColor(0x00C0FFFF));
    });
    return calendar;
}

bool Save(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_formats_corpus FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool ok = true;

    // A month page with notes in two cells and two floating calendars.
    CalendarPage page;
    page.SetDefaultStyle();
    page.SetMainCalYear(2026);
    page.SetMainCalMonth(11);
    const FontSpec noteFont(QStringLiteral("Arial"), 10);
    if (!PuttextOnDay(page, 5, QStringLiteral("Guy Fawkes Night"), noteFont) ||
        !PuttextOnDay(page, 26, QStringLiteral("Thanksgiving Day"), noteFont)) {
        std::fprintf(stderr, "the page shows no day cells\n");
        return 1;
    }
    // The first note gets every format the reader knows.
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell) {
        if (!page.CellNote(cell).IsEmpty()) {
            page.SetCellNote(cell, Note(QStringLiteral("Guy Fawkes Night"), true));
            break;
        }
    }
    const auto november = FloatingCalendar(QRect(40, 30, 160, 130), 10);
    const auto december = FloatingCalendar(QRect(820, 30, 160, 130), 12);
    const QList<const PersistentObject *> objects{november.get(), december.get()};
    ok &= SaveCalendarFile(page, objects, folder.filePath(QStringLiteral("real-month.dlf")));
    ok &= SaveStyleSheet(page, folder.filePath(QStringLiteral("real-style.dls")));

    // A week planner of the same month with one object.
    page.SetCalendarLayout(TCalendarLayout(20));
    page.CalculateLayout(true);
    page.SetMainCalDay(23);
    ok &=
        SaveCalendarFile(page, {november.get()}, folder.filePath(QStringLiteral("real-week.dlf")));

    // The clipboard's records and a note on its own.
    QByteArray records;
    {
        QBuffer buffer(&records);
        buffer.open(QIODevice::WriteOnly);
        ok &= ComponentRecord::WriteObjects(objects, buffer);
    }
    ok &= Save(folder.filePath(QStringLiteral("real-clipboard.tmp")), records);
    QTextDocument note;
    MakeNote(note, QStringLiteral("Recurring dates"), true);
    ok &= Save(folder.filePath(QStringLiteral("real-note.rtf")), RtfWriter::ToRtf(note));
    return ok ? 0 : 1;
}
