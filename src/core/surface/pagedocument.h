#pragma once

#include "core/calendar/calendarpage.h"
#include "core/calendar/calendartypes.h"
#include "core/common/fontspec.h"
#include "core/formats/persistentobject.h"
#include "core/objects/objecthost.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/tggraphiccontrol.h"

#include <QList>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace Dayloom {

class NoteRenderer;
class ObjectListCommand;
class PrintEngine;

// The design behind the calendar page widget: the page model, the placed
// objects in stacking order (first = bottom), the object clipboard and the
// undo stack. Every change to placed objects made through its operations is
// one undoable command with a human text ("Move", "Delete", "Paste" ...).
//
// Coordinates: "surface" points and rectangles are pixels of the page as
// shown at Zoom(); objects keep their bounds at zoom 1 (see
// TGGraphicControl). Operations taking a list of objects act on objects of
// this document only; others are ignored. The selection belongs to the
// widget; operations that need it take it as a list.
//
// The document owns its objects (std::unique_ptr). Objects removed by an
// undoable command live on inside the command, so pointers held by other
// commands stay valid; ClearObjects() and AdoptObjects() clear the undo stack
// and free them.
//
// Constructing a document touches no file: the object clipboard is off until
// the owner names its file with SetClipboardFile().
class PageDocument : public QObject, public ObjectHost
{
    Q_OBJECT

public:
    static constexpr int PasteOffset = 15; // surface pixels right and down, per paste
    static constexpr int CloneOffset = 25; // surface pixels down
    static constexpr int MaxNameNumber = 1000;
    static constexpr int MinCreateWidth = 25; // narrower drags become 50 wide
    static constexpr int CreateWidth = 50;
    static constexpr int MinCreateHeight = 15;

    // A document of the kinds the program registered at start-up
    // (ObjectKindRegistry::Application()).
    explicit PageDocument(QObject *parent = nullptr);
    // A document of the given kinds; the registry must outlive the document.
    explicit PageDocument(const ObjectKindRegistry &kinds, QObject *parent = nullptr);
    ~PageDocument() override;

    CalendarPage &Page() { return m_page; }
    const CalendarPage &Page() const { return m_page; }
    // The kinds of placed objects that tools, files, the clipboard and
    // cloning can create; the document shares them and registers none.
    const ObjectKindRegistry &Kinds() const { return m_kinds; }
    QUndoStack &UndoStack() { return m_undoStack; }

    // --- objects --------------------------------------------------------------------
    int ObjectCount() const { return static_cast<int>(m_objects.size()); }
    // Stacking position 0 = bottom; null outside the range.
    TGGraphicControl *Object(int index) const;
    QList<TGGraphicControl *> Objects() const;
    int IndexOf(const TGGraphicControl *object) const;
    bool Contains(const TGGraphicControl *object) const { return IndexOf(object) >= 0; }
    TGGraphicControl *FindObject(const QString &name) const; // ignoring case
    QStringList ObjectNames() const;
    bool HasPlacedObjects() const { return !m_objects.empty(); }
    // The objects for a calendar file (zoom-1 bounds, stacking order).
    QList<const PersistentObject *> PersistentObjects() const;

    // The topmost object covering the surface point (its bounds, or less; see
    // TGGraphicControl::Covers).
    TGGraphicControl *ObjectAt(const QPoint &point) const;
    bool ObjectAtPoint(const QPoint &point) const { return ObjectAt(point) != nullptr; }
    // Objects the rectangle touches (their surface bounds, or less; see
    // TGGraphicControl::Touches), topmost first; an empty rectangle touches
    // nothing.
    QList<TGGraphicControl *> ObjectsTouching(const QRect &rect) const;

    // --- zoom and size ------------------------------------------------------------
    float Zoom() const { return m_zoom; }
    // Sets the display scale of the page and every object; stored bounds do
    // not change. A zoom that is not above 0 is ignored.
    void SetZoom(float zoom);
    bool ZoomInProgress() const { return m_zoomInProgress; }
    QSize PageSize() const { return QSize(m_page.PageWidth(), m_page.PageHeight()); }
    // Page size times zoom, truncated: the widget's size.
    QSize SurfaceSize() const override;
    // Zoom-1 length of a surface length (half to even; never 0 for a
    // non-zero length, so a one-pixel nudge at a large zoom still moves).
    int ToPage(int surfaceLength) const;
    // Gives every object this document and its zoom.
    void HookObjects();
    // The renderer rich text labels draw through ("MASTERWPRICHTEXT"); every
    // document starts with one of its own. Null leaves them undrawn, and
    // loading them then reports "No master rich text object found".
    NoteRenderer *MasterRichText() const override { return m_masterRichText.get(); }
    void SetMasterRichText(std::unique_ptr<NoteRenderer> renderer);

