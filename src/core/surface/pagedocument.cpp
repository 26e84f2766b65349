#include "core/surface/pagedocument.h"

#include "core/calendar/cellnotescommand.h"
#include "core/calendar/pagesettingscommand.h"
#include "core/formats/calendarfile.h"
#include "core/formats/componentrecord.h"
#include "core/graphics/picturebudget.h"
#include "core/io/saveatomically.h"
#include "core/io/seterror.h"
#include "core/print/papercanvas.h"
#include "core/print/printengine.h"
#include "core/recurring/publicholidaydates.h"
#include "core/richtext/noterenderer.h"
#include "core/surface/objectboundscommand.h"
#include "core/surface/objectlistcommand.h"
#include "core/surface/objectordercommand.h"
#include "core/surface/objectstatecommand.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace Dayloom {

namespace {

qint64 MonotonicMs()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    // Start above 0 so that the very first reading is a real time.
    return timer.elapsed() + 1;
}

QByteArray RecordBytes(const PersistentObject &object)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ComponentRecord::WriteObject(object, buffer);
    return buffer.data();
}

// Pushes the change of day-cell notes from `before` to `after` as the step
// `text`; false (nothing recorded) when they are the same.
bool PushNotes(QUndoStack &stack, CalendarPage &page, CellNotesCommand::Notes before,
               CellNotesCommand::Notes after, const QString &text)
{
    auto command =
        std::make_unique<CellNotesCommand>(page, std::move(before), std::move(after), text);
    if (!command->Changes())
        return false;
    stack.push(command.release());
    return true;
}

} // namespace

PageDocument::PageDocument(QObject *parent)
    : PageDocument(ObjectKindRegistry::Application(), parent)
{
}

PageDocument::PageDocument(const ObjectKindRegistry &kinds, QObject *parent)
    : QObject(parent), m_kinds(kinds), m_masterRichText(std::make_unique<NoteRenderer>()),
      m_clock(MonotonicMs)
{
    connect(&m_page, &CalendarPage::changed, this, &PageDocument::RequestRepaint);
    connect(&m_undoStack, &QUndoStack::indexChanged, this, [this] { m_lastCreation = nullptr; });
    m_page.SetRedDayLookup(PublicHolidayDates);
}

PageDocument::~PageDocument()
{
    // Commands may own objects; free them before the objects on the page.
    m_undoStack.clear();
    if (!m_clipboardFile.isEmpty()) {
        QFile::remove(m_clipboardFile);
        QFile::remove(QFileInfo(m_clipboardFile).absolutePath() + QStringLiteral("/TempFile.tmp"));
    }
}

// --- objects ----------------------------------------------------------------------

TGGraphicControl *PageDocument::Object(int index) const
{
    if (index < 0 || index >= ObjectCount())
        return nullptr;
    return m_objects[std::size_t(index)].get();
}

QList<TGGraphicControl *> PageDocument::Objects() const
{
    QList<TGGraphicControl *> objects;
    objects.reserve(ObjectCount());
    for (const auto &object : m_objects)
        objects.append(object.get());
    return objects;
}

int PageDocument::IndexOf(const TGGraphicControl *object) const
{
    for (std::size_t i = 0; i < m_objects.size(); ++i) {
        if (m_objects[i].get() == object)
            return static_cast<int>(i);
    }
    return -1;
}

TGGraphicControl *PageDocument::FindObject(const QString &name) const
{
    for (const auto &object : m_objects) {
        if (object->Name().compare(name, Qt::CaseInsensitive) == 0)
            return object.get();
    }
    return nullptr;
}

QStringList PageDocument::ObjectNames() const
{
    QStringList names;
    for (const auto &object : m_objects)
        names.append(object->Name());
    return names;
}

QList<const PersistentObject *> PageDocument::PersistentObjects() const
{
    QList<const PersistentObject *> objects;
    for (const auto &object : m_objects)
        objects.append(object.get());
    return objects;
}

TGGraphicControl *PageDocument::ObjectAt(const QPoint &point) const
{
    for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it) {
        if ((*it)->Covers(point))
            return it->get();
    }
    return nullptr;
}

QList<TGGraphicControl *> PageDocument::ObjectsTouching(const QRect &rect) const
{
    QList<TGGraphicControl *> objects;
    if (rect.isEmpty())
        return objects;
    for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it) {
        if ((*it)->Touches(rect))
            objects.append(it->get());
    }
    return objects;
}

