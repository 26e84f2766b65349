#include "ui/icons/tfloatingpalette.h"

#include "core/app/windowplacement.h"
#include "core/io/appfolders.h"
#include "core/io/inifile.h"
#include "ui/app/uihelpers.h"
#include "ui/icons/ticonlistbox.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

namespace Dayloom {

namespace {

const QString FallbackLibrary = QStringLiteral("Misc1.icl");

// "&Holidays" -> "HOLIDAYS".
QString MenuKey(const QString &caption)
{
    QString key = caption;
    key.remove(QLatin1Char('&'));
    return key.toUpper();
}

// The name a library's menu item carries: the file name without folder (at
// most 64 characters) and extension, upper-cased, the shipped files mapped
// to their captions.
QString LibraryKey(const QString &path)
{
    QString name = QFileInfo(path).fileName().left(64);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    name = name.toUpper();
    if (name == QLatin1String("ACTIVITY"))
        return QStringLiteral("ACTIVITIES");
    if (name == QLatin1String("HOLIDAY"))
        return QStringLiteral("HOLIDAYS");
    if (name == QLatin1String("MISC1"))
        return QStringLiteral("MISCELLANEOUS #1");
    if (name == QLatin1String("MISC2"))
        return QStringLiteral("MISCELLANEOUS #2");
    return name;
}

bool IsFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace

const QList<TFloatingPalette::Library> &TFloatingPalette::Libraries()
{
    static const QList<Library> libraries{
        {QStringLiteral("mnuActivitiesICL"), QStringLiteral("Activities"),
         QStringLiteral("activity.icl")},
        {QStringLiteral("mnuEventsICL"), QStringLiteral("Events"), QStringLiteral("events.icl")},
        {QStringLiteral("mnuHolidaysICL"), QStringLiteral("Holidays"),
         QStringLiteral("holiday.icl")},
        {QStringLiteral("mnuMisc1ICL"), QStringLiteral("Miscellaneous #1"),
         QStringLiteral("misc1.icl")},
        {QStringLiteral("mnuMisc2ICL"), QStringLiteral("Miscellaneous #2"),
         QStringLiteral("misc2.icl")},
    };
    return libraries;
}

TFloatingPalette::TFloatingPalette(QWidget *mainWindow, const IconToolServices &services)
    : QMainWindow(mainWindow, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_mainWindow(mainWindow), m_services(services)
{
    setObjectName(QStringLiteral("FloatingPalette"));
    setWindowTitle(QStringLiteral("Icons"));
    // Showing the tool leaves the keyboard with the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);

    m_client = new QWidget(this);
    auto *layout = new QVBoxLayout(m_client);
    layout->setContentsMargins(ListBorder, ListBorder, ListBorder, ListBorder);
    m_list = new TIconListBox(m_client);
    m_list->setObjectName(QStringLiteral("IconListBox"));
    m_list->setAccessibleName(QStringLiteral("Icons"));
    QPalette white = m_list->palette();
    white.setColor(QPalette::Base, Qt::white);
    m_list->setPalette(white);
    layout->addWidget(m_list);
    setCentralWidget(m_client);

    BuildMenu();
    FitToTitleAndIcons();
    QMainWindow::layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_list->SetFileName(LibraryPath(QStringLiteral("activity.icl")));
}

TFloatingPalette::~TFloatingPalette() = default;

void TFloatingPalette::BuildMenu()
{
    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("IconFileMenu"));
    for (const Library &library : Libraries()) {
        QAction *action = m_fileMenu->addAction(library.caption);
        action->setObjectName(library.name);
        action->setCheckable(true);
        const QString file = library.file;
        connect(action, &QAction::triggered, this, [this, file] { ChooseLibrary(file); });
        m_fixedActions << action;
    }

    // The bonus sets: every "*.icl" in the folder, captioned by its name
    // up to the first ".".
    const QDir bonus(BonusFolder());
    const QStringList files = bonus.exists()
                                  ? bonus.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)
                                  : QStringList();
    for (const QString &file : files) {
        if (!file.endsWith(QLatin1String(".icl"), Qt::CaseInsensitive))
            continue;
        m_bonusCaptions << file.section(QLatin1Char('.'), 0, 0);
        m_bonusFiles << bonus.filePath(file);
    }
    if (m_bonusCaptions.isEmpty()) {
        m_mnuBonusIconSets = m_fileMenu->addAction(QStringLiteral("Bonus Icon Sets"));
        connect(m_mnuBonusIconSets, &QAction::triggered, this, &TFloatingPalette::ShowNoBonusSets);
    } else {
        m_bonusMenu = m_fileMenu->addMenu(QStringLiteral("Bonus Icon Sets"));
        m_bonusMenu->setObjectName(QStringLiteral("BonusIconSetsMenu"));
        m_mnuBonusIconSets = m_bonusMenu->menuAction();
        for (const QString &caption : std::as_const(m_bonusCaptions)) {
            QAction *action = m_bonusMenu->addAction(caption);
            action->setObjectName(QStringLiteral("mnuBonus_") + caption);
            action->setCheckable(true);
            connect(action, &QAction::triggered, this,
                    [this, caption] { ChooseBonusSet(caption); });
            m_bonusActions << action;
        }
    }
    m_mnuBonusIconSets->setObjectName(QStringLiteral("mnuBonusIconSets"));