    // --- flags ----------------------------------------------------------------------
    // While printing, changes reported by the objects raise no change event.
    bool Printing() const override { return m_printing; }
    void SetPrinting(bool printing) { m_printing = printing; }
    // While set, neither the page nor the objects paint.
    bool PaintSuspended() const override { return m_paintSuspended; }
    void SetPaintSuspended(bool suspended);
    // While set, LabelChangedEvent is not raised (set around loading).
    bool ChangeEventsSuspended() const { return m_changeEventsSuspended; }
    void SetChangeEventsSuspended(bool suspended) { m_changeEventsSuspended = suspended; }

    // Raises LabelChangedEvent unless zooming or change events are suspended.
    void NotifyChanged() override;
    // Emits handleFitRequested() once the current operation has returned
    // (queued); several requests before then give one.
    void RequestHandleFit() override;
    void RequestRepaint() override { Q_EMIT repaintRequested(); }
    // Called by an object whose Locked or Unselectable flag changed.
    void ObjectStateChanged(TGGraphicControl *object) override
    {
        Q_EMIT objectStateChanged(object);
    }

    // --- creation -------------------------------------------------------------------
    // A new object of the tool's kind (see Kinds()), or null when no kind
    // has that tool.
    std::unique_ptr<TGGraphicControl> CreateObjectForTool(TLPanelState state) const;
    // A dragged band made large enough: narrower than 25 becomes 50 wide,
    // lower than 15 becomes 15 high (a click gives 50 x 15).
    static QRect MinimumCreationRect(const QRect &band);
    // Creates the tool's object in the band (see MinimumCreationRect) and
    // places it; null when the tool creates nothing or a creation is already
    // running.
    TGGraphicControl *CreateObjectInRect(TLPanelState state, const QRect &band);
    // Adds a new object at a surface rectangle (at least 10 x 15), named
    // "Special" + n, as the undoable step "Create". Returns the object.
    TGGraphicControl *PlaceObject(std::unique_ptr<TGGraphicControl> object, const QRect &rect);
    // Takes back the placing of `object` while its "Create" step is still
    // the latest one (its dialog was cancelled): the object is freed and the
    // step leaves the undo stack, whose count and clean state are then as
    // before the placing. False, changing nothing, when anything was done
    // or undone since.
    bool WithdrawCreation(TGGraphicControl *object);
    // prefix + the smallest n in 1..1000 that no object uses; empty when all
    // are taken.
    QString UniqueObjectName(const QString &prefix) const;

    // The name the design is known by (its file's name without folder and
    // extension; empty for a design never saved), set by whoever opened or
    // saved it. Exports give it as the document's title. Not stored, not an
    // edit.
    const QString &DesignName() const { return m_designName; }
    void SetDesignName(const QString &name) { m_designName = name; }

    // --- clipboard, cloning, deletion -----------------------------------------------
    // The program's object clipboard file ("Clipbrd.tmp" in the data folder,
    // set by the main window); empty (the default) turns copying and pasting
    // off. The document removes the file when it is destroyed.
    const QString &ClipboardFile() const { return m_clipboardFile; }
    void SetClipboardFile(const QString &path) { m_clipboardFile = path; }
    bool CanPaste() const;
    // Writes the objects (in the given order) to the clipboard file. Nothing
    // is written for an empty list (false, an older file stays).
    bool CopyObjects(const QList<TGGraphicControl *> &objects, QString *error = nullptr);
    // Copy, then delete as "Cut"; nothing is deleted when the copy failed.
    bool CutObjects(const QList<TGGraphicControl *> &objects, QString *error = nullptr);
    // Adds the clipboard's objects, each named "Component" + n, as "Paste".
    // Every paste of the same clipboard contents lands 15 surface pixels
    // right of and below the one before, the first 15 from the stored
    // place; new contents start again from their place. Nothing happens
    // without a clipboard file, or when the file cannot be read completely
    // (then `error` says why and the page stays as it was). Returns the
    // pasted objects.
    QList<TGGraphicControl *> Paste(QString *error = nullptr);
    // A copy named "Component" + n, 25 surface pixels lower, on top of the
    // stack, as "Clone"; emits objectCloned. Null when the copy fails.
    TGGraphicControl *CloneObject(TGGraphicControl *source);
    void DeleteObjects(const QList<TGGraphicControl *> &objects);
    // Milliseconds of a monotonic clock (the surface's press and drag
    // rules); tests may replace it.
    void SetClock(std::function<qint64()> clock) { m_clock = std::move(clock); }
    qint64 Now() const { return m_clock(); }

