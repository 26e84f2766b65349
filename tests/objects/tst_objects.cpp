#include "core/formats/componentrecord.h"
#include "core/formats/objectclassregistry.h"
#include "core/objects/flatcalendar/flatcalendarkind.h"
#include "core/objects/flatcalendar/flatcalendarmodel.h"
#include "core/objects/flatcalendar/tgflatcalendar.h"
#include "core/objects/label/labelkind.h"
#include "core/objects/objecthost.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTest>

#include <functional>

using namespace Dayloom;

Q_DECLARE_METATYPE(Dayloom::TFlatCalBorderStyle)
Q_DECLARE_METATYPE(Dayloom::TFlatCalLanguage)
Q_DECLARE_METATYPE(Dayloom::TFlatShadowPosition)

namespace {

const QDate June2026(2026, 6, 15);
const QColor Untouched(0, 200, 0); // what the image holds before painting

QImage Canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Untouched);
    return image;
}

QImage Painted(const FlatCalendarModel &model, const QRect &bounds, float zoom, QSize size = {})
{
    QImage image = Canvas(size.isValid() ? size.width() : bounds.right() + 20,
                          size.isValid() ? size.height() : bounds.bottom() + 20);
    QPainter painter(&image);
    model.Paint(painter, bounds, zoom);
    return image;
}

bool IsBlack(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y) == QColor(Qt::black);
}

// A stand-in for the placed object: it owns a model and declares the
// model's properties, as the floating calendar object does.
class FlatObject : public PersistentObject
{
public:
    QByteArray ClassName() const override { return "TGFlatCalendar"; }
    const PropertyList &PublishedProperties() const override
    {
        static const PropertyList list = [] {
            PropertyListBuilder<FlatObject> builder;
            FlatCalendarModel::AppendPublishedProperties(
                builder, [](const FlatObject &o) -> const FlatCalendarModel & { return o.model; },
                [](FlatObject &o, const FlatCalendarModel::ModelEdit &edit) {
                    if (edit(o.model))
                        ++o.changes;
                });
            return builder.build();
        }();
        return list;
    }

    FlatCalendarModel model{June2026};
    int changes = 0;
};

// A page of a given size for objects to lie on.
class TestHost : public ObjectHost
{
public:
    explicit TestHost(QSize size) : m_size(size) {}
    bool Printing() const override { return false; }
    bool PaintSuspended() const override { return false; }
    void NotifyChanged() override {}
    void RequestHandleFit() override {}
    void RequestRepaint() override {}
    void ObjectStateChanged(TGGraphicControl *) override {}
    QSize SurfaceSize() const override { return m_size; }

private:
    QSize m_size;
};

// A placed object that fills its target and notes the largest device it was
// drawn on (its cached picture, on screens and images).
class Probe : public TGGraphicControl
{
public:
    QByteArray ClassName() const override { return "Probe"; }
    const PropertyList &PublishedProperties() const override { return BaseProperties(); }
    void PaintContent(QPainter &painter, const QRect &target, float) const override
    {
        const QPaintDevice *device = painter.device();
        largestDevice = largestDevice.expandedTo(QSize(device->width(), device->height()));
        painter.fillRect(target, Qt::red);
    }

    mutable QSize largestDevice;
};

// One setter call and what it must leave behind.
struct SetterCase
{
    const char *name;
    std::function<bool(FlatCalendarModel &)> edit;
    bool changed;
    std::function<int(const FlatCalendarModel &)> read;
    int expected;
};

