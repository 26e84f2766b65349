#include "ui/label/tgfont3deffects.h"

#include "ui/common/colorlistcombo.h"
#include "ui/common/okcancelhelp.h"
#include "ui/label/labelpreview.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace Dayloom {

namespace {
constexpr int PreviewWidth = 260;
constexpr int PreviewHeight = 90;

QComboBox *List(const QString &name, const QStringList &items, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(items);
    return combo;
}

QStringList DepthItems()
{
    QStringList items;
    for (int depth = 0; depth <= TGFont3DEffects::MaxListDepth; ++depth)
        items.append(QString::number(depth));
    return items;
}
} // namespace

const QStringList &TGFont3DEffects::ShadowDirectionNames()
{
    static const QStringList names = {QStringLiteral("None"),       QStringLiteral("Right"),
                                      QStringLiteral("Left"),       QStringLiteral("Lower Right"),
                                      QStringLiteral("Lower Left"), QStringLiteral("Down")};
    return names;
}

const QStringList &TGFont3DEffects::HighlightDirectionNames()
{
    static const QStringList names = {QStringLiteral("None"),       QStringLiteral("Right"),
                                      QStringLiteral("Left"),       QStringLiteral("Upper Right"),
                                      QStringLiteral("Upper Left"), QStringLiteral("Up")};
    return names;
}

TGFont3DEffects::TGFont3DEffects(const TGBaseLabel &label, QWidget *parent,
                                 std::function<void(QWidget *, int)> showHelp)
    : QDialog(parent), m_showHelp(std::move(showHelp))
{
    setObjectName(QStringLiteral("GFont3DEffects"));
    setWindowTitle(QStringLiteral("Text 3D Effects"));

    // The sample: "Text", transparent, with the label's font and effects.
    m_preview.SetCaption(QStringLiteral("Text"));
    m_preview.SetTransparent(true);
    m_preview.SetFont(label.Font());
    m_preview.SetDepthHighlight(label.DepthHighlight());
    m_preview.SetDepthShadow(label.DepthShadow());
    m_preview.SetDirectionHighlight(label.DirectionHighlight());
    m_preview.SetDirectionShadow(label.DirectionShadow());
    m_preview.SetcolorHighlight(label.colorHighlight());
    m_preview.SetcolorShadow(label.colorShadow());
    m_preview.SetBounds(QRect(0, 0, PreviewWidth, PreviewHeight));

    auto *layout = new QVBoxLayout(this);
    m_previewPanel = new LabelPreview(&m_preview, this);
    m_previewPanel->setObjectName(QStringLiteral("PreviewPanel"));
    m_previewPanel->setFixedSize(PreviewWidth, PreviewHeight);
    m_previewPanel->setAccessibleName(QStringLiteral("Sample"));
    layout->addWidget(m_previewPanel, 0, Qt::AlignHCenter);

    auto *groups = new QHBoxLayout;
    auto *shadowGroup = new QGroupBox(QStringLiteral("Shadow"), this);
    auto *shadowForm = new QFormLayout(shadowGroup);
    m_shadowDirection =
        List(QStringLiteral("ShadowDirection"), ShadowDirectionNames(), shadowGroup);
    m_shadowDepth = List(QStringLiteral("ShadowDepth"), DepthItems(), shadowGroup);
    m_shadowColor = new ColorListCombo(shadowGroup);
    m_shadowColor->setObjectName(QStringLiteral("ShadowColor"));
    shadowForm->addRow(QStringLiteral("Shadow &Direction"), m_shadowDirection);
    shadowForm->addRow(QStringLiteral("Shadow D&epth"), m_shadowDepth);
    shadowForm->addRow(QStringLiteral("Shadow &Color"), m_shadowColor);
    auto *highlightGroup = new QGroupBox(QStringLiteral("Highlight"), this);
    auto *highlightForm = new QFormLayout(highlightGroup);
    m_highlightDirection =
        List(QStringLiteral("HighlightDirection"), HighlightDirectionNames(), highlightGroup);
    m_highlightDepth = List(QStringLiteral("HighlightDepth"), DepthItems(), highlightGroup);
    m_highlightColor = new ColorListCombo(highlightGroup);
    m_highlightColor->setObjectName(QStringLiteral("HighlightColor"));
    highlightForm->addRow(QStringLiteral("&Highlight Direction"), m_highlightDirection);
    highlightForm->addRow(QStringLiteral("Highlight De&pth"), m_highlightDepth);
    highlightForm->addRow(QStringLiteral("Highlight C&olor"), m_highlightColor);
    groups->addWidget(shadowGroup);
    groups->addWidget(highlightGroup);
    layout->addLayout(groups);

    auto *fontRow = new QFormLayout;
    m_fontColor = new ColorListCombo(this);
    m_fontColor->setObjectName(QStringLiteral("FontColor"));
    fontRow->addRow(QStringLiteral("&Font Color"), m_fontColor);
    layout->addLayout(fontRow);

    auto *buttons = new QHBoxLayout;
    auto *whatsThis = new QPushButton(QStringLiteral("?"), this);
    whatsThis->setObjectName(QStringLiteral("WhatsThisButton"));
    whatsThis->setAccessibleName(QStringLiteral("What's this?"));
    whatsThis->setAutoDefault(false);
    buttons->addWidget(whatsThis);
    buttons->addStretch(1);
    OkCancelHelp::AddTo(*this, *buttons, [this] {
        if (m_showHelp)
            m_showHelp(this, HelpTopic);
    });
    layout->addLayout(buttons);
    connect(whatsThis, &QPushButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });

    LoadControls();
    // Each list changes the sample at once; depths by index.
    const auto activated = &QComboBox::currentIndexChanged;
    connect(m_shadowDirection, activated, this, [this](int index) {
        m_preview.SetDirectionShadow(static_cast<TShadowDirection>(index));
        Changed();
    });
    connect(m_shadowDepth, activated, this, [this](int index) {
        m_preview.SetDepthShadow(index);
        Changed();
    });
    connect(m_highlightDirection, activated, this, [this](int index) {
        m_preview.SetDirectionHighlight(static_cast<THighlightDirection>(index));
        Changed();
    });
    connect(m_highlightDepth, activated, this, [this](int index) {
        m_preview.SetDepthHighlight(index);
        Changed();
    });
    connect(m_shadowColor, &ColorListCombo::colorChanged, this, [this](TColor color) {
        m_preview.SetcolorShadow(color);
        Changed();
    });
    connect(m_highlightColor, &ColorListCombo::colorChanged, this, [this](TColor color) {
        m_preview.SetcolorHighlight(color);
        Changed();
    });
    connect(m_fontColor, &ColorListCombo::colorChanged, this, [this](TColor color) {
        FontSpec font = m_preview.Font();
        font.SetColor(color);
        m_preview.SetFont(font);
        Changed();
    });
}