    // --- geometry -------------------------------------------------------------------
    // The selection handle moved from `oldHandle` to `newHandle` (surface
    // pixels): every unlocked object moves and grows by the same amounts.
    // With `nudge`, consecutive nudges of the same objects merge into one
    // undo step. Nothing is recorded when nothing moves.
    void MoveResizeObjects(const QList<TGGraphicControl *> &objects, const QRect &oldHandle,
                           const QRect &newHandle, const QString &text, bool nudge = false);
    // Explicit zoom-1 bounds per object, as one step.
    void SetObjectBounds(const QList<std::pair<TGGraphicControl *, QRect>> &bounds,
                         const QString &text, int mergeId = -1);
    void AlignLeft(const QList<TGGraphicControl *> &objects);
    void AlignRight(const QList<TGGraphicControl *> &objects);
    void AlignTops(const QList<TGGraphicControl *> &objects);
    void AlignBottoms(const QList<TGGraphicControl *> &objects);
    // Centres each object on the page (zoom-1: page size div 2 minus size div 2).
    void CenterVertically(const QList<TGGraphicControl *> &objects);
    void CenterHorizontally(const QList<TGGraphicControl *> &objects);
    // Pulls objects whose top is beyond page height - 10 or whose left is
    // beyond page width - 20 back to those lines.
    void ClampObjects();
    // Deletes objects whose top is beyond page height - 10 or left beyond
    // page width - 10, or with a width or height below 1.
    void RemoveStrayObjects();

    // --- stacking and states ------------------------------------------------------
    // One by one in the given order to the top (bottom) of the stack.
    void BringToFront(const QList<TGGraphicControl *> &objects);
    void SendToBack(const QList<TGGraphicControl *> &objects);
    void SetLocked(const QList<TGGraphicControl *> &objects, bool locked);
    void LockAll() { SetLocked(Objects(), true); }
    void UnlockAll() { SetLocked(Objects(), false); }
    void SetUnselectable(const QList<TGGraphicControl *> &objects, bool unselectable);
    void MarkAllSelectable() { SetUnselectable(Objects(), false); }
    void MarkAllUnselectable() { SetUnselectable(Objects(), true); }
    void ApplyFont(const QList<TGGraphicControl *> &objects, const FontSpec &font);
    // Runs `edit` on the object as one undoable step named `text` (property
    // dialogs copy their values back this way). Nothing is recorded when the
    // edit changed no published property.
    void EditObject(TGGraphicControl *object, const QString &text,
                    const std::function<void(TGGraphicControl &)> &edit);
    // A detached object of the same class with the same properties; null
    // when the class is not registered.
    std::unique_ptr<TGGraphicControl> Snapshot(const TGGraphicControl &object) const;

    // --- page edits -----------------------------------------------------------------------
    // Each is one undoable step with the text Undo shows; nothing is recorded
    // when the page would not change. True when a step was recorded.
    //
    // The properties dialog's OK, "Calendar Properties": takes over the look
    // of `settings` (CalendarPage::AssignSettings) and empties the day-cell
    // notes when the change takes them from their dates
    // (CalendarPage::ChangeClearsCellNotes). Every difference counts, font
    // sizes too.
    bool ApplySettings(const CalendarSettings &settings);
    // "User Defined Title".
    bool SetUserTitle(const QString &title);
    // The note of day cell `cell` (1-42; others are ignored), "Note".
    bool SetCellNote(int cell, const TWPRtfStorage &note);
    // Empties every day cell, "Clear All Cell Contents".
    bool ClearAllNotes();
    // Runs `edit` on the page and records the notes it changed as the step
    // `text` (the fill from recurring dates: "Fill Calendar").
    bool EditNotes(const QString &text, const std::function<void(CalendarPage &)> &edit);

    // --- whole design -------------------------------------------------------------------
    // Frees every object and clears the undo stack (new or opened calendar);
    // no objects are left unread then (UnreadObjects).
    void ClearObjects();
    // Replaces the objects by those read from a file (non-placed objects are
    // dropped); clears the undo stack.
    void AdoptObjects(PersistentObjectList objects);
    // Opens a calendar file (see OpenCalendarFile). A file that cannot be
    // read leaves the design as it was: false, with `replaced` false. Once
    // it is read, the page and the objects are replaced (`replaced` true)
    // and the undo stack is cleared; false is still returned, with the
    // reason, when an object cannot be placed (PlacementError).
    bool Open(const QString &path, QString *error = nullptr, bool *replaced = nullptr);
    // How many objects of the file last opened could not be read (see
    // UnreadObjectsMessage). They are still in that file, so the count
    // lasts until the design is saved over it, or cleared.
    int UnreadObjects() const { return m_unreadObjects; }
    // True when saving to `path` would replace a file holding objects that
    // could not be read.
    bool SavingDropsUnreadObjects(const QString &path) const;
    // Why pictures of the design last opened were left out (refused by the
    // budget for pictures: too large, or too many); empty when none was.
    const QString &PicturesLeftOut() const { return m_picturesLeftOut; }
    // Records that the file `path` holds `count` objects this design lacks
    // (a restored recovery copy of a design opened with unread objects).
    void KeepUnreadObjects(int count, const QString &path);
    // Saves the page and the objects at their zoom-1 bounds, whatever the zoom.
    bool Save(const QString &path, QString *error = nullptr);

