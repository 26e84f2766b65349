#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

namespace Dayloom {

class TGGraphicControl;

// The window's side of each kind of placed object, by class name: the button
// of its tool, the items behind the dialogs of its popup menus ("Properties",
// "Load Image From Disk"), what a double-click on one opens, and what a new
// one asks for as soon as its tool has made it. The core objects know nothing
// of dialogs; each kind's dialog folder registers its kind here once (see
// RegisterWindowObjectKinds), and the window builds its tool panel and menus
// from what is registered.
class ObjectKindActions
{
public:
    using Action = std::function<void(TGGraphicControl &)>;
    // False when the user cancelled what it asked: the new object goes.
    using CreatedAction = std::function<bool(TGGraphicControl &)>;
    using MenuItem = std::pair<QString, Action>;

    // The tool panel's button of a kind's tool (the tool itself is the
    // kind's core registration): its object name ("DrawLabelButton"), its
    // glyph (see ButtonGlyph), its caption, and its hint, where " \r" starts
    // a second line.
    struct ToolButton
    {
        QString objectName;
        QString glyph;
        QString caption;
        QString hint;
    };

    void SetToolButton(const QByteArray &className, ToolButton button);
    // Appends an item to the popup menus of the class's objects.
    void AddMenuItem(const QByteArray &className, const QString &caption, Action action);
    // What a double-click on an object of the class runs instead of opening
    // its popup menu.
    void SetEditAction(const QByteArray &className, Action action);
    // What runs right after the tool has created an object of the class
    // (its dialog); when it returns false the object is taken back, as
    // though it had never been placed.
    void SetCreatedAction(const QByteArray &className, CreatedAction action);

    // Nothing when the class has no button.
    std::optional<ToolButton> ToolButtonOf(const QByteArray &className) const;
    QList<MenuItem> MenuItems(const QByteArray &className) const;
    // Empty when the class has none.
    Action EditAction(const QByteArray &className) const;
    CreatedAction CreatedActionOf(const QByteArray &className) const;

private:
    struct Kind
    {
        std::optional<ToolButton> toolButton;
        QList<MenuItem> menuItems;
        Action edit;
        CreatedAction created;
    };
    QHash<QByteArray, Kind> m_kinds;
};

} // namespace Dayloom
