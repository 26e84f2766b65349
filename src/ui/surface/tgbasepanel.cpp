#include "ui/surface/tgbasepanel.h"

#include "core/objects/tggraphiccontrol.h"
#include "ui/common/fontspecdialog.h"
#include "ui/surface/objectpopupmenu.h"
#include "ui/surface/surfacecursors.h"
#include "ui/surface/surfacepopupmenu.h"
#include "ui/surface/tghandle.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace Dayloom {

TGBasePanel::TGBasePanel(QWidget *parent)
    : QWidget(parent), m_document(std::make_unique<PageDocument>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_handle = new TGHandle(this);
    m_handle->SetSnapToGrid(false);
    m_surfaceMenu = new SurfacePopupMenu(this);

    PageDocument *document = m_document.get();
    connect(document, &PageDocument::LabelChangedEvent, this, &TGBasePanel::LabelChangedEvent);
    connect(document, &PageDocument::repaintRequested, this, qOverload<>(&QWidget::update));
    connect(document, &PageDocument::handleFitRequested, m_handle, &TGHandle::FitToSelection);
    connect(document, &PageDocument::objectAboutToBeRemoved, this, &TGBasePanel::DropRemovedObject);
    connect(document, &PageDocument::objectStateChanged, this, &TGBasePanel::ObjectStateChanged);
    connect(document, &PageDocument::objectCloned, this, &TGBasePanel::ObjectCloned);
    connect(document, &PageDocument::zoomChanged, this, &TGBasePanel::UpdateSurfaceSize);
}

TGBasePanel::~TGBasePanel()
{
    // The handle and the menus refer to the document's objects.
    m_handle->ClearSelection();
    disconnect(m_document.get(), nullptr, this, nullptr);
    disconnect(m_document.get(), nullptr, m_handle, nullptr);
}

QList<TGGraphicControl *> TGBasePanel::Selection() const
{
    return m_handle->Selection();
}

QSize TGBasePanel::sizeHint() const
{
    return m_document->SurfaceSize();
}

void TGBasePanel::UpdateSurfaceSize()
{
    const QSize size = m_document->SurfaceSize();
    if (size != this->size())
        resize(size);
    updateGeometry();
    update();
}

// --- settings ------------------------------------------------------------------------

void TGBasePanel::SetPointing(bool pointing)
{
    m_pointing = pointing;
}

void TGBasePanel::SetDrawOutline(bool on)
{
    if (m_drawOutline == on)
        return;
    m_drawOutline = on;
    update();
}

void TGBasePanel::SetShape(TLabelShapeType shape)
{
    if (m_shape == shape)
        return;
    m_shape = shape;
    update();
}

void TGBasePanel::SetGridSize(TGridSize size)
{
    m_gridSize = size;
    const int spacing = size == gs4x4 ? 4 : 8;
    m_handle->SetGridX(spacing);
    m_handle->SetGridY(spacing);
    update();
}

void TGBasePanel::SetShowGrid(bool on)
{
    if (m_showGrid == on)
        return;
    m_showGrid = on;
    update();
}

void TGBasePanel::SetSnapToGrid(bool on)
{
    m_snapToGrid = on;
    if (on) {
        const int spacing = m_gridSize == gs4x4 ? 4 : 8;
        m_handle->SetGridX(spacing);
        m_handle->SetGridY(spacing);
    }
    m_handle->SetSnapToGrid(on);
}

void TGBasePanel::SetPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void TGBasePanel::SetColorPicture(const QPixmap &picture)
{
    m_colorPicture = picture;
    update();
}

void TGBasePanel::SetZoom(float zoom)
{
    m_document->SetZoom(zoom);
    UpdateSurfaceSize();
}

void TGBasePanel::SetClock(std::function<qint64()> clock)
{
    m_document->SetClock(clock);
    m_handle->SetClock(std::move(clock));
}

QCursor TGBasePanel::ModeCursor() const
{
    return m_pointing ? QCursor(Qt::ArrowCursor) : SurfaceCursors::Drag();
}

// --- operations ----------------------------------------------------------------------

void TGBasePanel::CreateObjectInRect(const QRect &rect)
{
    Q_UNUSED(rect);
}

