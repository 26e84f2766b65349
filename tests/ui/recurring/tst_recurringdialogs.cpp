#include "core/calendar/calendarpage.h"
#include "core/recurring/formulabuilder.h"
#include "core/recurring/holidays.h"
#include "core/recurring/holidaylink.h"
#include "core/recurring/icalendarfile.h"
#include "core/recurring/recurringdates.h"
#include "core/recurring/recurringdatesfile.h"
#include "core/recurring/recurringentry.h"
#include "core/recurring/recurringfill.h"
#include "core/recurring/recurringpagefill.h"
#include "core/richtext/notedocument.h"
#include "ui/recurring/recurringcommands.h"
#include "ui/recurring/taddholidays.h"
#include "ui/recurring/teditdaterule.h"
#include "ui/recurring/teditrecurringdateformula.h"
#include "ui/recurring/teditrecurringdates.h"
#include "ui/recurring/texportrecurringdates.h"
#include "ui/recurring/tgetholidays.h"
#include "ui/recurring/timporticalendar.h"
#include "ui/recurring/tlinkedholidays.h"
#include "ui/recurring/tselectrecurringdates.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
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
    QList<DatedEntry> ruleCalls;
    QList<RecurringDialogServices::AvoidableEntry> avoidable;
    std::optional<DatedEntry> ruleAnswer;
    std::optional<QString> importFile;
    bool importAnswer = false;
    QStringList importRows;
    int importDialogs = 0;
    std::optional<RecurringDialogServices::ExportChoice> exportAnswer;
    std::optional<QStringList> selectionAnswer;
    QList<int> datedAnswer;
    QStringList offered;
    QStringList offeredDated;
    // The holiday sets of the tests, one file of them broken.
    HolidayCatalogue holidaySets = HolidayCatalogue::fromFolder(
        QDir::cleanPath(QStringLiteral(DAYLOOM_TEST_DATA "/../../../recurring/data/holidays")));
    // What the user does in the real "Add Holidays" and check-list dialogs.
    std::function<void(TAddHolidays &)> inAddHolidays;
    std::function<void(TLinkedHolidays &)> inLinkedHolidays;

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
        s.editDateRule = [this](QWidget *, const QString &, const DatedEntry &e,
                                const QList<RecurringDialogServices::AvoidableEntry> &others) {
            ruleCalls.append(e);
            avoidable = others;
            return ruleAnswer;
        };
        s.holidayCatalogue = [this]() -> const HolidayCatalogue & { return holidaySets; };
        s.addHolidays = [this](QWidget *parent, const HolidayCatalogue &catalogue) {
            TAddHolidays dialog(catalogue, parent, QDate(2027, 1, 2));
            dialog.show();
            inAddHolidays(dialog);
            return dialog.result() == QDialog::Accepted ? std::optional(dialog.link())
                                                        : std::nullopt;
        };
        s.chooseShownHolidays = [this](QWidget *parent, const HolidayCountry &country,
                                       const HolidayLink &link, const QString &title) {
            TLinkedHolidays dialog(country, link, title, parent);
            dialog.show();
            inLinkedHolidays(dialog);
            return dialog.result() == QDialog::Accepted ? std::optional(dialog.hidden())
                                                        : std::nullopt;
        };
        s.chooseImportFile = [this](QWidget *) { return importFile; };
        s.chooseExport = [this](QWidget *) { return exportAnswer; };
        // The real plan dialog, answered with a click on OK or Cancel.
        s.confirmImport = [this](QWidget *, const ICalendarImport::Plan &plan) {
            ++importDialogs;
            TImportICalendar dialog(plan);
            importRows = dialog.rows();
            dialog.show();
            QAbstractButton *button = dialog.findChild<QAbstractButton *>(
                importAnswer ? QStringLiteral("Okbutton") : QStringLiteral("CancelButton"));
            QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
            return dialog.result() == QDialog::Accepted;
        };
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

