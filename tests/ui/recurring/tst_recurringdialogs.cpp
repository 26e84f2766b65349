#include "core/calendar/calendarpage.h"
#include "core/recurring/formulabuilder.h"
#include "core/recurring/holidays.h"
#include "core/recurring/recurringdatesfile.h"
#include "core/recurring/recurringentry.h"
#include "core/recurring/recurringfill.h"
#include "ui/recurring/recurringcommands.h"
#include "ui/recurring/teditrecurringdateformula.h"
#include "ui/recurring/teditrecurringdates.h"
#include "ui/recurring/tgetholidays.h"
#include "ui/recurring/tselectrecurringdates.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace Dayloom;

namespace {

QString entry(const QString &name, const QString &formula)
{
    return RecurringEntry::makeLine(name, formula);
}

QString holiday(const QString &name)
{
    for (const QString &line : builtInHolidays()) {
        if (RecurringEntry(line).name() == name)
            return line;
    }
    return {};
}

// Records what the dialogs would have shown, and answers their nested
// dialogs without blocking.
struct Recorder
{
    QStringList messages;
    int beeps = 0;
    struct FormulaCall
    {
        QString caption, eventText, formula;
    };
    QList<FormulaCall> formulaCalls;
    std::optional<RecurringDialogServices::EditedEntry> formulaAnswer;
    std::optional<QStringList> holidaysAnswer;
    std::optional<QStringList> selectionAnswer;
    QList<int> datedAnswer;
    QStringList offered;
    QStringList offeredDated;

    RecurringDialogServices services()
    {
        RecurringDialogServices s;
        s.showInformation = [this](QWidget *, const QString &m) { messages.append(m); };
        s.beep = [this] { ++beeps; };
        s.editFormula = [this](QWidget *, const QString &c, const QString &e, const QString &f) {
            formulaCalls.append({c, e, f});
            return formulaAnswer;
        };
        s.pickHolidays = [this](QWidget *) { return holidaysAnswer; };
        s.selectDates = [this](QWidget *, const QStringList &entries, const QStringList &dated) {
            offered = entries;
            offeredDated = dated;
            return selectionAnswer ? std::optional<RecurringDialogServices::ChosenDates>(
                                         {*selectionAnswer, datedAnswer})
                                   : std::nullopt;
        };
        return s;
    }
};

template <typename T> T *child(QWidget &parent, const char *name)
{
    T *widget = parent.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no child %s", name);
    return widget;
}

void click(QWidget &parent, const char *buttonName)
{
    QAbstractButton *button = child<QAbstractButton>(parent, buttonName);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

constexpr const char *WeekdayBoxes[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};

} // namespace

class TestRecurringDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void formulaFromControls_data();
    void formulaFromControls();
    void formulaLoadedIntoControls_data();
    void formulaLoadedIntoControls();
    void allDaysSetsEveryWeekday();

    void holidaysTwiceAddsNoDuplicates();
    void editHashEntryIsRefused();
    void newAndEditGoThroughFormulaDialog();
    void deletingLastEntryDisablesEditAndDelete();
    void okWritesAndCancelDrops();
    void unreadableFileIsNotOverwritten();

    void selectionAllNoneAndOk();
    void listsReadOnADarkPalette();
    void holidaysDialogStartsEmpty();

    void fillCommand();
};

