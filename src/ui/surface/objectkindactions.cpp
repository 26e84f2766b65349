#include "ui/surface/objectkindactions.h"

namespace Dayloom {

void ObjectKindActions::SetToolButton(const QByteArray &className, ToolButton button)
{
    m_kinds[className].toolButton = std::move(button);
}

void ObjectKindActions::AddMenuItem(const QByteArray &className, const QString &caption,
                                    Action action)
{
    m_kinds[className].menuItems.append({caption, std::move(action)});
}

void ObjectKindActions::SetEditAction(const QByteArray &className, Action action)
{
    m_kinds[className].edit = std::move(action);
}

void ObjectKindActions::SetCreatedAction(const QByteArray &className, CreatedAction action)
{
    m_kinds[className].created = std::move(action);
}

std::optional<ObjectKindActions::ToolButton>
ObjectKindActions::ToolButtonOf(const QByteArray &className) const
{
    const auto kind = m_kinds.constFind(className);
    return kind == m_kinds.cend() ? std::nullopt : kind->toolButton;
}

QList<ObjectKindActions::MenuItem> ObjectKindActions::MenuItems(const QByteArray &className) const
{
    const auto kind = m_kinds.constFind(className);
    return kind == m_kinds.cend() ? QList<MenuItem>() : kind->menuItems;
}

ObjectKindActions::Action ObjectKindActions::EditAction(const QByteArray &className) const
{
    const auto kind = m_kinds.constFind(className);
    return kind == m_kinds.cend() ? Action() : kind->edit;
}

ObjectKindActions::CreatedAction
ObjectKindActions::CreatedActionOf(const QByteArray &className) const
{
    const auto kind = m_kinds.constFind(className);
    return kind == m_kinds.cend() ? CreatedAction() : kind->created;
}

} // namespace Dayloom
