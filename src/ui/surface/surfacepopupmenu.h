#pragma once

#include <QMenu>
#include <QString>

namespace Dayloom {

class TGBasePanel;

// The design surface's popup menu, opened by a right press on the empty
// page or on a selection of several objects. Items act on the selection;
// their enabled state is set each time the menu opens.
class SurfacePopupMenu : public QMenu
{
    Q_OBJECT

public:
    explicit SurfacePopupMenu(TGBasePanel *surface);

    // The item with the caption; null when there is none.
    QAction *Item(const QString &caption) const;
    // Sets the enabled state of every item from the surface's state.
    void UpdateItems();

private:
    QAction *Add(const QString &caption, void (TGBasePanel::*slot)());

    TGBasePanel *m_surface;
};

} // namespace Dayloom
