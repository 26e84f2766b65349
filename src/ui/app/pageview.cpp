#include "ui/app/pageview.h"

#include "core/app/zoomsteps.h"
#include "core/surface/pagedocument.h"
#include "ui/app/cellnoteediting.h"
#include "ui/richtext/noteeditor.h"
#include "ui/surface/tcalendarpanel32.h"
#include "ui/surface/tghandle.h"

#include <QApplication>
#include <QScrollArea>

namespace Dayloom {

namespace {

constexpr int PageMargin = 5;

} // namespace

PageView::PageView(QWidget *window)
    : QObject(window), m_scrollBox(new QScrollArea(window)), m_pageArea(new QWidget)
{
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox2"));
    m_scrollBox->setBackgroundRole(QPalette::Button);
    m_scrollBox->setWidgetResizable(false);
    m_pageArea->setObjectName(QStringLiteral("PageArea"));
    m_pageArea->setBackgroundRole(QPalette::Button);

    m_page = new TCalendarPanel32(m_pageArea);
    m_page->setObjectName(QStringLiteral("CalendarPanel"));
    m_page->move(PageMargin, PageMargin);
    m_notes = new CellNoteEditing(m_page, m_pageArea, m_scrollBox, this);

    m_scrollBox->setWidget(m_pageArea);
    FitPageArea();
}

void PageView::ApplyStoredPageValues()
{
    // SetDefaultStyle later resets the date, the margins and the
    // layout-related values, but not the fonts nor the styles.
    CalendarPage &page = m_page->Page();
    const QString face = QStringLiteral("Times New Roman");
    const auto font = [&face](int pixels, bool bold, TColor color = clBlack) {
        FontSpec spec(face, 10, bold, color);
        spec.SetHeight(-pixels);
        return spec;
    };
    page.SetCalendarLayout(loFCMinisInTitleLS);
    page.SetCalendarOrientation(coLandscape);
    page.SetTitleBGColor(clWhite);
    page.SetHeadersBGColor(clWhite);
    page.SetMiniCalBGColor(clWhite);
    page.SetMiniHeadersBGColor(clBlack);
    page.SetTitleFont(font(35, true));
    page.SetHeadersFont(font(21, true));
    page.SetCellFont(font(21, true));
    page.SetMiniTitleFont(font(13, true));
    page.SetMiniHeadersFont(font(11, false, clWhite));
    page.SetMiniCellFont(font(11, false));
    page.SetMainCalMonth(12);
    page.SetMainCalYear(1997);
    page.SetMainCalDay(0);
    page.SetHeadersStyle(dsWhole);
    page.SetMiniCellBorder(cbAll);
}

void PageView::Show(bool shown)
{
    m_shown = shown;
    m_page->setVisible(shown);
    FitPageArea();
}

void PageView::FitPageArea()
{
    if (m_shown)
        m_pageArea->resize(m_page->width() + 2 * PageMargin, m_page->height() + 2 * PageMargin);
    else
        m_pageArea->resize(0, 0);
}

bool PageView::StepZoom(bool in)
{
    const float zoom = m_page->Document().Zoom();
    if (m_zoomBusy || !m_shown || !(in ? CanZoomIn(zoom) : CanZoomOut(zoom)))
        return false;
    m_zoomBusy = true;
    m_notes->Commit();
    m_page->SetZoom(m_page->Document().Zoom() + (in ? 0.1f : -0.1f));
    m_zoomBusy = false;
    return true;
}

void PageView::ClipboardAction(TGBasePanel::ClipboardKind kind)
{
    NoteEditor *editor = m_notes->Editor();
    if (!m_notes->Editing() || !editor->hasFocus()) {
        if (m_shown)
            m_page->ClipboardAction(kind);
        return;
    }
    switch (kind) {
    case TGBasePanel::ckCut:
        editor->cut();
        break;
    case TGBasePanel::ckCopy:
        editor->copy();
        break;
    case TGBasePanel::ckPaste:
        editor->paste();
        break;
    case TGBasePanel::ckDelete:
        editor->textCursor().removeSelectedText();
        break;
    }
}

void PageView::SelectAll()
{
    if (m_notes->Editing() && m_notes->Editor()->hasFocus())
        m_notes->Editor()->selectAll();
    else if (m_shown)
        m_page->SelectAll();
}

void PageView::GiveFocusBack(const QWidget *menuBar)
{
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget() ||
        m_notes->Editing())
        return;
    TGHandle *handle = m_page->SelectionHandle();
    if (handle->SelectedCount() == 0 || !handle->isVisible() || !handle->isEnabled())
        return;
    QWidget *focus = QApplication::focusWidget();
    if (!focus || focus == menuBar || focus == m_page)
        handle->setFocus(Qt::OtherFocusReason);
}

} // namespace Dayloom
