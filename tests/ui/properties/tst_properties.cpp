#include "core/calendar/calendarpage.h"
#include "core/common/scriptwarningfilter.h"
#include "core/formats/calendarsettingsblock.h"
#include "core/formats/stylesheet.h"
#include "core/formats/valuewriter.h"
#include "core/io/appfolders.h"
#include "ui/app/helpwindow.h"
#include "ui/common/colorswatchbutton.h"
#include "ui/common/fontspecdialog.h"
#include "ui/properties/languagechooser.h"
#include "ui/properties/tcalendarproperties.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBuffer>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Dayloom;

namespace {

// Answers the dialog's message boxes and nested dialogs without blocking,
// and records what they were asked.
struct Recorder
{
    QStringList messages;
    QStringList questions;
    bool answerYes = false;
    QString fileName;
    PropertiesDialogServices::FileRequest request;
    std::optional<TColor> color;
    std::optional<QTime> time;
    std::optional<QLocale> language;

    PropertiesDialogServices services()
    {
        PropertiesDialogServices s;
        s.showInformation = [this](QWidget *, const QString &m) { messages.append(m); };
        s.askYesNo = [this](QWidget *, const QString &m, const QString &caption) {
            questions.append(caption + QLatin1Char(':') + m);
            return answerYes;
        };
        s.askOkCancel = s.askYesNo;
        const auto file = [this](QWidget *, const PropertiesDialogServices::FileRequest &r) {
            request = r;
            return fileName;
        };
        s.getSaveFileName = file;
        s.getOpenFileName = file;
        s.pickFont = [](QWidget *, const FontSpec &) { return std::optional<FontSpec>(); };
        s.pickColor = [this](QWidget *, TColor) { return color; };
        s.pickTime = [this](QWidget *, const QTime &) { return time; };
        s.pickLanguage = [this](QWidget *) { return language; };
        return s;
    }
};

template <typename T> T *child(QWidget &parent, const QString &name)
{
    T *widget = parent.findChild<T *>(name);
    if (!widget)
        qFatal("no child %s", qPrintable(name));
    return widget;
}

void clickRow(QListWidget *list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

// Near the left edge: a radio button takes clicks only on its circle and text.
void clickButton(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {},
                      QPoint(std::min(10, button->width() / 2), button->height() / 2));
}

void showTab(TCalendarProperties &dialog, int tab)
{
    QTabBar *tabs = child<QTabBar>(dialog, QStringLiteral("TabSet1"));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
}

} // namespace