    // --- drawing --------------------------------------------------------------------------
    // The page at Zoom(), then the objects in stacking order (device pixels
    // of the painter = surface pixels), as the screen and images show them.
    // Returns what the page drew; changes nothing.
    PageDrawing Draw(QPainter &painter) const;
    void PaintObjects(QPainter &painter) const;
    // Every object on a printer page at the page offsets, in inches.
    void PrintObjects(PrintEngine &engine, double xInch, double yInch) const;
    // The same through an engine over the painter's device.
    void PrintObjects(QPainter &painter, double xInch, double yInch) const;
    // One printed page: the calendar page, then every placed object in
    // stacking order, all moved by the offsets (inches). Notes are laid out
    // at referenceNoteSize (page pixels; empty: the printed first note
    // rectangle's size grown by 5). Returns what the page printed (device
    // pixels).
    PageDrawing PrintPage(PrintEngine &engine, double xInch, double yInch,
                          const QSize &referenceNoteSize = QSize()) const;

Q_SIGNALS:
    // The set of objects or one object's geometry, stacking, lock or font changed.
    void LabelChangedEvent();
    // The selection handle should be fitted round the selection again.
    void handleFitRequested();
    void repaintRequested();
    void zoomChanged(float zoom);
    // Emitted before an object leaves the document (delete, cut, undo of a
    // creation, clearing): drop it from the selection.
    void objectAboutToBeRemoved(Dayloom::TGGraphicControl *object);
    void objectStateChanged(Dayloom::TGGraphicControl *object);
    // A clone was made (the surface's ObjectCloned hook).
    void objectCloned(Dayloom::TGGraphicControl *copy, Dayloom::TGGraphicControl *source);

private:
    friend class ObjectListCommand;
    friend class ObjectOrderCommand;

    // Primitives of the undo commands.
    void InsertObject(int index, std::unique_ptr<TGGraphicControl> object);
    std::unique_ptr<TGGraphicControl> TakeObject(TGGraphicControl *object);
    void SetStackingOrder(const QList<TGGraphicControl *> &order);

    QList<TGGraphicControl *> OwnObjects(const QList<TGGraphicControl *> &objects) const;
    void RemoveObjects(const QList<TGGraphicControl *> &objects, const QString &text);
    // The step pushed; null when there were no objects.
    ObjectListCommand *InsertNewObjects(std::vector<std::unique_ptr<TGGraphicControl>> objects,
                                        const QString &text);
    void SetStates(const QList<TGGraphicControl *> &objects, const QString &text,
                   const std::function<void(TGGraphicControl &)> &change);
    void CenterObjects(const QList<TGGraphicControl *> &objects, bool vertically);
    void Restack(const QList<TGGraphicControl *> &objects, bool toFront, const QString &text);
    void Align(const QList<TGGraphicControl *> &objects, const QString &text,
               const std::function<QRect(const QRect &, int)> &place, int start,
               const std::function<int(int, const QRect &)> &combine);

    // The first placement error of the objects (see
    // TGGraphicControl::PlacementError); empty when there is none.
    QString PlacementError() const;
    // Draws the design once where nobody sees it, so that every picture it
    // holds (notes, border, objects) is decoded under the caller's budget.
    void DrawEverything() const;

    CalendarPage m_page;
    const ObjectKindRegistry &m_kinds;
    std::unique_ptr<NoteRenderer> m_masterRichText;
    std::vector<std::unique_ptr<TGGraphicControl>> m_objects;
    QUndoStack m_undoStack;
    float m_zoom = 1.0f;
    bool m_zoomInProgress = false;
    bool m_printing = false;
    bool m_paintSuspended = false;
    bool m_changeEventsSuspended = false;
    bool m_fitPending = false;
    bool m_creating = false;
    // The "Create" step of the latest placing while it is the stack's
    // latest step; null once the stack moved on.
    ObjectListCommand *m_lastCreation = nullptr;
    QString m_clipboardFile;
    QString m_designName;
    int m_unreadObjects = 0;
    QString m_incompleteFile; // absolute path of the file m_unreadObjects are in
    QString m_picturesLeftOut;
    // The clipboard contents pasted last (a digest) and how often in a row.
    QByteArray m_pastedDigest;
    int m_pasteCount = 0;
    std::function<qint64()> m_clock;
};

} // namespace Dayloom
