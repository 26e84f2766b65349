#pragma once

#include "core/calendar/calendarpage.h"
#include "core/richtext/notedocument.h"
#include "core/richtext/twprtfstorage.h"

// Three short paragraphs in every one of the page's 42 notes: a busy month.
inline void FillSampleNotes(Dayloom::CalendarPage &page)
{
    using namespace Dayloom;
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell) {
        NoteDocument note;
        note.InsertText(QStringLiteral("Meeting %1").arg(cell));
        note.NewParagraph();
        note.InsertText(QStringLiteral("Call the garage"));
        note.NewParagraph();
        note.InsertText(QStringLiteral("Gym"));
        TWPRtfStorage store;
        note.StoreTo(store);
        page.SetCellNote(cell, store);
    }
}