void TGBasePanel::ObjectMouseDown(TGGraphicControl *object, Qt::MouseButton button,
                                  Qt::KeyboardModifiers modifiers, const QPoint &point)
{
    if (!m_pointing || object->Unselectable()) {
        SurfaceMousePress(point, button, modifiers);
        return;
    }
    if (!(modifiers & Qt::ShiftModifier))
        m_handle->ClearSelection();
    m_handle->AddObject(object);
    m_handle->update();
    if (m_handle->SelectedCount() == 1 && button == Qt::RightButton)
        PopupObjectMenu(object, mapToGlobal(point));
}

void TGBasePanel::ObjectCloned(TGGraphicControl *copy, TGGraphicControl *source)
{
    if (m_handle->IndexOf(source) < 0)
        return;
    m_handle->RemoveObject(source);
    m_handle->AddObject(copy);
}

void TGBasePanel::PrintObjects(QPainter &painter, double xInch, double yInch) const
{
    m_document->PrintObjects(painter, xInch, yInch);
}

void TGBasePanel::ClampObjects()
{
    m_handle->ClearSelection();
    m_document->ClampObjects();
}

void TGBasePanel::RemoveStrayObjects()
{
    m_handle->ClearSelection();
    m_document->RemoveStrayObjects();
}

void TGBasePanel::HookObjects()
{
    m_document->HookObjects();
    update();
}

void TGBasePanel::ClearObjects()
{
    m_handle->ClearSelection();
    m_document->ClearObjects();
}

void TGBasePanel::SelectInRect(const QRect &band, Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    QList<TGGraphicControl *> work = shift ? m_handle->Selection() : QList<TGGraphicControl *>();
    m_handle->ClearSelection();
    for (TGGraphicControl *object : m_document->ObjectsTouching(band)) {
        if (shift && work.contains(object))
            work.removeOne(object);
        else if (!work.contains(object))
            work.append(object);
    }
    for (TGGraphicControl *object : work)
        m_handle->AddObject(object);
}

void TGBasePanel::ClipboardAction(ClipboardKind kind)
{
    ClipboardAction(kind, m_handle->Selection());
}

void TGBasePanel::ClipboardAction(ClipboardKind kind, const QList<TGGraphicControl *> &selection)
{
    QString error;
    switch (kind) {
    case ckCut:
        // Nothing is deleted when the copy failed; the user must know why.
        if (!m_document->CutObjects(selection, &error) && !error.isEmpty())
            ReportError(tr("Cut"),
                        tr("The objects could not be copied to the clipboard file, so they "
                           "were not cut.\n%1")
                            .arg(error));
        break;
    case ckCopy:
        if (!m_document->CopyObjects(selection, &error) && !error.isEmpty())
            ReportError(
                tr("Copy"),
                tr("The objects could not be copied to the clipboard file.\n%1").arg(error));
        break;
    case ckPaste:
        SelectPasted(m_document->Paste(&error));
        if (!error.isEmpty())
            ReportError(
                tr("Error"),
                tr("The clipboard file could not be read; nothing was pasted.\n%1").arg(error));
        break;
    case ckDelete:
        m_document->DeleteObjects(selection);
        break;
    }
}

void TGBasePanel::SelectPasted(const QList<TGGraphicControl *> &pasted)
{
    if (pasted.isEmpty())
        return;
    // The copies lie over what was selected; the keys must move them.
    m_handle->ClearSelection();
    for (TGGraphicControl *object : pasted)
        m_handle->AddObject(object);
}

void TGBasePanel::ReportError(const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, this);
    box.exec();
}

void TGBasePanel::CloneObject(TGGraphicControl *object)
{
    m_document->CloneObject(object);
}

QList<TGGraphicControl *> TGBasePanel::TargetsOf(TGGraphicControl *object) const
{
    if (m_handle->IndexOf(object) >= 0)
        return m_handle->Selection();
    return {object};
}

// --- popup actions ---------------------------------------------------------------------

void TGBasePanel::BringToFront()
{
    if (m_handle->SelectedCount() == 0)
        return;
    m_document->BringToFront(m_handle->Selection());
    m_handle->raise();
    m_handle->setFocus();
}

void TGBasePanel::SendToBack()
{
    if (m_handle->SelectedCount() == 0)
        return;
    m_document->SendToBack(m_handle->Selection());
    m_handle->raise();
    m_handle->ClearSelection();
}