const std::vector<SetterCase> &SetterCases()
{
    using M = FlatCalendarModel;
    static const std::vector<SetterCase> cases = {
        {"StartOfWeek 2 accepted", [](M &m) { return m.SetStartOfWeek(2); }, true,
         [](const M &m) { return m.StartOfWeek(); }, 2},
        {"StartOfWeek 7 (Saturday) accepted", [](M &m) { return m.SetStartOfWeek(7); }, true,
         [](const M &m) { return m.StartOfWeek(); }, 7},
        {"StartOfWeek 8 ignored", [](M &m) { return m.SetStartOfWeek(8); }, false,
         [](const M &m) { return m.StartOfWeek(); }, 1},
        {"StartOfWeek 0 ignored", [](M &m) { return m.SetStartOfWeek(0); }, false,
         [](const M &m) { return m.StartOfWeek(); }, 1},
        {"StartOfWeek unchanged", [](M &m) { return m.SetStartOfWeek(1); }, false,
         [](const M &m) { return m.StartOfWeek(); }, 1},
        {"ShadowDepth 10 accepted", [](M &m) { return m.SetShadowDepth(10); }, true,
         [](const M &m) { return m.ShadowDepth(); }, 10},
        {"ShadowDepth 11 ignored",
         [](M &m) {
             m.SetShadowDepth(4);
             return m.SetShadowDepth(11);
         },
         false, [](const M &m) { return m.ShadowDepth(); }, 4},
        {"ShadowDepth negative kept", [](M &m) { return m.SetShadowDepth(-3); }, true,
         [](const M &m) { return m.ShadowDepth(); }, -3},
        // A month outside 1-12 used to index past the twelve month names.
        {"Month 13 refused", [](M &m) { return m.SetMonth(13); }, false,
         [](const M &m) { return m.Month(); }, 6},
        {"Month 0 refused", [](M &m) { return m.SetMonth(0); }, false,
         [](const M &m) { return m.Month(); }, 6},
        {"Month 12 accepted", [](M &m) { return m.SetMonth(12); }, true,
         [](const M &m) { return m.Month(); }, 12},
        {"Year any value", [](M &m) { return m.SetYear(-44); }, true,
         [](const M &m) { return m.Year(); }, -44},
        {"Language outside the type refused",
         [](M &m) { return m.SetLanguage(static_cast<TFlatCalLanguage>(5)); }, false,
         [](const M &m) { return int(m.Language()); }, fclEnglish},
        {"Border style outside the type refused",
         [](M &m) { return m.SetCellBorderStyle(static_cast<TFlatCalBorderStyle>(-1)); }, false,
         [](const M &m) { return int(m.CellBorderStyle()); }, fcbNone},
        {"Font change reported",
         [](M &m) {
             FontSpec font = m.CellFont();
             font.SetItalic(true);
             return m.SetCellFont(font);
         },
         true, [](const M &m) { return int(m.CellFont().Italic()); }, 1},
    };
    return cases;
}

} // namespace

class TestObjects : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaults();
    void setterRules_data();
    void setterRules();
    void firstRow_data();
    void firstRow();
    void cellGeometry();
    void languages_data();
    void languages();
    void dayNameCutting_data();
    void dayNameCutting();
    void titleBand_data();
    void titleBand();
    void fontsScaleWithZoom();
    void shadow_data();
    void shadow();
    void transparentMode_data();
    void transparentMode();
    void borders_data();
    void borders();
    void nothingOutsideBounds();
    void printMatchesPaint_data();
    void printMatchesPaint();
    void printAtPrinterResolution();
    void propertiesRoundTrip();
    void objectCacheBoundedByPage_data();
    void objectCacheBoundedByPage();
    void cachedDrawingMatchesDirect_data();
    void cachedDrawingMatchesDirect();
    void kindRegistry();
    void toolKindsInToolOrder();
};

void TestObjects::defaults()
{
    const FlatCalendarModel m(June2026);
    QCOMPARE(m.StartOfWeek(), 1);
    QCOMPARE(m.Month(), 6);
    QCOMPARE(m.Year(), 2026);
    QCOMPARE(m.TitleFont(), FontSpec("Arial", 8));
    QCOMPARE(m.DayNameFont(), FontSpec("Arial", 8));
    QCOMPARE(m.CellFont(), FontSpec("Arial", 7));
    QCOMPARE(m.ShowYear(), false);
    QCOMPARE(m.DayNameBGColor(), clWhite);
    QCOMPARE(m.CalendarBorderStyle(), fcbAll);
    QCOMPARE(m.DayNameBorderStyle(), fcbAll);
    QCOMPARE(m.CellBorderStyle(), fcbNone);
    QCOMPARE(m.DayNameStyle(), fdsFirstChar);
    QCOMPARE(m.TitleBGcolor(), clWhite);
    QCOMPARE(m.Backgroundcolor(), clWhite);
    QCOMPARE(m.ShadowColor(), clBlack);
    QCOMPARE(m.ShadowDepth(), 0);
    QCOMPARE(m.ShadowPosition(), fcpLowerRight);
    QCOMPARE(m.Language(), fclEnglish);
    QCOMPARE(m.CalTransparent(), false);
    QCOMPARE(m.TitleText(), QStringLiteral("June"));

    const QDate before = QDate::currentDate();
    const FlatCalendarModel today;
    const QDate after = QDate::currentDate();
    QVERIFY(today.Month() == before.month() || today.Month() == after.month());
    QVERIFY(today.Year() == before.year() || today.Year() == after.year());
}

void TestObjects::setterRules_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(SetterCases().size()); ++i)
        QTest::newRow(SetterCases()[i].name) << i;
}