DatedEntry datedEntry(const QString &uid, const QString &description, const QString &rrule,
                      QDate first)
{
    DatedEntry e;
    e.uid = uid;
    e.description = description;
    e.rule.first = first;
    if (!rrule.isEmpty())
        e.rule.recurrence = RecurrenceRule::parse(rrule);
    return e;
}

QByteArray icsOf(const QList<DatedEntry> &entries)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ICalendarFile::write(buffer, entries);
    return buffer.data();
}

QList<DatedEntry> readIcs(const QString &path)
{
    QFile file(path);
    ICalendarFile::Contents contents;
    if (file.open(QIODevice::ReadOnly))
        ICalendarFile::read(file, contents);
    return contents.entries;
}

// One user action on a dialog: "click NAME", "combo NAME INDEX" or
// "type NAME TEXT" (the field's text replaced by typing).
void perform(QWidget &dialog, const QString &action)
{
    const QStringList words = action.split(u' ');
    const QByteArray name = words.value(1).toLatin1();
    if (words[0] == u"click") {
        click(dialog, name.constData());
    } else if (words[0] == u"combo") {
        child<QComboBox>(dialog, name.constData())->setCurrentIndex(words.value(2).toInt());
    } else {
        QWidget *field = child<QWidget>(dialog, name.constData());
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, words.mid(2).join(u' '));
    }
}

constexpr const char *WeekdayBoxes[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};

} // namespace

class TestRecurringDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void addHolidaysLinksARegionsSet();
    void linkedSetHidesHolidaysAndIsRemoved();

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

    void ruleEditorBuildsWhatControlsSay_data();
    void ruleEditorBuildsWhatControlsSay();
    void ruleEditorKeepsWhatItCannotShow();
    void ruleEditorRefusesWhatItCannotRead_data();
    void ruleEditorRefusesWhatItCannotRead();
    void ruleEditorShowsTheCount();
    void exportNameGetsTheFormatsExtension();
    void ruleEditorChoosesEntriesToAvoid();
    void listShowsEditsAndSavesBothKinds();
    void importAppliesOnlyOnOk();
    void brokenCalendarImportsNothing();
    void fillWritesChosenDatedEntry();
    void fillShiftAvoidsOnlyEntriesNotLeftOut();
    void exportWritesCsvOfMonths();
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
    // Only formula entries: no calendar file beside the list.
    QVERIFY(!QFile::exists(RecurringDates::icsPathBeside(path)));
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

void TestRecurringDialogs::ruleEditorBuildsWhatControlsSay_data()
{
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("rrule"); // empty: no recurrence
    QTest::addColumn<QString>("words");
    // The first dates from 1 Jan 2026: four of eight shown, or all when fewer.
    QTest::addColumn<QList<QDate>>("next");

    QTest::newRow("every 2 weeks on Tuesday")
        << QDate(2026, 1, 6)
        << QStringList{"click rbRepeat", "type Interval 2", "combo Frequency 1", "click WeekdayTue"}
        << "FREQ=WEEKLY;INTERVAL=2;BYDAY=TU"
        << "Every 2 weeks on Tuesday, from 6 Jan 2026"
        << QList<QDate>{{2026, 1, 6}, {2026, 1, 20}, {2026, 2, 3}, {2026, 2, 17}};
    QTest::newRow("last Friday of every month")
        << QDate(2026, 1, 1)
        << QStringList{"click rbRepeat", "combo Frequency 2", "combo Ordinal 6", "click WeekdayFri"}
        << "FREQ=MONTHLY;BYDAY=-1FR"
        << "Every month on the last Friday, from 1 Jan 2026"
        << QList<QDate>{{2026, 1, 30}, {2026, 2, 27}, {2026, 3, 27}, {2026, 4, 24}};
    QTest::newRow("Easter Monday")
        << QDate(2026, 1, 1) << QStringList{"click rbEaster", "type EasterOffset 1"} << ""
        << "1 day after Easter Sunday, from 2026"
        << QList<QDate>{{2026, 4, 6}, {2027, 3, 29}, {2028, 4, 17}, {2029, 4, 2}};
    // Used to start at the first date's day and so miss that year's date.
    QTest::newRow("Ascension from a December day")
        << QDate(2026, 12, 8) << QStringList{"click rbEaster", "type EasterOffset 39"} << ""
        << "39 days after Easter Sunday, from 2026"
        << QList<QDate>{{2026, 5, 14}, {2027, 5, 6}, {2028, 5, 25}, {2029, 5, 10}};
    QTest::newRow("4 July on the nearest workday")
        << QDate(2026, 7, 4) << QStringList{"click rbRepeat", "combo Shift 3"} << "FREQ=YEARLY"
        << "Every year on 4 July, from 4 Jul 2026; moved off Saturday and Sunday to the nearest "
           "workday"
        << QList<QDate>{{2026, 7, 3}, {2027, 7, 5}, {2028, 7, 4}, {2029, 7, 4}};
    QTest::newRow("3 days but one")
        << QDate(2026, 1, 1)
        << QStringList{"click rbRepeat", "combo Frequency 0", "combo EndKind 2", "type Count 3",
                       "type Exceptions 2026-01-02"}
        << "FREQ=DAILY;COUNT=3"
        << "Every day, from 1 Jan 2026, 3 times, except on 1 day"
        << QList<QDate>{{2026, 1, 1}, {2026, 1, 3}};
}