    m_mnuOtherIconFile = m_fileMenu->addAction(QStringLiteral("Other..."));
    m_mnuOtherIconFile->setObjectName(QStringLiteral("mnuOtherIconFile"));
    m_mnuOtherIconFile->setCheckable(true);
    connect(m_mnuOtherIconFile, &QAction::triggered, this, &TFloatingPalette::ChooseOtherFile);
}

// --- size -----------------------------------------------------------------------------------

int TFloatingPalette::TitleBarWidth(const QString &title, const QFont &font, int buttonSide)
{
    // Window managers draw titles bold, with some room either side of the
    // text, beside four squares (icon, minimise, maximise, close) that many
    // add even to a tool window.
    QFont bold = font;
    bold.setBold(true);
    const int text = QFontMetrics(bold).horizontalAdvance(title);
    constexpr int Squares = 4;
    const int padding = buttonSide / 2;
    return text + 2 * padding + Squares * buttonSide;
}

int TFloatingPalette::ColumnsForTitle() const
{
    const int buttonSide = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const int needed = TitleBarWidth(windowTitle(), font(), buttonSide);
    const int chrome = 2 * ListBorder + 2 * m_list->frameWidth();
    const int columns = (needed - chrome + m_list->ColumnWidth() - 1) / m_list->ColumnWidth();
    return std::max(MinimumColumns, columns);
}

void TFloatingPalette::FitToTitleAndIcons()
{
    m_list->SetXIcons(ColumnsForTitle());
    m_list->SetYIcons(VisibleRows);
    m_client->setFixedSize(m_list->width() + 2 * ListBorder, m_list->height() + 2 * ListBorder);
}

QList<QAction *> TFloatingPalette::LibraryActions() const
{
    return m_fixedActions + m_bonusActions;
}

// --- where the libraries are ---------------------------------------------------------------

QString TFloatingPalette::LibraryFolder()
{
    const QString activities = LibraryPath(QStringLiteral("activity.icl"));
    return QFileInfo(activities).absolutePath();
}

QString TFloatingPalette::BonusFolder()
{
    return AssetPath(QStringLiteral("BonusIcons"));
}

QString TFloatingPalette::LibraryPath(const QString &fileName)
{
    const QString asset = AssetPath(fileName);
    if (IsFile(asset))
        return asset;
    for (const QString &folder :
         {QFileInfo(asset).absolutePath(), ProgramFolder(), InstalledShareFolder(),
          QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("dayloom"),
                                 QStandardPaths::LocateDirectory)}) {
        const QString found = FindIgnoringCase(folder, fileName);
        if (!found.isEmpty())
            return found;
    }
    return asset;
}