void TestObjects::setterRules()
{
    QFETCH(int, index);
    const SetterCase &c = SetterCases()[index];
    FlatCalendarModel m(June2026);
    QCOMPARE(c.edit(m), c.changed);
    QCOMPARE(c.read(m), c.expected);
}

void TestObjects::firstRow_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("startOfWeek");
    QTest::addColumn<QList<int>>("days");
    QTest::addColumn<int>("lastDay"); // the last day shown anywhere in the grid

    QTest::newRow("June 2026, Sunday weeks")
        << 2026 << 6 << 1 << QList<int>{0, 1, 2, 3, 4, 5, 6} << 30;
    QTest::newRow("June 2026, Monday weeks")
        << 2026 << 6 << 2 << QList<int>{1, 2, 3, 4, 5, 6, 7} << 30;
    QTest::newRow("Sunday first, Monday weeks")
        << 2026 << 2 << 2 << QList<int>{0, 0, 0, 0, 0, 0, 1} << 28;
    QTest::newRow("leap February") << 2024 << 2 << 1 << QList<int>{0, 0, 0, 0, 1, 2, 3} << 29;
    QTest::newRow("century not leap") << 1900 << 2 << 1 << QList<int>{0, 0, 0, 0, 1, 2, 3} << 28;
    // Year 0 had no weekday under the page's date rules, shifting every day.
    QTest::newRow("year 0") << 0 << 1 << 1 << QList<int>{0, 0, 0, 0, 0, 0, 1} << 31;
    QTest::newRow("negative year") << -1 << 1 << 1 << QList<int>{0, 0, 0, 0, 0, 1, 2} << 31;
}

void TestObjects::firstRow()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, startOfWeek);
    QFETCH(QList<int>, days);
    QFETCH(int, lastDay);

    FlatCalendarModel m(June2026);
    m.SetYear(year);
    m.SetMonth(month);
    m.SetStartOfWeek(startOfWeek);
    const TGFlatCalendarAttributes g = m.Geometry(QRect(0, 0, 140, 120), 1.0f);
    int maxDay = 0;
    for (int c = 0; c < 7; ++c) {
        QCOMPARE(m.DayInCell(0, c), days[c]);
        QCOMPARE(g.cells[c].day, days[c]);
    }
    for (const FlatCalendarCell &cell : g.cells)
        maxDay = std::max(maxDay, cell.day);
    QCOMPARE(maxDay, lastDay);
}

void TestObjects::cellGeometry()
{
    const FlatCalendarModel m(June2026);
    const QRect bounds(30, 40, 141, 120);
    const TGFlatCalendarAttributes g = m.Geometry(bounds, 1.0f);
    const int L = 30, R = 170, B = 159;
    const int cw = (R - L) / 7;
    QCOMPARE(g.columnWidth, cw);
    QCOMPARE(g.rowHeight, (B - g.gridTop) / 6);
    // Row 0, column 1 shows June 1 (a Monday) with Sunday weeks.
    const FlatCalendarCell &first = g.cells[1];
    QCOMPARE(first.day, 1);
    QCOMPARE(first.rect,
             (TRect{L + cw + 1, g.gridTop + 1, L + cw + 1 + cw - 2, g.gridTop + g.rowHeight}));
    // The last row absorbs what the division by six leaves over.
    QCOMPARE(g.cells[41].rect.Top, g.gridTop + 5 * g.rowHeight + 1);
}

void TestObjects::languages_data()
{
    QTest::addColumn<TFlatCalLanguage>("language");
    QTest::addColumn<QString>("january");
    QTest::addColumn<QString>("friday");
    QTest::addColumn<QString>("wednesday");

    QTest::newRow("English") << fclEnglish << "January"
                             << "Friday"
                             << "Wednesday";
    QTest::newRow("German") << fclGerman << "Januar"
                            << "Freitag "
                            << "Mittwoch";
    QTest::newRow("French") << fclFrench << "Janvier"
                            << "Vendredi"
                            << "Mercredi";
    // Italian comes before Spanish in this enumeration, unlike the dialog.
    QTest::newRow("Italian") << fclItalian << "Gennaio" << QStringLiteral("Venerd\u00ec")
                             << QStringLiteral("Mercoled\u00ec");
    QTest::newRow("Spanish") << fclSpanish << "Enero"
                             << "Viernes" << QStringLiteral("Mi\u00e9rcoles");
}

