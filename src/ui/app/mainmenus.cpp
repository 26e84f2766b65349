#include "ui/app/mainmenus.h"

#include "core/app/tmrufilelist.h"

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>

namespace Dayloom {

MainMenus::MainMenus(QMenuBar *bar, QObject *parent) : QObject(parent)
{
    BuildFileMenu(bar);
    BuildEditMenu(bar);
    m_toolsMenu = bar->addMenu(QStringLiteral("&Tools"));
    m_toolsMenu->setObjectName(QStringLiteral("ToolsMenu"));
    BuildViewAndHelpMenus(bar);
    for (QAction *title : bar->actions()) {
        if (QMenu *menu = title->menu())
            connect(menu, &QMenu::aboutToHide, this,
                    [this] { QTimer::singleShot(0, this, &MainMenus::menuClosed); });
    }
}

QAction *MainMenus::Add(QMenu *menu, Command command, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    m_actions[command] = action;
    return action;
}

QAction *MainMenus::AddTool(const QString &name, const QString &caption, const QKeySequence &key)
{
    QAction *action = m_toolsMenu->addAction(WithFreeMnemonic(caption));
    action->setObjectName(name);
    action->setCheckable(true);
    action->setShortcut(key);
    return action;
}

QString MainMenus::WithFreeMnemonic(const QString &caption) const
{
    QSet<QChar> taken;
    for (const QAction *action : m_toolsMenu->actions()) {
        const QString text = action->text();
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < text.size())
            taken.insert(text.at(amp + 1).toUpper());
    }
    // A word's first letter reads best; any other letter will do.
    for (const bool wordStartsOnly : {true, false}) {
        for (qsizetype i = 0; i < caption.size(); ++i) {
            const QChar letter = caption.at(i);
            const bool wordStart = i == 0 || caption.at(i - 1).isSpace();
            if (letter.isLetterOrNumber() && (wordStart || !wordStartsOnly) &&
                !taken.contains(letter.toUpper()))
                return QString(caption).insert(i, QLatin1Char('&'));
        }
    }
    return caption;
}

void MainMenus::BuildFileMenu(QMenuBar *bar)
{
    m_fileMenu = bar->addMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("FileMenu"));
    QMenu *file = m_fileMenu;
    Add(file, New, "New1", QStringLiteral("&New..."))->setShortcuts(QKeySequence::New);
    Add(file, Open, "Open1", QStringLiteral("&Open..."))->setShortcuts(QKeySequence::Open);
    file->addSeparator();
    Add(file, Save, "mnuSave", QStringLiteral("&Save "))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Add(file, SaveAs, "mnuSaveAs", QStringLiteral("Save &As..."))
        ->setShortcuts(QKeySequence::SaveAs);
    file->addSeparator();
    Add(file, Properties, "mnuProperties", QStringLiteral("&Properties..."));
    Add(file, UserTitle, "mnuUserTitle", QStringLiteral("User Defined &Title..."));
    Add(file, CancelChanges, "mnuCancelChanges", QStringLiteral("&Cancel Changes"));
    Add(file, ClearAllCellContents, "mnuClearAllCellContents",
        QStringLiteral("C&lear All Cell Contents"));
    Add(file, DefaultEditorFont, "DefaultEditorFont1", QStringLiteral("&Default Editor Font..."));
    file->addSeparator();
    Add(file, FillCalendar, "mnuFillCalendarwithRecurringDates",
        QStringLiteral("&Fill Calendar with Recurring Dates..."));
    Add(file, EditRecurringDates, "mnuEditrecurringDates",
        QStringLiteral("Edit Recurr&ing Dates..."));
    Add(file, ImportICalendar, "mnuImportICalendar", QStringLiteral("I&mport iCalendar..."));
    Add(file, ExportRecurringDates, "mnuExportRecurringDates",
        QStringLiteral("Export Recurrin&g Dates..."));
    file->addSeparator();
    Add(file, PrintPreview, "mnuPrintPreview", QStringLiteral("Print Pre&view..."));
    Add(file, Export, "mnuExport", QStringLiteral("&Export..."));
    Add(file, PrintCalendar, "mnuPrintCalendar", QStringLiteral("P&rint Calendar..."))
        ->setShortcuts(QKeySequence::Print);
    Add(file, PrintSetup, "mnuPrintSetup", QStringLiteral("Print Set&up..."));
    file->addSeparator();
    Add(file, Exit, "Exit1", QStringLiteral("E&xit"))->setShortcuts(QKeySequence::Quit);
}

