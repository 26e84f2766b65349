#include "ui/app/icontoolcontrol.h"

#include "core/app/preferences.h"
#include "core/io/inifile.h"
#include "ui/app/cellnoteediting.h"
#include "ui/glyphs/buttonglyph.h"
#include "ui/icons/tfloatingpalette.h"
#include "ui/icons/ticonlistbox.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QBoxLayout>
#include <QDropEvent>
#include <QToolButton>

namespace Dayloom {

IconToolControl::IconToolControl(QWidget *mainWindow, QToolButton *after, TCalendarPanel32 *page,
                                 CellNoteEditing *notes, std::function<bool()> hasDayCells,
                                 const Preferences &preferences)
    : QObject(mainWindow), m_page(page), m_notes(notes), m_hasDayCells(std::move(hasDayCells)),
      m_button(new QToolButton(after->parentWidget())), m_visible(preferences.iconToolVisible)
{
    m_button->setObjectName(QStringLiteral("ShowHideIconTool"));
    // A glyph that stays pressed while the tool is shown, like the tool
    // buttons beside it; the caption goes to the tooltip, so the panel does
    // not shift when it changes.
    m_button->setIcon(ButtonGlyph(QStringLiteral("dayloom-icon-tool")));
    m_button->setIconSize(after->iconSize());
    m_button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_button->setCheckable(true);
    m_button->setAutoRaise(true);
    ShowCaption(QStringLiteral("Show Icon Tool"));
    auto *panel = static_cast<QBoxLayout *>(after->parentWidget()->layout());
    panel->insertWidget(panel->indexOf(after) + 1, m_button);
    // The button's own check follows the tool, not the click.
    connect(m_button, &QToolButton::clicked, this, [this] {
        ShowHide();
        UpdateButton();
    });

    m_palette = new TFloatingPalette(mainWindow);
    connect(m_palette, &TFloatingPalette::visibilityChanged, this,
            &IconToolControl::visibilityChanged);
    // Icons dragged from the tool are dropped on day cells.
    m_page->setAcceptDrops(true);
}

void IconToolControl::Start(const QString &iconFile, const IniFile &settings)
{
    m_started = true;
    m_palette->LoadLibrary(iconFile);
    m_palette->RestorePlacement(settings);
    CheckStatus();
    if (m_visible)
        m_palette->show();
}

void IconToolControl::Close(IniFile &settings)
{
    m_palette->SavePlacement(settings);
    settings.Save();
    m_palette->hide();
}

void IconToolControl::TakePreferences(Preferences &preferences) const
{
    preferences.iconFile = m_palette->IconListBox()->FileName();
    preferences.iconToolVisible = m_visible;
}

void IconToolControl::UpdateButton()
{
    m_button->setEnabled(m_hasDayCells());
    const bool shown = m_palette->isVisible();
    m_button->setChecked(shown);
    ShowCaption(shown ? QStringLiteral("Hide Icon Tool") : QStringLiteral("Show Icon Tool"));
}

void IconToolControl::ShowCaption(const QString &caption)
{
    m_button->setText(caption);
    m_button->setToolTip(caption);
    m_button->setAccessibleName(caption);
}

void IconToolControl::ShowHide()
{
    m_visible = !m_palette->isVisible();
    m_palette->setVisible(m_visible);
    Q_EMIT visibilityChanged();
}

void IconToolControl::CheckStatus()
{
    // Until the first activation has placed it, the tool stays hidden.
    if (!m_started)
        return;
    if (!m_hasDayCells()) {
        m_visible = false;
        m_palette->hide();
    } else if (m_visible && !m_palette->isVisible()) {
        m_palette->show();
    }
}

void IconToolControl::HideForDialog()
{
    if (m_visible)
        m_palette->hide();
}

void IconToolControl::RestoreAfterDialog()
{
    CheckStatus();
    if (m_visible && m_started)
        m_palette->show();
    Q_EMIT visibilityChanged();
}

bool IconToolControl::AcceptsIconAt(const QPoint &point) const
{
    return m_hasDayCells() && m_page->Drawn().CellAt(point) != 0;
}

bool IconToolControl::DropIconOnPage(const QImage &icon, const QPoint &point)
{
    if (icon.isNull() || !AcceptsIconAt(point))
        return false;
    if (!m_notes->InsertPicture(m_page->Drawn().CellAt(point), icon))
        return false;
    Q_EMIT iconDropped();
    return true;
}

bool IconToolControl::HandleDragEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (!TIconListBox::IsIconDrag(drag->mimeData()))
            return false;
        // The enter is always taken so that moves keep coming (one follows
        // it at once); each move says whether the point lies in a day cell,
        // and the cursor shows no-drop elsewhere.
        if (event->type() == QEvent::DragEnter || AcceptsIconAt(drag->position().toPoint())) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!TIconListBox::IsIconDrag(drop->mimeData()))
            return false;
        if (DropIconOnPage(TIconListBox::DraggedIcon(drop->mimeData()),
                           drop->position().toPoint())) {
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
        } else {
            drop->ignore();
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace Dayloom
