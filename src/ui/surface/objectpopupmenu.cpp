#include "ui/surface/objectpopupmenu.h"

#include "core/surface/pagedocument.h"
#include "ui/surface/tgbasepanel.h"
#include "ui/surface/tghandle.h"

namespace Dayloom {

namespace {

// Items that open a dialog end with "..."; they are found by their caption
// without it.
const QLatin1String DialogMark("...");

QString Plain(const QString &caption)
{
    return caption.endsWith(DialogMark) ? caption.chopped(DialogMark.size()) : caption;
}

QString DialogCaption(const QString &caption)
{
    return Plain(caption) + DialogMark;
}

} // namespace

ObjectPopupMenu::ObjectPopupMenu(TGBasePanel *surface, TGGraphicControl *object)
    : QMenu(surface), m_surface(surface), m_object(object)
{
    PageDocument &document = surface->Document();
    TGHandle *handle = surface->SelectionHandle();
    Add(QStringLiteral("Bring To Front"),
        [&document](TGGraphicControl &o) { document.BringToFront({&o}); });
    Add(QStringLiteral("Send To Back"), [&document, handle](TGGraphicControl &o) {
        document.SendToBack({&o});
        handle->ClearSelection();
    });
    Add(QStringLiteral("Cut"), [surface](TGGraphicControl &o) {
        surface->ClipboardAction(TGBasePanel::ckCut, surface->TargetsOf(&o));
    });
    Add(QStringLiteral("Copy"), [surface](TGGraphicControl &o) {
        surface->ClipboardAction(TGBasePanel::ckCopy, surface->TargetsOf(&o));
    });
    Add(QStringLiteral("Delete"), [surface](TGGraphicControl &o) {
        surface->ClipboardAction(TGBasePanel::ckDelete, surface->TargetsOf(&o));
    });
    Add(QStringLiteral("Clone"), [surface](TGGraphicControl &o) { surface->CloneObject(&o); });
    addSeparator();
    Add(QStringLiteral("Locked"),
        [&document](TGGraphicControl &o) { document.SetLocked({&o}, !o.Locked()); });
    Item(QStringLiteral("Locked"))->setCheckable(true);
    Add(QStringLiteral("Unselectable"),
        [&document](TGGraphicControl &o) { document.SetUnselectable({&o}, true); });
    addSeparator();
    Add(QStringLiteral("Center Vertically"),
        [&document](TGGraphicControl &o) { document.CenterVertically({&o}); });
    Add(QStringLiteral("Center Horizontally"),
        [&document](TGGraphicControl &o) { document.CenterHorizontally({&o}); });
    UpdateItems();
    connect(this, &QMenu::aboutToShow, this, &ObjectPopupMenu::UpdateItems);
}

void ObjectPopupMenu::Add(const QString &caption,
                          const std::function<void(TGGraphicControl &)> &action)
{
    AddTo(this, caption, action);
}

void ObjectPopupMenu::AddTo(QMenu *menu, const QString &caption,
                            const std::function<void(TGGraphicControl &)> &action)
{
    menu->addAction(caption, this, [this, action] {
        // The object may have left the page while the menu was open.
        if (m_object && m_surface->Document().Contains(m_object))
            action(*m_object);
    });
}

void ObjectPopupMenu::AddKindItem(const QString &caption,
                                  const std::function<void(TGGraphicControl &)> &action,
                                  bool opensDialog)
{
    if (!m_kindSeparator) {
        addSeparator();
        m_kindSeparator = true;
    }
    Add(opensDialog ? DialogCaption(caption) : caption, action);
}

void ObjectPopupMenu::AddKindEntries(
    const QList<std::pair<QString, std::function<void(TGGraphicControl &)>>> &windowActions)
{
    if (!m_object)
        return;
    PageDocument &document = m_surface->Document();
    for (const TGGraphicControl::MenuEntry &entry : m_object->MenuEntries()) {
        if (entry.caption == QLatin1String("-")) {
            addSeparator();
            m_kindSeparator = true;
            continue;
        }
        std::function<void(TGGraphicControl &)> action;
        for (const auto &[caption, windowAction] : windowActions) {
            if (caption == entry.caption)
                action = windowAction;
        }
        // The window's items are its dialogs.
        const bool opensDialog = static_cast<bool>(action);
        if (!action) {
            const QString caption = entry.caption;
            const QString text = entry.undoText.isEmpty() ? caption : entry.undoText;
            action = [&document, caption, text](TGGraphicControl &o) {
                document.EditObject(&o, text,
                                    [caption](TGGraphicControl &e) { e.RunMenuEntry(caption); });
            };
        }
        if (entry.parent.isEmpty()) {
            AddKindItem(entry.caption, action, opensDialog);
        } else {
            QMenu *submenu = nullptr;
            if (QAction *parent = Item(entry.parent))
                submenu = parent->menu();
            if (!submenu) {
                if (!m_kindSeparator) {
                    addSeparator();
                    m_kindSeparator = true;
                }
                submenu = addMenu(entry.parent);
            }
            AddTo(submenu, opensDialog ? DialogCaption(entry.caption) : entry.caption, action);
        }
        Item(entry.caption)->setCheckable(entry.checkable);
    }
    UpdateItems();
}

QAction *ObjectPopupMenu::Item(const QString &caption) const
{
    for (QAction *action : actions()) {
        if (!action->isSeparator() && Plain(action->text()) == Plain(caption))
            return action;
    }
    // Then the items of the submenus.
    for (QAction *action : actions()) {
        if (const QMenu *submenu = action->menu()) {
            for (QAction *item : submenu->actions()) {
                if (!item->isSeparator() && Plain(item->text()) == Plain(caption))
                    return item;
            }
        }
    }
    return nullptr;
}

void ObjectPopupMenu::UpdateItems()
{
    if (!m_object)
        return;
    Item(QStringLiteral("Locked"))->setChecked(m_object->Locked());
    for (const TGGraphicControl::MenuEntry &entry : m_object->MenuEntries()) {
        if (QAction *item = entry.caption == QLatin1String("-") ? nullptr : Item(entry.caption)) {
            item->setChecked(entry.checked);
            item->setEnabled(entry.enabled);
        }
    }
}

} // namespace Dayloom