QList<TGGraphicControl *> PageDocument::OwnObjects(const QList<TGGraphicControl *> &objects) const
{
    QList<TGGraphicControl *> own;
    for (TGGraphicControl *object : objects) {
        if (Contains(object) && !own.contains(object))
            own.append(object);
    }
    return own;
}

// --- zoom and flags -------------------------------------------------------------------

void PageDocument::SetZoom(float zoom)
{
    if (zoom == m_zoom || !(zoom > 0.0f))
        return;
    m_zoomInProgress = true;
    m_zoom = zoom;
    for (const auto &object : m_objects)
        object->ScaleTo(zoom);
    m_zoomInProgress = false;
    Q_EMIT zoomChanged(zoom);
    RequestHandleFit();
    RequestRepaint();
}

QSize PageDocument::SurfaceSize() const
{
    return QSize(static_cast<int>(m_page.PageWidth() * double(m_zoom)),
                 static_cast<int>(m_page.PageHeight() * double(m_zoom)));
}

int PageDocument::ToPage(int surfaceLength) const
{
    if (surfaceLength == 0)
        return 0;
    const int length = TGGraphicControl::RoundHalfEven(surfaceLength / double(m_zoom));
    if (length != 0)
        return length;
    return surfaceLength > 0 ? 1 : -1;
}

void PageDocument::HookObjects()
{
    for (const auto &object : m_objects) {
        object->SetHost(this);
        object->ScaleTo(m_zoom);
    }
}

void PageDocument::SetMasterRichText(std::unique_ptr<NoteRenderer> renderer)
{
    m_masterRichText = std::move(renderer);
    for (const auto &object : m_objects)
        object->Repaint();
}

QString PageDocument::PlacementError() const
{
    for (const auto &object : m_objects) {
        if (QString text = object->PlacementError(); !text.isEmpty())
            return text;
    }
    return {};
}

void PageDocument::SetPaintSuspended(bool suspended)
{
    if (m_paintSuspended == suspended)
        return;
    m_paintSuspended = suspended;
    if (!suspended)
        RequestRepaint();
}

void PageDocument::NotifyChanged()
{
    if (!m_zoomInProgress && !m_changeEventsSuspended)
        Q_EMIT LabelChangedEvent();
}

void PageDocument::RequestHandleFit()
{
    if (m_fitPending)
        return;
    m_fitPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_fitPending = false;
            Q_EMIT handleFitRequested();
        },
        Qt::QueuedConnection);
}

// --- primitives -------------------------------------------------------------------------

void PageDocument::InsertObject(int index, std::unique_ptr<TGGraphicControl> object)
{
    TGGraphicControl *raw = object.get();
    index = std::clamp(index, 0, ObjectCount());
    m_objects.insert(m_objects.begin() + index, std::move(object));
    raw->SetHost(this);
    raw->ScaleTo(m_zoom);
    raw->CheckBoundsChanged();
    NotifyChanged();
    RequestRepaint();
}

std::unique_ptr<TGGraphicControl> PageDocument::TakeObject(TGGraphicControl *object)
{
    const int index = IndexOf(object);
    if (index < 0)
        return nullptr;
    Q_EMIT objectAboutToBeRemoved(object);
    std::unique_ptr<TGGraphicControl> taken = std::move(m_objects[std::size_t(index)]);
    m_objects.erase(m_objects.begin() + index);
    taken->SetHost(nullptr);
    NotifyChanged();
    RequestRepaint();
    return taken;
}

void PageDocument::SetStackingOrder(const QList<TGGraphicControl *> &order)
{
    std::vector<std::unique_ptr<TGGraphicControl>> sorted;
    sorted.reserve(m_objects.size());
    for (TGGraphicControl *object : order) {
        const int index = IndexOf(object);
        if (index >= 0)
            sorted.push_back(std::move(m_objects[std::size_t(index)]));
        m_objects.erase(std::remove(m_objects.begin(), m_objects.end(), nullptr), m_objects.end());
    }
    // Anything the order did not name stays below, in its order.
    sorted.insert(sorted.begin(), std::make_move_iterator(m_objects.begin()),
                  std::make_move_iterator(m_objects.end()));
    m_objects = std::move(sorted);
    NotifyChanged();
    RequestHandleFit();
    RequestRepaint();
}

