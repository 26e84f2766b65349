#include "core/objects/supertext/tgsupertext.h"
#include "core/surface/pagedocument.h"
#include "ui/common/colorswatchbutton.h"
#include "ui/supertext/editsupertext.h"
#include "ui/supertext/supertextpreview.h"
#include "ui/supertext/tsupertextproperties.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

using namespace Dayloom;

namespace {

using Act = std::function<void(TSuperTextProperties &)>;

// The dialog's surroundings without blocking: what the user does runs while
// the dialog is shown, then a button closes it.
struct Fakes
{
    Act user;
    QString closeWith = QStringLiteral("OkButton");
    QStringList messages;
    std::optional<TColor> color;
    SuperTextServices Services()
    {
        SuperTextServices services;
        services.chooseColor = [this](QWidget *, TColor, const QString &) { return color; };
        services.chooseFont = [](QWidget *, const FontSpec &font, const QString &) {
            FontSpec chosen = font;
            chosen.SetName(QStringLiteral("Times New Roman"));
            return std::optional<FontSpec>(chosen);
        };
        services.loadTexture = [](QWidget *, const QString &) {
            QImage image(4, 4, QImage::Format_RGB32);
            image.fill(Qt::red);
            return std::optional<SuperTextServices::Texture>({image, QStringLiteral("/x/red.bmp")});
        };
        services.showInformation = [this](QWidget *, const QString &text) { messages << text; };
        services.runEditor = [this](TSuperTextProperties &dialog) {
            dialog.show();
            if (user)
                user(dialog);
            QTest::mouseClick(dialog.findChild<QPushButton *>(closeWith), Qt::LeftButton);
            return dialog.result() == QDialog::Accepted;
        };
        return services;
    }
};

struct Design
{
    PageDocument document;
    TGSuperText *text = nullptr;
    Design()
    {
        text = static_cast<TGSuperText *>(
            document.PlaceObject(std::make_unique<TGSuperText>(), QRect(20, 20, 300, 90)));
        document.UndoStack().clear();
    }
    bool Edit(Fakes &fakes) { return EditSuperText(nullptr, document, *text, fakes.Services()); }
};

template <class T> T *Find(TSuperTextProperties &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

} // namespace

class TestSuperTextProperties : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void okIsOneUndoStep();
    void cancelChangesNothing();
    void emptyTextRefused();
    void fontSizeSteps_data();
    void fontSizeSteps();
    void textureWithoutPictureStaysUnfilled();
    void typingRefitsAtMostFiveTimesASecond();
};

void TestSuperTextProperties::okIsOneUndoStep()
{
    Design design;
    Fakes fakes;
    fakes.color = clRed;
    fakes.user = [](TSuperTextProperties &dialog) {
        auto *caption = Find<QLineEdit>(dialog, "CaptionText");
        caption->selectAll();
        QTest::keyClicks(caption, QStringLiteral("Happy 2027"));
        Find<QComboBox>(dialog, "ShadowOrientationCombo")->setCurrentIndex(TGSuperText::sdLeft);
        Find<QSpinBox>(dialog, "ShadowDepthSpin")->setValue(6);
        QTest::mouseClick(Find<ColorSwatchButton>(dialog, "OutlineColor"), Qt::LeftButton);
        Find<QComboBox>(dialog, "SurfaceTypeCombo")->setCurrentIndex(TGSuperText::stBrushImage);
        QTest::mouseClick(Find<QPushButton>(dialog, "LoadTexture"), Qt::LeftButton);
        QCOMPARE(dialog.findChild<QStackedWidget *>()->currentWidget()->objectName(),
                 QStringLiteral("TexturePanel"));
    };
    QVERIFY(design.Edit(fakes));
    const TGSuperText &text = *design.text;
    QCOMPARE(text.Caption(), QStringLiteral("Happy 2027"));
    QCOMPARE(text.ShadowOrientation(), TGSuperText::sdLeft);
    QCOMPARE(text.ShadowDepth(), 6);
    QCOMPARE(text.OutlineColor(), clRed);
    QCOMPARE(text.SurfaceType(), TGSuperText::stBrushImage);
    QCOMPARE(text.Image().pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(text.LastBitmapFileNameandPath(), QStringLiteral("/x/red.bmp"));
    QUndoStack &stack = design.document.UndoStack();
    QCOMPARE(stack.count(), 1);
    QCOMPARE(stack.undoText(), QStringLiteral("SuperText Properties"));
    stack.undo();
    QCOMPARE(design.text->Caption(), QStringLiteral("Text"));
    QVERIFY(design.text->Image().isNull());
}

void TestSuperTextProperties::cancelChangesNothing()
{
    Design design;
    const QByteArray before = design.text->Caption().toUtf8();
    Fakes fakes;
    fakes.closeWith = QStringLiteral("CancelButton");
    fakes.user = [](TSuperTextProperties &dialog) {
        QTest::keyClicks(Find<QLineEdit>(dialog, "CaptionText"), QStringLiteral("xyz"));
        Find<QSpinBox>(dialog, "OutlineWidthSpin")->setValue(5);
    };
    QVERIFY(!design.Edit(fakes));
    QCOMPARE(design.text->Caption().toUtf8(), before);
    QCOMPARE(design.text->OutlineWidth(), 1);
    QCOMPARE(design.document.UndoStack().count(), 0);
}

void TestSuperTextProperties::emptyTextRefused()
{
    Design design;
    Fakes fakes;
    bool stillOpen = false;
    fakes.user = [&](TSuperTextProperties &dialog) {
        Find<QLineEdit>(dialog, "CaptionText")->clear();
        QTest::mouseClick(Find<QPushButton>(dialog, "OkButton"), Qt::LeftButton);
        stillOpen = dialog.isVisible();
        QTest::keyClicks(Find<QLineEdit>(dialog, "CaptionText"), QStringLiteral("A"));
    };
    QVERIFY(design.Edit(fakes));
    QVERIFY(stillOpen);
    QCOMPARE(fakes.messages, QStringList{QStringLiteral("Please enter some text")});
    QCOMPARE(design.text->Caption(), QStringLiteral("A"));
}

void TestSuperTextProperties::fontSizeSteps_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("expected");
    QTest::newRow("down at 12") << 12 << QStringLiteral("FontSizeDown") << 7;
    QTest::newRow("down at 10 does nothing") << 10 << QStringLiteral("FontSizeDown") << 10;
    QTest::newRow("up at 48") << 48 << QStringLiteral("FontSizeUp") << 53;
    QTest::newRow("up at 150 does nothing") << 150 << QStringLiteral("FontSizeUp") << 150;
}