void TestRecurringDialogs::formulaFromControls_data()
{
    QTest::addColumn<QString>("radio");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("month");
    QTest::addColumn<QList<int>>("weekdays"); // 0 = Sunday
    QTest::addColumn<QList<int>>("special");  // occurrence, weekday, month
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("message");

    const QList<int> none;
    QTest::newRow("special: 4th Thursday of November")
        << "rbSpecial" << 1 << 0 << none << QList<int>{3, 4, 11} << "$3 4 11"
        << "";
    QTest::newRow("special: last day of each month")
        << "rbSpecial" << 1 << 0 << none << QList<int>{5, 7, 0} << "$5 7 0 "
        << "";
    QTest::newRow("day of month: Christmas")
        << "rbDayOfMonth" << 25 << 12 << none << QList<int>{0, 0, 0} << "@1225"
        << "";
    QTest::newRow("day of month: 31 February accepted")
        << "rbDayOfMonth" << 31 << 2 << none << QList<int>{0, 0, 0} << "@0231"
        << "";
    QTest::newRow("weekdays: Sunday and Wednesday")
        << "rbDayOfweek" << 1 << 0 << QList<int>{0, 3} << QList<int>{0, 0, 0} << "%14"
        << "";
    QTest::newRow("weekdays: none checked")
        << "rbDayOfweek" << 1 << 0 << none << QList<int>{0, 0, 0} << ""
        << FormulaMessages::NoWeekday;
}