void TestRecurringDialogs::ruleEditorBuildsWhatControlsSay()
{
    QFETCH(QDate, first);
    QFETCH(QStringList, actions);
    QFETCH(QString, rrule);
    QFETCH(QString, words);
    QFETCH(QList<QDate>, next);

    Recorder recorder;
    TEditDateRule dialog(nullptr, recorder.services());
    dialog.setToday(QDate(2026, 1, 1));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    child<QDateEdit>(dialog, "FirstDate")->setDate(first);
    perform(dialog, QStringLiteral("type Description Bins out"));
    for (const QString &action : actions)
        perform(dialog, action);

    const DateRule rule = dialog.rule();
    QCOMPARE(rule.first, first);
    QCOMPARE(rule.recurrence ? rule.recurrence->toString() : QString(), rrule);
    QCOMPARE(child<QLabel>(dialog, "RuleInWords")->text(), words);
    auto *dates = child<QListWidget>(dialog, "NextDates");
    QCOMPARE(dates->count(), next.size() < 4 ? next.size() : 8);
    for (int i = 0; i < next.size(); ++i)
        QCOMPARE(dates->item(i)->text(), QLocale::c().toString(next[i], u"ddd d MMM yyyy"));

    QSignalSpy accepted(&dialog, &QDialog::accepted);
    click(dialog, "Okbutton");
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(dialog.entry().description, QStringLiteral("Bins out"));
    QCOMPARE(dialog.entry().rule, rule);
}

void TestRecurringDialogs::ruleEditorKeepsWhatItCannotShow()
{
    DatedEntry imported =
        datedEntry(QStringLiteral("m@test"), QStringLiteral("Meeting"),
                   QStringLiteral("FREQ=MONTHLY;BYDAY=1MO,-1FR;BYSETPOS=1"), QDate(2026, 1, 1));
    imported.rule.extraDates = {QDate(2026, 5, 5)};
    imported.rule.startTime = QTime(9, 30);
    Recorder recorder;
    TEditDateRule dialog(nullptr, recorder.services());
    dialog.setEntry(imported);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.entry(), imported);
    // Touching the weekdays rebuilds them with the ordinal shown.
    click(dialog, "WeekdayWed");
    QCOMPARE(dialog.rule().recurrence->toString(),
             QStringLiteral("FREQ=MONTHLY;BYDAY=1MO,1WE,1FR;BYSETPOS=1"));
    QCOMPARE(dialog.rule().extraDates, imported.rule.extraDates);
}