void TGFont3DEffects::LoadControls()
{
    m_shadowDirection->setCurrentIndex(m_preview.DirectionShadow());
    // A depth beyond the list shows no entry and stays as it is.
    m_shadowDepth->setCurrentIndex(m_preview.DepthShadow() >= 0 &&
                                           m_preview.DepthShadow() <= MaxListDepth
                                       ? m_preview.DepthShadow()
                                       : -1);
    m_shadowColor->SetColor(m_preview.colorShadow());
    m_highlightDirection->setCurrentIndex(m_preview.DirectionHighlight());
    m_highlightDepth->setCurrentIndex(m_preview.DepthHighlight() >= 0 &&
                                              m_preview.DepthHighlight() <= MaxListDepth
                                          ? m_preview.DepthHighlight()
                                          : -1);
    m_highlightColor->SetColor(m_preview.colorHighlight());
    m_fontColor->SetColor(m_preview.Font().Color());
}

void TGFont3DEffects::Changed()
{
    // The sample keeps the panel's size whatever its last layout made of it.
    m_preview.SetBounds(QRect(0, 0, PreviewWidth, PreviewHeight));
    m_previewPanel->update();
}

void TGFont3DEffects::CopyTo(TGBaseLabel &label) const
{
    label.TakeEffects(m_preview);
}

void TGFont3DEffects::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QWidget *main = parentWidget() ? parentWidget()->window() : nullptr;
    if (main && main != this) {
        const QRect area = main->frameGeometry();
        move(area.left() + (area.width() - frameGeometry().width()) / 2,
             area.top() + (area.height() - frameGeometry().height()) / 2);
    }
}

} // namespace Dayloom
