#include "ui/richtext/formattingbar.h"

#include "ui/glyphs/buttonglyph.h"
#include "ui/richtext/noteeditor.h"
#include "ui/richtext/textcolortable.h"

#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QFontComboBox>
#include <QIntValidator>
#include <QLayout>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

namespace Dayloom {

namespace {

constexpr int IconSide = 16;
// The bar's height in pixels at 96 dpi, and that of its lists inside it.
constexpr int BarHeight = 26;
constexpr int ListHeight = BarHeight - 4;
constexpr int MinFontSize = 8;
constexpr int MaxFontSize = 999;

QIcon ColorSwatch(TColor color)
{
    QPixmap swatch(12, 12);
    swatch.fill(ToQColor(color));
    QPainter painter(&swatch);
    painter.setPen(Qt::darkGray);
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    return QIcon(swatch);
}

} // namespace

FormattingBar::FormattingBar(QWidget *parent) : QToolBar(parent)
{
    setWindowTitle(tr("Formatting"));
    setIconSize(QSize(IconSide, IconSide));
    setMovable(false);
    setFloatable(false);
    setFixedHeight(BarHeight);
    layout()->setContentsMargins(2, 0, 2, 0);
    CreateFontControls();
    for (QComboBox *list : {static_cast<QComboBox *>(m_fontName), m_fontSize, m_fontColor})
        list->setFixedHeight(ListHeight);
    addSeparator();
    CreateStyleActions();
    addSeparator();
    CreateAlignmentActions();
    addSeparator();
    CreateClipboardActions();
    setEnabled(false);
    m_focusConnection = connect(qApp, &QApplication::focusChanged, this,
                                [this](QWidget *, QWidget *now) { OnFocusChanged(now); });
}

FormattingBar::~FormattingBar()
{
    disconnect(m_focusConnection);
    for (const QMetaObject::Connection &connection : std::as_const(m_editorConnections))
        disconnect(connection);
}

const QList<int> &FormattingBar::FontSizes()
{
    static const QList<int> sizes = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
    return sizes;
}

void FormattingBar::CreateFontControls()
{
    m_fontName = new QFontComboBox(this);
    m_fontName->setToolTip(tr("Font"));
    m_fontName->setAccessibleName(tr("Font"));
    m_fontName->setFocusPolicy(Qt::ClickFocus);
    m_fontName->setInsertPolicy(QComboBox::NoInsert);
    // Long face names would push the buttons off the bar.
    m_fontName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_fontName->setMinimumContentsLength(14);
    m_fontName->lineEdit()->setAccessibleName(tr("Font"));
    addWidget(m_fontName);
    connect(m_fontName, &QComboBox::textActivated, this, &FormattingBar::ApplyFontName);
    connect(m_fontName->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { ApplyFontName(m_fontName->currentText()); });

    m_fontSize = new QComboBox(this);
    m_fontSize->setToolTip(tr("Font size"));
    m_fontSize->setAccessibleName(tr("Font size"));
    m_fontSize->setFocusPolicy(Qt::ClickFocus);
    m_fontSize->setEditable(true);
    m_fontSize->setInsertPolicy(QComboBox::NoInsert);
    m_fontSize->lineEdit()->setAccessibleName(tr("Font size"));
    m_fontSize->setValidator(new QIntValidator(MinFontSize, MaxFontSize, m_fontSize));
    for (const int size : FontSizes())
        m_fontSize->addItem(QString::number(size));
    m_fontSize->setMinimumContentsLength(3);
    addWidget(m_fontSize);
    connect(m_fontSize, &QComboBox::textActivated, this, &FormattingBar::ApplyFontSize);
    connect(m_fontSize->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { ApplyFontSize(m_fontSize->currentText()); });

    m_fontColor = new QComboBox(this);
    m_fontColor->setToolTip(tr("Font colour"));
    m_fontColor->setAccessibleName(tr("Font colour"));
    m_fontColor->setFocusPolicy(Qt::ClickFocus);
    for (int i = 0; i < TextColorTable::Count; ++i)
        m_fontColor->addItem(ColorSwatch(TextColorTable::ColorAt(i)), TextColorTable::NameAt(i));
    addWidget(m_fontColor);
    connect(m_fontColor, &QComboBox::activated, this, &FormattingBar::ApplyColor);
}

QAction *FormattingBar::AddAction(const QString &glyph, const QString &hint,
                                  const QString &accessibleName)
{
    QAction *action = addAction(ButtonGlyph(glyph), hint);
    action->setToolTip(hint);
    // The buttons show only their glyphs; the reader says what they do.
    if (QWidget *button = widgetForAction(action))
        button->setAccessibleName(accessibleName);
    return action;
}

void FormattingBar::CreateStyleActions()
{
    m_bold = AddAction(QStringLiteral("format-text-bold"), tr("Bold"), tr("Bold"));
    m_italic = AddAction(QStringLiteral("format-text-italic"), tr("Italic"), tr("Italic"));
    m_underline =
        AddAction(QStringLiteral("format-text-underline"), tr("Underline"), tr("Underline"));
    m_bold->setShortcut(QKeySequence::Bold);
    m_italic->setShortcut(QKeySequence::Italic);
    m_underline->setShortcut(QKeySequence::Underline);
    for (QAction *action : {m_bold, m_italic, m_underline})
        action->setCheckable(true);
    connect(m_bold, &QAction::triggered, this, [this](bool on) {
        if (m_editor)
            m_editor->SetCurrentBold(on);
    });
    connect(m_italic, &QAction::triggered, this, [this](bool on) {
        if (m_editor)
            m_editor->SetCurrentItalic(on);
    });
    connect(m_underline, &QAction::triggered, this, [this](bool on) {
        if (m_editor)
            m_editor->SetCurrentUnderline(on);
    });
}

void FormattingBar::CreateAlignmentActions()
{
    m_alignment = new QActionGroup(this);
    m_alignment->setExclusive(true);
    const std::tuple<QAction **, QString, QString, QString, Qt::Alignment> alignments[] = {
        {&m_alignLeft, QStringLiteral("format-justify-left"), tr("Left"), tr("Align left"),
         Qt::AlignLeft},
        {&m_alignCenter, QStringLiteral("format-justify-center"), tr("Center"), tr("Center"),
         Qt::AlignHCenter},
        {&m_alignRight, QStringLiteral("format-justify-right"), tr("Right"), tr("Align right"),
         Qt::AlignRight}};
    for (const auto &[slot, glyph, hint, accessibleName, alignment] : alignments) {
        QAction *action = AddAction(glyph, hint, accessibleName);
        action->setCheckable(true);
        action->setData(int(alignment));
        m_alignment->addAction(action);
        *slot = action;
    }
    m_alignLeft->setChecked(true);
    connect(m_alignment, &QActionGroup::triggered, this, &FormattingBar::ApplyAlignment);
}

void FormattingBar::CreateClipboardActions()
{
    m_copy = AddAction(QStringLiteral("edit-copy"), tr("Copy"), tr("Copy"));
    m_cut = AddAction(QStringLiteral("edit-cut"), tr("Cut"), tr("Cut"));
    m_paste = AddAction(QStringLiteral("edit-paste"), tr("Paste"), tr("Paste"));
    m_selectAll = AddAction(QStringLiteral("edit-select-all"), tr("Select All"), tr("Select all"));
    connect(m_copy, &QAction::triggered, this, [this] {
        if (m_editor)
            m_editor->copy();
    });
    connect(m_cut, &QAction::triggered, this, [this] {
        if (m_editor)
            m_editor->cut();
    });
    connect(m_paste, &QAction::triggered, this, [this] {
        if (m_editor)
            m_editor->paste();
    });
    connect(m_selectAll, &QAction::triggered, this, [this] {
        if (m_editor)
            m_editor->selectAll();
    });
}

void FormattingBar::RegisterEditor(NoteEditor *editor)
{
    if (!editor || m_registered.contains(editor))
        return;
    m_registered.append(editor);
    if (editor->hasFocus())
        Bind(editor);
}

void FormattingBar::UnregisterEditor(NoteEditor *editor)
{
    m_registered.removeAll(editor);
    if (editor && editor == m_editor)
        Bind(nullptr);
}

NoteEditor *FormattingBar::RegisteredEditorOf(QWidget *widget) const
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        for (const QPointer<NoteEditor> &editor : m_registered) {
            if (editor == w)
                return editor;
        }
    }
    return nullptr;
}

