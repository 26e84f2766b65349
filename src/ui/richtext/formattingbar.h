#pragma once

#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QToolBar>

class QActionGroup;
class QComboBox;
class QFontComboBox;

namespace Dayloom {

class NoteEditor;

// The formatting bar of note editors: font name, size and colour, bold,
// italic, underline, paragraph alignment, copy, cut, paste and select all.
//
// It works on whichever registered editor has the keyboard focus, shows that
// editor's current attributes as its cursor moves, and is disabled while no
// registered editor has the focus. Focus moving into the bar itself (its
// lists) keeps the binding; after a choice from a list the focus goes back
// to the editor. Registered editors are not owned.
class FormattingBar : public QToolBar
{
    Q_OBJECT

public:
    explicit FormattingBar(QWidget *parent = nullptr);
    ~FormattingBar() override;

    void RegisterEditor(NoteEditor *editor);
    void UnregisterEditor(NoteEditor *editor);
    // The editor the bar works on; null while none has the focus.
    NoteEditor *Editor() const { return m_editor; }

    // The sizes offered, in points, smallest first.
    static const QList<int> &FontSizes();

    QFontComboBox *FontNameBox() const { return m_fontName; }
    QComboBox *FontSizeBox() const { return m_fontSize; }
    QComboBox *FontColorBox() const { return m_fontColor; }
    QAction *BoldAction() const { return m_bold; }
    QAction *ItalicAction() const { return m_italic; }
    QAction *UnderlineAction() const { return m_underline; }
    QAction *AlignLeftAction() const { return m_alignLeft; }
    QAction *AlignCenterAction() const { return m_alignCenter; }
    QAction *AlignRightAction() const { return m_alignRight; }
    QAction *CopyAction() const { return m_copy; }
    QAction *CutAction() const { return m_cut; }
    QAction *PasteAction() const { return m_paste; }
    QAction *SelectAllAction() const { return m_selectAll; }

Q_SIGNALS:
    // The bar now works on another editor (null: none, the bar is disabled).
    void editorChanged(Dayloom::NoteEditor *editor);

private:
    void CreateFontControls();
    void CreateStyleActions();
    void CreateAlignmentActions();
    void CreateClipboardActions();
    QAction *AddAction(const QString &glyph, const QString &hint, const QString &accessibleName);

    void OnFocusChanged(QWidget *now);
    NoteEditor *RegisteredEditorOf(QWidget *widget) const;
    bool IsInBar(QWidget *widget) const;
    void Bind(NoteEditor *editor);
    void Refresh();
    void ReturnFocus();

    void ApplyFontName(const QString &name);
    void ApplyFontSize(const QString &text);
    void ApplyColor(int index);
    void ApplyAlignment(QAction *action);

    QList<QPointer<NoteEditor>> m_registered;
    QPointer<NoteEditor> m_editor;
    QList<QMetaObject::Connection> m_editorConnections;
    QMetaObject::Connection m_focusConnection;

    QFontComboBox *m_fontName = nullptr;
    QComboBox *m_fontSize = nullptr;
    QComboBox *m_fontColor = nullptr;
    QAction *m_bold = nullptr;
    QAction *m_italic = nullptr;
    QAction *m_underline = nullptr;
    QActionGroup *m_alignment = nullptr;
    QAction *m_alignLeft = nullptr;
    QAction *m_alignCenter = nullptr;
    QAction *m_alignRight = nullptr;
    QAction *m_copy = nullptr;
    QAction *m_cut = nullptr;
    QAction *m_paste = nullptr;
    QAction *m_selectAll = nullptr;
};

} // namespace Dayloom
