// Writes the seed designs of the design fuzzer, saved by the program's own
// calendar file writer: every kind of placed object, clip art in every
// picture format the readers know, notes and a rich text label with pictures
// of every kind RTF carries, page borders. Each design is small so that the
// fuzzer's changes stay near what they test. Run it again when a format or an
// object kind changes:
//   build/tests/formats/make_design_corpus assets tests/formats/data/corpus-design
#include "metafilebuilder.h"
#include "rastersamples.h"

#include "core/calendar/calendarpage.h"
#include "core/formats/calendarfile.h"
#include "core/graphics/emfwriter.h"
#include "core/graphics/picture.h"
#include "core/io/appfolders.h"
#include "core/objects/flatcalendar/tgflatcalendar.h"
#include "core/objects/image/tgimage.h"
#include "core/objects/label/tgplabel.h"
#include "core/objects/richlabel/tgprichbaselabel.h"
#include "core/objects/shape/tgshape.h"
#include "core/objects/supertext/tgsupertext.h"
#include "core/recurring/recurringpagefill.h"
#include "core/richtext/twprtfstorage.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <memory>
#include <vector>

using namespace Dayloom;
using namespace Dayloom::Testing;

namespace {

// A design being put together: the page and the objects it will be saved
// with.
struct Design
{
    CalendarPage page;
    std::vector<std::unique_ptr<TGGraphicControl>> objects;

    Design()
    {
        page.SetDefaultStyle();
        page.SetMainCalYear(2026);
        page.SetMainCalMonth(3);
    }

    template <typename Object> Object &Add(const QRect &bounds)
    {
        auto object = std::make_unique<Object>();
        object->SetBounds(bounds);
        Object &added = *object;
        objects.push_back(std::move(object));
        return added;
    }

    bool Save(const QDir &folder, const QString &name) const
    {
        QList<const PersistentObject *> list;
        for (const auto &object : objects)
            list.append(object.get());
        QString error;
        if (SaveCalendarFile(page, list, folder.filePath(name), &error))
            return true;
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(name), qPrintable(error));
        return false;
    }
};

QByteArray JpegBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 80);
    return bytes;
}

// A one-colour GIF with one transparent pixel (Qt writes no GIF files).
QByteArray GifBytes()
{
    return QByteArray::fromHex("47494638396101000100800000000000ffffff21f904010000"
                               "00002c00000000010001000002024401003b");
}

// A Windows metafile with a placeable header: shapes, text and a bitmap.
QByteArray WmfBytes()
{
    WmfBuilder wmf;
    wmf.Window(QRect(0, 0, 400, 300))
        .Brush(QColor(0x30, 0x90, 0x40))
        .Pen(QColor(0x20, 0x20, 0x80), 3)
        .Rectangle(QRect(20, 20, 200, 120))
        .Polygon({QPoint(220, 40), QPoint(380, 60), QPoint(300, 280)})
        .Font(40)
        .TextOut(QPoint(30, 200), "Spring")
        .StretchDib(QRect(250, 180, 120, 90), TrueSample(6, 4, false));
    return wmf.Bytes(QRect(0, 0, 400, 300), 1440);
}

// An enhanced metafile as the program writes one.
QByteArray EmfBytes()
{
    EmfWriter writer(QSize(120, 90));
    QPainter painter(&writer);
    painter.setPen(QPen(QColor(0x80, 0x20, 0x20), 2, Qt::DashLine));
    painter.setBrush(QColor(0xF0, 0xC0, 0x30));
    painter.drawEllipse(QRect(10, 10, 60, 50));
    painter.setFont(QFont(QStringLiteral("Arial"), 14));
    painter.drawText(QPoint(20, 80), QStringLiteral("Sun"));
    painter.drawImage(QRect(80, 20, 30, 30), TrueSample(5, 5, true));
    painter.end();
    return writer.Bytes();
}

// An RTF picture group of the keyword's kind with the bytes as hex.
QByteArray PictGroup(const QByteArray &kind, const QByteArray &bytes, QSize pixels)
{
    return "{\\pict\\" + kind + "\\picw" + QByteArray::number(pixels.width()) + "\\pich" +
           QByteArray::number(pixels.height()) + "\\picwgoal" +
           QByteArray::number(pixels.width() * 15) + "\\pichgoal" +
           QByteArray::number(pixels.height() * 15) + "\n" + bytes.toHex() + "}";
}

