#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <utility>

namespace Dayloom {

class TGGraphicControl;

// What the window does with the placed objects of each kind, by class name:
// the items behind the dialogs of their popup menus ("Properties", "Load
// Image From Disk"), what a double-click on one opens, and what a new one
// asks for as soon as its tool has made it. The core objects know nothing of
// dialogs; each dialog's folder registers its kind here once.
class ObjectKindActions
{
public:
    using Action = std::function<void(TGGraphicControl &)>;
    using MenuItem = std::pair<QString, Action>;

    // Appends an item to the popup menus of the class's objects.
    void AddMenuItem(const QByteArray &className, const QString &caption, Action action);
    // What a double-click on an object of the class runs instead of opening
    // its popup menu.
    void SetEditAction(const QByteArray &className, Action action);
    // What runs right after the tool has created an object of the class.
    void SetCreatedAction(const QByteArray &className, Action action);

    QList<MenuItem> MenuItems(const QByteArray &className) const;
    // Empty when the class has none.
    Action EditAction(const QByteArray &className) const;
    Action CreatedAction(const QByteArray &className) const;

private:
    struct Kind
    {
        QList<MenuItem> menuItems;
        Action edit;
        Action created;
    };
    QHash<QByteArray, Kind> m_kinds;
};

} // namespace Dayloom
