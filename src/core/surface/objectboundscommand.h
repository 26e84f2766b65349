#pragma once

#include "core/objects/tggraphiccontrol.h"

#include <QList>
#include <QRect>
#include <QUndoCommand>

namespace Dayloom {

// New zoom-1 bounds for some objects as one step ("Move", "Resize",
// "Nudge", "Align Left" ...). Commands with the same merge id (not -1) and
// the same objects merge, so a run of nudges undoes as one step.
class ObjectBoundsCommand : public QUndoCommand
{
public:
    struct Change
    {
        TGGraphicControl *object = nullptr;
        QRect before;
        QRect after;
    };

    static constexpr int NudgeMergeId = 1;

    ObjectBoundsCommand(QList<Change> changes, const QString &text, int mergeId = -1);

    void redo() override;
    void undo() override;
    int id() const override { return m_mergeId; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    QList<Change> m_changes;
    int m_mergeId;
};

} // namespace Dayloom