void TestRecurringDialogs::ruleEditorRefusesWhatItCannotRead_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("message");
    QTest::newRow("date-not-iso") << "type Exceptions 2026-12-24, 24.12.2027"
                                  << "\"24.12.2027\" is not a date.";
    QTest::newRow("day-out-of-range") << "type MonthDays 1, 32"
                                      << "\"32\" is not a day of the month.";
}

// Unreadable exceptions and days of the month used to be dropped unseen.
void TestRecurringDialogs::ruleEditorRefusesWhatItCannotRead()
{
    QFETCH(QString, action);
    QFETCH(QString, message);
    Recorder recorder;
    TEditDateRule dialog(nullptr, recorder.services());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    perform(dialog, QStringLiteral("type Description Bins out"));
    perform(dialog, QStringLiteral("click rbRepeat"));
    perform(dialog, action);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    click(dialog, "Okbutton");
    QCOMPARE(accepted.count(), 0);
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(recorder.messages[0].startsWith(message), qPrintable(recorder.messages[0]));
}

void TestRecurringDialogs::ruleEditorShowsTheCount()
{
    Recorder recorder;
    TEditDateRule dialog(nullptr, recorder.services());
    dialog.setToday(QDate(2026, 1, 1));
    dialog.setEntry(datedEntry(QStringLiteral("e@test"), QStringLiteral("Eric turns {years}"),
                               QStringLiteral("FREQ=YEARLY"), QDate(1990, 4, 12)));
    QCOMPARE(child<QListWidget>(dialog, "NextDates")->item(0)->text(),
             QStringLiteral("Sun 12 Apr 2026: Eric turns 36"));
}

// The shift could move off other entries' dates only in imported files.
void TestRecurringDialogs::ruleEditorChoosesEntriesToAvoid()
{
    DatedEntry boxing = datedEntry(QStringLiteral("b@test"), QStringLiteral("Boxing Day"),
                                   QStringLiteral("FREQ=YEARLY"), QDate(2000, 12, 26));
    boxing.rule.shift = DateRule::Shift::NextWorkday;
    boxing.shiftAvoids = {QStringLiteral("party@test"), QStringLiteral("elsewhere@test")};
    Recorder recorder;
    TEditDateRule dialog(nullptr, recorder.services());
    dialog.setAvoidable({{"Christmas Day", "Christmas Day (25th of December)"},
                         {"party@test", "Party (On 28 Dec 2026)"}});
    dialog.setEntry(boxing);
    auto *list = child<QListWidget>(dialog, "ShiftAvoids");
    QVERIFY(list->isEnabled());
    QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(list->item(1)->checkState(), Qt::Checked);
    QCOMPARE(dialog.entry(), boxing);
    list->item(0)->setCheckState(Qt::Checked);
    list->item(1)->setCheckState(Qt::Unchecked);
    QCOMPARE(dialog.entry().shiftAvoids, (QStringList{"elsewhere@test", "Christmas Day"}));
    perform(dialog, QStringLiteral("combo Shift 0"));
    QVERIFY(!list->isEnabled());
}

void TestRecurringDialogs::exportNameGetsTheFormatsExtension()
{
    TExportRecurringDates dialog;
    child<QLineEdit>(dialog, "FilePath")->setText(QStringLiteral("/tmp/family"));
    QCOMPARE(dialog.choice().path, QStringLiteral("/tmp/family.ics"));
    click(dialog, "rbCsv");
    QCOMPARE(dialog.choice().path, QStringLiteral("/tmp/family.csv"));
    child<QLineEdit>(dialog, "FilePath")->setText(QStringLiteral("/tmp/family.txt"));
    QCOMPARE(dialog.choice().path, QStringLiteral("/tmp/family.txt"));
}