void TestObjects::languages()
{
    QFETCH(TFlatCalLanguage, language);
    QFETCH(QString, january);
    QFETCH(QString, friday);
    QFETCH(QString, wednesday);

    FlatCalendarModel m(June2026);
    m.SetLanguage(language);
    m.SetMonth(1);
    QCOMPARE(m.TitleText(), january);
    m.SetShowYear(true);
    QCOMPARE(m.TitleText(), january + QStringLiteral(" 2026"));
    m.SetDayNameStyle(fdsWhole);
    QCOMPARE(m.DayNameText(5), friday);
    QCOMPARE(m.DayNameText(3), wednesday);
    const TGFlatCalendarAttributes a = m.Attributes(QRect(0, 0, 100, 100), 1.0f);
    QCOMPARE(a.monthNames[0], january);
    QCOMPARE(a.dayNames[5], friday);
}

void TestObjects::dayNameCutting_data()
{
    QTest::addColumn<TFlatCalLanguage>("language");
    QTest::addColumn<int>("startOfWeek");
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("row");

    QTest::newRow("first characters, Sunday weeks")
        << fclEnglish << 1 << int(fdsFirstChar) << QStringList{"S", "M", "T", "W", "T", "F", "S"};
    QTest::newRow("French three characters")
        << fclFrench << 1 << int(fdsThreeChars)
        << QStringList{"Dim", "Lun", "Mar", "Mer", "Jeu", "Ven", "Sam"};
    QTest::newRow("German whole, Monday weeks")
        << fclGerman << 2 << int(fdsWhole)
        << QStringList{"Montag",   "Dienstag", "Mittwoch", "Donnerstag",
                       "Freitag ", "Samstag",  "Sonntag"};
}

void TestObjects::dayNameCutting()
{
    QFETCH(TFlatCalLanguage, language);
    QFETCH(int, startOfWeek);
    QFETCH(int, style);
    QFETCH(QStringList, row);

    FlatCalendarModel m(June2026);
    m.SetLanguage(language);
    m.SetStartOfWeek(startOfWeek);
    m.SetDayNameStyle(static_cast<TFlatCalHeadersStyle>(style));
    for (int c = 0; c < 7; ++c)
        QCOMPARE(m.DayNameText(c), row[c]);
    QCOMPARE(m.DayNameText(7), QString());
}

void TestObjects::titleBand_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("titlePoints");
    QTest::addColumn<bool>("textDecides");

    QTest::newRow("17 percent of a tall calendar") << 400 << 8 << false;
    QTest::newRow("70 pixels high, 20-pixel title font") << 70 << 15 << true;
}

void TestObjects::titleBand()
{
    QFETCH(int, height);
    QFETCH(int, titlePoints);
    QFETCH(bool, textDecides);

    FlatCalendarModel m(June2026);
    m.SetTitleFont(FontSpec("Arial", titlePoints));
    const TGFlatCalendarAttributes g = m.Geometry(QRect(0, 0, 200, height), 1.0f);
    const QFont font = FontSpec("Arial", titlePoints).ToQFontPoints(titlePoints);
    QCOMPARE(g.titleTextHeight, QFontMetrics(font).height());
    const int seventeenPercent = int((height - 1) * 0.17);
    QCOMPARE(g.titleRect.Bottom, textDecides ? g.titleTextHeight : seventeenPercent);
    QCOMPARE(g.dayNameRect.Top, g.titleRect.Bottom);
    // The day-name row is 1.5 times the day-name font's pixel height (11).
    QCOMPARE(g.dayNameRect.Bottom - g.dayNameRect.Top, 16);
}

void TestObjects::fontsScaleWithZoom()
{
    FlatCalendarModel m(June2026);
    m.SetTitleFont(FontSpec("Arial", 25));
    const TGFlatCalendarAttributes half = m.Attributes(QRect(0, 0, 100, 100), 0.5f);
    QCOMPARE(half.titleFont.Size(), 12);
    QCOMPARE(half.dayNameFont.Size(), 4);
    QCOMPARE(half.cellFont.Size(), 3);
    // A size that truncates to 0 points stays at 1 rather than some default.
    const TGFlatCalendarAttributes tiny = m.Attributes(QRect(0, 0, 100, 100), 0.1f);
    QCOMPARE(tiny.cellFont.Size(), 1);
}

