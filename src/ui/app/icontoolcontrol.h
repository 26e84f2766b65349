#pragma once

#include <QObject>

#include <functional>

class QEvent;
class QImage;
class QPoint;
class QString;
class QToolButton;

namespace Dayloom {

class CellNoteEditing;
class IniFile;
class TCalendarPanel32;
class TFloatingPalette;
struct Preferences;

// The main window's side of the icon tool (TFloatingPalette): its "Show
// Icon Tool" / "Hide Icon Tool" glyph toggle, when it is shown (only while the
// page has day cells, and out of the way of modal dialogs), and the icons
// dragged from it onto day cells, which go into the cell's note.
class IconToolControl : public QObject
{
    Q_OBJECT

public:
    // Puts the button ("ShowHideIconTool") into the tool panel's layout
    // after `after`, and makes the hidden tool. `hasDayCells` says whether
    // the shown page has day cells.
    IconToolControl(QWidget *mainWindow, QToolButton *after, TCalendarPanel32 *page,
                    CellNoteEditing *notes, std::function<bool()> hasDayCells,
                    const Preferences &preferences);

    TFloatingPalette *Palette() const { return m_palette; }
    // The tool is to be shown whenever the page has day cells.
    bool Visible() const { return m_visible; }

    // The first activation: the library of the preferences and the stored
    // placement; the tool shows when it is to be visible. Until then it
    // stays hidden.
    void Start(const QString &iconFile, const IniFile &settings);
    void Close(IniFile &settings);
    void TakePreferences(Preferences &preferences) const;
    // The button's state and caption.
    void UpdateButton();
    // The button: hides a shown tool, shows a hidden one.
    void ShowHide();
    // Hides the tool while the page has no day cells; shows it again when
    // it is to be visible.
    void CheckStatus();
    // Around a modal dialog: the tool stays above every window, so it goes
    // out of the way first and comes back (when the page still has day
    // cells) afterwards.
    void HideForDialog();
    void RestoreAfterDialog();

    // Whether an icon dragged over the page at `point` (page pixels) can be
    // dropped there: only inside a day cell.
    bool AcceptsIconAt(const QPoint &point) const;
    // Drops an icon on the day cell at `point`: its note opens in the
    // editor with the icon inserted. False (nothing changes) outside every
    // cell.
    bool DropIconOnPage(const QImage &icon, const QPoint &point);
    // Drags of icons over the page; true when the event was one of them.
    bool HandleDragEvent(QEvent *event);

Q_SIGNALS:
    // The tool was shown or hidden: the window's buttons follow.
    void visibilityChanged();
    // An icon went into a note.
    void iconDropped();

private:
    // The caption ("Show Icon Tool" / "Hide Icon Tool") as tooltip and name.
    void ShowCaption(const QString &caption);

    TCalendarPanel32 *m_page;
    CellNoteEditing *m_notes;
    std::function<bool()> m_hasDayCells;
    QToolButton *m_button;
    TFloatingPalette *m_palette;
    bool m_visible = true;
    bool m_started = false;
};

} // namespace Dayloom
