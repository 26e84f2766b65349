#include "ui/richlabel/trichtextlabeleditor.h"

#include "core/common/tcolor.h"
#include "core/objects/richlabel/tgprichbaselabel.h"
#include "core/richtext/twprtfstorage.h"
#include "ui/app/uihelpers.h"
#include "ui/common/okcancelhelp.h"
#include "ui/common/tgraphicpanel.h"
#include "ui/glyphs/buttonglyph.h"
#include "ui/richtext/formattingbar.h"
#include "ui/richtext/noteeditor.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace Dayloom {

namespace {
constexpr int PanelMargin = 8; // round the panel inside the scroll box

QString TooLargeMessage(qsizetype bytes)
{
    constexpr double Megabyte = 1024.0 * 1024.0;
    return QStringLiteral("This text is too large for a rich text label: it takes %1 MB, and a "
                          "label holds at most %2 MB. Remove some of it, or use smaller "
                          "pictures.")
        .arg(bytes / Megabyte, 0, 'f', 1)
        .arg(TGPRichBaseLabel::MaxRtfSize / Megabyte, 0, 'f', 0);
}
} // namespace

TRichTextLabelEditor::TRichTextLabelEditor(QWidget *parent,
                                           std::function<void(QWidget *, int)> showHelp)
    : QDialog(parent), m_showHelp(std::move(showHelp))
{
    setObjectName(QStringLiteral("TRichTextLabelEditor"));
    setWindowTitle(QStringLiteral("Rich Text Editor"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    BuildControls();
    resize(sizeHint());
}

QSize TRichTextLabelEditor::sizeHint() const
{
    return QSize(std::max(601, QDialog::sizeHint().width()), 343);
}

TRichTextLabelEditor::~TRichTextLabelEditor()
{
    // The bar must not follow the focus into an editor being destroyed.
    m_toolBar->UnregisterEditor(m_editor);
}

void TRichTextLabelEditor::BuildControls()
{
    m_toolBar = new FormattingBar(this);
    m_toolBar->setObjectName(QStringLiteral("WPToolBar1"));

    // The zoom buttons and their caption plate live on the bar.
    m_toolBar->addSeparator();
    m_zoomMinus = new QToolButton(m_toolBar);
    m_zoomMinus->setObjectName(QStringLiteral("ZoomMinusButton"));
    m_zoomMinus->setText(QStringLiteral("-"));
    m_zoomMinus->setIcon(ButtonGlyph(QStringLiteral("zoom-out")));
    m_zoomMinus->setToolTip(QStringLiteral("Zoom Out"));
    m_zoomMinus->setAccessibleName(QStringLiteral("Zoom Out"));
    m_zoomMinus->setFocusPolicy(Qt::NoFocus);
    m_toolBar->addWidget(m_zoomMinus);
    m_zoomCaption = new TGraphicPanel(m_toolBar);
    m_zoomCaption->setObjectName(QStringLiteral("ZoomCaption"));
    m_zoomCaption->setMinimumWidth(48);
    m_toolBar->addWidget(m_zoomCaption);
    m_zoomPlus = new QToolButton(m_toolBar);
    m_zoomPlus->setObjectName(QStringLiteral("ZoomPlusButton"));
    m_zoomPlus->setText(QStringLiteral("+"));
    m_zoomPlus->setIcon(ButtonGlyph(QStringLiteral("zoom-in")));
    m_zoomPlus->setToolTip(QStringLiteral("Zoom In"));
    m_zoomPlus->setAccessibleName(QStringLiteral("Zoom In"));
    m_zoomPlus->setFocusPolicy(Qt::NoFocus);
    m_toolBar->addWidget(m_zoomPlus);

    m_scrollBox = new QScrollArea(this);
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setWidgetResizable(false);
    m_scrollBox->setBackgroundRole(QPalette::Dark);
    m_sheet = new QWidget;
    m_panel = new QWidget(m_sheet);
    m_panel->setObjectName(QStringLiteral("WPPanel"));
    m_panel->setAutoFillBackground(true);
    m_panel->move(PanelMargin, PanelMargin);
    m_panel->hide();
    m_editor = new NoteEditor(m_panel);
    m_editor->setObjectName(QStringLiteral("WPRichText1"));
    m_editor->setAccessibleName(QStringLiteral("Rich text"));
    m_editor->SetPageUnzoomed(true);
    auto *panelLayout = new QVBoxLayout(m_panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(m_editor);
    m_scrollBox->setWidget(m_sheet);
    m_toolBar->RegisterEditor(m_editor);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    const OkCancelHelp row = OkCancelHelp::AddTo(*this, *buttons, [this] {
        if (m_showHelp)
            m_showHelp(this, HelpContext);
    });
    // Return belongs to the text: no button takes it.
    row.ok->setDefault(false);
    row.ok->setAutoDefault(false);
    row.cancel->setAutoDefault(false);
    row.ok->setWhatsThis(QStringLiteral("Puts the text on the label."));
    row.cancel->setWhatsThis(QStringLiteral("Closes the editor; the label keeps its text."));
    row.help->setWhatsThis(QStringLiteral("Opens the manual at rich text labels."));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_scrollBox, 1);
    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(6, 0, 6, 0);
    bottom->addLayout(buttons);
    layout->addLayout(bottom);

    connect(m_zoomPlus, &QToolButton::clicked, this, &TRichTextLabelEditor::ZoomIn);
    connect(m_zoomMinus, &QToolButton::clicked, this, &TRichTextLabelEditor::ZoomOut);
    ShowZoom();
}

void TRichTextLabelEditor::LoadFrom(const TGPRichBaseLabel &label)
{
    TWPRtfStorage text;
    text.SetRtfText(label.RTFText());
    m_editor->LoadFrom(text);
    QPalette colors = m_editor->palette();
    const QColor background = label.Transparent() ? QColor(Qt::white) : ToQColor(label.BGColor());
    colors.setColor(QPalette::Base, background);
    colors.setColor(QPalette::Window, background);
    m_editor->setPalette(colors);
    m_panel->setPalette(colors);
    // The page at zoom 1, as the label draws it; shown at the label's zoom.
    const QSize twips = label.PageSizeTwips();
    m_editor->SetPageSizeTwips(QSize(std::max(twips.width(), NoteEditor::TwipsPerPixel),
                                     std::max(twips.height(), NoteEditor::TwipsPerPixel)));
    m_editor->SetZoomPercent(static_cast<int>(std::lround(label.Zoom() * 100.0)));
    const QRect shown = label.ScaledBounds();
    m_panel->resize(shown.width() + 1, shown.height() + 1);
    m_sheet->resize(m_panel->width() + 2 * PanelMargin, m_panel->height() + 2 * PanelMargin);
    ShowZoom();
}

QByteArray TRichTextLabelEditor::RTFText() const
{
    if (m_acceptedText)
        return *m_acceptedText;
    TWPRtfStorage text;
    m_editor->StoreTo(text);
    return text.RtfText();
}

void TRichTextLabelEditor::done(int result)
{
    if (result == QDialog::Accepted) {
        QByteArray text = RTFText();
        if (text.size() > TGPRichBaseLabel::MaxRtfSize) {
            ShowInformation(this, TooLargeMessage(text.size()));
            m_editor->setFocus();
            return;
        }
        m_acceptedText = std::move(text);
    }
    QDialog::done(result);
}

int TRichTextLabelEditor::ZoomPercent() const
{
    return m_editor->ZoomPercent();
}

void TRichTextLabelEditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated)
        Activate();
}