void TestRecurringDialogs::listShowsEditsAndSavesBothKinds()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    const QString icsPath = RecurringDates::icsPathBeside(path);
    const QByteArray dax = (entry("Christmas Day", "@1225") + "\r\n").toUtf8();
    writeFile(path, dax);
    const DatedEntry bins =
        datedEntry(QStringLiteral("bins@test"), QStringLiteral("Bins out"),
                   QStringLiteral("FREQ=WEEKLY;INTERVAL=2;BYDAY=TU"), QDate(2026, 1, 6));
    writeFile(icsPath, icsOf({bins}));

    Recorder recorder;
    TEditRecurringDates dialog(path, nullptr, recorder.services());
    auto *list = child<QListWidget>(dialog, "DatesList");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Christmas Day (25th of December)"));
    QCOMPARE(list->item(1)->text(),
             QStringLiteral("Bins out (Every 2 weeks on Tuesday, from 6 Jan 2026)"));
    const auto selectRow = [list](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    };

    // Edit on a dated entry opens the rule editor, not the formula dialog.
    selectRow(1);
    DatedEntry edited = bins;
    edited.description = QStringLiteral("Bins and recycling");
    recorder.ruleAnswer = edited;
    click(dialog, "Editbutton");
    QCOMPARE(recorder.ruleCalls, QList<DatedEntry>{bins});
    QVERIFY(recorder.formulaCalls.isEmpty());
    // Its shift may move off every other entry.
    QCOMPARE(recorder.avoidable, (QList<RecurringDialogServices::AvoidableEntry>{
                                     {"Christmas Day", "Christmas Day (25th of December)"}}));
    QCOMPARE(dialog.datedEntries(), QList<DatedEntry>{edited});

    DatedEntry term = datedEntry(QStringLiteral("term@test"), QStringLiteral("School term"),
                                 QString(), QDate(2026, 9, 1));
    term.rule.spanDays = 30;
    recorder.ruleAnswer = term;
    click(dialog, "NewRulebutton");
    QCOMPARE(recorder.ruleCalls.size(), 2);
    QVERIFY(!recorder.ruleCalls[1].uid.isEmpty());
    QCOMPARE(dialog.datedEntries(), (QList<DatedEntry>{edited, term}));
    QCOMPARE(dialog.selectedIndex(), 2);

    selectRow(1);
    click(dialog, "DeleteButton");
    QCOMPARE(dialog.datedEntries(), QList<DatedEntry>{term});
    QCOMPARE(dialog.lines(), QStringList{entry("Christmas Day", "@1225")});

    QSignalSpy accepted(&dialog, &QDialog::accepted);
    click(dialog, "okbutton");
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(readFile(path), dax);
    QCOMPARE(readIcs(icsPath), QList<DatedEntry>{term});
}

void TestRecurringDialogs::importAppliesOnlyOnOk()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    const QString icsPath = RecurringDates::icsPathBeside(path);
    const QString calendar = dir.filePath(QStringLiteral("team.ics"));
    writeFile(calendar, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//Team//EN\r\n"
                        "BEGIN:VEVENT\r\nUID:m1@team\r\nDTSTART;VALUE=DATE:20260307\r\n"
                        "RRULE:FREQ=WEEKLY;BYDAY=SA\r\nSUMMARY:Match\r\nEND:VEVENT\r\n"
                        "BEGIN:VEVENT\r\nUID:s1@team\r\nDTSTART:20260302T090000\r\n"
                        "RRULE:FREQ=HOURLY\r\nSUMMARY:Standup\r\nEND:VEVENT\r\n"
                        "END:VCALENDAR\r\n");
    Recorder recorder;
    recorder.importFile = calendar;

    QVERIFY(!ImportICalendarDates(nullptr, path, recorder.services()));
    QCOMPARE(recorder.importDialogs, 1);
    QCOMPARE(recorder.importRows.value(0),
             QStringLiteral("Add: Match (Every week on Saturday, from 7 Mar 2026)"));
    QVERIFY(recorder.importRows.last().startsWith(QStringLiteral("Left out: Standup")));
    QVERIFY(!QFile::exists(icsPath));

    recorder.importAnswer = true;
    QVERIFY(ImportICalendarDates(nullptr, path, recorder.services()));
    const QList<DatedEntry> imported = readIcs(icsPath);
    QCOMPARE(imported.size(), 2);
    QCOMPARE(imported[0].description, QStringLiteral("Match"));
    QCOMPARE(imported[0].source, QFileInfo(calendar).absoluteFilePath());

    // The same file again adds nothing.
    QVERIFY(!ImportICalendarDates(nullptr, path, recorder.services()));
    QVERIFY(!recorder.importRows.first().startsWith(QStringLiteral("Add:")));
    QCOMPARE(readIcs(icsPath), imported);
}

