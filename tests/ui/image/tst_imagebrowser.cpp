#include "core/io/appfolders.h"
#include "core/objects/image/imagekind.h"
#include "core/objects/image/tgimage.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "ui/app/helpwindow.h"
#include "ui/image/loadimagefromdisk.h"
#include "ui/image/tgimagebrowser.h"
#include "ui/surface/objectpopupmenu.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Dayloom;

namespace {

// Answers the next message boxes with OK and remembers what they said.
class MessageBoxAnswerer : public QObject
{
public:
    MessageBoxAnswerer()
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            texts.append(box->text());
            icons.append(box->icon());
            box->button(QMessageBox::Ok)->click();
        });
        m_timer.start();
    }

    QStringList texts;
    QList<QMessageBox::Icon> icons;

private:
    QTimer m_timer;
};

template <class T> T *Child(QWidget &parent, const char *name)
{
    T *child = parent.findChild<T *>(QLatin1String(name));
    if (!child)
        qFatal("no child %s", name);
    return child;
}

void ClickItem(QListWidget *list, const QString &text, bool twice = false)
{
    const QList<QListWidgetItem *> items = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(items.size() == 1, qPrintable(text));
    const QPoint centre = list->visualItemRect(items.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (twice) {
        // The second press of a double-click arrives as the double-click.
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, centre);
    }
}

QStringList Texts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

// A folder of pictures as users keep them: lower-case extensions, a file
// that is not a picture, a broken bitmap and a sub-folder.
struct PictureFolder
{
    QTemporaryDir dir;

    PictureFolder()
    {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.save(dir.filePath(QStringLiteral("flower.png")));
        picture.save(dir.filePath(QStringLiteral("SUN.BMP")));
        QFile text(dir.filePath(QStringLiteral("notes.txt")));
        text.open(QIODevice::WriteOnly);
        text.write("hello");
        QFile broken(dir.filePath(QStringLiteral("broken.bmp")));
        broken.open(QIODevice::WriteOnly);
        broken.write("BM but nothing more");
        QDir(dir.path()).mkdir(QStringLiteral("Winter"));
    }
    QString Path() const { return QDir(dir.path()).canonicalPath(); }
};

} // namespace

class TestImageBrowser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void listsAndFolders();
    void loadIsOneUndoStep();
    void brokenBitmapReported();
    void previewFillsIn();
    void cancelLeavesEmptyBox();
    void helpOpensSection();
    void popupItems();
    void placesOpenTheirFolders_data();
    void placesOpenTheirFolders();
};

void TestImageBrowser::listsAndFolders()
{
    PictureFolder folder;
    TGImageBrowser browser;
    browser.SetFolder(folder.Path());
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    QCOMPARE(browser.windowTitle(), QStringLiteral("Load Image File "));
    auto *files = Child<QListWidget>(browser, "FileListBox1");
    QCOMPARE(browser.focusWidget(), files);
    // Extensions in lower case are listed; other files are not.
    QCOMPARE(Texts(files), QStringList({"broken.bmp", "flower.png", "SUN.BMP"}));

    auto *folders = Child<QListWidget>(browser, "DirectoryListBox1");
    ClickItem(folders, QStringLiteral("Winter"), true);
    QCOMPARE(browser.Folder(), folder.Path() + QStringLiteral("/Winter"));
    QCOMPARE(files->count(), 0);
    ClickItem(folders, QStringLiteral(".."), true);
    QCOMPARE(browser.Folder(), folder.Path());
    QCOMPARE(files->count(), 3);

    // Stretch and AutoSize exclude each other when clicked.
    auto *stretch = Child<QCheckBox>(browser, "StretchBox");
    auto *autoSize = Child<QCheckBox>(browser, "AutoSizeBox");
    QCOMPARE(stretch->toolTip(), QStringLiteral("Stretch image to max display size"));
    QCOMPARE(autoSize->toolTip(), QStringLiteral("AutoSize TImage"));
    QTest::mouseClick(stretch, Qt::LeftButton);
    QVERIFY(browser.Stretch());
    QTest::mouseClick(autoSize, Qt::LeftButton);
    QVERIFY(browser.AutoSize());
    QVERIFY(!browser.Stretch());
    QTest::mouseClick(autoSize, Qt::LeftButton);
    QVERIFY(!browser.AutoSize());
    QVERIFY(!browser.Stretch());
}