void TestObjects::shadow_data()
{
    QTest::addColumn<TFlatShadowPosition>("position");
    QTest::addColumn<int>("depth");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QPoint>("shadowPixel");
    QTest::addColumn<QPoint>("untouchedPixel");
    QTest::addColumn<QPoint>("borderPixel");

    // Bounds (10, 10) to (110, 90), exclusive.
    QTest::newRow("lower right, depth 4 at zoom 0.5 offsets 2")
        << fcpLowerRight << 4 << 0.5f << QPoint(108, 89) << QPoint(108, 11) << QPoint(107, 50);
    QTest::newRow("upper left, depth 4 at zoom 0.5 offsets 2")
        << fcpUpperLeft << 4 << 0.5f << QPoint(10, 10) << QPoint(109, 11) << QPoint(12, 50);
    QTest::newRow("lower left, depth 6 at zoom 1")
        << fcpLowerLeft << 6 << 1.0f << QPoint(10, 89) << QPoint(15, 15) << QPoint(16, 50);
    QTest::newRow("upper right, depth 6 at zoom 1")
        << fcpUpperRight << 6 << 1.0f << QPoint(109, 10) << QPoint(15, 15) << QPoint(103, 50);
}

void TestObjects::shadow()
{
    QFETCH(TFlatShadowPosition, position);
    QFETCH(int, depth);
    QFETCH(float, zoom);
    QFETCH(QPoint, shadowPixel);
    QFETCH(QPoint, untouchedPixel);
    QFETCH(QPoint, borderPixel);

    FlatCalendarModel m(June2026);
    m.SetShadowDepth(depth);
    m.SetShadowColor(clRed);
    m.SetShadowPosition(position);
    const QRect bounds(10, 10, 100, 80);
    const QImage image = Painted(m, bounds, zoom);
    QCOMPARE(image.pixelColor(shadowPixel), QColor(Qt::red));
    QCOMPARE(image.pixelColor(untouchedPixel), Untouched);
    QVERIFY(IsBlack(image, borderPixel.x(), borderPixel.y()));
    QCOMPARE(m.ShadowOffset(zoom), int(depth * zoom));

    // A transparent calendar has no shadow, even with the deepest one.
    m.SetShadowDepth(10);
    m.SetCalTransparent(true);
    QCOMPARE(m.ShadowOffset(zoom), 0);
    const QImage clear = Painted(m, bounds, zoom);
    for (int y = 0; y < clear.height(); ++y)
        for (int x = 0; x < clear.width(); ++x)
            QVERIFY(clear.pixelColor(x, y) != QColor(Qt::red));
}

void TestObjects::transparentMode_data()
{
    QTest::addColumn<bool>("transparent");
    QTest::newRow("opaque") << false;
    QTest::newRow("transparent") << true;
}

void TestObjects::transparentMode()
{
    QFETCH(bool, transparent);

    FlatCalendarModel m(June2026);
    m.SetTitleBGcolor(clYellow);
    m.SetDayNameBGColor(clAqua);
    m.SetBackgroundcolor(clSilver);
    m.SetCalTransparent(transparent);
    const QRect bounds(0, 0, 211, 181);
    const QImage image = Painted(m, bounds, 1.0f);
    const TGFlatCalendarAttributes g = m.Geometry(bounds, 1.0f);

    const QPoint inTitle(3, 3);
    const QPoint inDayNames(g.columnWidth, (g.dayNameRect.Top + g.dayNameRect.Bottom) / 2);
    const QPoint inEmptyCell(g.cells[0].rect.Left + 2, g.cells[0].rect.Top + 2);
    QCOMPARE(g.cells[0].day, 0);
    QCOMPARE(image.pixelColor(inTitle), transparent ? Untouched : QColor(Qt::yellow));
    QCOMPARE(image.pixelColor(inDayNames), transparent ? Untouched : QColor(Qt::cyan));
    QCOMPARE(image.pixelColor(inEmptyCell), transparent ? Untouched : QColor(Qt::lightGray));
    // Lines are drawn either way.
    QVERIFY(IsBlack(image, 0, 90));
    QVERIFY(IsBlack(image, 5, g.dayNameRect.Bottom));
}