QString TFloatingPalette::OtherFileFilters()
{
    // Name and patterns; the patterns are offered in both cases.
    static const QList<std::pair<QString, QStringList>> filters{
        {QStringLiteral("All Files"), {"ICL", "DLL", "EXE", "ICO", "NIL"}},
        {QStringLiteral("ICL Files"), {"ICL"}},
        {QStringLiteral("DLL Files"), {"DLL"}},
        {QStringLiteral("EXE Files"), {"EXE"}},
        {QStringLiteral("ICO Files"), {"ICO"}},
        {QStringLiteral("NIL Files"), {"NIL"}},
        {QStringLiteral("ICL and ICO Files"), {"ICL", "ICO"}},
    };
    QStringList list;
    for (const auto &[name, extensions] : filters) {
        QStringList patterns;
        for (const QString &extension : extensions)
            patterns << QStringLiteral("*.") + extension;
        for (const QString &extension : extensions)
            patterns << QStringLiteral("*.") + extension.toLower();
        list << name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return list.join(QStringLiteral(";;"));
}

QString TFloatingPalette::InitialOtherFilter()
{
    return OtherFileFilters().split(QStringLiteral(";;")).value(6);
}

// --- the library commands -----------------------------------------------------------------

void TFloatingPalette::LoadLibrary(const QString &path)
{
    QString file = path;
    if (!IsFile(file)) {
        const QString nearby =
            FindIgnoringCase(QFileInfo(path).absolutePath(), QFileInfo(path).fileName());
        file = !nearby.isEmpty() ? nearby : LibraryPath(QFileInfo(path).fileName());
        if (!IsFile(file))
            file = path;
    }
    UpdateLibraryMenu(file);
}

void TFloatingPalette::ChooseLibrary(const QString &file)
{
    const QString path = LibraryPath(file);
    m_list->SetFileName(path);
    UpdateLibraryMenu(path);
}

void TFloatingPalette::ChooseBonusSet(const QString &caption)
{
    const int index = m_bonusCaptions.indexOf(caption);
    if (index < 0)
        return;
    const QString path = m_bonusFiles[index];
    m_list->SetFileName(path);
    UpdateLibraryMenu(path);
}

void TFloatingPalette::ShowNoBonusSets()
{
    m_services.showInformation(
        this, QStringLiteral("No bonus icon sets were found.\n\n"
                             "To add icon sets, put icon library files (\".icl\") into the "
                             "folder\n%1\nand start Dayloom again. They are then listed under "
                             "\"Bonus Icon Sets\".")
                  .arg(QDir::toNativeSeparators(BonusFolder())));
}

void TFloatingPalette::ChooseOtherFile()
{
    const QString filters = OtherFileFilters();
    for (;;) {
        const QString chosen =
            m_services.chooseIconFile(this, QStringLiteral("Open Icon Collection"), LibraryFolder(),
                                      filters, InitialOtherFilter());
        if (chosen.isEmpty())
            break;
        m_list->SetFileName(chosen);
        if (m_list->NumberOfIcons() != 0)
            break;
        m_services.showInformation(this, QStringLiteral("No icons found in ") + chosen);
    }
    if (m_list->NumberOfIcons() <= 0)
        m_list->SetFileName(LibraryPath(FallbackLibrary));
    UpdateLibraryMenu(m_list->FileName());
}

void TFloatingPalette::UpdateLibraryMenu(const QString &path)
{
    const QString key = LibraryKey(path);
    bool checked = false;
    for (QAction *action : LibraryActions()) {
        const bool match = !key.isEmpty() && MenuKey(action->text()) == key;
        action->setChecked(match);
        checked = checked || match;
    }
    const bool exists = IsFile(path);
    m_mnuOtherIconFile->setChecked(!checked && exists);
    if (exists && path.compare(m_list->FileName(), Qt::CaseInsensitive) != 0)
        m_list->SetFileName(path);
    if (m_list->NumberOfIcons() == 0)
        m_list->SetFileName(LibraryPath(FallbackLibrary));
}

// --- placement and visibility --------------------------------------------------------------

QString TFloatingPalette::PlacementSection() const
{
    const QScreen *display = screen() ? screen() : QGuiApplication::primaryScreen();
    const int dpi = display ? qRound(display->logicalDotsPerInch()) : 96;
    return WindowPlacement::SectionName(QStringLiteral("TFloatingPalette"), dpi);
}

void TFloatingPalette::RestorePlacement(const IniFile &settings)
{
    adjustSize();
    const WindowPlacement stored = WindowPlacement::Load(settings, PlacementSection(), false);
    if (!stored.IsSaved()) {
        CenterForm(this, m_mainWindow);
        return;
    }
    const QScreen *display = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = display ? display->size() : QSize(1024, 768);
    const WindowPlacement shifted = stored.ShiftedOnto(screenSize);
    move(shifted.left, shifted.top);
}

void TFloatingPalette::SavePlacement(IniFile &settings) const
{
    const QRect frame = frameGeometry();
    WindowPlacement placement{frame.left(), frame.top(), frame.left() + frame.width(),
                              frame.top() + frame.height(), false};
    placement.Save(settings, PlacementSection());
}

void TFloatingPalette::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    Q_EMIT visibilityChanged(true);
}

void TFloatingPalette::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    Q_EMIT visibilityChanged(false);
}

} // namespace Dayloom