// Rich text with a line of text, then the pictures.
QByteArray RtfWithPictures(const QByteArray &text, const QList<QByteArray> &pictures)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                     "{\\colortbl;\\red128\\green0\\blue32;}\\f0\\fs20\\cf1 " +
                     text + "\\par\\cf0 ";
    for (const QByteArray &picture : pictures)
        rtf += picture + " ";
    return rtf + "\\par}";
}

// A note made by the program's own note writer: bold text and a PNG picture.
TWPRtfStorage WrittenNote(const QString &text)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat bold;
    bold.setFontFamilies({QStringLiteral("Arial")});
    bold.setFontPointSize(10);
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(text, bold);
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("note:dot")),
                    TrueSample(8, 6, true));
    cursor.insertImage(QStringLiteral("note:dot"));
    TWPRtfStorage note;
    note.StoreFrom(doc);
    return note;
}

TWPRtfStorage RawNote(const QByteArray &rtf)
{
    TWPRtfStorage note;
    note.SetRtfText(rtf);
    return note;
}

// Puts the notes on the first days of the month, one each.
bool PutNotes(CalendarPage &page, const QList<TWPRtfStorage> &notes)
{
    const FontSpec font(QStringLiteral("Arial"), 10);
    for (int day = 1; day <= notes.size(); ++day)
        if (!PuttextOnDay(page, day, QStringLiteral("x"), font))
            return false;
    qsizetype next = 0;
    for (int cell = 1; cell <= CalendarPage::CellCount && next < notes.size(); ++cell)
        if (!page.CellNote(cell).IsEmpty())
            page.SetCellNote(cell, notes[next++]);
    return next == notes.size();
}

void AddClipArt(Design &design, const StoredPicture &stored, bool stretch, const QRect &bounds)
{
    TGImage &image = design.Add<TGImage>(bounds);
    image.SetStoredPicture(stored);
    image.SetSizing(stretch, !stretch);
    image.SetBorderStyle(stretch ? bsSingle : bsNone);
}

TGPLabel &AddLabel(Design &design, const QRect &bounds, const QString &caption, int angle)
{
    TGPLabel &label = design.Add<TGPLabel>(bounds);
    label.SetCaption(caption);
    label.SetFont(FontSpec(QStringLiteral("Times New Roman"), 20, true, clNavy));
    label.SetAngle(angle);
    label.SetDirectionShadow(sdDownRight);
    label.SetDepthShadow(3);
    label.SetcolorShadow(clSilver);
    label.SetDirectionHighlight(hdUpLeft);
    label.SetDepthHighlight(1);
    label.SetcolorHighlight(clYellow);
    return label;
}

TGSuperText &AddSuperText(Design &design, const QRect &bounds, const QString &caption)
{
    TGSuperText &text = design.Add<TGSuperText>(bounds);
    text.SetCaption(caption);
    text.SetFont(FontSpec(QStringLiteral("Arial"), 36, true));
    text.SetShadowOrientation(TGSuperText::sdDownRight);
    text.SetShadowDepth(4);
    text.SetOutlineStyle(TGSuperText::psDash);
    text.SetOutlineWidth(2);
    return text;
}

TGFlatCalendar &AddFloatingCalendar(Design &design, const QRect &bounds, int month)
{
    TGFlatCalendar &calendar = design.Add<TGFlatCalendar>(bounds);
    calendar.ChangeModel([month](FlatCalendarModel &model) {
        model.SetYear(2026);
        model.SetMonth(month);
        model.SetShowYear(true);
        return model.SetDayNameBGColor(TColor(0x00C0FFFF));
    });
    return calendar;
}

