#include "ui/richtext/noteeditor.h"

#include "core/richtext/notedocument.h"
#include "core/richtext/noterenderer.h"
#include "core/richtext/twprtfstorage.h"
#include "ui/richtext/textcolortable.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBlock>

#include <algorithm>
#include <cmath>
#include <optional>

namespace Dayloom {

namespace {

// Tab moves to another cell; Ctrl, Alt or Meta with Tab mean something else.
bool IsCellKey(const QKeyEvent *key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    return key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
}

bool IsPreviousCellKey(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
}

bool IsPicture(const QMimeData *data)
{
    return data && data->hasImage();
}

// Sets a flag for the lifetime of the scope.
class FlagScope
{
public:
    explicit FlagScope(bool &flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~FlagScope() { m_flag = m_old; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
    bool m_old;
};

} // namespace

NoteEditor::NoteEditor(QWidget *parent) : QTextEdit(parent)
{
    setFrameStyle(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(false);
    setAcceptRichText(true);
    QPalette colors = palette();
    colors.setColor(QPalette::Base, Qt::white);
    colors.setColor(QPalette::Text, Qt::black);
    setPalette(colors);
    KeepScrollBarsStill();

    connect(this, &QTextEdit::textChanged, this, &NoteEditor::OnContentsChanged);
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] {
        EnsureCursorShown();
        RestartCaretBlink();
        Q_EMIT currentAttributesChanged();
    });
    connect(this, &QTextEdit::currentCharFormatChanged, this,
            &NoteEditor::currentAttributesChanged);
    connect(this, &QTextEdit::selectionChanged, viewport(), qOverload<>(&QWidget::update));
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &NoteEditor::EnsureCursorShown);
    ApplyLayout();
}

NoteEditor::~NoteEditor()
{
    // Give the focus up while this is still a note editor: focus watchers
    // (the formatting bar) then never see a half-destroyed one.
    if (hasFocus())
        clearFocus();
}

void NoteEditor::SetPageSizeTwips(const QSize &twips)
{
    if (twips.width() < TwipsPerPixel || twips.height() < TwipsPerPixel || twips == m_pageTwips)
        return;
    m_pageTwips = twips;
    ApplyLayout();
}

void NoteEditor::SetZoomPercent(int percent)
{
    percent = std::clamp(percent, MinZoomPercent, MaxZoomPercent);
    if (percent == m_zoomPercent)
        return;
    m_zoomPercent = percent;
    ApplyLayout();
}

void NoteEditor::SetPageUnzoomed(bool unzoomed)
{
    if (unzoomed == m_pageUnzoomed)
        return;
    m_pageUnzoomed = unzoomed;
    ApplyLayout();
}

double NoteEditor::LayoutWidth() const
{
    const double width = double(m_pageTwips.width()) / TwipsPerPixel;
    if (m_pageUnzoomed)
        return width;
    // The page lays its painted notes out at the same width: the shown width
    // divided by the whole-percent zoom.
    return width / ZoomFactor();
}

QSize NoteEditor::ShownSize() const
{
    const double scale = m_pageUnzoomed ? ZoomFactor() : 1.0;
    return {int(std::lround(double(m_pageTwips.width()) / TwipsPerPixel * scale)),
            int(std::lround(double(m_pageTwips.height()) / TwipsPerPixel * scale))};
}

void NoteEditor::ApplyLayout()
{
    const double width = LayoutWidth();
    // The base class lays the document out at a whole number of pixels; the
    // exact width of the painted note is set right after it.
    setLineWrapColumnOrWidth(int(std::ceil(width)));
    NoteRenderer::PrepareLayout(*document(), width);
    setCursorWidth(std::max(1, int(std::ceil(1.0 / ZoomFactor()))));
    EnsureCursorShown();
    viewport()->update();
}

void NoteEditor::KeepScrollBarsStill()
{
    // The base class would scroll as if the text were shown unscaled; the
    // editor scrolls by itself (m_scrollY) and keeps the bars at zero.
    for (QScrollBar *bar : {verticalScrollBar(), horizontalScrollBar()}) {
        connect(bar, &QScrollBar::rangeChanged, bar, [bar](int min, int max) {
            if (min != 0 || max != 0)
                bar->setRange(0, 0);
        });
        bar->setRange(0, 0);
    }
}

void NoteEditor::EnsureCursorShown()
{
    const double zoom = ZoomFactor();
    const double visible = height() / zoom;
    const double bottomLimit = std::max(0.0, document()->size().height() - visible);
    // Page pixels, since the bars stay at zero; with the margin round the text.
    const QRectF caret =
        QRectF(cursorRect())
            .adjusted(0, -NoteRenderer::DocumentMargin, 0, NoteRenderer::DocumentMargin);
    double y = m_scrollY;
    if (caret.bottom() > y + visible)
        y = caret.bottom() - visible;
    if (caret.top() < y)
        y = caret.top();
    y = std::clamp(y, 0.0, bottomLimit);
    if (y != m_scrollY) {
        m_scrollY = y;
        viewport()->update();
    }
}

bool NoteEditor::LoadFrom(const TWPRtfStorage &note, QString *error)
{
    bool ok = false;
    {
        FlagScope loading(m_loading);
        ok = note.LoadInto(*document(), error);
        document()->clearUndoRedoStacks();
        document()->setModified(false);
        m_scrollY = 0;
        ApplyLayout();
        moveCursor(QTextCursor::Start);
        m_attributesChosen = false;
        if (IsEmpty())
            SetDefaultFontNow();
    }
    viewport()->update();
    Q_EMIT currentAttributesChanged();
    return ok;
}

void NoteEditor::StoreTo(TWPRtfStorage &note) const
{
    note.StoreFrom(*document());
}

bool NoteEditor::IsEmpty() const
{
    return document()->isEmpty();
}

void NoteEditor::SetDefaultFontNow()
{
    FontSpec font = m_defaultFont;
    font.SetColor(TextColorTable::ColorAt(TextColorTable::IndexOrFirst(font.Color())));
    const QTextCharFormat format = NoteDocument::FormatFromFont(font);
    {
        // Formatting an empty editor changes nothing that is stored.
        std::optional<FlagScope> quiet;
        if (IsEmpty())
            quiet.emplace(m_loading);
        setCurrentCharFormat(format);
        ApplyAttributesToEmptyBlock(format);
    }
    m_attributesChosen = false;
    Q_EMIT currentAttributesChanged();
}

FontSpec NoteEditor::CurrentAttributes() const
{
    return NoteDocument::FontFromFormat(currentCharFormat(), document()->defaultFont());
}

void NoteEditor::SetCurrentAttributes(const FontSpec &font)
{
    MergeFormat(NoteDocument::FormatFromFont(font));
}

void NoteEditor::SetCurrentFontName(const QString &name)
{
    if (name.trimmed().isEmpty())
        return;
    QTextCharFormat format;
    format.setFontFamilies(QStringList{name.trimmed()});
    MergeFormat(format);
}

void NoteEditor::SetCurrentFontSize(int points)
{
    if (points < 1)
        return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    MergeFormat(format);
}

void NoteEditor::SetCurrentBold(bool on)
{
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    MergeFormat(format);
}

void NoteEditor::SetCurrentItalic(bool on)
{
    QTextCharFormat format;
    format.setFontItalic(on);
    MergeFormat(format);
}

void NoteEditor::SetCurrentUnderline(bool on)
{
    QTextCharFormat format;
    format.setFontUnderline(on);
    MergeFormat(format);
}

void NoteEditor::SetCurrentStrikeOut(bool on)
{
    QTextCharFormat format;
    format.setFontStrikeOut(on);
    MergeFormat(format);
}

int NoteEditor::CurrentColorIndex() const
{
    return TextColorTable::IndexOf(CurrentAttributes().Color());
}

void NoteEditor::SetCurrentColorIndex(int index)
{
    if (index < 0 || index >= TextColorTable::Count)
        return;
    QTextCharFormat format;
    format.setForeground(ToQColor(TextColorTable::ColorAt(index)));
    MergeFormat(format);
}

void NoteEditor::MergeFormat(const QTextCharFormat &format)
{
    const bool empty = IsEmpty();
    {
        std::optional<FlagScope> quiet;
        if (empty)
            quiet.emplace(m_loading);
        mergeCurrentCharFormat(format);
        if (!textCursor().hasSelection()) {
            QTextCharFormat blockFormat = textCursor().blockCharFormat();
            blockFormat.merge(format);
            ApplyAttributesToEmptyBlock(blockFormat);
        }
    }
    // Attributes chosen in an empty editor survive the focus coming back.
    if (empty)
        m_attributesChosen = true;
    Q_EMIT currentAttributesChanged();
}

void NoteEditor::ApplyAttributesToEmptyBlock(const QTextCharFormat &format)
{
    // An empty paragraph takes its line height from the block's own format.
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() && cursor.block().length() <= 1)
        cursor.setBlockCharFormat(format);
}