void TGBasePanel::AlignLeft()
{
    m_document->AlignLeft(m_handle->Selection());
}

void TGBasePanel::AlignRight()
{
    m_document->AlignRight(m_handle->Selection());
}

void TGBasePanel::AlignTops()
{
    m_document->AlignTops(m_handle->Selection());
}

void TGBasePanel::AlignBottoms()
{
    m_document->AlignBottoms(m_handle->Selection());
}

void TGBasePanel::CenterVertically()
{
    m_document->CenterVertically(m_handle->Selection());
}

void TGBasePanel::CenterHorizontally()
{
    m_document->CenterHorizontally(m_handle->Selection());
}

void TGBasePanel::LockAll()
{
    m_document->LockAll();
}

void TGBasePanel::UnlockAll()
{
    m_document->UnlockAll();
}

void TGBasePanel::MarkAllSelectable()
{
    m_document->MarkAllSelectable();
}

void TGBasePanel::MarkAllUnselectable()
{
    m_document->MarkAllUnselectable();
}

void TGBasePanel::SelectAll()
{
    if (m_document->ObjectCount() == 0)
        return;
    m_handle->ClearSelection();
    for (TGGraphicControl *object : m_document->Objects())
        m_handle->AddObject(object);
}

void TGBasePanel::ChooseFont()
{
    if (m_handle->SelectedCount() == 0)
        return;
    const QFont current = font();
    FontSpec initial(current.family(), current.pointSize() > 0 ? current.pointSize() : 10,
                     current.bold());
    initial.SetItalic(current.italic());
    initial.SetUnderline(current.underline());
    initial.SetStrikeOut(current.strikeOut());
    if (const std::optional<FontSpec> chosen = AskFontSpec(this, initial))
        ApplyFont(*chosen);
}

void TGBasePanel::ApplyFont(const FontSpec &font)
{
    m_document->ApplyFont(m_handle->Selection(), font);
    update();
}

// --- menus ------------------------------------------------------------------------------

ObjectPopupMenu *TGBasePanel::ObjectMenu(TGGraphicControl *object)
{
    delete m_objectMenu;
    m_objectMenu = new ObjectPopupMenu(this, object);
    const QList<std::pair<QString, ObjectAction>> windowActions =
        m_kindActions.MenuItems(object->ClassName());
    // The kind's own items first; window items it does not name follow.
    m_objectMenu->AddKindEntries(windowActions);
    for (const auto &[caption, action] : windowActions) {
        if (!m_objectMenu->Item(caption))
            m_objectMenu->AddKindItem(caption, action, true);
    }
    return m_objectMenu;
}

void TGBasePanel::AddObjectMenuItem(const QByteArray &className, const QString &caption,
                                    ObjectAction action)
{
    m_kindActions.AddMenuItem(className, caption, std::move(action));
}

void TGBasePanel::PopupSurfaceMenu(const QPoint &globalPos)
{
    m_surfaceMenu->popup(globalPos);
}

void TGBasePanel::PopupObjectMenu(TGGraphicControl *object, const QPoint &globalPos)
{
    ObjectMenu(object)->popup(globalPos);
}

void TGBasePanel::PopupSelectionMenu()
{
    const QList<TGGraphicControl *> selection = Selection();
    if (selection.size() == 1) {
        const QRect bounds = selection.first()->ScaledBounds();
        PopupObjectMenu(selection.first(), mapToGlobal(bounds.topLeft() + QPoint(4, 4)));
        return;
    }
    const QRect area = selection.isEmpty() ? visibleRegion().boundingRect() : m_handle->geometry();
    PopupSurfaceMenu(mapToGlobal(area.topLeft() + QPoint(4, 4)));
}

// --- mouse ------------------------------------------------------------------------------

QPoint TGBasePanel::HandlePoint(const QPoint &surfacePoint) const
{
    return surfacePoint - m_handle->pos();
}

QRect TGBasePanel::BandRect() const
{
    const int left = std::min(m_bandStart.x(), m_bandEnd.x());
    const int top = std::min(m_bandStart.y(), m_bandEnd.y());
    const int right = std::max(m_bandStart.x(), m_bandEnd.x());
    const int bottom = std::max(m_bandStart.y(), m_bandEnd.y());
    return QRect(left, top, right - left, bottom - top);
}