class TestProperties : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_program;
    Recorder m_recorder;
    CalendarPage m_source;

    // The dialog as the main window opens it: the page's settings copied in,
    // then shown.
    std::unique_ptr<TCalendarProperties> open()
    {
        m_recorder = Recorder();
        auto dialog = std::make_unique<TCalendarProperties>(nullptr);
        dialog->SetServices(m_recorder.services());
        dialog->SetPreviewZoom(0.3f);
        dialog->ExampleCalendar().AssignSettings(m_source);
        dialog->show();
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog.get()))
            qWarning("the dialog did not become active");
        return dialog;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QDir(m_program.path()).mkdir(QStringLiteral("Borders"));
        for (const char *name : {"Balloons", "Checker"}) {
            for (const char *extension : {".wls", ".wpo"}) {
                const QString file = QLatin1String(name) + QLatin1String(extension);
                QVERIFY(QFile::copy(QStringLiteral(DAYLOOM_ASSETS "/Borders/") + file,
                                    m_program.filePath(QStringLiteral("Borders/") + file)));
            }
        }
        // A border with a portrait picture only, which the list (of
        // landscape pictures) does not offer.
        QVERIFY(QFile::copy(QStringLiteral(DAYLOOM_ASSETS "/Borders/Balloons.wpo"),
                            m_program.filePath(QStringLiteral("Borders/Orphan.wpo"))));
        SetProgramFolder(m_program.path());
    }

    void init()
    {
        m_source.SetDefaultStyle();
        m_source.SetMainCalDay(24);
        m_source.SetMainCalMonth(12);
        m_source.SetMainCalYear(2026);
    }

    void fontDialogKeepsASubstitutedFace_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("bold");
        QTest::newRow("stored face drawn by a substitute") << "Times New Roman" << true;
        QTest::newRow("installed face") << "Liberation Sans" << false;
    }

    void fontDialogKeepsASubstitutedFace()
    {
        // OK without a change turned "Times New Roman" bold into "Sans Serif".
        QFETCH(QString, name);
        QFETCH(bool, bold);
        const FontSpec stored(name, 26, bold);
        QString shownFamily;
        bool shownBold = !bold;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            shownFamily = dialog->currentFont().family();
            shownBold = dialog->currentFont().bold();
            dialog->accept();
        });
        const std::optional<FontSpec> chosen = AskFontSpec(nullptr, stored);
        QVERIFY(chosen);
        QCOMPARE(shownFamily, QFontInfo(QFont(name)).family());
        QCOMPARE(shownBold, bold);
        QCOMPARE(chosen->Name(), name);
        QCOMPARE(chosen->Bold(), bold);
        QCOMPARE(chosen->Size(), 26);
    }

    void planner_layout_and_orientation()
    {
        auto dialog = open();
        QListWidget *list = child<QListWidget>(*dialog, QStringLiteral("LayoutList"));
        clickButton(child<QRadioButton>(*dialog, QStringLiteral("rOrientation1")));
        clickRow(list, 10);
        QCOMPARE(dialog->ExampleCalendar().CalendarLayout(), lo2Week);
        QVERIFY(!child<QGroupBox>(*dialog, QStringLiteral("rOrientation"))->isEnabled());
        clickRow(list, 0);
        // The landscape choice stays while a planner is shown.
        QCOMPARE(dialog->ExampleCalendar().CalendarLayout(), LOFullCalendarLS);
    }

    void planner_date_caption()
    {
        auto dialog = open();
        auto *label = child<QLabel>(*dialog, QStringLiteral("DateLabel"));
        QCOMPARE(label->text(), QStringLiteral("December 2026"));
        clickRow(child<QListWidget>(*dialog, QStringLiteral("LayoutList")), 9);
        showTab(*dialog, 1);
        QCOMPARE(child<QLabel>(*dialog, QStringLiteral("DateHeading"))->text(),
                 QStringLiteral("Select Starting Date"));
        QCOMPARE(label->text(), QLocale().toString(QDate(2026, 12, 24), QLocale::LongFormat));
        QVERIFY(!child<QGroupBox>(*dialog, QStringLiteral("WeekStartsOn"))->isEnabled());
        clickButton(child<QPushButton>(*dialog, QStringLiteral("NextYearButton")));
        QCOMPARE(dialog->ExampleCalendar().MainCalYear(), 2027);
        QCOMPARE(dialog->ExampleCalendar().MainCalDay(), 24);
    }

    void margin_entries_data()
    {
        QTest::addColumn<float>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0.6 shows half an inch") << 0.6f << QStringLiteral("\u00BD Inch");
        QTest::newRow("2 shows one and a half") << 2.0f << QStringLiteral("1\u00BD Inch");
    }
    void margin_entries()
    {
        QFETCH(float, stored);
        QFETCH(QString, shown);
        m_source.SetLeftMarginInch(stored);
        auto dialog = open();
        auto *combo = child<QComboBox>(*dialog, QStringLiteral("LeftMarginInchcombo"));
        QCOMPARE(combo->currentText(), shown);
        QCOMPARE(combo->count(), 6);
        clickButton(child<QPushButton>(*dialog, QStringLiteral("OkButton")));
        // Used to fail: filling the list wrote the entry's value back.
        QCOMPARE(dialog->ExampleCalendar().LeftMarginInch(), stored);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    }

    void margin_entry_chosen_again_data()
    {
        QTest::addColumn<float>("stored");
        QTest::addColumn<float>("chosen");
        QTest::newRow("0.6 chosen as half an inch") << 0.6f << 0.5f;
        QTest::newRow("2 chosen as one and a half") << 2.0f << 1.5f;
    }
    void margin_entry_chosen_again()
    {
        // Used to fail: choosing the entry already shown left the stored value.
        QFETCH(float, stored);
        QFETCH(float, chosen);
        m_source.SetBottomMarginInch(stored);
        auto dialog = open();
        showTab(*dialog, 8);
        auto *combo = child<QComboBox>(*dialog, QStringLiteral("BottomMarginInchcombo"));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_F4);
        QTRY_VERIFY(combo->view()->isVisible());
        QTest::keyClick(combo->view(), Qt::Key_Return);
        QTRY_VERIFY(!combo->view()->isVisible());
        QCOMPARE(dialog->ExampleCalendar().BottomMarginInch(), chosen);
    }

    void millimetres_relabel_only()
    {
        auto dialog = open();
        showTab(*dialog, 8);
        auto *combo = child<QComboBox>(*dialog, QStringLiteral("TopMarginInchcombo"));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down); // "¾ Inch"
        QCOMPARE(dialog->ExampleCalendar().TopMarginInch(), 0.75f);
        clickButton(child<QRadioButton>(*dialog, QStringLiteral("UseMillimeters")));
        QCOMPARE(combo->currentIndex(), 2);
        QCOMPARE(combo->currentText(), QStringLiteral("19 mm"));
        QCOMPARE(dialog->ExampleCalendar().TopMarginInch(), 0.75f);
        clickButton(child<QRadioButton>(*dialog, QStringLiteral("UseInches")));
        QCOMPARE(combo->count(), 6);
        QCOMPARE(combo->currentText(), QStringLiteral("\u00BE Inch"));
    }

    void day_memo_of_five_lines()
    {
        auto dialog = open();
        showTab(*dialog, 7);
        auto *memo = child<QPlainTextEdit>(*dialog, QStringLiteral("DayNames"));
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
        for (const char *name : {"Su", "Mo", "Tu", "We"}) {
            QTest::keyClicks(memo, QLatin1String(name));
            QTest::keyClick(memo, Qt::Key_Return);
        }
        QTest::keyClicks(memo, QStringLiteral("Th"));
        child<QPlainTextEdit>(*dialog, QStringLiteral("MonthNames"))->setFocus();
        const CalendarPage &page = dialog->ExampleCalendar();
        QCOMPARE(page.DayName(1), QStringLiteral("Su"));
        QCOMPARE(page.DayName(5), QStringLiteral("Th"));
        QCOMPARE(page.DayName(6), m_source.DayName(6));
        QCOMPARE(page.DayName(7), m_source.DayName(7));
    }

    void mini_font_sizes_kept_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("kept");
        QTest::newRow("OK") << QStringLiteral("ok") << true;
        QTest::newRow("style sheet of another layout") << QStringLiteral("style") << true;
        QTest::newRow("paper size") << QStringLiteral("paper") << true;
        QTest::newRow("another layout") << QStringLiteral("layout") << false;
    }
    void mini_font_sizes_kept()
    {
        // OK and Load Style Sheet reset the mini fonts to the layout's sizes.
        QFETCH(QString, action);
        QFETCH(bool, kept);
        FontSpec font = m_source.MiniTitleFont();
        font.SetSize(20);
        m_source.SetMiniTitleFont(font);
        CalendarPage style;
        style.SetDefaultStyle();
        style.SetCalendarLayout(loMC12Month);
        style.SetMiniTitleFont(font);
        const QString path = m_program.filePath(QStringLiteral("minis.DLS"));
        QVERIFY(SaveStyleSheet(style, path));

        auto dialog = open();
        const CalendarPage &preview = dialog->ExampleCalendar();
        if (action == QLatin1String("style")) {
            m_recorder.fileName = path;
            clickButton(child<QPushButton>(*dialog, QStringLiteral("LoadStyleButton")));
            QCOMPARE(preview.CalendarLayout(), loMC12Month);
        } else if (action == QLatin1String("paper")) {
            clickButton(child<QRadioButton>(*dialog, QStringLiteral("PaperSize1")));
            QCOMPARE(preview.PaperSize(), 1);
        } else if (action == QLatin1String("layout")) {
            clickRow(child<QListWidget>(*dialog, QStringLiteral("LayoutList")), 5);
        }
        clickButton(child<QPushButton>(*dialog, QStringLiteral("OkButton")));
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(preview.Layout().miniTitlePoints != 20);
        QCOMPARE(preview.MiniTitleFont().Size(), kept ? 20 : preview.Layout().miniTitlePoints);
    }

    void blank_name_lines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("months");
        QStringList kept;
        for (int i = 1; i <= 12; ++i)
            kept << QLocale().standaloneMonthName(i);
        QStringList two = kept;
        two[0] = QStringLiteral("Jan");
        two[1] = QStringLiteral("Feb");
        QStringList gap = kept;
        gap[0] = QStringLiteral("Jan");
        gap[2] = QStringLiteral("Mar");
        QTest::newRow("trailing line break") << QStringLiteral("Jan\nFeb\n") << two;
        QTest::newRow("emptied memo") << QString() << kept;
        QTest::newRow("blank second line") << QStringLiteral("Jan\n  \nMar") << gap;
    }
    void blank_name_lines()
    {
        // A trailing line break or an emptied memo made blank month names.
        QFETCH(QString, text);
        QFETCH(QStringList, months);
        for (int i = 1; i <= 12; ++i)
            m_source.SetMonthName(i, QLocale().standaloneMonthName(i));
        auto dialog = open();
        showTab(*dialog, 7);
        auto *memo = child<QPlainTextEdit>(*dialog, QStringLiteral("MonthNames"));
        memo->setFocus();
        memo->setPlainText(text);
        child<QPlainTextEdit>(*dialog, QStringLiteral("DayNames"))->setFocus();
        QStringList shown;
        for (int i = 1; i <= 12; ++i)
            shown << dialog->ExampleCalendar().MonthName(i);
        QCOMPARE(shown, months);
    }

    void date_change_asks_before_clearing_notes_data()
    {
        QTest::addColumn<TCalendarLayout>("layout");
        QTest::addColumn<int>("noted");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("asked");
        QTest::newRow("month on a grid")
            << loFullCalendar << 3 << QStringLiteral("NextMonthButton") << true;
        QTest::newRow("year on a planner")
            << loWeek << 1 << QStringLiteral("NextYearButton") << true;
        QTest::newRow("no notes") << loFullCalendar << 0 << QStringLiteral("NextMonthButton")
                                  << false;
        QTest::newRow("sheet of minis")
            << loMC12Month << 2 << QStringLiteral("NextMonthButton") << false;
    }
    void date_change_asks_before_clearing_notes()
    {
        // Another month or year cleared every note without a word.
        QFETCH(TCalendarLayout, layout);
        QFETCH(int, noted);
        QFETCH(QString, button);
        QFETCH(bool, asked);
        m_source.SetCalendarLayout(layout);
        auto dialog = open();
        dialog->SetOpeningLayoutKind(CalendarPage::LayoutKind(layout));
        dialog->SetHadCellNotes(noted > 0);
        dialog->SetNotedCellCount(noted);
        showTab(*dialog, 1);
        clickButton(child<QPushButton>(*dialog, button));
        auto *ok = child<QPushButton>(*dialog, QStringLiteral("OkButton"));
        clickButton(ok);
        if (asked) {
            QCOMPARE(m_recorder.questions,
                     QStringList(QStringLiteral("WARNING:Changing the month clears the notes of "
                                                "%1 days. Continue?")
                                     .arg(noted)));
            QVERIFY(dialog->isVisible());
            QVERIFY(dialog->ExampleCalendar().MainCalYear() * 12 +
                        dialog->ExampleCalendar().MainCalMonth() !=
                    2026 * 12 + 12);
            m_recorder.answerYes = true;
            clickButton(ok);
        } else {
            QVERIFY(m_recorder.questions.isEmpty());
        }
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    }

    void language_buttons()
    {
        auto dialog = open();
        showTab(*dialog, 7);
        clickButton(child<QPushButton>(*dialog, QStringLiteral("LanguageDeutsch")));
        QCOMPARE(dialog->ExampleCalendar().DayName(6), QStringLiteral("Freitag "));
        QCOMPARE(dialog->ExampleCalendar().MonthName(3), QStringLiteral("M\u00E4rz"));
        m_recorder.language = QLocale(QLocale::Greek);
        clickButton(child<QPushButton>(*dialog, QStringLiteral("LanguageOther")));
        const QStringList months = child<QPlainTextEdit>(*dialog, QStringLiteral("MonthNames"))
                                       ->toPlainText()
                                       .split(u'\n');
        QCOMPARE(months.size(), 12);
        QCOMPARE(months.first(),
                 QStringLiteral("\u0399\u03B1\u03BD\u03BF\u03C5\u03AC\u03C1\u03B9\u03BF\u03C2"));
        QCOMPARE(dialog->ExampleCalendar().DayName(1),
                 QLocale(QLocale::Greek).standaloneDayName(7, QLocale::LongFormat));

        // Names outside Windows-1252 survive a style sheet.
        const QString path = m_program.filePath(QStringLiteral("greek.dls"));
        m_recorder.fileName = path;
        clickButton(child<QPushButton>(*dialog, QStringLiteral("SaveStyleButton")));
        CalendarPage reread;
        QVERIFY(LoadStyleSheet(reread, path));
        QCOMPARE(reread.MonthName(1), months.first());
        QCOMPARE(reread.DayName(1), dialog->ExampleCalendar().DayName(1));
    }

    void language_chooser_lists_native_names()
    {
        LanguageChooser chooser;
        QListWidget *list = chooser.List();
        QVERIFY(list->count() > 50);
        QVERIFY(!list->findItems(QStringLiteral("\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC"),
                                 Qt::MatchStartsWith)
                     .isEmpty());
        const QList<QLocale> languages = LanguageChooser::Languages();
        QVERIFY(languages.first().nativeLanguageName().localeAwareCompare(
                    languages.last().nativeLanguageName()) < 0);
    }

    // The list lays out its rows in batches once shown: after that every
    // language the locale data knows is there, checked against the toolkit's
    // own table of locales.
    void language_chooser_lists_every_language()
    {
        QSet<QLocale::Language> known;
        for (const QLocale &locale : QLocale::matchingLocales(
                 QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            if (locale.language() != QLocale::C && !locale.nativeLanguageName().isEmpty())
                known.insert(locale.language());
        }
        LanguageChooser chooser;
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        QListWidget *list = chooser.List();
        QCOMPARE(list->count(), known.size());
        list->scrollToBottom();
        QTRY_VERIFY(list->visualItemRect(list->item(list->count() - 1)).isValid());
        QSet<QLocale::Language> listed;
        for (int row = 0; row < list->count(); ++row) {
            list->setCurrentRow(row);
            const QLocale chosen = chooser.ChosenLocale();
            QVERIFY(list->item(row)->text().startsWith(chosen.nativeLanguageName()));
            listed.insert(chosen.language());
        }
        QCOMPARE(listed, known);
    }

    // Laying out every language's own name printed an "OpenType support
    // missing" line for each installed face and each script none of them
    // shapes; other messages still get through.
    void missing_script_warnings_are_silenced()
    {
        static QStringList received;
        static QtMessageHandler testHandler = nullptr;
        testHandler = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                received.append(message);
                testHandler(type, context, message);
            });
        SilenceMissingScriptWarnings();
        LanguageChooser chooser;
        QListWidget *list = chooser.List();
        for (int row = 0; row < list->count(); ++row)
            QVERIFY(list->sizeHintForRow(row) > 0);
        qWarning("still shown");
        QCOMPARE(received.filter(QStringLiteral("OpenType support missing")), QStringList());
        QVERIFY(received.contains(QStringLiteral("still shown")));
    }

    void ok_warnings_data()
    {
        QTest::addColumn<bool>("notes");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("start");
        QTest::newRow("notes and a sheet of minis")
            << true << 5 << QStringLiteral("WARNING:Warning: changing");
        QTest::newRow("placed objects and a planner")
            << false << 9 << QStringLiteral("WARNING:Warning: The Calendar");
    }
    void ok_warnings()
    {
        QFETCH(bool, notes);
        QFETCH(int, entry);
        QFETCH(QString, start);
        auto dialog = open();
        dialog->SetOpeningLayoutKind(0);
        dialog->SetHadCellNotes(notes);
        dialog->SetHadPlacedObjects(!notes);
        QListWidget *list = child<QListWidget>(*dialog, QStringLiteral("LayoutList"));
        clickRow(list, entry);
        auto *ok = child<QPushButton>(*dialog, QStringLiteral("OkButton"));
        clickButton(ok);
        QCOMPARE(m_recorder.questions.size(), 1);
        QVERIFY(m_recorder.questions.first().startsWith(start));
        QVERIFY(m_recorder.questions.first().contains(u'\r'));
        QVERIFY(dialog->isVisible());
        QCOMPARE(list->currentRow(), entry);
        m_recorder.answerYes = true;
        clickButton(ok);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    }

    void border_swap_and_removal()
    {
        m_source.SetWMFBorderFile(QStringLiteral("Balloons"));
        QCOMPARE(m_source.WMFBorderFile(), QStringLiteral("Balloons"));
        auto dialog = open();
        dialog->SetHadPlacedObjects(true);
        showTab(*dialog, 9);
        auto *borders = child<QListWidget>(*dialog, QStringLiteral("BorderFiles"));
        QCOMPARE(borders->item(0)->text(), QStringLiteral(" [No Special Border]"));
        QCOMPARE(borders->currentItem()->text(), QStringLiteral("Balloons"));
        clickRow(
            borders,
            borders->row(borders->findItems(QStringLiteral("Checker"), Qt::MatchExactly).first()));
        QCOMPARE(dialog->ExampleCalendar().WMFBorderFile(), QStringLiteral("Checker"));
        clickButton(child<QPushButton>(*dialog, QStringLiteral("OkButton")));
        QVERIFY(m_recorder.questions.isEmpty());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));

        dialog = open();
        dialog->SetHadPlacedObjects(true);
        showTab(*dialog, 9);
        clickRow(child<QListWidget>(*dialog, QStringLiteral("BorderFiles")), 0);
        QVERIFY(dialog->ExampleCalendar().WMFBorderFile().isEmpty());
        clickButton(child<QPushButton>(*dialog, QStringLiteral("OkButton")));
        QCOMPARE(m_recorder.questions.size(), 1);
    }

    void border_missing_from_the_list_removed()
    {
        // Used to fail: such a border showed as "No Special Border", and
        // choosing that entry kept the border.
        m_source.SetCalendarLayout(loFullCalendar);
        m_source.SetCalendarOrientation(coPortrait);
        m_source.SetWMFBorderFile(QStringLiteral("Orphan"));
        QCOMPARE(m_source.WMFBorderFile(), QStringLiteral("Orphan"));
        auto dialog = open();
        showTab(*dialog, 9);
        auto *borders = child<QListWidget>(*dialog, QStringLiteral("BorderFiles"));
        QVERIFY(borders->findItems(QStringLiteral("Orphan"), Qt::MatchExactly).isEmpty());
        QCOMPARE(borders->currentRow(), -1);
        clickRow(borders, 0);
        QVERIFY(dialog->ExampleCalendar().WMFBorderFile().isEmpty());
        m_source.SetWMFBorderFile(QString());
    }

    void border_list_without_folder()
    {
        QTemporaryDir empty;
        SetProgramFolder(empty.path());
        TCalendarProperties dialog(nullptr);
        SetProgramFolder(m_program.path());
        auto *borders = child<QListWidget>(dialog, QStringLiteral("BorderFiles"));
        QVERIFY(!borders->isEnabled());
        QCOMPARE(borders->count(), 0);
    }

    void preview_paint_leaves_page_alone()
    {
        auto dialog = open();
        const QImage shot = dialog->PreviewWidget()->grab().toImage();
        QVERIFY(!shot.isNull());
        int dark = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                dark += qGray(shot.pixel(x, y)) < 128 ? 1 : 0;
        QVERIFY(dark > 100);
    }

    void zoom_steps()
    {
        auto dialog = open();
        dialog->SetPreviewZoom(0.301f);
        auto *out = child<QAbstractButton>(*dialog, QStringLiteral("ZoomOutButton"));
        auto *caption = child<QLabel>(*dialog, QStringLiteral("ZoomLabel"));
        clickButton(out);
        QCOMPARE(caption->text(), QStringLiteral("20%"));
        clickButton(out);
        QCOMPARE(caption->text(), QStringLiteral("10%"));
        clickButton(out);
        QVERIFY(qAbs(dialog->PreviewZoom() - 0.101f) < 1e-4f);
        QCOMPARE(dialog->PreviewWidget()->width(),
                 int(dialog->ExampleCalendar().PageWidth() * dialog->PreviewZoom()));
    }

    void color_swatch()
    {
        auto dialog = open();
        showTab(*dialog, 2);
        auto *button = child<ColorSwatchButton>(*dialog, QStringLiteral("TitleBGColor"));
        m_recorder.color = clRed;
        clickButton(button);
        QCOMPARE(dialog->ExampleCalendar().TitleBGColor(), clRed);
        const QImage image = button->grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        const QPoint centre = button->SwatchRect().center() * ratio;
        QCOMPARE(image.pixelColor(centre), QColor(Qt::red));
    }

    void style_sheet_extension_data()
    {
        QTest::addColumn<bool>("saving");
        QTest::addColumn<QString>("message");
        QTest::newRow("save as txt")
            << true << QStringLiteral("Must save as a Calendar Style Sheet (*.DLS)");
        QTest::newRow("load a txt")
            << false << QStringLiteral("Must be a Calendar Style Sheet (*.DLS)");
    }
    void style_sheet_extension()
    {
        QFETCH(bool, saving);
        QFETCH(QString, message);
        const QString path = m_program.filePath(QStringLiteral("style.txt"));
        QFile::remove(path);
        if (!saving)
            QVERIFY(SaveStyleSheet(m_source, path));
        auto dialog = open();
        m_recorder.fileName = path;
        clickButton(child<QPushButton>(*dialog, saving ? QStringLiteral("SaveStyleButton")
                                                       : QStringLiteral("LoadStyleButton")));
        QCOMPARE(m_recorder.messages, QStringList{message});
        QCOMPARE(QFileInfo::exists(path), !saving);
        QCOMPARE(m_recorder.request.filter, QStringLiteral("Calendar Style Sheet (*.DLS)"));
        if (saving) {
            QCOMPARE(m_recorder.request.title, QStringLiteral("Save As Calendar Style Sheet"));
            QCOMPARE(m_recorder.request.fileName, QStringLiteral("MyStyle.DLS"));
        }
    }

    void partial_load_keeps_values_read()
    {
        CalendarPage style;
        style.SetDefaultStyle();
        style.SetPaperSize(1);
        style.SetMonthName(1, QStringLiteral("Jan."));
        QByteArray bytes;
        {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QVERIFY(WriteStyleSheet(style, buffer));
        }
        const QString path = m_program.filePath(QStringLiteral("cut.DLS"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const int cut = bytes.indexOf("Jan.") + 8;
        file.write(bytes.left(cut));
        file.close();

        auto dialog = open();
        m_recorder.fileName = path;
        clickButton(child<QPushButton>(*dialog, QStringLiteral("LoadStyleButton")));
        QCOMPARE(m_recorder.messages.size(), 1);
        QVERIFY(m_recorder.messages.first().startsWith(QStringLiteral("Unable to open ")));
        QVERIFY(m_recorder.messages.first().endsWith(
            QStringLiteral(". Possibly \rcorrupted, possibly not a Calendar Style file")));
        QVERIFY(child<QRadioButton>(*dialog, QStringLiteral("PaperSize1"))->isChecked());
        QCOMPARE(child<QPlainTextEdit>(*dialog, QStringLiteral("MonthNames"))
                     ->toPlainText()
                     .section(u'\n', 0, 0),
                 QStringLiteral("Jan."));
        QCOMPARE(dialog->ExampleCalendar().MainCalYear(), 2026);
    }

    void version_three_style_sheet()
    {
        CalendarPage style;
        style.SetDefaultStyle();
        style.SetHeadersStyle(dsWhole);
        const QString path = m_program.filePath(QStringLiteral("old.dls"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        ValueWriter writer(file);
        writer.writeListBegin();
        writer.writeInteger(3);
        writer.writeInteger(2);
        CalendarSettingsBlock::Write(writer, style);
        writer.writeListEnd();
        file.close();

        m_source.SetWMFBorderFile(QStringLiteral("Checker"));
        auto dialog = open();
        m_recorder.fileName = path;
        clickButton(child<QPushButton>(*dialog, QStringLiteral("LoadStyleButton")));
        QVERIFY(m_recorder.messages.isEmpty());
        QVERIFY(dialog->ExampleCalendar().WMFBorderFile().isEmpty());
        QCOMPARE(child<QComboBox>(*dialog, QStringLiteral("CalHeaderStyleCombo"))->currentIndex(),
                 int(dsWhole));
    }

    void default_style_refills_controls()
    {
        m_source.SetPaperSize(1);
        m_source.SetCalendarLayout(loMC12Month);
        m_source.SetMiniCalendarLineLayout(mllMinimal);
        auto dialog = open();
        clickButton(child<QPushButton>(*dialog, QStringLiteral("Defaultbutton")));
        QVERIFY(child<QRadioButton>(*dialog, QStringLiteral("PaperSize0"))->isChecked());
        QCOMPARE(child<QListWidget>(*dialog, QStringLiteral("LayoutList"))->currentRow(), 1);
        QCOMPARE(child<QComboBox>(*dialog, QStringLiteral("MiniCalendarLineLayoutCombo"))
                     ->currentIndex(),
                 int(mllBoxed));
        QCOMPARE(dialog->ExampleCalendar().CalendarLayout(), loFCMinisInTitleLS);
        QCOMPARE(dialog->ExampleCalendar().MainCalMonth(), QDate::currentDate().month());
    }

    void starting_time_for_day_planners()
    {
        auto dialog = open();
        clickRow(child<QListWidget>(*dialog, QStringLiteral("LayoutList")), 11);
        showTab(*dialog, 6);
        auto *button = child<QPushButton>(*dialog, QStringLiteral("StartingtimeButton"));
        QVERIFY(button->isEnabled());
        m_recorder.time = QTime(9, 30);
        clickButton(button);
        QCOMPARE(dialog->ExampleCalendar().PlannerStartTime(), QTime(9, 30));
        QCOMPARE(child<QLabel>(*dialog, QStringLiteral("TimeLabel"))->text(),
                 QLocale().toString(QTime(9, 30), QLocale::ShortFormat));
    }

    void every_page_fits()
    {
        auto dialog = open();
        auto *notebook = child<QTabWidget>(*dialog, QStringLiteral("Notebook"));
        QCOMPARE(notebook->count(), 11);
        QCOMPARE(notebook->tabText(9), QStringLiteral("Borders"));
        QCOMPARE(notebook->tabText(10), QStringLiteral("Extras"));
        for (int tab = 0; tab < notebook->count(); ++tab) {
            showTab(*dialog, tab);
            QWidget *page = notebook->currentWidget();
            const QSize needed = page->minimumSizeHint();
            QVERIFY2(needed.width() <= page->width() && needed.height() <= page->height(),
                     qPrintable(notebook->tabText(tab)));
            if (qEnvironmentVariableIsSet("DAYLOOM_SHOTS"))
                dialog->grab().save(qEnvironmentVariable("DAYLOOM_SHOTS") +
                                    QStringLiteral("/page%1.png").arg(tab));
        }
    }

    // Every control of the Extras tab writes into the preview; the Date
    // tab's week start and the first weekday show one another.
    void extras_tab()
    {
        auto dialog = open();
        showTab(*dialog, 10);
        CalendarPage &preview = dialog->ExampleCalendar();
        child<QComboBox>(*dialog, QStringLiteral("FirstWeekdayCombo"))->setCurrentIndex(6);
        QCOMPARE(preview.FirstWeekday(), 7);
        QVERIFY(!child<QRadioButton>(*dialog, QStringLiteral("WeekStartsOn0"))->isChecked());
        QVERIFY(!child<QRadioButton>(*dialog, QStringLiteral("WeekStartsOn1"))->isChecked());
        clickButton(child<QCheckBox>(*dialog, QStringLiteral("WeekPlannersCheck")));
        QVERIFY(preview.Extras().weekPlannersFromFirstWeekday);
        child<QComboBox>(*dialog, QStringLiteral("WeekNumbersCombo"))->setCurrentIndex(2);
        QCOMPARE(preview.Extras().weekNumbers, WeekNumbering::Us);
        QVERIFY(preview.Layout().mainWeekColumn > 0);

        child<QGroupBox>(*dialog, QStringLiteral("WeekendGroup"))->setChecked(true);
        clickButton(child<QCheckBox>(*dialog, QStringLiteral("WeekendDay1"))); // Sunday off
        clickButton(child<QCheckBox>(*dialog, QStringLiteral("WeekendDay6"))); // Friday on
        m_recorder.color = clYellow;
        clickButton(child<QPushButton>(*dialog, QStringLiteral("WeekendCellColor")));
        child<QGroupBox>(*dialog, QStringLiteral("RedDaysGroup"))->setChecked(true);
        m_recorder.color = clRed;
        clickButton(child<QPushButton>(*dialog, QStringLiteral("RedDayNumberColor")));
        clickButton(child<QCheckBox>(*dialog, QStringLiteral("MoonPhasesCheck")));
        clickButton(child<QCheckBox>(*dialog, QStringLiteral("DayCountersCheck")));
        CalendarExtras expected;
        expected.firstWeekday = 7;
        expected.weekPlannersFromFirstWeekday = true;
        expected.weekNumbers = WeekNumbering::Us;
        expected.markWeekends = true;
        expected.weekendDays = WeekdayBit(6) | WeekdayBit(7);
        expected.weekendCellColor = clYellow;
        expected.redDays = true;
        expected.redDayNumberColor = clRed;
        expected.moonPhases = true;
        expected.dayCounters = true;
        QVERIFY(preview.Extras() == expected);

        // Monday on the Date tab takes Saturday's place.
        showTab(*dialog, 1);
        clickButton(child<QRadioButton>(*dialog, QStringLiteral("WeekStartsOn1")));
        QCOMPARE(preview.FirstWeekday(), 2);
        QCOMPARE(child<QComboBox>(*dialog, QStringLiteral("FirstWeekdayCombo"))->currentIndex(), 1);
        QCOMPARE(preview.StartOfWeek(), 2);

        // The default style has none of them.
        clickButton(child<QPushButton>(*dialog, QStringLiteral("Defaultbutton")));
        QVERIFY(preview.Extras().IsDefault());
        QVERIFY(!child<QGroupBox>(*dialog, QStringLiteral("WeekendGroup"))->isChecked());
    }

    void help_topics()
    {
        auto dialog = open();
        QSignalSpy spy(dialog.get(), &TCalendarProperties::helpRequested);
        for (int tab : {0, 8, 9, 10}) {
            showTab(*dialog, tab);
            clickButton(child<QPushButton>(*dialog, QStringLiteral("HelpButton")));
        }
        QCOMPARE(spy.size(), 4);
        QCOMPARE(spy.at(0).at(0).toInt(), 2100);
        QCOMPARE(spy.at(1).at(0).toInt(), 2108);
        QCOMPARE(spy.at(2).at(0).toInt(), 3109);
        QCOMPARE(spy.at(3).at(0).toInt(), 2110);
        for (int topic = 2100; topic <= 2108; ++topic)
            QVERIFY(HelpWindow::HasTopic(topic));
        QVERIFY(HelpWindow::HasTopic(3109));
        QVERIFY(HelpWindow::HasTopic(2110));
    }
};

QTEST_MAIN(TestProperties)
#include "tst_properties.moc"