void MainMenus::BuildEditMenu(QMenuBar *bar)
{
    m_editMenu = bar->addMenu(QStringLiteral("&Edit"));
    m_editMenu->setObjectName(QStringLiteral("EditMenu"));
    QMenu *edit = m_editMenu;
    // Own actions rather than the undo stack's: the window commits a note
    // still open in the editor first, so that it is the step Undo takes back.
    Add(edit, Undo, "mnuUndo", QStringLiteral("&Undo"))->setShortcuts(QKeySequence::Undo);
    Add(edit, Redo, "mnuRedo", QStringLiteral("&Redo"))->setShortcuts(QKeySequence::Redo);
    edit->addSeparator();
    Add(edit, Cut, "mnuCut", QStringLiteral("Cu&t"))->setShortcuts(QKeySequence::Cut);
    Add(edit, Copy, "mnuCopy", QStringLiteral("&Copy"))->setShortcuts(QKeySequence::Copy);
    Add(edit, Paste, "mnuPaste", QStringLiteral("&Paste"))->setShortcuts(QKeySequence::Paste);
    Add(edit, Delete, "mnuDelete", QStringLiteral("&Delete"))->setShortcuts(QKeySequence::Delete);
    edit->addSeparator();
    Add(edit, SelectAll, "mnuSelectAll", QStringLiteral("Select &All"))
        ->setShortcuts(QKeySequence::SelectAll);
}

void MainMenus::BuildViewAndHelpMenus(QMenuBar *bar)
{
    // Page Down and Page Up step the zoom as well (the window's key filter).
    QMenu *view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("ViewMenu"));
    Add(view, ZoomIn, "mnuZoomIn", QStringLiteral("Zoom &In"))->setShortcuts(QKeySequence::ZoomIn);
    Add(view, ZoomOut, "mnuZoomOut", QStringLiteral("Zoom &Out"))
        ->setShortcuts(QKeySequence::ZoomOut);

#ifdef DAYLOOM_HOMEPAGE
    QMenu *online = bar->addMenu(QStringLiteral("&Online"));
    online->setObjectName(QStringLiteral("mnuOnLine"));
    QAction *visit = online->addAction(QStringLiteral("Visit Our Internet Website"));
    visit->setObjectName(QStringLiteral("VisitOurInternetW1"));
    connect(visit, &QAction::triggered, this,
            [] { QDesktopServices::openUrl(QUrl(QStringLiteral(DAYLOOM_HOMEPAGE))); });
#endif

    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    Add(help, HelpContents, "Contents1", QStringLiteral("&Contents"))
        ->setShortcuts(QKeySequence::HelpContents);
    Add(help, About, "About1", QStringLiteral("&About"));
    QAction *hints = Add(help, ShowHints, "mnuShowHint", QStringLiteral("&Show Hints"));
    hints->setCheckable(true);
    hints->setChecked(true);
}

void MainMenus::SetState(const State &state)
{
    for (const Command command : {FillCalendar, UserTitle, ClearAllCellContents})
        m_actions[command]->setEnabled(state.dayCells);
    m_actions[Save]->setEnabled(state.pageShown);
    for (const Command command :
         {SaveAs, Properties, ZoomIn, ZoomOut, PrintSetup, PrintPreview, Export})
        m_actions[command]->setEnabled(state.pageShown);
    m_actions[CancelChanges]->setEnabled(state.pageShown && state.named);
    m_actions[PrintCalendar]->setEnabled(state.pageShown && state.printerAvailable);
}

void MainMenus::ShowUndoState(const QUndoStack &stack, bool editingNote, bool noteChanged)
{
    QAction *undo = m_actions[Undo];
    undo->setEnabled(stack.canUndo() || editingNote);
    undo->setText(noteChanged       ? QStringLiteral("&Undo Note")
                  : stack.canUndo() ? QStringLiteral("&Undo %1").arg(stack.undoText())
                                    : QStringLiteral("&Undo"));
    const bool canRedo = stack.canRedo() && !noteChanged;
    QAction *redo = m_actions[Redo];
    redo->setEnabled(canRedo);
    redo->setText(canRedo ? QStringLiteral("&Redo %1").arg(stack.redoText())
                          : QStringLiteral("&Redo"));
}

void MainMenus::ShowRecentFiles(const QStringList &files)
{
    // An entry may be the sender of the click that changed the list.
    for (QAction *action : std::as_const(m_recentActions)) {
        m_fileMenu->removeAction(action);
        action->setObjectName(QString());
        action->deleteLater();
    }
    m_recentActions.clear();
    if (m_recentSeparator) {
        m_fileMenu->removeAction(m_recentSeparator);
        m_recentSeparator->deleteLater();
        m_recentSeparator = nullptr;
    }
    if (files.isEmpty())
        return;
    m_recentSeparator = m_fileMenu->addSeparator();
    for (int i = 0; i < files.size(); ++i) {
        const int position = i + 1;
        QAction *action = m_fileMenu->addAction(TMRUFileList::MenuCaption(position, files[i]));
        action->setObjectName(QStringLiteral("MRU%1").arg(position));
        connect(action, &QAction::triggered, this,
                [this, position] { Q_EMIT recentFileChosen(position); });
        m_recentActions << action;
    }
}

} // namespace Dayloom