void TestRecurringDialogs::formulaFromControls()
{
    QFETCH(QString, radio);
    QFETCH(int, day);
    QFETCH(int, month);
    QFETCH(QList<int>, weekdays);
    QFETCH(QList<int>, special);
    QFETCH(QString, formula);
    QFETCH(QString, message);

    Recorder recorder;
    TEditRecurringDateFormula dialog(nullptr, recorder.services());
    dialog.setEntry(QStringLiteral("Thanksgiving"), QStringLiteral("@"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy accepted(&dialog, &QDialog::accepted);

    click(dialog, radio.toLatin1().constData());
    child<QSpinBox>(dialog, "DayOfMonthDay")->setValue(day);
    child<QComboBox>(dialog, "DayOfMonthMonth")->setCurrentIndex(month);
    for (int d = 0; d < 7; ++d) {
        QCheckBox *box = child<QCheckBox>(dialog, WeekdayBoxes[d]);
        if (box->isEnabled() && box->isChecked() != weekdays.contains(d))
            QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    }
    child<QComboBox>(dialog, "SpecialOccurrance")->setCurrentIndex(special[0]);
    child<QComboBox>(dialog, "SpecialDayOfWeek")->setCurrentIndex(special[1]);
    child<QComboBox>(dialog, "SpecialMonth")->setCurrentIndex(special[2]);
    click(dialog, "Okbutton");

    if (message.isEmpty()) {
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(dialog.formula(), formula);
        QCOMPARE(dialog.eventText(), QStringLiteral("Thanksgiving"));
        QVERIFY(recorder.messages.isEmpty());
    } else {
        QCOMPARE(accepted.count(), 0);
        QCOMPARE(recorder.messages, QStringList{message});
        QVERIFY(dialog.isVisible());
    }
}

void TestRecurringDialogs::formulaLoadedIntoControls_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QList<int>>("values"); // the three controls of that style

    QTest::newRow("special") << "$5 0 10"
                             << "rbSpecial" << QList<int>{5, 0, 10};
    QTest::newRow("day of month") << "@0704     "
                                  << "rbDayOfMonth" << QList<int>{4, 7};
    QTest::newRow("weekdays") << "%17"
                              << "rbDayOfweek" << QList<int>{1, 0, 0, 0, 0, 0, 1};
    QTest::newRow("empty formula") << ""
                                   << "rbDayOfweek" << QList<int>{0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("unreadable @ keeps the opening state") << "@x1"
                                                          << "rbDayOfMonth" << QList<int>{1, 0};
}

void TestRecurringDialogs::formulaLoadedIntoControls()
{
    QFETCH(QString, formula);
    QFETCH(QString, radio);
    QFETCH(QList<int>, values);

    Recorder recorder;
    TEditRecurringDateFormula dialog(nullptr, recorder.services());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Recurring Date - Formulas"));
    dialog.setEntry(QStringLiteral("Event"), formula);

    for (const char *name : {"rbDayOfMonth", "rbDayOfweek", "rbSpecial"}) {
        QRadioButton *button = child<QRadioButton>(dialog, name);
        const bool chosen = radio == QLatin1String(name);
        QCOMPARE(button->isChecked(), chosen);
        QCOMPARE(button->font().bold(), chosen);
    }
    auto *occurrence = child<QComboBox>(dialog, "SpecialOccurrance");
    auto *day = child<QSpinBox>(dialog, "DayOfMonthDay");
    QCOMPARE(occurrence->isEnabled(), radio == "rbSpecial");
    QCOMPARE(day->isEnabled(), radio == "rbDayOfMonth");
    QCOMPARE(child<QCheckBox>(dialog, "AllDaysCheck")->isEnabled(), radio == "rbDayOfweek");

    if (radio == "rbSpecial") {
        QCOMPARE(occurrence->currentIndex(), values[0]);
        QCOMPARE(child<QComboBox>(dialog, "SpecialDayOfWeek")->currentIndex(), values[1]);
        QCOMPARE(child<QComboBox>(dialog, "SpecialMonth")->currentIndex(), values[2]);
    } else if (radio == "rbDayOfMonth") {
        QCOMPARE(day->value(), values[0]);
        QCOMPARE(child<QComboBox>(dialog, "DayOfMonthMonth")->currentIndex(), values[1]);
    } else {
        for (int d = 0; d < 7; ++d)
            QCOMPARE(child<QCheckBox>(dialog, WeekdayBoxes[d])->isChecked(), values[d] == 1);
    }
}

void TestRecurringDialogs::allDaysSetsEveryWeekday()
{
    Recorder recorder;
    TEditRecurringDateFormula dialog(nullptr, recorder.services());
    dialog.setEntry(QStringLiteral("Gym"), QStringLiteral("%2"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    click(dialog, "AllDaysCheck");
    for (const char *name : WeekdayBoxes)
        QVERIFY(child<QCheckBox>(dialog, name)->isChecked());
    click(dialog, "AllDaysCheck");
    for (const char *name : WeekdayBoxes)
        QVERIFY(!child<QCheckBox>(dialog, name)->isChecked());
}

void TestRecurringDialogs::holidaysTwiceAddsNoDuplicates()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    // Christmas is already there in other letter case.
    writeFile(path, holiday("Christmas Day").toUpper().toUtf8() + "\r\n");

    Recorder recorder;
    recorder.holidaysAnswer =
        QStringList{holiday("Christmas Day"), holiday("Easter"), holiday("Halloween")};
    TEditRecurringDates dialog(path, nullptr, recorder.services());
    QCOMPARE(dialog.lines().size(), 1);
    click(dialog, "Holidaysbutton");
    QCOMPARE(dialog.lines().size(), 3);
    click(dialog, "Holidaysbutton");
    QCOMPARE(dialog.lines().size(), 3);
    QVERIFY(dialog.selectedIndex() >= 0);
}

void TestRecurringDialogs::editHashEntryIsRefused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    writeFile(path, holiday("Easter").toUtf8() + "\r\n");
    Recorder recorder;
    TEditRecurringDates dialog(path, nullptr, recorder.services());
    QCOMPARE(dialog.selectedIndex(), 0);
    click(dialog, "Editbutton");
    QCOMPARE(recorder.messages, QStringList{QStringLiteral("This entry cannot be edited")});
    QVERIFY(recorder.formulaCalls.isEmpty());
}

void TestRecurringDialogs::newAndEditGoThroughFormulaDialog()
{
    QTemporaryDir dir;
    Recorder recorder;
    TEditRecurringDates dialog(dir.filePath(QStringLiteral("DLRECUR.DAX")), nullptr,
                               recorder.services());
    QVERIFY(dialog.lines().isEmpty());
    QVERIFY(!child<QPushButton>(dialog, "Editbutton")->isEnabled());

    recorder.formulaAnswer = {QStringLiteral("Christmas Day"), QStringLiteral("@1225")};
    click(dialog, "Newbutton");
    QCOMPARE(recorder.formulaCalls.size(), 1);
    QCOMPARE(recorder.formulaCalls[0].caption, QStringLiteral("Add Recurring Date"));
    QCOMPARE(recorder.formulaCalls[0].eventText, QStringLiteral("[Enter event]"));
    QCOMPARE(recorder.formulaCalls[0].formula, QStringLiteral("@"));
    QCOMPARE(dialog.lines(), QStringList{entry("Christmas Day", "@1225")});
    QCOMPARE(dialog.selectedIndex(), 0);
    QVERIFY(child<QPushButton>(dialog, "Editbutton")->isEnabled());

    recorder.formulaAnswer = {QStringLiteral("Boxing Day"), QStringLiteral("@1226")};
    click(dialog, "Editbutton");
    QCOMPARE(recorder.formulaCalls.size(), 2);
    QCOMPARE(recorder.formulaCalls[1].caption, QStringLiteral("Edit Recurring Date Formula"));
    QCOMPARE(recorder.formulaCalls[1].eventText, QStringLiteral("Christmas Day"));
    QCOMPARE(recorder.formulaCalls[1].formula, QStringLiteral("@1225     "));
    QCOMPARE(dialog.lines(), QStringList{entry("Boxing Day", "@1226")});
    QCOMPARE(child<QListWidget>(dialog, "DatesList")->item(0)->text(),
             QStringLiteral("Boxing Day (26th of December)"));
}

void TestRecurringDialogs::deletingLastEntryDisablesEditAndDelete()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    writeFile(path, (entry("A", "@0101") + "\r\n" + entry("B", "%2") + "\r\n").toUtf8());
    Recorder recorder;
    TEditRecurringDates dialog(path, nullptr, recorder.services());
    click(dialog, "DeleteButton");
    QCOMPARE(dialog.lines(), QStringList{entry("B", "%2")});
    QCOMPARE(dialog.selectedIndex(), 0);
    click(dialog, "DeleteButton");
    QVERIFY(dialog.lines().isEmpty());
    QVERIFY(!child<QPushButton>(dialog, "Editbutton")->isEnabled());
    QVERIFY(!child<QPushButton>(dialog, "DeleteButton")->isEnabled());
}

void TestRecurringDialogs::okWritesAndCancelDrops()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    Recorder recorder;
    recorder.holidaysAnswer = QStringList{holiday("Halloween")};
    {
        TEditRecurringDates dialog(path, nullptr, recorder.services());
        click(dialog, "Holidaysbutton");
        click(dialog, "CancelButton");
        QVERIFY(!QFile::exists(path));
    }
    TEditRecurringDates dialog(path, nullptr, recorder.services());
    click(dialog, "Holidaysbutton");
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    click(dialog, "okbutton");
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(readFile(path), holiday("Halloween").toUtf8() + "\r\n");
}

