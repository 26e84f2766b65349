#pragma once

#include <QList>
#include <QMenu>
#include <QString>

#include <functional>
#include <utility>

namespace Dayloom {

class TGBasePanel;
class TGGraphicControl;

// The popup menu of one placed object: stacking, clipboard, clone, lock,
// unselectable and centring, then the items its kind adds. Cut, Copy and
// Delete act on the whole selection when the object is part of it. The menu
// is built for one object and goes dead if that object leaves the page.
class ObjectPopupMenu : public QMenu
{
    Q_OBJECT

public:
    ObjectPopupMenu(TGBasePanel *surface, TGGraphicControl *object);

    TGGraphicControl *Object() const { return m_object; }
    // The object left the page: the items do nothing from now on.
    void Detach() { m_object = nullptr; }
    // The item of that caption (a dialog's with or without its "..."), also
    // inside a submenu; null when absent.
    QAction *Item(const QString &caption) const;
    // Appends an item of the object's kind (after one separator for all);
    // one that opens a dialog shows "..." after its caption.
    void AddKindItem(const QString &caption, const std::function<void(TGGraphicControl &)> &action,
                     bool opensDialog);
    // Appends the items the object's kind declares (its MenuEntries): an
    // item with an action in `windowActions` (by caption; dialogs) runs it,
    // any other is carried out by the object as one undo step named by the
    // entry's undo text. Entries with a parent go into its submenu. Their
    // check and enabled state follow the object whenever the menu opens.
    void AddKindEntries(
        const QList<std::pair<QString, std::function<void(TGGraphicControl &)>>> &windowActions);

private:
    void Add(const QString &caption, const std::function<void(TGGraphicControl &)> &action);
    void AddTo(QMenu *menu, const QString &caption,
               const std::function<void(TGGraphicControl &)> &action);
    void UpdateItems();

    TGBasePanel *m_surface;
    TGGraphicControl *m_object;
    bool m_kindSeparator = false;
};

} // namespace Dayloom
