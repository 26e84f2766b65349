#pragma once

#include "core/objects/tggraphiccontrol.h"

#include <QUndoCommand>

#include <memory>
#include <vector>

namespace Dayloom {

// Restores whole property snapshots of objects ("Lock", "Unselectable",
// "Font", property dialogs). The change has already been made when the
// command is pushed; its first redo does nothing.
class ObjectStateCommand : public QUndoCommand
{
public:
    struct Change
    {
        TGGraphicControl *object = nullptr;
        std::unique_ptr<TGGraphicControl> before;
        std::unique_ptr<TGGraphicControl> after;
    };

    ObjectStateCommand(std::vector<Change> changes, const QString &text);

    void redo() override;
    void undo() override;

private:
    std::vector<Change> m_changes;
    bool m_applied = true;
};

} // namespace Dayloom