void TestRecurringDialogs::unreadableFileIsNotOverwritten()
{
    // A file that failed to load used to be replaced by the partial list on Ok.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    const QByteArray bytes = entry("A", "@0101").toUtf8() + "\r\n" + QByteArray(3, '\0');
    writeFile(path, bytes);
    Recorder recorder;
    TEditRecurringDates dialog(path, nullptr, recorder.services());
    QVERIFY(!dialog.loadError().isEmpty());
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    click(dialog, "okbutton");
    QCOMPARE(accepted.count(), 0);
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(readFile(path), bytes);

    QVERIFY(!EditRecurringDates(nullptr, path, recorder.services()));
    QCOMPARE(recorder.messages.size(), 2);
}

void TestRecurringDialogs::selectionAllNoneAndOk()
{
    const QStringList entries = {entry("Zeta", "%2"), entry("Alpha", "@0001"),
                                 holiday("Christmas Day")};
    Recorder recorder;
    TSelectRecurringDates dialog(entries, nullptr, recorder.services());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Recurring Dates To Use"));
    auto *list = child<QListWidget>(dialog, "Dates");
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Zeta (Mon)")); // not sorted
    QCOMPARE(dialog.chosenLines(), entries);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy accepted(&dialog, &QDialog::accepted);

    click(dialog, "Nonebutton");
    QVERIFY(dialog.chosenLines().isEmpty());
    click(dialog, "okbutton");
    QCOMPARE(recorder.beeps, 1);
    QCOMPARE(accepted.count(), 0);
    QVERIFY(dialog.isVisible());

    click(dialog, "Allbutton");
    QCOMPARE(dialog.chosenLines(), entries);
    // A click toggles one row in a multiple-selection list.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    QCOMPARE(dialog.chosenLines(), (QStringList{entries[0], entries[2]}));
    click(dialog, "okbutton");
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(recorder.beeps, 1);
}