// --- creation -----------------------------------------------------------------------------

std::unique_ptr<TGGraphicControl> PageDocument::CreateObjectForTool(TLPanelState state) const
{
    return m_kinds.CreateForTool(state);
}

QRect PageDocument::MinimumCreationRect(const QRect &band)
{
    const int width = band.width() < MinCreateWidth ? CreateWidth : band.width();
    const int height = band.height() < MinCreateHeight ? MinCreateHeight : band.height();
    return QRect(band.left(), band.top(), width, height);
}

TGGraphicControl *PageDocument::CreateObjectInRect(TLPanelState state, const QRect &band)
{
    if (m_creating)
        return nullptr;
    m_creating = true;
    TGGraphicControl *placed = nullptr;
    if (std::unique_ptr<TGGraphicControl> object = CreateObjectForTool(state)) {
        object->PrepareForTool();
        object->Loaded();
        placed = PlaceObject(std::move(object), MinimumCreationRect(band));
    }
    m_creating = false;
    return placed;
}

TGGraphicControl *PageDocument::PlaceObject(std::unique_ptr<TGGraphicControl> object,
                                            const QRect &rect)
{
    if (!object)
        return nullptr;
    object->SetName(UniqueObjectName(QStringLiteral("Special")));
    const int width = std::max(10, rect.width());
    const int height = std::max(15, rect.height());
    object->SetBounds(
        QRect(ToPage(rect.left()), ToPage(rect.top()), ToPage(width), ToPage(height)));
    TGGraphicControl *raw = object.get();
    std::vector<std::unique_ptr<TGGraphicControl>> objects;
    objects.push_back(std::move(object));
    m_lastCreation = InsertNewObjects(std::move(objects), tr("Create"));
    return raw;
}

bool PageDocument::WithdrawCreation(TGGraphicControl *object)
{
    const int latest = m_undoStack.index();
    if (!m_lastCreation || latest == 0 || latest != m_undoStack.count() ||
        m_undoStack.command(latest - 1) != m_lastCreation ||
        m_lastCreation->Objects() != QList<TGGraphicControl *>{object})
        return false;
    // An obsolete step is dropped by the stack's undo, which leaves the
    // clean state alone when the design was clean before the placing.
    m_lastCreation->Withdraw();
    m_undoStack.undo();
    return true;
}

QString PageDocument::UniqueObjectName(const QString &prefix) const
{
    const QStringList names = ObjectNames();
    for (int n = 1; n <= MaxNameNumber; ++n) {
        const QString name = prefix + QString::number(n);
        if (!names.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return QString();
}

ObjectListCommand *
PageDocument::InsertNewObjects(std::vector<std::unique_ptr<TGGraphicControl>> objects,
                               const QString &text)
{
    if (objects.empty())
        return nullptr;
    ObjectListCommand *command =
        ObjectListCommand::Insert(*this, std::move(objects), text).release();
    m_undoStack.push(command);
    return command;
}

void PageDocument::RemoveObjects(const QList<TGGraphicControl *> &objects, const QString &text)
{
    const QList<TGGraphicControl *> own = OwnObjects(objects);
    if (own.isEmpty())
        return;
    m_undoStack.push(ObjectListCommand::Remove(*this, own, text).release());
}

// --- clipboard ------------------------------------------------------------------------------

bool PageDocument::CanPaste() const
{
    return !m_clipboardFile.isEmpty() && QFile::exists(m_clipboardFile);
}

bool PageDocument::CopyObjects(const QList<TGGraphicControl *> &objects, QString *error)
{
    const QList<TGGraphicControl *> own = OwnObjects(objects);
    if (own.isEmpty() || m_clipboardFile.isEmpty())
        return false;
    QList<const PersistentObject *> records;
    for (TGGraphicControl *object : own)
        records.append(object);
    return SaveAtomically(m_clipboardFile, error, [&records](QIODevice &device, QString *error) {
        return ComponentRecord::WriteObjects(records, device, error);
    });
}

bool PageDocument::CutObjects(const QList<TGGraphicControl *> &objects, QString *error)
{
    if (!CopyObjects(objects, error))
        return false;
    RemoveObjects(objects, tr("Cut"));
    return true;
}

QList<TGGraphicControl *> PageDocument::Paste(QString *error)
{
    if (!CanPaste())
        return {};
    QFile file(m_clipboardFile);
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, file.errorString());
        return {};
    }
    // Another start of the program may have written the file since.
    QCryptographicHash digest(QCryptographicHash::Sha1);
    if (!digest.addData(&file) || !file.seek(0)) {
        SetError(error, file.errorString());
        return {};
    }
    QString readError;
    PersistentObjectList read =
        ComponentRecord::ReadObjects(file, m_kinds.Classes(), ObjectNames(), &readError);
    if (!readError.isEmpty()) {
        SetError(error, readError);
        return {};
    }
    const int run = digest.result() == m_pastedDigest ? m_pasteCount + 1 : 1;
    std::vector<std::unique_ptr<TGGraphicControl>> objects;
    QList<TGGraphicControl *> pasted;
    const int offset = ToPage(PasteOffset * run);
    for (std::unique_ptr<PersistentObject> &object : read) {
        auto *control = dynamic_cast<TGGraphicControl *>(object.get());
        if (!control)
            continue;
        object.release();
        control->SetBounds(control->Bounds().translated(offset, offset));
        objects.emplace_back(control);
        pasted.append(control);
    }
    InsertNewObjects(std::move(objects), tr("Paste"));
    m_pastedDigest = digest.result();
    m_pasteCount = run;
    for (const TGGraphicControl *object : std::as_const(pasted)) {
        if (const QString placement = object->PlacementError(); !placement.isEmpty()) {
            SetError(error, placement);
            break;
        }
    }
    return pasted;
}