void TestImageBrowser::loadIsOneUndoStep()
{
    PictureFolder folder;
    TCalendarPanel32 page;
    PageDocument &document = page.Document();
    auto *image = static_cast<TGImage *>(document.CreateObjectInRect(psImage, QRect(10, 10, 5, 5)));
    QVERIFY(image);
    const int steps = document.UndoStack().count();

    ImageLoadServices services = ImageLoadServices::standard();
    services.runBrowser = [](TGImageBrowser &browser) {
        browser.show();
        if (!QTest::qWaitForWindowExposed(&browser))
            return false;
        // The image's sizing arrives in the boxes.
        if (!browser.Stretch() || browser.AutoSize())
            return false;
        // OK right after the choice takes the picture its preview is still reading.
        ClickItem(Child<QListWidget>(browser, "FileListBox1"), QStringLiteral("flower.png"));
        QTest::mouseClick(Child<QCheckBox>(browser, "AutoSizeBox"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(browser, "OkButton"), Qt::LeftButton);
        return browser.result() == QDialog::Accepted;
    };
    QString remembered = folder.Path();
    QVERIFY(LoadImageFromDisk(&page, document, *image, remembered, services));
    QCOMPARE(remembered, folder.Path());
    QVERIFY(image->GetPicture().IsBitmap());
    QVERIFY(image->AutoSize());
    QVERIFY(!image->Stretch());
    QCOMPARE(image->Bounds(), QRect(10, 10, 40, 30));
    QCOMPARE(document.UndoStack().count(), steps + 1);
    QCOMPARE(document.UndoStack().undoText(), QStringLiteral("Load Image"));

    document.UndoStack().undo();
    QVERIFY(image->GetPicture().IsEmpty());
    QVERIFY(image->Stretch());
    QCOMPARE(image->Bounds().size(), QSize(50, 15));
}

// Choosing a bitmap that cannot be read says so and empties the preview.
void TestImageBrowser::brokenBitmapReported()
{
    PictureFolder folder;
    TGImageBrowser browser;
    browser.SetFolder(folder.Path());
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    auto *files = Child<QListWidget>(browser, "FileListBox1");
    ClickItem(files, QStringLiteral("SUN.BMP"));
    QTRY_VERIFY(!browser.PreviewPicture().IsEmpty());

    MessageBoxAnswerer answerer;
    ClickItem(files, QStringLiteral("broken.bmp"));
    QTRY_COMPARE(answerer.texts, QStringList({"Error loading file!"}));
    QCOMPARE(answerer.icons.value(0), QMessageBox::Critical);
    QVERIFY(browser.PreviewPicture().IsEmpty());
}

// Choosing a file read its picture before the list answered again (a shipped
// drawing took over a second); now the preview fills in, with the picture of
// the file chosen last when the user moves on before one is read.
void TestImageBrowser::previewFillsIn()
{
    PictureFolder folder;
    QImage small(20, 10, QImage::Format_RGB32);
    small.fill(Qt::blue);
    QVERIFY(small.save(QDir(folder.Path()).filePath(QStringLiteral("leaf.png"))));
    TGImageBrowser browser;
    browser.SetFolder(folder.Path());
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    auto *files = Child<QListWidget>(browser, "FileListBox1");
    ClickItem(files, QStringLiteral("flower.png"));
    QVERIFY(browser.PreviewPicture().IsEmpty());
    QTRY_COMPARE(browser.PreviewPicture().Size(), QSize(40, 30));

    ClickItem(files, QStringLiteral("SUN.BMP"));
    ClickItem(files, QStringLiteral("flower.png"));
    ClickItem(files, QStringLiteral("leaf.png"));
    QTRY_COMPARE(browser.PreviewPicture().Size(), QSize(20, 10));
    browser.WaitForPreview();
    QCOMPARE(browser.PreviewPicture().Size(), QSize(20, 10));
    QCOMPARE(Child<QWidget>(browser, "Image1")->sizeHint(), QSize(20, 10));
}

// The browser cancelled leaves the image as it was (a new one's framed white box).
void TestImageBrowser::cancelLeavesEmptyBox()
{
    TCalendarPanel32 page;
    PageDocument &document = page.Document();
    auto *image = static_cast<TGImage *>(document.CreateObjectInRect(psImage, QRect(0, 0, 60, 40)));
    const int steps = document.UndoStack().count();
    ImageLoadServices services = ImageLoadServices::standard();
    services.runBrowser = [](TGImageBrowser &browser) {
        browser.show();
        QTest::mouseClick(Child<QPushButton>(browser, "CancelButton"), Qt::LeftButton);
        return browser.result() == QDialog::Accepted;
    };
    QString remembered;
    QVERIFY(!LoadImageFromDisk(&page, document, *image, remembered, services));
    QVERIFY(image->GetPicture().IsEmpty());
    QCOMPARE(document.UndoStack().count(), steps);
}

void TestImageBrowser::helpOpensSection()
{
    QVERIFY(HelpWindow::HasTopic(TGImageBrowser::HelpContext));
    TGImageBrowser browser;
    int asked = 0;
    browser.SetHelpHandler([&asked](int context) { asked = context; });
    browser.show();
    QTest::mouseClick(Child<QPushButton>(browser, "HelpButton"), Qt::LeftButton);
    QCOMPARE(asked, 40003);
}

// The kind's items: toggles are undo steps named after them; Flip needs a
// bitmap.
void TestImageBrowser::popupItems()
{
    TCalendarPanel32 page;
    PageDocument &document = page.Document();
    auto *image = static_cast<TGImage *>(document.CreateObjectInRect(psImage, QRect(0, 0, 60, 40)));
    ObjectPopupMenu *menu = page.ObjectMenu(image);
    QVERIFY(menu->Item(QStringLiteral("Load Image From Disk")));
    QVERIFY(!menu->Item(QStringLiteral("Flip"))->isEnabled());
    menu->Item(QStringLiteral("Border"))->trigger();
    QCOMPARE(image->BorderStyle(), bsSingle);
    QCOMPARE(document.UndoStack().undoText(), QStringLiteral("Border"));

    image->SetPicture(Picture::FromImage(QImage(4, 4, QImage::Format_RGB32)));
    menu = page.ObjectMenu(image);
    QVERIFY(menu->Item(QStringLiteral("Flip"))->isEnabled());
    QVERIFY(menu->Item(QStringLiteral("Border"))->isChecked());
    QVERIFY(menu->Item(QStringLiteral("Stretch to Fit"))->isChecked());
    menu->Item(QStringLiteral("Flip"))->trigger();
    QVERIFY(image->Flip());
    document.UndoStack().undo();
    QVERIFY(!image->Flip());
}

void TestImageBrowser::placesOpenTheirFolders_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("folder"); // under the scratch folder
    QTest::newRow("home") << "Home"
                          << "home";
    QTest::newRow("pictures") << "Pictures"
                              << "home/Pictures";
    QTest::newRow("clip art") << "Clip Art"
                              << "program/Clipart";
    QTest::newRow("textures") << "Textures"
                              << "program/Textures";
}

