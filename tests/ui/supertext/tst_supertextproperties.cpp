#include "core/io/appfolders.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/objects/supertext/tgsupertext.h"
#include "core/surface/pagedocument.h"
#include "ui/common/colorswatchbutton.h"
#include "ui/supertext/editsupertext.h"
#include "ui/supertext/supertextpreview.h"
#include "ui/supertext/tsupertextbrushimagebrowser.h"
#include "ui/supertext/tsupertextproperties.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
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
        services.loadTexture = [](QWidget *, const TGSuperText &, const QString &) {
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
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void okIsOneUndoStep();
    void cancelChangesNothing();
    void emptyTextRefused();
    void fontSizeSteps_data();
    void fontSizeSteps();
    void textureWithoutPictureStaysUnfilled();
    void typingRefitsAtMostFiveTimesASecond();
    void returnMeansOk();
    void textureBrowserStartFolder_data();
    void textureBrowserStartFolder();
    void textureBrowserLoadsPictures_data();
    void textureBrowserLoadsPictures();
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

// Return in the text box used to press the last button clicked (the font
// dialog opened instead of Ok).
void TestSuperTextProperties::returnMeansOk()
{
    Design design;
    Fakes fakes;
    int fontDialogs = 0;
    fakes.user = [&](TSuperTextProperties &dialog) {
        QTest::mouseClick(Find<QPushButton>(dialog, "SelectFont"), Qt::LeftButton);
        auto *caption = Find<QLineEdit>(dialog, "CaptionText");
        caption->setFocus();
        caption->selectAll();
        QTest::keyClicks(caption, QStringLiteral("2027"));
        QTest::keyClick(caption, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
    };
    SuperTextServices services = fakes.Services();
    services.chooseFont = [&fontDialogs](QWidget *, const FontSpec &, const QString &) {
        ++fontDialogs;
        return std::optional<FontSpec>();
    };
    services.runEditor = [&](TSuperTextProperties &dialog) {
        dialog.show();
        fakes.user(dialog);
        return dialog.result() == QDialog::Accepted;
    };
    QVERIFY(EditSuperText(nullptr, design.document, *design.text, services));
    QCOMPARE(fontDialogs, 1);
    QCOMPARE(design.text->Caption(), QStringLiteral("2027"));
}

void TestSuperTextProperties::textureBrowserStartFolder_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("lastPath");
    QTest::addColumn<QString>("expected");
    QTest::newRow("deleted last picture opens bmbrush")
        << QStringList{QStringLiteral("bmbrush"), QStringLiteral("Textures")}
        << QStringLiteral("Textures/gone.bmp") << QStringLiteral("bmbrush");
    QTest::newRow("without bmbrush the textures")
        << QStringList{QStringLiteral("Textures")} << QString() << QStringLiteral("Textures");
    QTest::newRow("neither: the program's folder") << QStringList{} << QString() << QString();
    QTest::newRow("the last picture when it exists")
        << QStringList{QStringLiteral("bmbrush"), QStringLiteral("Textures")}
        << QStringLiteral("Textures/wood.png") << QStringLiteral("Textures");
}

void TestSuperTextProperties::textureBrowserStartFolder()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, lastPath);
    QFETCH(QString, expected);
    QTemporaryDir program;
    for (const QString &folder : folders)
        QVERIFY(QDir(program.path()).mkpath(folder));
    if (folders.contains(QStringLiteral("Textures"))) {
        QImage wood(8, 8, QImage::Format_RGB32);
        wood.fill(Qt::darkYellow);
        QVERIFY(wood.save(program.filePath(QStringLiteral("Textures/wood.png"))));
    }
    SetProgramFolder(program.path());
    TSuperTextBrushImageBrowser browser;
    browser.OpenAt(lastPath.isEmpty() ? QString() : program.filePath(lastPath));
    SetProgramFolder(QString());
    QCOMPARE(browser.Folder(), QDir(program.filePath(expected)).canonicalPath());
    const bool existing = lastPath.endsWith(QLatin1String("wood.png"));
    QCOMPARE(browser.SelectedFile().isEmpty(), !existing);
    QCOMPARE(browser.Example().Image().isNull(), !existing);
}

void TestSuperTextProperties::textureBrowserLoadsPictures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<bool>("message");
    QTest::newRow("picture") << QStringLiteral("good.PNG") << true << false;
    QTest::newRow("broken bitmap says so") << QStringLiteral("broken.bmp") << false << true;
    QTest::newRow("broken JPEG stays quiet") << QStringLiteral("broken.jpg") << false << false;
}

void TestSuperTextProperties::textureBrowserLoadsPictures()
{
    QFETCH(QString, file);
    QFETCH(bool, loads);
    QFETCH(bool, message);
    QTemporaryDir folder;
    QImage good(6, 6, QImage::Format_RGB32);
    good.fill(Qt::green);
    QVERIFY(good.save(folder.filePath(QStringLiteral("good.PNG")), "PNG"));
    for (const char *name : {"broken.bmp", "broken.jpg"}) {
        QFile broken(folder.filePath(QString::fromLatin1(name)));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a picture");
    }
    TSuperTextBrushImageBrowser browser;
    QStringList errors;
    browser.SetErrorHandler([&errors](const QString &text) { errors << text; });
    TGSuperText look;
    look.SetCaption(QStringLiteral("Wood"));
    browser.TakeLookOf(look);
    browser.OpenAt(folder.filePath(QStringLiteral("good.PNG")));
    QVERIFY(!browser.Picture().isNull());
    auto *files = browser.findChild<QListWidget *>(QStringLiteral("FileListBox1"));
    QCOMPARE(files->count(), 3);
    const QList<QListWidgetItem *> items = files->findItems(file, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    files->setCurrentItem(nullptr);
    files->setCurrentItem(items.first());
    QCOMPARE(!browser.Picture().isNull(), loads);
    QCOMPARE(!browser.Example().Image().isNull(), loads);
    QCOMPARE(browser.Example().Caption(), QStringLiteral("Wood"));
    QCOMPARE(errors, message ? QStringList{QStringLiteral("Error loading file!")} : QStringList());
}

QTEST_MAIN(TestSuperTextProperties)
#include "tst_supertextproperties.moc"