TGGraphicControl *PageDocument::CloneObject(TGGraphicControl *source)
{
    if (!Contains(source))
        return nullptr;
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    if (!ComponentRecord::WriteObject(*source, buffer))
        return nullptr;
    buffer.seek(0);
    std::unique_ptr<PersistentObject> read =
        ComponentRecord::ReadObject(buffer, m_kinds.Classes(), ObjectNames());
    auto *copy = dynamic_cast<TGGraphicControl *>(read.get());
    if (!copy)
        return nullptr;
    read.release();
    copy->SetTop(source->Top() + ToPage(CloneOffset));
    std::vector<std::unique_ptr<TGGraphicControl>> objects;
    objects.emplace_back(copy);
    InsertNewObjects(std::move(objects), tr("Clone"));
    Q_EMIT objectCloned(copy, source);
    return copy;
}

void PageDocument::DeleteObjects(const QList<TGGraphicControl *> &objects)
{
    RemoveObjects(objects, tr("Delete"));
}

// --- geometry ----------------------------------------------------------------------------------

void PageDocument::MoveResizeObjects(const QList<TGGraphicControl *> &objects,
                                     const QRect &oldHandle, const QRect &newHandle,
                                     const QString &text, bool nudge)
{
    const int dl = ToPage(newHandle.left() - oldHandle.left());
    const int dt = ToPage(newHandle.top() - oldHandle.top());
    const int dw = ToPage(newHandle.width() - oldHandle.width());
    const int dh = ToPage(newHandle.height() - oldHandle.height());
    QList<std::pair<TGGraphicControl *, QRect>> bounds;
    for (TGGraphicControl *object : OwnObjects(objects)) {
        if (object->Locked())
            continue;
        const QRect b = object->Bounds();
        bounds.append({object, QRect(b.left() + dl, b.top() + dt, std::max(1, b.width() + dw),
                                     std::max(1, b.height() + dh))});
    }
    SetObjectBounds(bounds, text, nudge ? ObjectBoundsCommand::NudgeMergeId : -1);
}

void PageDocument::SetObjectBounds(const QList<std::pair<TGGraphicControl *, QRect>> &bounds,
                                   const QString &text, int mergeId)
{
    QList<ObjectBoundsCommand::Change> changes;
    bool moved = false;
    for (const auto &[object, after] : bounds) {
        if (!Contains(object))
            continue;
        changes.append({object, object->Bounds(), after});
        moved = moved || object->Bounds() != after;
    }
    if (!moved)
        return;
    m_undoStack.push(new ObjectBoundsCommand(changes, text, mergeId));
}