void NoteEditor::InsertPicture(const QImage &image)
{
    if (image.isNull())
        return;
    QTextCursor cursor = textCursor();
    NoteDocument::InsertImage(cursor, image);
    setTextCursor(cursor);
}

void NoteEditor::OnContentsChanged()
{
    viewport()->update();
    if (!m_loading)
        Q_EMIT noteChanged();
}

bool NoteEditor::event(QEvent *e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        // Keep these keys from application shortcuts while editing.
        auto *key = static_cast<QKeyEvent *>(e);
        if (IsCellKey(key) || key->matches(QKeySequence::SelectAll)) {
            e->accept();
            return true;
        }
    }
    if (e->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(e);
        if (IsCellKey(key)) {
            if (IsPreviousCellKey(key))
                Q_EMIT previousCellRequested();
            else
                Q_EMIT nextCellRequested();
            return true;
        }
        if (key->matches(QKeySequence::SelectAll)) {
            selectAll();
            return true;
        }
    }
    return QTextEdit::event(e);
}

void NoteEditor::paintEvent(QPaintEvent *)
{
    const double zoom = ZoomFactor();
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(zoom, zoom);
    painter.translate(0, -m_scrollY);

    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, m_scrollY, LayoutWidth(), viewport()->height() / zoom);
    context.palette = palette();
    context.palette.setColor(QPalette::Text, Qt::black);
    if (hasFocus() && m_caretShown && !isReadOnly())
        context.cursorPosition = textCursor().position();
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
        QAbstractTextDocumentLayout::Selection selection;
        selection.cursor = cursor;
        selection.format.setBackground(palette().brush(group, QPalette::Highlight));
        selection.format.setForeground(palette().brush(group, QPalette::HighlightedText));
        context.selections.append(selection);
    }
    for (const ExtraSelection &extra : extraSelections())
        context.selections.append({extra.cursor, extra.format});
    painter.setClipRect(context.clip, Qt::IntersectClip);
    document()->documentLayout()->draw(&painter, context);
}