// A bitmap file as the program stores a picture (the same writer as clip art
// loaded from disk).
QByteArray StoredBitmapFile(const QImage &image)
{
    return Picture::FromImage(image).GraphicFile();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_design_corpus ASSETS-FOLDER FOLDER\n");
        return 2;
    }
    // The page borders are looked up among the assets.
    SetProgramFolder(QString::fromLocal8Bit(argv[1]));
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    bool ok = true;

    const QImage sixteen = IndexedSample(11, 5, 16);
    const QImage many = IndexedSample(9, 6, 200);
    const QImage colour = TrueSample(10, 4, false);
    const QImage alpha = TrueSample(7, 5, true);

    // Clip art, one design per picture format. Bitmaps hold the file as it
    // was read (a design made elsewhere may keep any format the readers
    // know); Targa is not recognised by its content, so it stays unshown.
    const QList<std::pair<QString, StoredPicture>> pictures{
        {QStringLiteral("bmp8"), StoredPicture("TBitmap", StoredBitmapFile(many))},
        {QStringLiteral("bmp-rle8"),
         StoredPicture("TBitmap", MakeRleBitmap(6, 3, 1,
                                                QByteArray::fromHex("03010003020304000000000202"
                                                                    "0102050001")))},
        {QStringLiteral("bmp-rle4"),
         StoredPicture("TBitmap",
                       MakeRleBitmap(6, 2, 2, QByteArray::fromHex("051200000005123450000001")))},
        {QStringLiteral("png-alpha"), StoredPicture("TBitmap", PngBytes(alpha))},
        {QStringLiteral("jpeg"), StoredPicture("TBitmap", JpegBytes(colour))},
        {QStringLiteral("gif"), StoredPicture("TBitmap", GifBytes())},
        {QStringLiteral("pcx"), StoredPicture("TBitmap", MakePcx(sixteen, 1, 4, true))},
        {QStringLiteral("targa"), StoredPicture("TBitmap", MakeTarga(many, 9, 8, 0x20, 32, 20))},
        {QStringLiteral("icon"),
         StoredPicture("TIcon", MakeIcon({MakeIconDib(sixteen, 8), PngBytes(alpha),
                                          MakeIconDib(alpha, 32)}))},
        {QStringLiteral("wmf"), StoredPicture("TMetafile", WmfBytes())},
        {QStringLiteral("emf"), StoredPicture("TMetafile", EmfBytes())},
    };
    for (const auto &[name, stored] : pictures) {
        Design design;
        AddClipArt(design, stored, true, QRect(60, 80, 240, 160));
        AddClipArt(design, stored, false, QRect(400, 500, 60, 40));
        ok &= design.Save(folder, QStringLiteral("clipart-%1.dlf").arg(name));
    }

    // Labels, turned and not, with their shadow and highlight copies.
    {
        Design design;
        AddLabel(design, QRect(40, 40, 300, 50), QStringLiteral("Spring Fair"), 0)
            .SetBorderStyle(bsSingle);
        TGPLabel &turned =
            AddLabel(design, QRect(700, 200, 50, 300), QStringLiteral("Tuesday"), 90);
        turned.SetTransparent(false);
        turned.SetBackColor(clAqua);
        ok &= design.Save(folder, QStringLiteral("label.dlf"));
    }

    // Every shape, with pens of each style and width, filled and not.
    {
        Design design;
        for (int shape = TGShape::shRectangle; shape <= TGShape::shLineUp; ++shape) {
            TGShape &drawn = design.Add<TGShape>(QRect(40 + 150 * shape, 300, 120, 80));
            drawn.SetShape(TGShape::TShapeType(shape));
            drawn.SetPenWidth(1 + 2 * shape);
            drawn.SetPenStyle(TGShape::TPenStyle(shape % 4));
            drawn.SetPenColor(shape % 2 ? clNavy : clMaroon);
            drawn.SetBrushColor(clYellow);
            drawn.SetBrushStyle(shape % 2 ? TGShape::bsClear : TGShape::bsSolid);
            drawn.SetCornerRadius(5 * shape);
        }
        ok &= design.Save(folder, QStringLiteral("shapes.dlf"));
    }

    // SuperText filled with a gradient, and with a texture.
    {
        Design design;
        TGSuperText &text =
            AddSuperText(design, QRect(100, 60, 400, 70), QStringLiteral("Gradient"));
        text.SetSurfaceType(TGSuperText::stGradientFill);
        text.SetFillDirection(TGSuperText::gdDown);
        text.SetGradientFromColor(clRed);
        text.SetGradientToColor(clBlue);
        ok &= design.Save(folder, QStringLiteral("supertext-gradient.dlf"));
    }
    {
        Design design;
        TGSuperText &text =
            AddSuperText(design, QRect(100, 60, 400, 70), QStringLiteral("Texture"));
        text.SetSurfaceType(TGSuperText::stBrushImage);
        text.SetImage(TrueSample(6, 6, false));
        text.SetControlTransparent(false);
        text.SetBGColor(clSilver);
        text.SetBorderStyle(bsSingle);
        ok &= design.Save(folder, QStringLiteral("supertext-texture.dlf"));
    }

    // Rich text labels: the note writer's PNG, and every other kind of
    // picture RTF carries.
    const QList<QByteArray> rtfPictures{
        PictGroup("jpegblip", JpegBytes(colour), colour.size()),
        PictGroup("dibitmap0", MakeDib(sixteen, 4), sixteen.size()),
        PictGroup("wmetafile8", WmfBytes(), QSize(40, 30)),
        PictGroup("emfblip", EmfBytes(), QSize(40, 30)),
    };
    {
        Design design;
        TGPRichBaseLabel &written = design.Add<TGPRichBaseLabel>(QRect(40, 40, 300, 80));
        written.SetRTFText(WrittenNote(QStringLiteral("Garden club")).RtfText());
        TGPRichBaseLabel &pictured = design.Add<TGPRichBaseLabel>(QRect(40, 200, 400, 160));
        pictured.SetRTFText(RtfWithPictures("Pictures", rtfPictures));
        pictured.SetTransparent(false);
        pictured.SetBGColor(clYellow);
        ok &= design.Save(folder, QStringLiteral("richlabel.dlf"));
    }

    // Floating calendars.
    {
        Design design;
        AddFloatingCalendar(design, QRect(40, 30, 160, 130), 2);
        AddFloatingCalendar(design, QRect(820, 30, 160, 130), 4);
        ok &= design.Save(folder, QStringLiteral("flatcalendar.dlf"));
    }

    // Notes with pictures of every kind, a page border and a title.
    {
        Design design;
        design.page.SetWMFBorderFile(QStringLiteral("Balloons"));
        design.page.SetUserTitle(QStringLiteral("March"));
        QList<TWPRtfStorage> notes{WrittenNote(QStringLiteral("Picnic"))};
        for (const QByteArray &picture : rtfPictures)
            notes.append(RawNote(RtfWithPictures("Day", {picture})));
        ok &= PutNotes(design.page, notes);
        ok &= design.page.WMFBorderFile() == QLatin1String("Balloons");
        ok &= design.Save(folder, QStringLiteral("notes-border.dlf"));
    }

    // A week planner with notes.
    {
        Design design;
        design.page.SetCalendarLayout(loWeek);
        design.page.SetMainCalDay(1);
        ok &= PutNotes(design.page, {WrittenNote(QStringLiteral("Dentist")),
                                     RawNote(RtfWithPictures("Trip", {rtfPictures[1]}))});
        ok &= design.Save(folder, QStringLiteral("week.dlf"));
    }

    // Everything at once with another border.
    {
        Design design;
        design.page.SetWMFBorderFile(QStringLiteral("Checker"));
        ok &= PutNotes(design.page, {WrittenNote(QStringLiteral("Dentist")),
                                     RawNote(RtfWithPictures("Trip", {rtfPictures[2]}))});
        AddLabel(design, QRect(30, 30, 260, 40), QStringLiteral("Week"), 0);
        AddClipArt(design, StoredPicture("TMetafile", EmfBytes()), true, QRect(600, 40, 120, 90));
        AddClipArt(design, StoredPicture("TBitmap", StoredBitmapFile(alpha)), true,
                   QRect(740, 40, 70, 50));
        AddSuperText(design, QRect(300, 20, 260, 60), QStringLiteral("Plans"));
        design.Add<TGPRichBaseLabel>(QRect(820, 40, 180, 80))
            .SetRTFText(RtfWithPictures("Note", {rtfPictures[0]}));
        AddFloatingCalendar(design, QRect(30, 600, 150, 120), 4);
        ok &= design.page.WMFBorderFile() == QLatin1String("Checker");
        ok &= design.Save(folder, QStringLiteral("everything.dlf"));
    }
    if (!ok)
        std::fprintf(stderr, "make_design_corpus: some designs were not written as meant\n");
    return ok ? 0 : 1;
}