void TestObjects::borders_data()
{
    QTest::addColumn<int>("part"); // 0 calendar, 1 day-name row, 2 cells
    QTest::addColumn<TFlatCalBorderStyle>("style");
    QTest::addColumn<QList<bool>>("black");

    // Calendar and day-name row: top, bottom, left, right side, top right corner.
    const QList<std::pair<const char *, int>> outlines = {{"calendar", 0}, {"day names", 1}};
    for (const auto &[name, part] : outlines) {
        const QByteArray prefix(name);
        QTest::newRow(prefix + " none") << part << fcbNone << QList<bool>{0, 0, 0, 0, 0};
        QTest::newRow(prefix + " all") << part << fcbAll << QList<bool>{1, 1, 1, 1, 1};
        // A line-to leaves its end point, the top right corner, unpainted.
        QTest::newRow(prefix + " top") << part << fcbTop << QList<bool>{1, 0, 0, 0, 0};
        QTest::newRow(prefix + " bottom") << part << fcbBottom << QList<bool>{0, 1, 0, 0, 0};
        QTest::newRow(prefix + " top and bottom")
            << part << fcbTopBottom << QList<bool>{1, 1, 0, 0, 0};
    }
    // Cells: first line (under the day names), last line (the sixth week's
    // bottom), a middle line, an inner vertical line, the right line.
    QTest::newRow("cells none") << 2 << fcbNone << QList<bool>{0, 0, 0, 0, 0};
    QTest::newRow("cells all") << 2 << fcbAll << QList<bool>{1, 1, 1, 1, 1};
    QTest::newRow("cells top") << 2 << fcbTop << QList<bool>{1, 0, 1, 0, 0};
    QTest::newRow("cells bottom") << 2 << fcbBottom << QList<bool>{0, 1, 1, 0, 0};
    QTest::newRow("cells top and bottom") << 2 << fcbTopBottom << QList<bool>{1, 1, 1, 0, 0};
}

void TestObjects::borders()
{
    QFETCH(int, part);
    QFETCH(TFlatCalBorderStyle, style);
    QFETCH(QList<bool>, black);

    FlatCalendarModel m(June2026);
    m.SetCalendarBorderStyle(part == 0 ? style : fcbNone);
    m.SetDayNameBorderStyle(part == 1 ? style : fcbNone);
    m.SetCellBorderStyle(part == 2 ? style : fcbNone);
    const QRect bounds(5, 5, 211, 181);
    const QImage image = Painted(m, bounds, 1.0f);
    const TGFlatCalendarAttributes g = m.Geometry(bounds, 1.0f);
    const int L = 5, T = 5, R = 215, B = 185;
    const int rowMid = (g.dayNameRect.Top + g.dayNameRect.Bottom) / 2;
    const int gridMid = g.gridTop + g.rowHeight / 2;

    QList<QPoint> points;
    if (part == 0)
        points = {{L + 3, T}, {L + 3, B}, {L, gridMid}, {R, gridMid}, {R, T}};
    else if (part == 1)
        points = {{L + 3, g.dayNameRect.Top},
                  {L + 3, g.dayNameRect.Bottom},
                  {L, rowMid},
                  {R, rowMid},
                  {R, g.dayNameRect.Top}};
    else
        points = {{L + 3, g.gridTop},
                  {L + 3, B},
                  {L + 3, g.gridTop + 3 * g.rowHeight},
                  {L + g.columnWidth, gridMid},
                  {R, gridMid}};
    for (int i = 0; i < points.size(); ++i) {
        if (IsBlack(image, points[i].x(), points[i].y()) != black[i])
            QFAIL(qPrintable(
                QStringLiteral("point %1 (%2, %3)").arg(i).arg(points[i].x()).arg(points[i].y())));
    }
}

void TestObjects::nothingOutsideBounds()
{
    FlatCalendarModel m(June2026);
    m.SetShadowDepth(10);
    m.SetCellBorderStyle(fcbAll);
    const QRect bounds(20, 20, 60, 40); // too small for the text it holds
    const QImage image = Painted(m, bounds, 2.0f, QSize(120, 100));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!bounds.contains(x, y))
                QCOMPARE(image.pixelColor(x, y), Untouched);
}

void TestObjects::printMatchesPaint_data()
{
    QTest::addColumn<bool>("shadowAndGrid");
    QTest::addColumn<bool>("transparent");
    QTest::newRow("defaults") << false << false;
    QTest::newRow("shadow, grid, German, year") << true << false;
    QTest::newRow("transparent") << true << true;
}

void TestObjects::printMatchesPaint()
{
    QFETCH(bool, shadowAndGrid);
    QFETCH(bool, transparent);

    FlatCalendarModel m(June2026);
    if (shadowAndGrid) {
        m.SetShadowDepth(5);
        m.SetShadowPosition(fcpUpperLeft);
        m.SetCellBorderStyle(fcbAll);
        m.SetLanguage(fclGerman);
        m.SetShowYear(true);
        m.SetDayNameStyle(fdsWhole);
        m.SetTitleBGcolor(clNavy);
        m.SetTitleFont(FontSpec("Arial", 12, true, clWhite));
    }
    m.SetCalTransparent(transparent);
    const QSize size(240, 200);

    QPicture picture;
    {
        QPainter recorder(&picture);
        m.Print(recorder, QRectF(QPointF(0, 0), QSizeF(size)), FlatCalendarModel::ScreenPpi);
    }
    QImage replayed = Canvas(size.width(), size.height());
    {
        QPainter painter(&replayed);
        painter.drawPicture(0, 0, picture);
    }
    const QImage direct = Painted(m, QRect(QPoint(0, 0), size), 1.0f, size);
    QCOMPARE(replayed, direct);
}