void PageDocument::Align(const QList<TGGraphicControl *> &objects, const QString &text,
                         const std::function<QRect(const QRect &, int)> &place, int start,
                         const std::function<int(int, const QRect &)> &combine)
{
    const QList<TGGraphicControl *> own = OwnObjects(objects);
    int m = start;
    for (TGGraphicControl *object : own)
        m = combine(m, object->Bounds());
    QList<std::pair<TGGraphicControl *, QRect>> bounds;
    for (TGGraphicControl *object : own)
        bounds.append({object, place(object->Bounds(), m)});
    SetObjectBounds(bounds, text);
}

void PageDocument::AlignLeft(const QList<TGGraphicControl *> &objects)
{
    Align(
        objects, tr("Align Left"),
        [](const QRect &b, int m) { return b.translated(m - b.left(), 0); }, PageSize().width(),
        [](int m, const QRect &b) { return std::min(m, b.left()); });
}

void PageDocument::AlignRight(const QList<TGGraphicControl *> &objects)
{
    Align(
        objects, tr("Align Right"),
        [](const QRect &b, int m) { return b.translated(m - b.width() - b.left(), 0); }, 0,
        [](int m, const QRect &b) { return std::max(m, b.left() + b.width()); });
}

void PageDocument::AlignTops(const QList<TGGraphicControl *> &objects)
{
    Align(
        objects, tr("Align Tops"),
        [](const QRect &b, int m) { return b.translated(0, m - b.top()); }, PageSize().height(),
        [](int m, const QRect &b) { return std::min(m, b.top()); });
}

void PageDocument::AlignBottoms(const QList<TGGraphicControl *> &objects)
{
    Align(
        objects, tr("Align Bottoms"),
        [](const QRect &b, int m) { return b.translated(0, m - b.height() - b.top()); }, 0,
        [](int m, const QRect &b) { return std::max(m, b.top() + b.height()); });
}

void PageDocument::CenterObjects(const QList<TGGraphicControl *> &objects, bool vertically)
{
    const QSize page = PageSize();
    QList<std::pair<TGGraphicControl *, QRect>> bounds;
    for (TGGraphicControl *object : OwnObjects(objects)) {
        QRect b = object->Bounds();
        if (vertically)
            b.moveTop(page.height() / 2 - b.height() / 2);
        else
            b.moveLeft(page.width() / 2 - b.width() / 2);
        bounds.append({object, b});
    }
    SetObjectBounds(bounds, vertically ? tr("Center Vertically") : tr("Center Horizontally"));
}

void PageDocument::CenterVertically(const QList<TGGraphicControl *> &objects)
{
    CenterObjects(objects, true);
}

void PageDocument::CenterHorizontally(const QList<TGGraphicControl *> &objects)
{
    CenterObjects(objects, false);
}

void PageDocument::ClampObjects()
{
    const QSize page = PageSize();
    QList<std::pair<TGGraphicControl *, QRect>> bounds;
    for (const auto &object : m_objects) {
        QRect b = object->Bounds();
        if (b.top() > page.height() - 10)
            b.moveTop(page.height() - 10);
        if (b.left() > page.width() - 20)
            b.moveLeft(page.width() - 20);
        bounds.append({object.get(), b});
    }
    SetObjectBounds(bounds, tr("Keep Objects on Page"));
}

void PageDocument::RemoveStrayObjects()
{
    const QSize page = PageSize();
    QList<TGGraphicControl *> stray;
    for (const auto &object : m_objects) {
        const QRect b = object->Bounds();
        if (b.top() > page.height() - 10 || b.left() > page.width() - 10 || b.width() < 1 ||
            b.height() < 1)
            stray.append(object.get());
    }
    RemoveObjects(stray, tr("Remove Stray Objects"));
}

// --- stacking and states ---------------------------------------------------------------------

void PageDocument::Restack(const QList<TGGraphicControl *> &objects, bool toFront,
                           const QString &text)
{
    const QList<TGGraphicControl *> own = OwnObjects(objects);
    if (own.isEmpty())
        return;
    const QList<TGGraphicControl *> before = Objects();
    QList<TGGraphicControl *> after = before;
    for (TGGraphicControl *object : own) {
        after.removeOne(object);
        if (toFront)
            after.append(object);
        else
            after.prepend(object);
    }
    if (after != before)
        m_undoStack.push(new ObjectOrderCommand(*this, before, after, text));
}

