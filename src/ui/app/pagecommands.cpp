#include "ui/app/pagecommands.h"

#include "core/app/zoomsteps.h"
#include "core/surface/pagedocument.h"
#include "ui/app/cellnoteediting.h"
#include "ui/app/tcalendarmain.h"
#include "ui/app/tdefaultfontdialog.h"
#include "ui/app/tusertitleform.h"
#include "ui/app/uihelpers.h"
#include "ui/properties/tcalendarproperties.h"
#include "ui/recurring/recurringcommands.h"
#include "ui/richtext/noteeditor.h"
#include "ui/surface/tcalendarpanel32.h"

namespace Dayloom {

PageCommands::PageCommands(TCalendarMain &window) : QObject(&window), m_window(window) {}

void PageCommands::Properties()
{
    if (!m_window.m_pageShown)
        return;
    RunProperties(false);
}

bool PageCommands::RunProperties(bool newCalendar)
{
    m_newCalendarPending = newCalendar;
    m_window.HideIconToolForDialog();
    m_window.DoSaveRichtext();
    PageDocument &document = m_window.CalendarPanel()->Document();
    CalendarPage &page = document.Page();
    Preferences &preferences = m_window.m_preferences;
    TCalendarProperties dialog(&m_window.m_settings, &m_window);
    CenterForm(&dialog, &m_window);
    dialog.SetPreviewZoom(ZoomFromPercent(preferences.propertiesZoomPercent));
    connect(&dialog, &TCalendarProperties::helpRequested, &m_window, &TCalendarMain::ShowHelpTopic);
    if (m_newCalendarPending) {
        dialog.SetNewCalendar(true);
        dialog.SetHadCellNotes(false);
        dialog.SetHadPlacedObjects(false);
    } else if (m_window.m_pageShown) {
        dialog.SetOpeningLayoutKind(page.LayoutKind());
        dialog.SetHadCellNotes(page.HasCellNotes());
        dialog.SetNotedCellCount(page.NotedCellCount());
        dialog.SetHadPlacedObjects(document.HasPlacedObjects());
    }
    dialog.ExampleCalendar().AssignSettings(page);
    const bool accepted = (m_runDialog ? m_runDialog(dialog) : dialog.exec()) == QDialog::Accepted;
    m_propertiesAccepted = false;
    preferences.propertiesZoomPercent = PercentFromZoom(dialog.PreviewZoom());
    if (accepted) {
        m_propertiesAccepted = true;
        // A new design starts without undo steps.
        if (m_newCalendarPending)
            page.AssignSettings(dialog.ExampleCalendar());
        else
            document.ApplySettings(dialog.ExampleCalendar().Settings());
    }
    m_newCalendarPending = false;
    m_window.CalendarPanel()->update();
    m_window.RestoreIconToolAfterDialog();
    m_window.SavePreferences();
    return accepted;
}

void PageCommands::EditUserTitle()
{
    m_window.DoSaveRichtext();
    PageDocument &document = m_window.CalendarPanel()->Document();
    TUserTitleForm form(&m_window);
    form.SetTitle(document.Page().UserTitle());
    CenterForm(&form, &m_window);
    if (form.exec() != QDialog::Accepted)
        return;
    document.SetUserTitle(form.Title());
    m_window.SetModified(true);
}

void PageCommands::ClearAllCellContents()
{
    m_window.DoSaveRichtext();
    m_window.CalendarPanel()->Document().ClearAllNotes();
    m_window.SetModified(true);
}

void PageCommands::FillWithRecurringDates()
{
    const std::optional<CellNoteEditing::Position> open = m_window.m_notes->OpenPosition();
    m_window.DoSaveRichtext();
    TCalendarPanel32 *panel = m_window.CalendarPanel();
    const bool filled =
        panel->Document().EditNotes(QStringLiteral("Fill Calendar"), [this](CalendarPage &page) {
            m_window.HideIconToolForDialog();
            FillCalendarWithRecurringDates(&m_window, page, m_window.RecurringDatesFileName(),
                                           m_window.m_preferences.defaultFont);
            m_window.RestoreIconToolAfterDialog();
        });
    if (filled)
        m_window.SetModified(true);
    panel->update();
    // The note opens again where the user was typing.
    if (open)
        m_window.m_notes->Reopen(*open);
}

void PageCommands::EditRecurringDatesList()
{
    m_window.DoSaveRichtext();
    m_window.HideIconToolForDialog();
    EditRecurringDates(&m_window, m_window.RecurringDatesFileName());
    m_window.RestoreIconToolAfterDialog();
}

void PageCommands::ImportICalendarDates()
{
    m_window.DoSaveRichtext();
    m_window.HideIconToolForDialog();
    Dayloom::ImportICalendarDates(&m_window, m_window.RecurringDatesFileName());
    m_window.RestoreIconToolAfterDialog();
}

void PageCommands::ExportRecurringDates()
{
    m_window.DoSaveRichtext();
    m_window.HideIconToolForDialog();
    Dayloom::ExportRecurringDates(&m_window, m_window.RecurringDatesFileName());
    m_window.RestoreIconToolAfterDialog();
}

void PageCommands::ChooseDefaultEditorFont()
{
    m_window.LoadPreferences();
    Preferences &preferences = m_window.m_preferences;
    TDefaultFontDialog dialog(&m_window);
    dialog.SetFont(preferences.defaultFont);
    CenterForm(&dialog, &m_window);
    if (dialog.exec() == QDialog::Accepted) {
        preferences.defaultFont = dialog.Font();
        m_window.SavePreferences();
    }
    NoteEditor *editor = m_window.NoteEditorWidget();
    editor->SetDefaultFont(preferences.defaultFont);
    if (m_window.EditingNote())
        editor->SetDefaultFontNow();
}

} // namespace Dayloom