void TestSuperTextProperties::fontSizeSteps()
{
    QFETCH(int, size);
    QFETCH(QString, button);
    QFETCH(int, expected);
    Design design;
    FontSpec font = design.text->Font();
    font.SetSize(size);
    design.text->SetFont(font);
    Fakes fakes;
    fakes.user = [&](TSuperTextProperties &dialog) {
        QTest::mouseClick(dialog.findChild<QToolButton *>(button), Qt::LeftButton);
        QCOMPARE(dialog.Preview().Font().Size(), expected);
    };
    design.Edit(fakes);
    QCOMPARE(design.text->Font().Size(), expected);
}

void TestSuperTextProperties::textureWithoutPictureStaysUnfilled()
{
    Design design;
    Fakes fakes;
    fakes.closeWith = QStringLiteral("CancelButton");
    fakes.user = [](TSuperTextProperties &dialog) {
        Find<QComboBox>(dialog, "SurfaceTypeCombo")->setCurrentIndex(TGSuperText::stBrushImage);
        QVERIFY(dialog.Preview().Image().isNull());
        QVERIFY(Find<QPushButton>(dialog, "LoadTexture")->isVisible());
        // Hollow letters switch a cleared outline back on.
        Find<QComboBox>(dialog, "OutlineStyleCombo")->setCurrentIndex(TGSuperText::psClear);
        Find<QComboBox>(dialog, "SurfaceTypeCombo")
            ->setCurrentIndex(TGSuperText::stBrushTransparent);
        QCOMPARE(Find<QComboBox>(dialog, "OutlineStyleCombo")->currentIndex(),
                 int(TGSuperText::psSolid));
    };
    design.Edit(fakes);
}

void TestSuperTextProperties::typingRefitsAtMostFiveTimesASecond()
{
    Design design;
    Fakes fakes;
    fakes.closeWith = QStringLiteral("CancelButton");
    fakes.user = [](TSuperTextProperties &dialog) {
        auto *caption = Find<QLineEdit>(dialog, "CaptionText");
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 1000) {
            QTest::keyClick(caption, Qt::Key_W);
            QTest::qWait(20);
        }
        const int fits = dialog.FitCount();
        QVERIFY2(fits >= 1 && fits <= 6, qPrintable(QString::number(fits)));
        // The last refit follows the last key.
        QTest::qWait(TSuperTextProperties::FitInterval * 2);
        QVERIFY(dialog.PreviewWidget()->width() >= dialog.Preview().Width());
        QVERIFY(dialog.Preview().Width() > 300);
    };
    design.Edit(fakes);
}

QTEST_MAIN(TestSuperTextProperties)
#include "tst_supertextproperties.moc"
