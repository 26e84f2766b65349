#pragma once

#include <QObject>

#include <functional>

namespace Dayloom {

class TCalendarMain;
class TCalendarProperties;

// The main window's commands that edit the page through dialogs: the
// "Calendar Properties" dialog (also File New's first step), the user
// title, clearing the day cells, the fill from recurring dates and its
// list, and the note editor's default font. Each edit of the page is one
// undo step of the page's document.
class PageCommands : public QObject
{
    Q_OBJECT

public:
    explicit PageCommands(TCalendarMain &window);

    // The dialog on the shown page's settings; OK takes them over (see
    // PageDocument::ApplySettings).
    void Properties();
    // Runs the properties dialog, for File New when `newCalendar` (OK then
    // puts the chosen settings into the page without an undo step); true
    // when it ended with OK.
    bool RunProperties(bool newCalendar);
    bool NewCalendarPending() const { return m_newCalendarPending; }
    bool PropertiesAccepted() const { return m_propertiesAccepted; }
    // How the properties dialog is shown (exec() by default); tests answer it.
    using DialogRunner = std::function<int(TCalendarProperties &)>;
    void SetDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }

    void EditUserTitle();
    void ClearAllCellContents();
    void FillWithRecurringDates();
    void EditRecurringDatesList();
    // "Import iCalendar…" and "Export…" of the recurring dates.
    void ImportICalendarDates();
    void ExportRecurringDates();
    void ChooseDefaultEditorFont();

private:
    TCalendarMain &m_window;
    bool m_newCalendarPending = false;
    bool m_propertiesAccepted = false;
    DialogRunner m_runDialog;
};

} // namespace Dayloom