void TGBasePanel::SurfaceMousePress(const QPoint &point, Qt::MouseButton button,
                                    Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(modifiers);
    m_bandStart = m_bandEnd = point;
    // The mode of the press decides what its release does: creating an
    // object switches back to pointing before the release is finished.
    m_pressPointing = m_pointing;
    if (button == Qt::LeftButton) {
        m_banding = true;
        m_pressedOnSurface = true;
        setCursor(SurfaceCursors::HandPoint());
    } else {
        PopupSurfaceMenu(mapToGlobal(point));
    }
}

void TGBasePanel::SurfaceMouseMove(const QPoint &point, Qt::MouseButtons buttons,
                                   Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(buttons);
    Q_UNUSED(modifiers);
    if (m_banding) {
        const QRect old = BandRect();
        m_bandEnd = point;
        update(old.adjusted(-1, -1, 2, 2));
        update(BandRect().adjusted(-1, -1, 2, 2));
        return;
    }
    if (m_pointing && m_document->ObjectAt(point))
        setCursor(SurfaceCursors::HandPoint());
    else
        setCursor(ModeCursor());
}

void TGBasePanel::SurfaceMouseRelease(const QPoint &point, Qt::MouseButton button,
                                      Qt::KeyboardModifiers modifiers)
{
    const bool clicked = m_pressedOnSurface && button == Qt::LeftButton && rect().contains(point);
    m_pressedOnSurface = false;
    if (m_banding) {
        m_bandEnd = point;
        const QRect band = BandRect();
        update(band.adjusted(-1, -1, 2, 2));
        m_banding = false;
        if (m_pressPointing) {
            SelectInRect(band, modifiers);
            m_handle->update();
            setCursor(ModeCursor());
        } else {
            CreateObjectInRect(band);
            Q_EMIT DroppedObjectEvent(band);
        }
    }
    if (clicked && m_pressPointing && m_pointing)
        Click(point);
}

void TGBasePanel::HandleMouseDown(const QPoint &point, Qt::MouseButton button,
                                  Qt::KeyboardModifiers modifiers)
{
    if (!m_pointing) {
        SurfaceMousePress(point, button, modifiers);
        return;
    }
    if (!(modifiers & Qt::ShiftModifier))
        return;
    const QList<TGGraphicControl *> selection = m_handle->Selection();
    QList<TGGraphicControl *> keep;
    for (TGGraphicControl *object : selection) {
        if (!object->ScaledBounds().contains(point))
            keep.append(object);
    }
    if (keep.size() == selection.size())
        return;
    m_handle->ClearSelection();
    for (TGGraphicControl *object : keep)
        m_handle->AddObject(object);
}

void TGBasePanel::HandleDoubleClick(const QPoint &point, const QPoint &globalPos)
{
    if (m_handle->SelectedCount() > 1)
        return;
    if (TGGraphicControl *object = m_handle->HitObject(point))
        EditOrPopupObject(object, globalPos);
}

void TGBasePanel::EditOrPopupObject(TGGraphicControl *object, const QPoint &globalPos)
{
    if (object->EditAction())
        object->EditAction()(*object);
    else if (const ObjectAction edit = m_kindActions.EditAction(object->ClassName()))
        edit(*object);
    else
        PopupObjectMenu(object, globalPos);
}

void TGBasePanel::mousePressEvent(QMouseEvent *event)
{
    // Selecting without a press (Select All, a band, a clone) leaves the
    // capture with the handle; this press must not drag that selection.
    m_handle->ReleaseCapture();
    const QPoint point = event->position().toPoint();
    if (TGGraphicControl *object = m_document->ObjectAt(point))
        ObjectMouseDown(object, event->button(), event->modifiers(), point);
    else
        SurfaceMousePress(point, event->button(), event->modifiers());
}

void TGBasePanel::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_handle->HasCapture())
        m_handle->HandleMove(HandlePoint(point), event->buttons(), event->modifiers());
    else
        SurfaceMouseMove(point, event->buttons(), event->modifiers());
}