void TestRecurringDialogs::brokenCalendarImportsNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    const QString calendar = dir.filePath(QStringLiteral("broken.ics"));
    writeFile(calendar, "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:Party\r\n"
                        "this is no property\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    Recorder recorder;
    recorder.importFile = calendar;
    recorder.importAnswer = true;
    QVERIFY(!ImportICalendarDates(nullptr, path, recorder.services()));
    QCOMPARE(recorder.importDialogs, 0);
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(recorder.messages[0].contains(QStringLiteral("Line 4")),
             qPrintable(recorder.messages[0]));
    QVERIFY(!QFile::exists(RecurringDates::icsPathBeside(path)));
    QVERIFY(!QFile::exists(path));
}

void TestRecurringDialogs::fillWritesChosenDatedEntry()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    writeFile(RecurringDates::icsPathBeside(path),
              icsOf({datedEntry(QStringLiteral("p@test"), QStringLiteral("Picnic"), QString(),
                                QDate(1999, 7, 1)),
                     datedEntry(QStringLiteral("d@test"), QStringLiteral("Dentist"), QString(),
                                QDate(1999, 12, 14))}));
    CalendarPage page;
    page.SetMainCalYear(1999);
    page.SetMainCalMonth(12);
    Recorder recorder;
    recorder.selectionAnswer = QStringList{};
    recorder.datedAnswer = {0};
    QVERIFY(FillCalendarWithRecurringDates(nullptr, page, path, FontSpec(), recorder.services()));
    QVERIFY(recorder.offered.isEmpty());
    QCOMPARE(recorder.offeredDated, QStringList{QStringLiteral("Dentist (On 14 Dec 1999)")});
    for (int day = 1; day <= 31; ++day)
        QCOMPARE(page.CellNote(FirstCellOfDay(page, day)).IsEmpty(), day != 14);
}

void TestRecurringDialogs::exportWritesCsvOfMonths()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    writeFile(path, (entry("Christmas Day", "@1225") + "\r\n").toUtf8());
    const DatedEntry dentist = datedEntry(QStringLiteral("d@test"), QStringLiteral("Dentist"),
                                          QString(), QDate(1999, 12, 14));
    // A linked holiday set goes along as its link.
    writeFile(RecurringDates::icsPathBeside(path),
              WithHolidayLinks(icsOf({dentist}), {HolidayLink{QStringLiteral("DE-BY"),
                                                              HolidayLink::AllCategories}}));
    Recorder recorder;
    const QString csv = dir.filePath(QStringLiteral("dates.csv"));
    recorder.exportAnswer = {csv, true, QDate(1999, 11, 1), QDate(1999, 12, 1)};
    QVERIFY(ExportRecurringDates(nullptr, path, recorder.services()));
    QCOMPARE(readFile(csv),
             QByteArray("Date,Description\r\n1999-12-14,Dentist\r\n1999-12-25,Christmas Day\r\n"));

    // The iCalendar file holds the formula entries too, as repeat rules.
    const QString ics = dir.filePath(QStringLiteral("dates.ics"));
    recorder.exportAnswer = {ics, false, {}, {}};
    QVERIFY(ExportRecurringDates(nullptr, path, recorder.services()));
    const QList<DatedEntry> exported = readIcs(ics);
    QCOMPARE(exported.size(), 2);
    QCOMPARE(exported[0].description, QStringLiteral("Christmas Day"));
    QCOMPARE(exported[0].rule.recurrence->toString(),
             QStringLiteral("FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=25"));
    QCOMPARE(exported[1], dentist);
    const QList<HolidayLink> links = ReadHolidayLinks(readFile(ics));
    QCOMPARE(links.size(), 1);
    QCOMPARE(links[0].code, QStringLiteral("DE-BY"));
    QVERIFY(recorder.messages.isEmpty());
}

