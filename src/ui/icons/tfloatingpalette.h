#pragma once

#include "ui/icons/icontoolservices.h"

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>

class QAction;
class QFont;
class QMenu;

namespace Dayloom {

class IniFile;
class TIconListBox;

// The icon tool: a small window that stays above the main window and shows
// the icons of one library in a grid of whole icons (3 rows, as many columns
// as the title needs, at least 4), with a "File" menu choosing the
// library: the five shipped ones, the bonus sets found in the "BonusIcons"
// folder, or any other file. The user drags icons from it into day notes.
class TFloatingPalette : public QMainWindow
{
    Q_OBJECT

public:
    // The border round the icon list, the rows it shows and the fewest
    // whole columns; more columns are shown when the title needs the room.
    static constexpr int ListBorder = 4;
    static constexpr int VisibleRows = 3;
    static constexpr int MinimumColumns = 4;

    // The width a window manager's title bar needs for `title` in `font`:
    // the text, the window's icon and three title-bar buttons.
    static int TitleBarWidth(const QString &title, const QFont &font, int buttonSide);

    // One of the shipped libraries: its menu item, caption and file.
    struct Library
    {
        QString name;
        QString caption;
        QString file;
    };
    static const QList<Library> &Libraries();

    // `mainWindow` is the window it stays above (and centres over the first
    // time).
    explicit TFloatingPalette(QWidget *mainWindow,
                              const IconToolServices &services = IconToolServices::System());
    ~TFloatingPalette() override;

    TIconListBox *IconListBox() const { return m_list; }
    void SetServices(const IconToolServices &services) { m_services = services; }

    // Shows the library at `path` and checks its menu item (the start-up
    // load of the stored library). A path whose file is missing is looked
    // for without regard to case, then among the program's assets.
    void LoadLibrary(const QString &path);
    // The menu commands.
    void ChooseLibrary(const QString &file); // one of the five shipped files
    void ChooseBonusSet(const QString &caption);
    void ChooseOtherFile();
    // "Bonus Icon Sets" when there are none: says where to put them.
    void ShowNoBonusSets();
    // Checks the menu item of the library at `path` (or "Other..."), loads
    // it when the list shows another file, and falls back to "Misc1.icl"
    // when the list holds no icons.
    void UpdateLibraryMenu(const QString &path);

    // The bonus sets found at creation, by caption.
    const QStringList &BonusIconSets() const { return m_bonusCaptions; }
    // Where the shipped libraries and the "BonusIcons" folder are.
    static QString LibraryFolder();
    static QString BonusFolder();
    // A shipped library's path, its name matched without regard to case.
    static QString LibraryPath(const QString &fileName);
    // The filters of the "Other..." dialog, and the one it starts on.
    static QString OtherFileFilters();
    static QString InitialOtherFilter();

    // The window's position (not its size) from the settings, or centred
    // over the main window the first time; saved under "TFloatingPalette".
    void RestorePlacement(const IniFile &settings);
    void SavePlacement(IniFile &settings) const;

Q_SIGNALS:
    // Shown or hidden (by the main window or the window manager).
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void BuildMenu();
    // Whole icon columns wide enough for the title (at least MinimumColumns).
    int ColumnsForTitle() const;
    void FitToTitleAndIcons();
    QList<QAction *> LibraryActions() const;
    QString PlacementSection() const;

    QWidget *m_mainWindow = nullptr;
    QWidget *m_client = nullptr;
    IconToolServices m_services;
    TIconListBox *m_list = nullptr;
    QMenu *m_fileMenu = nullptr;
    QList<QAction *> m_fixedActions;
    QMenu *m_bonusMenu = nullptr;
    QAction *m_mnuBonusIconSets = nullptr;
    QList<QAction *> m_bonusActions;
    QStringList m_bonusCaptions;
    QStringList m_bonusFiles;
    QAction *m_mnuOtherIconFile = nullptr;
};

} // namespace Dayloom