void PageDocument::BringToFront(const QList<TGGraphicControl *> &objects)
{
    Restack(objects, true, tr("Bring To Front"));
}

void PageDocument::SendToBack(const QList<TGGraphicControl *> &objects)
{
    Restack(objects, false, tr("Send To Back"));
}

std::unique_ptr<TGGraphicControl> PageDocument::Snapshot(const TGGraphicControl &object) const
{
    std::unique_ptr<TGGraphicControl> snapshot = m_kinds.Create(object.ClassName());
    if (!snapshot)
        return nullptr;
    snapshot->AssignProperties(object);
    snapshot->SetName(object.Name());
    return snapshot;
}

void PageDocument::SetStates(const QList<TGGraphicControl *> &objects, const QString &text,
                             const std::function<void(TGGraphicControl &)> &change)
{
    std::vector<ObjectStateCommand::Change> changes;
    for (TGGraphicControl *object : OwnObjects(objects)) {
        std::unique_ptr<TGGraphicControl> before = Snapshot(*object);
        if (!before) {
            change(*object);
            continue;
        }
        const QByteArray beforeBytes = RecordBytes(*object);
        change(*object);
        if (RecordBytes(*object) == beforeBytes)
            continue;
        changes.push_back({object, std::move(before), Snapshot(*object)});
    }
    if (!changes.empty())
        m_undoStack.push(new ObjectStateCommand(std::move(changes), text));
}

void PageDocument::SetLocked(const QList<TGGraphicControl *> &objects, bool locked)
{
    SetStates(objects, locked ? tr("Lock") : tr("Unlock"),
              [locked](TGGraphicControl &o) { o.SetLocked(locked); });
}

void PageDocument::SetUnselectable(const QList<TGGraphicControl *> &objects, bool unselectable)
{
    SetStates(objects, unselectable ? tr("Mark Unselectable") : tr("Mark Selectable"),
              [unselectable](TGGraphicControl &o) { o.SetUnselectable(unselectable); });
}

void PageDocument::ApplyFont(const QList<TGGraphicControl *> &objects, const FontSpec &font)
{
    SetStates(objects, tr("Font"), [&font](TGGraphicControl &o) {
        o.ApplyFont(font);
        o.NotifyChanged();
    });
}

void PageDocument::EditObject(TGGraphicControl *object, const QString &text,
                              const std::function<void(TGGraphicControl &)> &edit)
{
    SetStates({object}, text, edit);
}

// --- page edits ------------------------------------------------------------------

bool PageDocument::ApplySettings(const CalendarSettings &settings)
{
    const CalendarSettings before = m_page.Settings();
    CellNotesCommand::Notes notesBefore = CellNotesCommand::NotesOf(m_page);
    m_page.AssignSettings(settings);
    if (CalendarPage::ChangeClearsCellNotes(before, m_page.Settings()))
        m_page.ClearCellNotes();
    // The comparison is the full one: a change the looser SameSettings misses
    // (a font size) would otherwise be lost without "Save changes?".
    auto command = std::make_unique<PageSettingsCommand>(
        m_page, before, m_page.Settings(), std::move(notesBefore),
        CellNotesCommand::NotesOf(m_page), QStringLiteral("Calendar Properties"));
    if (!command->Changes())
        return false;
    m_undoStack.push(command.release());
    return true;
}

bool PageDocument::SetUserTitle(const QString &title)
{
    if (title == m_page.UserTitle())
        return false;
    m_undoStack.push(new UserTitleCommand(m_page, title));
    return true;
}

bool PageDocument::SetCellNote(int cell, const TWPRtfStorage &note)
{
    if (cell < 1 || cell > CalendarPage::CellCount)
        return false;
    CellNotesCommand::Notes before = CellNotesCommand::NotesOf(m_page);
    CellNotesCommand::Notes after = before;
    after[std::size_t(cell - 1)] = note;
    return PushNotes(m_undoStack, m_page, std::move(before), std::move(after),
                     QStringLiteral("Note"));
}

bool PageDocument::ClearAllNotes()
{
    return PushNotes(m_undoStack, m_page, CellNotesCommand::NotesOf(m_page),
                     CellNotesCommand::Notes{}, QStringLiteral("Clear All Cell Contents"));
}