void TestObjects::printAtPrinterResolution()
{
    FlatCalendarModel m(June2026);
    const int width = 150, height = 120;                // zoom-1 pixels
    const QRectF target(40, 30, width * 3, height * 3); // at 288 pixels per inch

    QPicture picture;
    {
        QPainter recorder(&picture);
        m.Print(recorder, target, 288);
    }
    QImage paper = Canvas(600, 450);
    {
        QPainter painter(&paper);
        painter.drawPicture(0, 0, picture);
    }
    // The outer border is a thin line at the scaled position of the last
    // column, not a 3-pixel-wide stretched one.
    const int y = 30 + height * 3 / 2;
    const int right = 40 + (width - 1) * 3;
    int blackColumns = 0;
    for (int x = right - 3; x <= right + 3; ++x)
        blackColumns += IsBlack(paper, x, y) ? 1 : 0;
    QCOMPARE(blackColumns, 1);
    QCOMPARE(paper.pixelColor(40 + width * 3 + 1, y), Untouched);
    QCOMPARE(paper.pixelColor(45, 35), QColor(Qt::white));
    // Nothing drawn for a device without a resolution.
    QPicture none;
    {
        QPainter recorder(&none);
        m.Print(recorder, target, 0);
    }
    QVERIFY(none.boundingRect().isEmpty());
}

void TestObjects::propertiesRoundTrip()
{
    FlatObject source;
    QVERIFY(source.model.SetStartOfWeek(2));
    QVERIFY(source.model.SetShadowDepth(7));
    QVERIFY(source.model.SetLanguage(fclItalian));
    QVERIFY(source.model.SetCellBorderStyle(fcbTopBottom));
    QVERIFY(source.model.SetDayNameStyle(fdsThreeChars));
    QVERIFY(source.model.SetShadowPosition(fcpUpperRight));
    QVERIFY(source.model.SetBackgroundcolor(clTeal));
    QVERIFY(source.model.SetCellFont(FontSpec("Times New Roman", 11, true, clMaroon)));
    QVERIFY(source.model.SetCalTransparent(true));
    source.SetName(QStringLiteral("Special1"));

    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    QVERIFY(ComponentRecord::WriteObject(source, buffer));
    QVERIFY(buffer.data().contains("fclItalian"));
    QVERIFY(buffer.data().contains("fcpUpperRight"));
    QVERIFY(!buffer.data().contains("TitleFont")); // defaults are not written
    QVERIFY(buffer.data().contains("Month"));      // no fixed default: always written

    ObjectClassRegistry registry;
    registry.Register<FlatObject>("TGFlatCalendar");
    buffer.seek(0);
    QString error;
    const std::unique_ptr<PersistentObject> read =
        ComponentRecord::ReadObject(buffer, registry, {}, &error);
    QVERIFY2(read, qPrintable(error));
    const auto *copy = static_cast<const FlatObject *>(read.get());
    QVERIFY(copy->model == source.model);
    QVERIFY(copy->changes > 0);
}

void TestObjects::objectCacheBoundedByPage_data()
{
    QTest::addColumn<QRect>("bounds"); // zoom 1
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QSize>("page"); // empty: the object is not placed
    QTest::addColumn<QSize>("canvas");

    const QSize letter(816, 1056);
    QTest::newRow("largest object at zoom 1")
        << QRect(0, 0, 32767, 32767) << 1.0f << letter << letter;
    QTest::newRow("largest object at zoom 2")
        << QRect(0, 0, 32767, 32767) << 2.0f << letter * 2 << letter * 2;
    QTest::newRow("largest object reaching in from far off the page")
        << QRect(-32700, -32700, 32767, 32767) << 1.0f << letter << letter;
    QTest::newRow("partly off the top left")
        << QRect(-40, -30, 100, 80) << 1.0f << QSize(200, 150) << QSize(200, 150);
    QTest::newRow("partly off the bottom right")
        << QRect(150, 100, 100, 80) << 1.0f << QSize(200, 150) << QSize(200, 150);
    QTest::newRow("wholly off the page")
        << QRect(250, 10, 100, 80) << 1.0f << QSize(200, 150) << QSize(400, 150);
    QTest::newRow("page smaller than the image")
        << QRect(0, 0, 32767, 32767) << 1.0f << QSize(100, 80) << QSize(300, 200);
    QTest::newRow("not placed: bounded by the image")
        << QRect(-5, -5, 32767, 32767) << 1.0f << QSize() << QSize(300, 200);
}