// Both lists drew black text: on a dark desktop's dark base it vanished.
void TestRecurringDialogs::listsReadOnADarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Text, Qt::white);
    const auto textPixelsInRow = [&dark](QListWidget *list, int row) {
        list->setCurrentRow(-1);
        const QImage shot = list->viewport()->grab().toImage();
        const QRect rect = list->visualItemRect(list->item(row));
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                if (qGray(shot.pixel(x, y)) > 160)
                    ++count;
            }
        }
        return count;
    };

    TSelectRecurringDates select({entry("Zeta", "%2"), entry("Alpha", "@0001")}, nullptr,
                                 Recorder().services());
    select.setPalette(dark);
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    QVERIFY(textPixelsInRow(child<QListWidget>(select, "Dates"), 1) > 20);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    writeFile(path, (entry("Zeta", "%2") + "\r\n").toUtf8());
    TEditRecurringDates edit(path, nullptr, Recorder().services());
    edit.setPalette(dark);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QVERIFY(textPixelsInRow(child<QListWidget>(edit, "DatesList"), 0) > 20);
}

void TestRecurringDialogs::holidaysDialogStartsEmpty()
{
    Recorder recorder;
    TGetHolidays dialog(nullptr, recorder.services());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Holidays"));
    QCOMPARE(child<QListWidget>(dialog, "Holidays")->count(), builtInHolidays().size());
    QVERIFY(dialog.chosenLines().isEmpty());
    click(dialog, "okbutton");
    QCOMPARE(recorder.beeps, 1);
    click(dialog, "AllButton");
    QCOMPARE(dialog.chosenLines(), builtInHolidays());
    click(dialog, "nonebutton");
    QVERIFY(dialog.chosenLines().isEmpty());
}

void TestRecurringDialogs::fillCommand()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    CalendarPage page;
    page.SetMainCalYear(1999);
    page.SetMainCalMonth(12);
    Recorder recorder;
    const FontSpec font;

    // No file: nothing happens, nothing is said.
    QVERIFY(!FillCalendarWithRecurringDates(nullptr, page, path, font, recorder.services()));
    QVERIFY(recorder.messages.isEmpty());

    writeFile(path, (holiday("Easter") + "\r\n" + holiday("Christmas Day") + "\r\n" +
                     holiday("Halloween") + "\r\n")
                        .toUtf8());
    page.SetMainCalMonth(2);
    QVERIFY(!FillCalendarWithRecurringDates(nullptr, page, path, font, recorder.services()));
    QCOMPARE(recorder.messages, QStringList{NoDatesMatchMessage});

    page.SetMainCalMonth(12);
    QVERIFY(!FillCalendarWithRecurringDates(nullptr, page, path, font, recorder.services()));
    QCOMPARE(recorder.offered, QStringList{holiday("Christmas Day")}); // cancelled
    QVERIFY(!page.HasCellNotes());

    recorder.selectionAnswer = QStringList{holiday("Christmas Day")};
    QVERIFY(FillCalendarWithRecurringDates(nullptr, page, path, font, recorder.services()));
    QVERIFY(!page.CellNote(28).IsEmpty()); // 25 December 1999
}

QTEST_MAIN(TestRecurringDialogs)
#include "tst_recurringdialogs.moc"