void NoteEditor::resizeEvent(QResizeEvent *e)
{
    QTextEdit::resizeEvent(e);
    EnsureCursorShown();
}

void NoteEditor::scrollContentsBy(int, int)
{
    viewport()->update();
}

void NoteEditor::timerEvent(QTimerEvent *e)
{
    if (e->timerId() != m_caretBlink.timerId()) {
        QTextEdit::timerEvent(e);
        return;
    }
    m_caretShown = !m_caretShown;
    viewport()->update();
}

void NoteEditor::RestartCaretBlink()
{
    m_caretShown = true;
    const int flashTime = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flashTime > 0)
        m_caretBlink.start(flashTime / 2, this);
    else
        m_caretBlink.stop();
    viewport()->update();
}

void NoteEditor::focusInEvent(QFocusEvent *e)
{
    QTextEdit::focusInEvent(e);
    if (IsEmpty() && !m_attributesChosen)
        SetDefaultFontNow();
    RestartCaretBlink();
}

void NoteEditor::focusOutEvent(QFocusEvent *e)
{
    QTextEdit::focusOutEvent(e);
    RestartCaretBlink();
}

void NoteEditor::hideEvent(QHideEvent *e)
{
    QTextEdit::hideEvent(e);
    // A text editor refuses to pass the focus on, so a hidden one would keep
    // it and take the keys typed next.
    if (hasFocus())
        QWidget::focusNextPrevChild(true);
    if (hasFocus())
        clearFocus();
}

void NoteEditor::keyPressEvent(QKeyEvent *e)
{
    QTextEdit::keyPressEvent(e);
    RestartCaretBlink();
}