// The box used to offer only "/", the one drive of this system.
void TestImageBrowser::placesOpenTheirFolders()
{
    QFETCH(QString, place);
    QFETCH(QString, folder);
    QTemporaryDir scratch;
    const QDir root(scratch.path());
    for (const char *made : {"home/Pictures", "program/Clipart", "program/Textures", "config"})
        QVERIFY(root.mkpath(made));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(root.filePath(folder + QStringLiteral("/marker.png"))));
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", root.filePath(QStringLiteral("home")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toLocal8Bit());
    SetProgramFolder(root.filePath(QStringLiteral("program")));

    TGImageBrowser browser;
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    auto *places = Child<QComboBox>(browser, "DriveComboBox1");
    const int index = places->findText(place);
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
    SetProgramFolder(QString());
    QVERIFY2(index >= 0, qPrintable(place));
    places->setCurrentIndex(index);
    Q_EMIT places->activated(index);

    QCOMPARE(browser.Folder(), QDir(root.filePath(folder)).canonicalPath());
    QCOMPARE(places->currentText(), place);
    QCOMPARE(Texts(Child<QListWidget>(browser, "FileListBox1")), QStringList{"marker.png"});
}

QTEST_MAIN(TestImageBrowser)
#include "tst_imagebrowser.moc"