void TGBasePanel::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_handle->HasCapture())
        m_handle->HandleRelease(HandlePoint(point), event->button(), event->modifiers());
    else
        SurfaceMouseRelease(point, event->button(), event->modifiers());
}

void TGBasePanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (TGGraphicControl *object = m_document->ObjectAt(point)) {
        EditOrPopupObject(object, event->globalPosition().toPoint());
        return;
    }
    Q_EMIT SurfaceDoubleClicked(point);
}

// --- keyboard ---------------------------------------------------------------------------

bool TGBasePanel::event(QEvent *event)
{
    // Tab and the arrow keys reach the surface instead of moving the focus.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void TGBasePanel::keyPressEvent(QKeyEvent *event)
{
    SurfaceKeyDown(event);
}

void TGBasePanel::SurfaceKeyDown(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_C:
        if (ctrl)
            ClipboardAction(ckCopy);
        break;
    case Qt::Key_V:
        if (ctrl)
            ClipboardAction(ckPaste);
        break;
    case Qt::Key_X:
        if (ctrl)
            ClipboardAction(ckCut);
        break;
    case Qt::Key_Delete:
        if (!ctrl)
            ClipboardAction(ckDelete);
        break;
    case Qt::Key_Menu:
        PopupSelectionMenu();
        break;
    case Qt::Key_F10:
        if (event->modifiers() == Qt::ShiftModifier)
            PopupSelectionMenu();
        break;
    default:
        break;
    }
}

// --- painting ----------------------------------------------------------------------------

void TGBasePanel::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    if (m_document->PaintSuspended())
        return;
    QPainter painter(this);
    PaintBackground(painter);
    m_document->PaintObjects(painter);
    m_handle->DrawHandles(painter);
    // Outlines invert what lies below them, so they show on any colour.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(Qt::white, 1, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (m_banding) {
        const QRect band = BandRect();
        painter.drawRect(QRect(band.topLeft(), QSize(band.width() - 1, band.height() - 1)));
    }
    const QRect outline = m_handle->Outline();
    if (!outline.isNull())
        painter.drawRect(
            QRect(outline.topLeft(), QSize(outline.width() - 1, outline.height() - 1)));
}

void TGBasePanel::ClipRegionPath(QPainterPath &path) const
{
    const QRectF area(0, 0, width() + 1, height() + 1);
    switch (m_shape) {
    case lsRectangle:
        path.addRect(area);
        break;
    case lsRoundRect:
        path.addRoundedRect(area, 12, 12);
        break;
    case lsEllipse:
        path.addEllipse(area);
        break;
    }
}

void TGBasePanel::PaintBackground(QPainter &painter)
{
    painter.fillRect(rect(), Qt::white);
    QPainterPath clip;
    ClipRegionPath(clip);
    painter.save();
    painter.setClipPath(clip);
    if (!m_picture.isNull())
        painter.drawPixmap(rect(), m_picture);
    if (!m_colorPicture.isNull())
        painter.drawPixmap(rect(), m_colorPicture);
    if (m_showGrid)
        PaintGrid(painter);
    painter.restore();
    if (m_drawOutline) {
        painter.save();
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        const QRectF area(0, 0, width() - 1, height() - 1);
        if (m_shape == lsRectangle)
            painter.drawRect(area);
        else if (m_shape == lsRoundRect)
            painter.drawRoundedRect(area, 12, 12);
        else
            painter.drawEllipse(area);
        painter.restore();
    }
}

void TGBasePanel::PaintGrid(QPainter &painter) const
{
    const int spacing = m_gridSize == gs4x4 ? 4 : 8;
    painter.setPen(QColor(0, 128, 0));
    QList<QPoint> dots;
    for (int y = 2; y < height(); y += spacing) {
        for (int x = 2; x < width(); x += spacing)
            dots.append(QPoint(x, y));
    }
    painter.drawPoints(dots.constData(), static_cast<int>(dots.size()));
}

void TGBasePanel::DropRemovedObject(TGGraphicControl *object)
{
    m_handle->RemoveObject(object);
    if (m_objectMenu && m_objectMenu->Object() == object)
        m_objectMenu->Detach();
}

void TGBasePanel::ObjectStateChanged(TGGraphicControl *object)
{
    if (object->Unselectable())
        m_handle->RemoveObject(object);
    update();
}

} // namespace Dayloom
