#pragma once

#include "ui/surface/tgbasepanel.h"

#include <QObject>

class QScrollArea;
class QWidget;

namespace Dayloom {

class CellNoteEditing;
class TCalendarPanel32;

// The page in the main window: the scroll box ("ScrollBox2") holding the
// calendar page widget ("CalendarPanel") a margin from its edges, the note
// editor laid over a chosen day cell (CellNoteEditing), and the zoom steps.
// The page starts with the values the window stores for it and is hidden
// until a design is shown.
class PageView : public QObject
{
    Q_OBJECT

public:
    explicit PageView(QWidget *window);

    QScrollArea *ScrollBox() const { return m_scrollBox; }
    TCalendarPanel32 *Panel() const { return m_page; }
    CellNoteEditing *Notes() const { return m_notes; }

    // Gives the page the values the window stores for it; what these leave
    // alone keeps the page's own defaults.
    void ApplyStoredPageValues();

    bool Shown() const { return m_shown; }
    void Show(bool shown);
    // Sizes the area the scroll box scrolls to the page and its margin.
    void FitPageArea();
    // One zoom step in or out, the open note committed first; false when
    // the zoom cannot go further that way (or a step is running, or no page
    // is shown).
    bool StepZoom(bool in);
    // The Edit menu's clipboard commands and Select All act on the note
    // editor while it has the focus, on the placed objects otherwise (while
    // the page is shown).
    void ClipboardAction(TGBasePanel::ClipboardKind kind);
    void SelectAll();
    // Escape on an open menu leaves the keyboard with the menu bar; while
    // objects are selected the handle takes it back, so that its shortcuts
    // (copy, paste, delete, arrows) work again.
    void GiveFocusBack(const QWidget *menuBar);

private:
    QScrollArea *m_scrollBox;
    QWidget *m_pageArea;
    TCalendarPanel32 *m_page;
    CellNoteEditing *m_notes;
    bool m_shown = false;
    bool m_zoomBusy = false;
};

} // namespace Dayloom
