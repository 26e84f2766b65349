#include "ui/app/cellnoteediting.h"

#include "core/surface/pagedocument.h"
#include "ui/richtext/noteeditor.h"
#include "ui/surface/calendarpanelaccessible.h"
#include "ui/surface/objectoverlay.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QScrollArea>

#include <algorithm>

namespace Dayloom {

CellNoteEditing::CellNoteEditing(TCalendarPanel32 *page, QWidget *pageArea, QScrollArea *scrollBox,
                                 QObject *parent)
    : QObject(parent), m_page(page), m_scrollBox(scrollBox), m_editor(new NoteEditor(pageArea)),
      m_objectsOver(new ObjectOverlay(page, pageArea))
{
    m_editor->setObjectName(QStringLiteral("WPRichText1"));
    m_editor->setAccessibleName(QStringLiteral("Note"));
    m_editor->setAccessibleDescription(
        QStringLiteral("Tab moves to the next day cell, Shift+Tab to the previous one"));
    m_editor->hide();
    connect(m_editor, &NoteEditor::noteChanged, this, [this] {
        if (m_trackChanges)
            Q_EMIT noteEdited();
    });
    connect(m_editor, &NoteEditor::nextCellRequested, this,
            [this] { m_page->ClickNextCell(m_currentCell); });
    connect(m_editor, &NoteEditor::previousCellRequested, this,
            [this] { m_page->ClickPreviousCell(m_currentCell); });
}

void CellNoteEditing::Open(const CellEvent &event)
{
    m_currentCell = event.iCell;
    m_trackChanges = false;
    Commit();
    m_page->SetCurrentCell(event.iCell);
    const QString date = CalendarPanelAccessible::CellDateText(m_page->Page(), event.iCell);
    m_editor->setAccessibleName(date.isEmpty() ? QStringLiteral("Note")
                                               : QStringLiteral("Note for ") + date);
    m_editedCell = event.iCell;
    m_editing = true;
    const TRect &rect = event.rFree;
    const int width = rect.Width() + 1;
    const int height = rect.Height() + 1;
    m_editor->SetPageSizeTwips(
        QSize(NoteEditor::PixelsToTwips(width), NoteEditor::PixelsToTwips(height)));
    m_editor->SetZoomPercent(
        std::max(NoteEditor::MinZoomPercent, static_cast<int>(m_page->Document().Zoom() * 100.0f)));
    QString error;
    m_editor->LoadFrom(m_page->Page().CellNote(event.iCell), &error);
    // Exactly over the note area: the page widget has no border, so its
    // client origin is its own position (a one-pixel shift would cover the
    // grid line below the cell and move the text when the note is committed).
    m_editor->setGeometry(rect.Left + m_page->x(), rect.Top + m_page->y(), width, height);
    m_editor->show();
    m_editor->raise();
    // Placed objects lie above the notes, on paper as on screen.
    m_objectsOver->Cover(m_editor->geometry());
    m_editor->setFocus();
    // A click in a note's text puts the caret there.
    if (const std::optional<QPoint> click = m_page->ClickPoint())
        m_editor->PlaceCaretAt(QPointF(*click + m_page->pos() - m_editor->pos()));
    m_scrollBox->ensureWidgetVisible(m_editor, 10, 10);
    m_trackChanges = true;
    Q_EMIT editingChanged();
}

void CellNoteEditing::OpenForTyping(int cell)
{
    m_page->ClickCell(cell);
    if (m_editing && m_editedCell == cell)
        m_editor->moveCursor(QTextCursor::End);
}

std::optional<TWPRtfStorage> CellNoteEditing::ChangedNote() const
{
    if (!m_editing || m_editedCell < 1 || m_editedCell > CalendarPage::CellCount)
        return std::nullopt;
    TWPRtfStorage edited;
    m_editor->StoreTo(edited);
    if (edited == m_page->Page().CellNote(m_editedCell))
        return std::nullopt;
    return edited;
}

void CellNoteEditing::Commit()
{
    if (!m_editing)
        return;
    const std::optional<TWPRtfStorage> edited = ChangedNote();
    m_editing = false;
    m_trackChanges = false;
    if (edited)
        m_page->Document().SetCellNote(m_editedCell, *edited);
    m_objectsOver->hide();
    m_editor->hide();
    Q_EMIT editingChanged();
}

bool CellNoteEditing::InsertPicture(int cell, const QImage &picture)
{
    Commit();
    m_page->ClickCell(cell); // opens the cell's note in the editor
    if (!m_editing)
        return false;
    m_editor->InsertPicture(picture);
    m_currentCell = cell;
    m_page->SetCurrentCell(cell);
    return true;
}

std::optional<CellNoteEditing::Position> CellNoteEditing::OpenPosition() const
{
    if (!m_editing)
        return std::nullopt;
    return Position{m_currentCell, m_editor->textCursor().position()};
}

void CellNoteEditing::Reopen(const Position &position)
{
    // In the active window, so that the formatting bar follows the note.
    m_editor->window()->activateWindow();
    m_page->ClickCell(position.cell);
    QTextCursor cursor = m_editor->textCursor();
    cursor.setPosition(std::min(position.caret, m_editor->document()->characterCount() - 1));
    m_editor->setTextCursor(cursor);
}

} // namespace Dayloom