bool FormattingBar::IsInBar(QWidget *widget) const
{
    // The lists' pop-ups are windows of their own, so walk every parent.
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (w == this)
            return true;
    }
    return false;
}

void FormattingBar::OnFocusChanged(QWidget *now)
{
    if (NoteEditor *editor = RegisteredEditorOf(now))
        Bind(editor);
    else if (!IsInBar(now) || !m_editor)
        Bind(nullptr);
}

void FormattingBar::Bind(NoteEditor *editor)
{
    if (editor == m_editor && (editor != nullptr) == isEnabled())
        return;
    for (const QMetaObject::Connection &connection : std::as_const(m_editorConnections))
        disconnect(connection);
    m_editorConnections.clear();
    m_editor = editor;
    if (editor) {
        m_editorConnections = {
            connect(editor, &NoteEditor::currentAttributesChanged, this, &FormattingBar::Refresh),
            connect(editor, &QTextEdit::copyAvailable, this, &FormattingBar::Refresh),
            connect(editor, &QObject::destroyed, this, [this] { Bind(nullptr); })};
    }
    setEnabled(editor != nullptr);
    Refresh();
    Q_EMIT editorChanged(editor);
}

void FormattingBar::Refresh()
{
    if (!m_editor)
        return;
    const FontSpec font = m_editor->CurrentAttributes();
    {
        const QSignalBlocker blockName(m_fontName);
        const int nameIndex = m_fontName->findText(font.Name(), Qt::MatchFixedString);
        if (nameIndex >= 0)
            m_fontName->setCurrentIndex(nameIndex);
        m_fontName->setEditText(font.Name());
    }
    {
        const QSignalBlocker blockSize(m_fontSize);
        const QString size = QString::number(font.Size());
        m_fontSize->setCurrentIndex(m_fontSize->findText(size));
        m_fontSize->setEditText(size);
    }
    {
        const QSignalBlocker blockColor(m_fontColor);
        m_fontColor->setCurrentIndex(TextColorTable::IndexOf(font.Color()));
    }
    m_bold->setChecked(font.Bold());
    m_italic->setChecked(font.Italic());
    m_underline->setChecked(font.Underline());
    const Qt::Alignment alignment = m_editor->alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        m_alignCenter->setChecked(true);
    else if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        m_alignRight->setChecked(true);
    else
        m_alignLeft->setChecked(true);
    const bool selection = m_editor->textCursor().hasSelection();
    m_copy->setEnabled(selection);
    m_cut->setEnabled(selection && !m_editor->isReadOnly());
    m_paste->setEnabled(!m_editor->isReadOnly());
}

void FormattingBar::ReturnFocus()
{
    if (m_editor)
        m_editor->setFocus(Qt::OtherFocusReason);
}

void FormattingBar::ApplyFontName(const QString &name)
{
    if (m_editor)
        m_editor->SetCurrentFontName(name);
    ReturnFocus();
}

void FormattingBar::ApplyFontSize(const QString &text)
{
    bool ok = false;
    const int size = text.trimmed().toInt(&ok);
    if (m_editor && ok && size >= MinFontSize && size <= MaxFontSize)
        m_editor->SetCurrentFontSize(size);
    else
        Refresh();
    ReturnFocus();
}

void FormattingBar::ApplyColor(int index)
{
    if (m_editor)
        m_editor->SetCurrentColorIndex(index);
    ReturnFocus();
}

void FormattingBar::ApplyAlignment(QAction *action)
{
    if (!m_editor)
        return;
    m_editor->setAlignment(Qt::Alignment(action->data().toInt()));
    Refresh();
}

} // namespace Dayloom