void TRichTextLabelEditor::Activate()
{
    m_activated = true;
    m_panel->show();
    m_editor->setFocus();
    QTextCursor start = m_editor->textCursor();
    start.movePosition(QTextCursor::Start);
    m_editor->setTextCursor(start);
    m_startPanel = m_panel->size();
    m_startZoom = m_editor->ZoomPercent();
}

void TRichTextLabelEditor::ZoomIn()
{
    const int zoom = ZoomPercent();
    if (zoom >= MaxZoomPercent)
        return;
    ApplyZoom(zoom + ZoomStep);
}

void TRichTextLabelEditor::ZoomOut()
{
    const int zoom = ZoomPercent();
    if (zoom <= MinZoomPercent)
        return;
    ApplyZoom(zoom - ZoomStep);
}

void TRichTextLabelEditor::ApplyZoom(int percent)
{
    if (!m_activated) {
        m_startPanel = m_panel->size();
        m_startZoom = m_editor->ZoomPercent();
    }
    m_editor->SetZoomPercent(percent);
    const double scale = double(m_editor->ZoomPercent()) / std::max(1, m_startZoom);
    m_panel->resize(int(std::lround(scale * m_startPanel.width())),
                    int(std::lround(scale * m_startPanel.height())));
    m_sheet->resize(m_panel->width() + 2 * PanelMargin, m_panel->height() + 2 * PanelMargin);
    ShowZoom();
    m_editor->setFocus();
}

void TRichTextLabelEditor::ShowZoom()
{
    m_zoomCaption->SetCaption(QString::number(m_editor->ZoomPercent()) + QStringLiteral(" %"));
    m_zoomPlus->setEnabled(m_editor->ZoomPercent() < MaxZoomPercent);
    m_zoomMinus->setEnabled(m_editor->ZoomPercent() > MinZoomPercent);
}

} // namespace Dayloom