// Fills once per month missed an entry that a neighbour's date moved across
// the month's end, and an entry the user left out still moved another.
void TestRecurringDialogs::fillShiftAvoidsOnlyEntriesNotLeftOut()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    // 31 August 2024 is a Saturday; the nearest workday is Friday the 30th,
    // which the other entry takes, and so Monday 2 September.
    DatedEntry moved = datedEntry(QStringLiteral("m@test"), QStringLiteral("Moved"),
                                  QStringLiteral("FREQ=YEARLY"), QDate(2000, 8, 31));
    moved.rule.shift = DateRule::Shift::NearestWorkday;
    moved.shiftAvoids = {QStringLiteral("f@test")};
    const DatedEntry fixed = datedEntry(QStringLiteral("f@test"), QStringLiteral("Fixed"),
                                        QStringLiteral("FREQ=YEARLY"), QDate(2000, 8, 30));
    writeFile(RecurringDates::icsPathBeside(path), icsOf({moved, fixed}));
    // "day text" for every note of the page.
    const auto notes = [](const CalendarPage &page) {
        QStringList found;
        for (int day = 1; day <= 31; ++day) {
            const int cell = FirstCellOfDay(page, day);
            NoteDocument note;
            if (cell > 0 && note.Load(page.CellNote(cell)) && !note.IsEmpty())
                found.append(QString::number(day) + u' ' +
                             note.Document().toPlainText().trimmed().replace(u'\n', u'+'));
        }
        return found;
    };
    Recorder recorder;
    recorder.selectionAnswer = QStringList{};

    CalendarPage september;
    september.SetMainCalYear(2024);
    september.SetMainCalMonth(9);
    recorder.datedAnswer = {0};
    QVERIFY(
        FillCalendarWithRecurringDates(nullptr, september, path, FontSpec(), recorder.services()));
    QCOMPARE(recorder.offeredDated.size(), 1);
    QCOMPARE(notes(september), QStringList{"2 Moved"});

    // Both offered in August; with both chosen only the fixed one is there.
    CalendarPage august;
    august.SetMainCalYear(2024);
    august.SetMainCalMonth(8);
    recorder.datedAnswer = {0, 1};
    QVERIFY(FillCalendarWithRecurringDates(nullptr, august, path, FontSpec(), recorder.services()));
    QCOMPARE(recorder.offeredDated.size(), 2);
    QCOMPARE(notes(august), QStringList{"30 Fixed"});

    // The fixed one left out no longer pushes the moved one.
    CalendarPage again;
    again.SetMainCalYear(2024);
    again.SetMainCalMonth(8);
    recorder.datedAnswer = {0};
    QVERIFY(FillCalendarWithRecurringDates(nullptr, again, path, FontSpec(), recorder.services()));
    QCOMPARE(notes(again), QStringList{"30 Moved"});
}

