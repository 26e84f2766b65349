#include "ui/glyphs/buttonglyph.h"
#include "ui/glyphs/glyphiconengine.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QtTest>

using namespace Dayloom;

namespace {

QStringList BundledGlyphNames()
{
    QStringList names;
    QDirIterator it(QStringLiteral(":/glyphs"), {QStringLiteral("*.svg")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QFileInfo(it.next()).completeBaseName();
    names.removeDuplicates();
    names.sort();
    return names;
}

int CountPixels(const QImage &image, const std::function<bool(QColor)> &matches)
{
    int count = 0;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            if (matches(argb.pixelColor(x, y)))
                ++count;
        }
    }
    return count;
}

bool IsOpaque(QColor c, QColor wanted)
{
    return c.alpha() == 255 && c.rgb() == wanted.rgb();
}

// A one-theme icon folder whose "zoom-in" and "edit-select" are magenta squares.
void WriteMagentaTheme(const QString &root)
{
    QDir(root).mkpath(QStringLiteral("magenta/22"));
    QFile index(root + QStringLiteral("/magenta/index.theme"));
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=magenta\nDirectories=22\n\n[22]\nSize=22\nType=Fixed\n");
    index.close();
    QImage square(22, 22, QImage::Format_ARGB32);
    square.fill(Qt::magenta);
    for (const char *name : {"zoom-in", "edit-select"})
        QVERIFY(square.save(root + QStringLiteral("/magenta/22/%1.png").arg(QLatin1String(name))));
}

} // namespace

class TestGlyphs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void everyGlyphDrawsSharpAtBothRatios_data();
    void everyGlyphDrawsSharpAtBothRatios();
    void glyphsTakeThePalettesColours();
    void themeIconsReplaceStandardNamesOnly();
};

void TestGlyphs::cleanup()
{
    QApplication::setPalette(QPalette());
}

void TestGlyphs::everyGlyphDrawsSharpAtBothRatios_data()
{
    QTest::addColumn<QString>("name");
    const QStringList names = BundledGlyphNames();
    QVERIFY(names.size() >= 21);
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << name;
}

void TestGlyphs::everyGlyphDrawsSharpAtBothRatios()
{
    QFETCH(QString, name);
    const QIcon icon(new GlyphIconEngine(name));
    QVERIFY(!icon.isNull());
    for (const int side : {16, 22}) {
        for (const qreal ratio : {1.0, 2.0}) {
            const QPixmap picture = icon.pixmap(QSize(side, side), ratio);
            QVERIFY(!picture.isNull());
            // Drawn at the device's pixels, not a 1x picture scaled up.
            QCOMPARE(picture.size(), QSize(side, side) * ratio);
            QCOMPARE(picture.devicePixelRatio(), ratio);
            const int ink =
                CountPixels(picture.toImage(), [](QColor c) { return c.alpha() > 128; });
            QVERIFY2(ink > side * ratio, qPrintable(QStringLiteral("%1 px of ink").arg(ink)));
        }
    }
}

void TestGlyphs::glyphsTakeThePalettesColours()
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::ButtonText, Qt::red);
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, Qt::red);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    palette.setColor(QPalette::Active, QPalette::Highlight, Qt::blue);
    QApplication::setPalette(palette);
    const QIcon calendar(new GlyphIconEngine(QStringLiteral("dayloom-floating-calendar")));
    const QImage normal = calendar.pixmap(QSize(44, 44)).toImage();
    QVERIFY(CountPixels(normal, [](QColor c) { return IsOpaque(c, Qt::red); }) > 50);
    QVERIFY(CountPixels(normal, [](QColor c) { return IsOpaque(c, Qt::blue); }) > 50);

    const QImage disabled = calendar.pixmap(QSize(44, 44), QIcon::Disabled).toImage();
    QCOMPARE(CountPixels(disabled, [](QColor c) { return c.alpha() > 0 && c.red() > 200; }), 0);
    QVERIFY(CountPixels(disabled, [](QColor c) { return IsOpaque(c, QColor(128, 128, 128)); }) >
            50);

    // A palette change after the first drawing: the cached picture used to win.
    palette.setColor(QPalette::Active, QPalette::ButtonText, Qt::green);
    QApplication::setPalette(palette);
    const QImage after = calendar.pixmap(QSize(44, 44)).toImage();
    QCOMPARE(CountPixels(after, [](QColor c) { return IsOpaque(c, Qt::red); }), 0);
    QVERIFY(CountPixels(after, [](QColor c) { return IsOpaque(c, Qt::green); }) > 50);
}

void TestGlyphs::themeIconsReplaceStandardNamesOnly()
{
    QTemporaryDir folder;
    WriteMagentaTheme(folder.path());
    const QStringList oldPaths = QIcon::themeSearchPaths();
    const QString oldTheme = QIcon::themeName();
    QIcon::setThemeSearchPaths({folder.path()});
    QIcon::setThemeName(QStringLiteral("magenta"));
    const auto isMagenta = [](const QString &name) {
        const QImage picture = ButtonGlyph(name).pixmap(QSize(22, 22)).toImage();
        return !picture.isNull() && picture.pixelColor(11, 11) == QColor(Qt::magenta);
    };
    const bool standardFromTheme = isMagenta(QStringLiteral("zoom-in"));
    const bool ownFromTheme = isMagenta(QStringLiteral("edit-select"));
    const bool missingIsBundled = !ButtonGlyph(QStringLiteral("document-print")).isNull();
    QIcon::setThemeName(oldTheme);
    QIcon::setThemeSearchPaths(oldPaths);

    QVERIFY(standardFromTheme);
    // Names outside the standard may mean something else in a theme.
    QVERIFY(!ownFromTheme);
    QVERIFY(missingIsBundled);
    QVERIFY(ButtonGlyph(QStringLiteral("no-such-glyph")).isNull());
}

QTEST_MAIN(TestGlyphs)
#include "tst_glyphs.moc"