// An object of 32767 x 32767 used to be cached whole: gigabytes for one
// object, which then vanished when the allocation failed.
void TestObjects::objectCacheBoundedByPage()
{
    QFETCH(QRect, bounds);
    QFETCH(float, zoom);
    QFETCH(QSize, page);
    QFETCH(QSize, canvas);

    TestHost host(page);
    Probe probe;
    probe.SetBounds(bounds);
    probe.ScaleTo(zoom);
    if (page.isValid())
        probe.SetHost(&host);
    QImage image = Canvas(canvas.width(), canvas.height());
    {
        QPainter painter(&image);
        probe.Paint(painter);
    }
    const QSize limit = page.isValid() ? page.boundedTo(canvas) : canvas;
    QVERIFY2(probe.largestDevice.width() <= limit.width() &&
                 probe.largestDevice.height() <= limit.height(),
             qPrintable(QStringLiteral("%1 x %2")
                            .arg(probe.largestDevice.width())
                            .arg(probe.largestDevice.height())));

    QImage expected = Canvas(canvas.width(), canvas.height());
    QPainter(&expected).fillRect(probe.ScaledBounds() & QRect(QPoint(0, 0), limit), Qt::red);
    QCOMPARE(image, expected);
}

void TestObjects::cachedDrawingMatchesDirect_data()
{
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<float>("zoom");

    QTest::newRow("on the page") << QRect(10, 12, 180, 140) << 1.0f;
    QTest::newRow("on the page at zoom 1.5") << QRect(10, 12, 180, 140) << 1.5f;
    QTest::newRow("off the top left") << QRect(-70, -50, 180, 140) << 1.0f;
    QTest::newRow("off the bottom right at zoom 2") << QRect(100, 60, 180, 140) << 2.0f;
}

// The picture kept for the screen holds exactly what the object draws, also
// when only part of it lies on the page.
void TestObjects::cachedDrawingMatchesDirect()
{
    QFETCH(QRect, bounds);
    QFETCH(float, zoom);

    const QSize page(QSize(240, 200) * zoom);
    TestHost host(page);
    TGFlatCalendar calendar;
    calendar.SetBounds(bounds);
    calendar.ScaleTo(zoom);
    calendar.SetHost(&host);

    QImage cached = Canvas(page.width(), page.height());
    {
        QPainter painter(&cached);
        calendar.Paint(painter);
    }
    QImage direct = Canvas(page.width(), page.height());
    {
        QPainter painter(&direct);
        calendar.PaintContent(painter, calendar.ScaledBounds(), zoom);
    }
    QCOMPARE(cached, direct);
}

void TestObjects::kindRegistry()
{
    ObjectKindRegistry kinds;
    RegisterObjectKinds(kinds);
    const ObjectKind *calendar = kinds.FindTool(psFlatCalendar);
    QVERIFY(calendar);
    QCOMPARE(calendar->className, TGFlatCalendar::StoredClassName());
    QVERIFY(dynamic_cast<TGFlatCalendar *>(kinds.CreateForTool(psFlatCalendar).get()));
    QVERIFY(kinds.Classes().Create("tgflatcalendar"));
    QVERIFY(!kinds.FindTool(psPointing));
    QVERIFY(!ObjectKindRegistry().CreateForTool(psLabel));

    // A kind registered later may take over a tool; files still find both.
    const qsizetype builtIn = kinds.Kinds().size();
    kinds.Register<Probe>("Probe", psFlatCalendar);
    QCOMPARE(kinds.FindTool(psFlatCalendar)->className, QByteArray("Probe"));
    QCOMPARE(kinds.FindClass("TGFLATCALENDAR")->tool, psPointing);
    QCOMPARE(kinds.Create("probe")->ClassName(), QByteArray("Probe"));
    QCOMPARE(kinds.Classes().Create("TGFlatCalendar")->ClassName(), QByteArray("TGFlatCalendar"));
    QCOMPARE(kinds.Kinds().size(), builtIn + 1);
}

void TestObjects::toolKindsInToolOrder()
{
    ObjectKindRegistry kinds;
    kinds.Register<Probe>("Later", TLPanelState{7});
    kinds.Register<Probe>("NoTool");
    kinds.Register<Probe>("Earlier", TLPanelState{2});
    QList<QByteArray> order;
    for (const ObjectKind *kind : kinds.ToolKinds())
        order.append(kind->className);
    QCOMPARE(order, QList<QByteArray>({"Earlier", "Later"}));
}

QTEST_MAIN(TestObjects)
#include "tst_objects.moc"