void TestRecurringDialogs::addHolidaysLinksARegionsSet()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    writeFile(path, entry("Rent", "@0001").toUtf8() + "\r\n");
    const QByteArray formulas = readFile(path);
    Recorder recorder;
    QStringList preview;
    recorder.inAddHolidays = [&](TAddHolidays &add) {
        auto *country = child<QComboBox>(add, "CountryBox");
        // The user's own country first.
        QCOMPARE(country->currentData().toString(), QStringLiteral("US"));
        country->setFocus();
        QTest::keyClicks(country, QStringLiteral("Germ"));
        auto *region = child<QComboBox>(add, "RegionBox");
        QCOMPARE(region->currentText(), QStringLiteral("The whole country"));
        region->setFocus();
        QTest::keyClicks(region, QStringLiteral("Bav"));
        click(add, "ObservanceCheck");
        const auto *next = child<QListWidget>(add, "NextList");
        for (int row = 0; row < next->count(); ++row)
            preview.append(next->item(row)->text());
        click(add, "Okbutton");
    };
    TEditRecurringDates dialog(path, nullptr, recorder.services());
    click(dialog, "AddHolidaysbutton");

    QCOMPARE(preview.size(), TAddHolidays::PreviewCount);
    QCOMPARE(preview.first(), QStringLiteral("Wed 6 Jan 2027 \u2013 Epiphany"));
    QCOMPARE(preview.at(2), QStringLiteral("Sun 9 May 2027 \u2013 Mother's Day"));
    QCOMPARE(preview.last(), QStringLiteral("Mon 1 Jan 2029 \u2013 New Year's Day"));
    // The broken file of the sets is named once, with its line.
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(recorder.messages.first().contains(QStringLiteral("XB.holidays: line 6")),
             qPrintable(recorder.messages.first()));
    const auto *list = child<QListWidget>(dialog, "DatesList");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(1)->text(),
             QStringLiteral("Holidays: Germany, Bavaria (public, bank, observance)"));
    QCOMPARE(dialog.selectedIndex(), 1);

    click(dialog, "okbutton");
    QCOMPARE(readFile(path), formulas);
    QVERIFY(readFile(RecurringDates::icsPathBeside(path))
                .contains("\r\nX-DAYLOOM-HOLIDAYS:DE-BY;CATEGORIES=public,bank,observance\r\n"));
    recorder.inAddHolidays = [](TAddHolidays &add) { click(add, "CancelButton"); };
    click(dialog, "AddHolidaysbutton");
    QCOMPARE(recorder.messages.size(), 1);
}

void TestRecurringDialogs::linkedSetHidesHolidaysAndIsRemoved()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DLRECUR.DAX"));
    RecurringDates saved;
    saved.holidayLinks = {HolidayLink{QStringLiteral("DE-BY")}, HolidayLink{QStringLiteral("FR")}};
    QVERIFY(saved.saveUserList(path));
    Recorder recorder;
    QStringList shown;
    recorder.inLinkedHolidays = [&](TLinkedHolidays &hide) {
        auto *holidays = child<QListWidget>(hide, "HolidaysList");
        for (int row = 0; row < holidays->count(); ++row)
            shown.append(holidays->item(row)->text());
        // Untick Epiphany with the keyboard.
        holidays->setFocus();
        holidays->setCurrentRow(int(shown.indexOf(QStringLiteral("Epiphany"))));
        QTest::keyClick(holidays, Qt::Key_Space);
        click(hide, "Okbutton");
    };
    TEditRecurringDates dialog(path, nullptr, recorder.services());
    const auto *list = child<QListWidget>(dialog, "DatesList");
    QCOMPARE(list->count(), 2);
    // A set this version does not know is kept and says so.
    QCOMPARE(list->item(1)->text(),
             QStringLiteral("Holidays: FR (not in this version's holiday data; kept unused)"));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    click(dialog, "Editbutton");
    QCOMPARE(shown, (QStringList{"New Year's Day", "Epiphany", "Good Friday", "German Unity Day",
                                 "Christmas Day"}));
    QCOMPARE(dialog.holidayLinks().first().hidden, QStringList{"epiphany"});
    QCOMPARE(list->item(0)->text(),
             QStringLiteral("Holidays: Germany, Bavaria (public, bank; 1 hidden)"));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    click(dialog, "Editbutton");
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY(recorder.messages.first().contains(QStringLiteral("FR is not in")));
    click(dialog, "DeleteButton");
    QCOMPARE(list->count(), 1);
    click(dialog, "okbutton");

    RecurringDates loaded;
    QVERIFY(RecurringDates::loadUserList(path, loaded));
    QCOMPARE(loaded.holidayLinks.size(), 1);
    QCOMPARE(loaded.holidayLinks.first().toValue(),
             QStringLiteral("DE-BY;CATEGORIES=public,bank;HIDE=epiphany"));
}

QTEST_MAIN(TestRecurringDialogs)
#include "tst_recurringdialogs.moc"