bool PageDocument::EditNotes(const QString &text, const std::function<void(CalendarPage &)> &edit)
{
    CellNotesCommand::Notes before = CellNotesCommand::NotesOf(m_page);
    edit(m_page);
    return PushNotes(m_undoStack, m_page, std::move(before), CellNotesCommand::NotesOf(m_page),
                     text);
}

// --- whole design
// ---------------------------------------------------------------------------------

void PageDocument::ClearObjects()
{
    m_picturesLeftOut.clear();
    m_unreadObjects = 0;
    m_incompleteFile.clear();
    m_undoStack.clear();
    while (!m_objects.empty())
        TakeObject(m_objects.back().get());
}

void PageDocument::AdoptObjects(PersistentObjectList objects)
{
    ClearObjects();
    for (std::unique_ptr<PersistentObject> &object : objects) {
        auto *control = dynamic_cast<TGGraphicControl *>(object.get());
        if (!control)
            continue;
        object.release();
        m_objects.emplace_back(control);
    }
    HookObjects();
    for (const auto &object : m_objects)
        object->CheckBoundsChanged();
    NotifyChanged();
    RequestRepaint();
}

bool PageDocument::Open(const QString &path, QString *error, bool *replaced)
{
    // Notes down the pictures refused while the design is read and drawn.
    PictureBudget refusals(PictureBudget::Unbounded);
    const PictureBudget::Scope scope(refusals);
    PersistentObjectList objects;
    int unread = 0;
    const bool read =
        OpenCalendarFile(m_page, path, m_kinds.Classes(), {}, objects, error, &unread);
    if (replaced)
        *replaced = read;
    if (!read)
        return false;
    AdoptObjects(std::move(objects));
    m_unreadObjects = unread;
    m_incompleteFile = unread > 0 ? QFileInfo(path).absoluteFilePath() : QString();
    DrawEverything();
    m_picturesLeftOut = refusals.FirstRefusal();
    if (const QString placement = PlacementError(); !placement.isEmpty()) {
        SetError(error, placement);
        return false;
    }
    return true;
}

bool PageDocument::SavingDropsUnreadObjects(const QString &path) const
{
    return m_unreadObjects > 0 && QFileInfo(path).absoluteFilePath() == m_incompleteFile;
}

void PageDocument::KeepUnreadObjects(int count, const QString &path)
{
    m_unreadObjects = std::max(0, count);
    m_incompleteFile = m_unreadObjects > 0 ? QFileInfo(path).absoluteFilePath() : QString();
}

bool PageDocument::Save(const QString &path, QString *error)
{
    if (!SaveCalendarFile(m_page, PersistentObjects(), path, error))
        return false;
    if (SavingDropsUnreadObjects(path)) {
        // The file now holds what the design holds: nothing is left unread.
        m_unreadObjects = 0;
        m_incompleteFile.clear();
    }
    return true;
}

// --- drawing -------------------------------------------------------------------------------------

PageDrawing PageDocument::Draw(QPainter &painter) const
{
    const PageDrawing drawing = m_page.Draw(painter, m_zoom);
    PaintObjects(painter);
    return drawing;
}

void PageDocument::DrawEverything() const
{
    // Small: what is drawn does not matter, only that every picture is met.
    QImage probe(16, 16, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&probe);
    // Whether the window shows the page yet or not.
    m_page.Draw(painter, m_zoom);
    for (const auto &object : m_objects)
        object->Paint(painter);
}

void PageDocument::PaintObjects(QPainter &painter) const
{
    if (m_paintSuspended)
        return;
    for (const auto &object : m_objects)
        object->Paint(painter);
}

void PageDocument::PrintObjects(PrintEngine &engine, double xInch, double yInch) const
{
    for (const auto &object : m_objects)
        object->PrintTo(engine, xInch, yInch);
}

void PageDocument::PrintObjects(QPainter &painter, double xInch, double yInch) const
{
    PrintEngine engine(painter);
    PrintObjects(engine, xInch, yInch);
}

PageDrawing PageDocument::PrintPage(PrintEngine &engine, double xInch, double yInch,
                                    const QSize &referenceNoteSize) const
{
    const PageDrawing drawing = PrintCalendarPage(m_page, engine, xInch, yInch, referenceNoteSize);
    PrintObjects(engine, xInch, yInch);
    return drawing;
}

} // namespace Dayloom
