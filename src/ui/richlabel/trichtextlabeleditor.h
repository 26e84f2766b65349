#pragma once

#include <QByteArray>
#include <QDialog>
#include <QSize>

#include <functional>
#include <optional>

class QScrollArea;
class QToolButton;

namespace Dayloom {

class FormattingBar;
class NoteEditor;
class TGPRichBaseLabel;
class TGraphicPanel;

// "Rich Text Editor": edits the text of one rich text label.
//
// The editor (WPRichText1) fills a panel (WPPanel) the size of the label as
// shown plus one pixel, in the label's background colour when the label is
// opaque. Its page is the label's size at zoom 1 in twips with no margins,
// laid out the way the label draws (see NoteEditor::SetPageUnzoomed), so
// its lines break exactly where the label's do; only the shown size follows
// the zoom. The formatting bar (WPToolBar1) is the main window's bar; the
// zoom buttons sit on it and step the zoom by 10 between 50 and 100 percent
// only, resizing the panel in proportion. Ok (accept) keeps the text for
// RTFText(); Cancel drops it.
class TRichTextLabelEditor : public QDialog
{
    Q_OBJECT

public:
    static constexpr int HelpContext = 40013;
    static constexpr int MinZoomPercent = 50;
    static constexpr int MaxZoomPercent = 100;
    static constexpr int ZoomStep = 10;

    // `showHelp` opens the manual at a topic (none: Help does nothing).
    explicit TRichTextLabelEditor(QWidget *parent = nullptr,
                                  std::function<void(QWidget *, int)> showHelp = {});
    ~TRichTextLabelEditor() override;

    // The label's text, background, size and zoom.
    void LoadFrom(const TGPRichBaseLabel &label);
    // The edited text as RTF (once Ok was accepted, the text it took).
    QByteArray RTFText() const;

    // Ok with a text too large for a label (TGPRichBaseLabel::MaxRtfSize)
    // says so and keeps the editor open.
    void done(int result) override;

    NoteEditor *Editor() const { return m_editor; }
    QWidget *Panel() const { return m_panel; }
    FormattingBar *ToolBar() const { return m_toolBar; }
    QToolButton *ZoomPlusButton() const { return m_zoomPlus; }
    QToolButton *ZoomMinusButton() const { return m_zoomMinus; }
    TGraphicPanel *ZoomCaption() const { return m_zoomCaption; }
    int ZoomPercent() const;

    // 601 x 343, or wider when the formatting bar needs more room to show
    // every control.
    QSize sizeHint() const override;

    // "Zoom In": nothing at 100 percent or more, else 10 more.
    void ZoomIn();
    // "Zoom Out": nothing at 50 percent or less, else 10 less.
    void ZoomOut();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildControls();
    void Activate();
    void ApplyZoom(int percent);
    void ShowZoom();

    std::function<void(QWidget *, int)> m_showHelp;
    FormattingBar *m_toolBar = nullptr;
    QToolButton *m_zoomMinus = nullptr;
    QToolButton *m_zoomPlus = nullptr;
    TGraphicPanel *m_zoomCaption = nullptr;
    QScrollArea *m_scrollBox = nullptr;
    QWidget *m_sheet = nullptr; // what the scroll box scrolls
    QWidget *m_panel = nullptr;
    NoteEditor *m_editor = nullptr;
    bool m_activated = false;
    std::optional<QByteArray> m_acceptedText; // the text Ok took
    QSize m_startPanel;                       // W0 x H0
    int m_startZoom = 100;                    // Z0
};

} // namespace Dayloom
