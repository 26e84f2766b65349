#pragma once

#include <QObject>
#include <QStringList>

#include <array>

class QAction;
class QKeySequence;
class QMenu;
class QMenuBar;
class QUndoStack;

namespace Dayloom {

// The main window's menus: File (with the recent files at its end), Edit,
// Tools, View, Online (when the build names a homepage) and Help. Owns their
// actions and keeps their enabled state and captions; what an action does
// is wired by the window (Action()). The actions are children of their
// menus, which the menu bar owns, so they are found by object name under
// the window.
class MainMenus : public QObject
{
    Q_OBJECT

public:
    // The commands of the menus; each action's object name is the one the
    // window's accessibility and tests know ("New1", "mnuSave", ...).
    enum Command
    {
        New,
        Open,
        Save,
        SaveAs,
        Properties,
        UserTitle,
        CancelChanges,
        ClearAllCellContents,
        DefaultEditorFont,
        FillCalendar,
        EditRecurringDates,
        ImportICalendar,
        ExportRecurringDates,
        PrintPreview,
        Export,
        PrintCalendar,
        PrintSetup,
        Exit,
        Undo,
        Redo,
        Cut,
        Copy,
        Paste,
        Delete,
        SelectAll,
        ZoomIn,
        ZoomOut,
        HelpContents,
        About,
        ShowHints,
        CommandCount
    };

    // What the enabled state of the items depends on.
    struct State
    {
        bool pageShown = false;
        bool dayCells = false;         // the shown page has day cells
        bool named = false;            // the design has a file
        bool printerAvailable = false; // a default printer was found at start-up
    };

    // Builds the menus into `bar`.
    MainMenus(QMenuBar *bar, QObject *parent);

    QAction *Action(Command command) const { return m_actions[command]; }
    QMenu *EditMenu() const { return m_editMenu; }
    // The Tools menu, between Edit and View: the window adds the placing
    // tools and the icon tool (AddTool).
    QMenu *ToolsMenu() const { return m_toolsMenu; }
    // Appends a checkable item named `name` to the Tools menu; its caption
    // gets the first letter no other item of the menu uses as its mnemonic.
    QAction *AddTool(const QString &name, const QString &caption, const QKeySequence &key);

    void SetState(const State &state);
    // Undo and Redo name the step they take. An open note is a change Undo
    // can take back too; a changed one is the step Undo takes back (it is
    // committed first), and committing it leaves nothing to redo.
    void ShowUndoState(const QUndoStack &stack, bool editingNote, bool noteChanged);
    // The numbered entries ("MRU1" ...) after a separator at the end of the
    // File menu; none (and no separator) for an empty list.
    void ShowRecentFiles(const QStringList &files);

Q_SIGNALS:
    // A recent file's entry was picked (1 = the first).
    void recentFileChosen(int position);
    // A menu closed, once the event that closed it has been handled.
    void menuClosed();

private:
    QAction *Add(QMenu *menu, Command command, const char *name, const QString &caption);
    void BuildFileMenu(QMenuBar *bar);
    void BuildEditMenu(QMenuBar *bar);
    void BuildViewAndHelpMenus(QMenuBar *bar);
    QString WithFreeMnemonic(const QString &caption) const;

    std::array<QAction *, CommandCount> m_actions{};
    QMenu *m_fileMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_toolsMenu = nullptr;
    QAction *m_recentSeparator = nullptr;
    QList<QAction *> m_recentActions;
};

} // namespace Dayloom
