#include "ui/surface/surfacepopupmenu.h"

#include "ui/surface/tgbasepanel.h"
#include "ui/surface/tghandle.h"

namespace Dayloom {

SurfacePopupMenu::SurfacePopupMenu(TGBasePanel *surface) : QMenu(surface), m_surface(surface)
{
    Add(QStringLiteral("Bring To Front"), &TGBasePanel::BringToFront);
    Add(QStringLiteral("Send To Back"), &TGBasePanel::SendToBack);
    addSeparator();
    addAction(QStringLiteral("Cut"), surface,
              [surface] { surface->ClipboardAction(TGBasePanel::ckCut); });
    addAction(QStringLiteral("Copy"), surface,
              [surface] { surface->ClipboardAction(TGBasePanel::ckCopy); });
    addAction(QStringLiteral("Paste"), surface,
              [surface] { surface->ClipboardAction(TGBasePanel::ckPaste); });
    addSeparator();
    addAction(QStringLiteral("Delete"), surface,
              [surface] { surface->ClipboardAction(TGBasePanel::ckDelete); });
    addSeparator();
    Add(QStringLiteral("Align Left"), &TGBasePanel::AlignLeft);
    Add(QStringLiteral("Align Right"), &TGBasePanel::AlignRight);
    Add(QStringLiteral("Align Tops"), &TGBasePanel::AlignTops);
    Add(QStringLiteral("Align Bottoms"), &TGBasePanel::AlignBottoms);
    addSeparator();
    Add(QStringLiteral("Center Vertically"), &TGBasePanel::CenterVertically);
    Add(QStringLiteral("Center Horizontally"), &TGBasePanel::CenterHorizontally);
    addSeparator();
    Add(QStringLiteral("Lock All"), &TGBasePanel::LockAll);
    Add(QStringLiteral("Unlock All"), &TGBasePanel::UnlockAll);
    addSeparator();
    Add(QStringLiteral("Mark All Selectable"), &TGBasePanel::MarkAllSelectable);
    Add(QStringLiteral("Mark All Unselectable"), &TGBasePanel::MarkAllUnselectable);
    Add(QStringLiteral("Select All"), &TGBasePanel::SelectAll);
    addSeparator();
    Add(QStringLiteral("Font..."), &TGBasePanel::ChooseFont);
    connect(this, &QMenu::aboutToShow, this, &SurfacePopupMenu::UpdateItems);
}

QAction *SurfacePopupMenu::Add(const QString &caption, void (TGBasePanel::*slot)())
{
    return addAction(caption, m_surface, slot);
}

QAction *SurfacePopupMenu::Item(const QString &caption) const
{
    for (QAction *action : actions()) {
        if (!action->isSeparator() && action->text() == caption)
            return action;
    }
    return nullptr;
}

void SurfacePopupMenu::UpdateItems()
{
    const bool selected = m_surface->SelectionHandle()->SelectedCount() > 0;
    for (const char *caption :
         {"Bring To Front", "Send To Back", "Cut", "Copy", "Delete", "Align Left", "Align Right",
          "Align Tops", "Align Bottoms", "Center Vertically", "Center Horizontally", "Font..."})
        Item(QString::fromLatin1(caption))->setEnabled(selected);
    Item(QStringLiteral("Paste"))->setEnabled(m_surface->Document().CanPaste());
    const bool hasObjects = m_surface->Document().ObjectCount() > 0;
    Item(QStringLiteral("Lock All"))->setEnabled(hasObjects);
    Item(QStringLiteral("Unlock All"))->setEnabled(hasObjects);
}

} // namespace Dayloom