void NoteEditor::PlaceCaretAt(const QPointF &point)
{
    setTextCursor(cursorForPosition(ToDocument(viewport()->mapFrom(this, point)).toPoint()));
}

QPointF NoteEditor::ToDocument(const QPointF &viewportPos) const
{
    return {viewportPos.x() / ZoomFactor(), viewportPos.y() / ZoomFactor() + m_scrollY};
}

QRectF NoteEditor::ToViewport(const QRectF &documentRect) const
{
    const double zoom = ZoomFactor();
    return {documentRect.x() * zoom, (documentRect.y() - m_scrollY) * zoom,
            documentRect.width() * zoom, documentRect.height() * zoom};
}

QMouseEvent NoteEditor::ToDocument(const QMouseEvent &e) const
{
    return QMouseEvent(e.type(), ToDocument(e.position()), e.globalPosition(), e.button(),
                       e.buttons(), e.modifiers(), e.pointingDevice());
}

void NoteEditor::mousePressEvent(QMouseEvent *e)
{
    QMouseEvent mapped = ToDocument(*e);
    QTextEdit::mousePressEvent(&mapped);
    e->setAccepted(mapped.isAccepted());
}

void NoteEditor::mouseMoveEvent(QMouseEvent *e)
{
    QMouseEvent mapped = ToDocument(*e);
    QTextEdit::mouseMoveEvent(&mapped);
    e->setAccepted(mapped.isAccepted());
}

void NoteEditor::mouseReleaseEvent(QMouseEvent *e)
{
    QMouseEvent mapped = ToDocument(*e);
    QTextEdit::mouseReleaseEvent(&mapped);
    e->setAccepted(mapped.isAccepted());
}

void NoteEditor::mouseDoubleClickEvent(QMouseEvent *e)
{
    QMouseEvent mapped = ToDocument(*e);
    QTextEdit::mouseDoubleClickEvent(&mapped);
    e->setAccepted(mapped.isAccepted());
}

void NoteEditor::dragEnterEvent(QDragEnterEvent *e)
{
    if (IsPicture(e->mimeData())) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
        return;
    }
    QDragEnterEvent mapped(ToDocument(e->position()).toPoint(), e->possibleActions(), e->mimeData(),
                           e->buttons(), e->modifiers());
    QTextEdit::dragEnterEvent(&mapped);
    e->setDropAction(mapped.dropAction());
    e->setAccepted(mapped.isAccepted());
}

void NoteEditor::dragMoveEvent(QDragMoveEvent *e)
{
    if (IsPicture(e->mimeData())) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
        return;
    }
    QDragMoveEvent mapped(ToDocument(e->position()).toPoint(), e->possibleActions(), e->mimeData(),
                          e->buttons(), e->modifiers());
    QTextEdit::dragMoveEvent(&mapped);
    e->setDropAction(mapped.dropAction());
    e->setAccepted(mapped.isAccepted());
}

void NoteEditor::dropEvent(QDropEvent *e)
{
    if (IsPicture(e->mimeData())) {
        // Dropped pictures (icons) go to the insertion point, not under the mouse.
        InsertPicture(qvariant_cast<QImage>(e->mimeData()->imageData()));
        e->setDropAction(Qt::CopyAction);
        e->accept();
        return;
    }
    QDropEvent mapped(ToDocument(e->position()), e->possibleActions(), e->mimeData(), e->buttons(),
                      e->modifiers());
    QTextEdit::dropEvent(&mapped);
    e->setDropAction(mapped.dropAction());
    e->setAccepted(mapped.isAccepted());
}

QVariant NoteEditor::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const QVariant value = QTextEdit::inputMethodQuery(query);
    if (query == Qt::ImCursorRectangle || query == Qt::ImAnchorRectangle)
        return ToViewport(value.toRectF()).toAlignedRect();
    return value;
}

bool NoteEditor::canInsertFromMimeData(const QMimeData *source) const
{
    return IsPicture(source) || QTextEdit::canInsertFromMimeData(source);
}

void NoteEditor::insertFromMimeData(const QMimeData *source)
{
    if (IsPicture(source) && !QTextEdit::canInsertFromMimeData(source))
        InsertPicture(qvariant_cast<QImage>(source->imageData()));
    else
        QTextEdit::insertFromMimeData(source);
}

} // namespace Dayloom
