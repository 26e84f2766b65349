#include "ui/supertext/tsupertextproperties.h"

#include "ui/app/uihelpers.h"
#include "ui/common/colorswatchbutton.h"
#include "ui/common/okcancelhelp.h"
#include "ui/supertext/supertextpreview.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace Dayloom {

namespace {

QComboBox *NamedCombo(const QString &name, const QStringList &items, const QString &whatsThis)
{
    auto *combo = new QComboBox;
    combo->setObjectName(name);
    combo->addItems(items);
    combo->setWhatsThis(whatsThis);
    return combo;
}

QSpinBox *NamedSpin(const QString &name, const QString &whatsThis)
{
    auto *spin = new QSpinBox;
    spin->setObjectName(name);
    spin->setRange(0, 10);
    spin->setWhatsThis(whatsThis);
    return spin;
}

ColorSwatchButton *NamedColorButton(const QString &caption, const QString &whatsThis)
{
    auto *button = new ColorSwatchButton(caption);
    button->setObjectName(QString(caption).remove(QLatin1Char(' ')));
    button->setWhatsThis(whatsThis);
    return button;
}

} // namespace

TSuperTextProperties::TSuperTextProperties(QWidget *parent, const SuperTextServices &services)
    : QDialog(parent), m_services(services)
{
    setWindowTitle(QStringLiteral("SuperText Properties"));
    setObjectName(QStringLiteral("SuperTextProperties"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    BuildControls();
    Connect();
    m_fitTimer.setInterval(FitInterval);
    m_fitTimer.start();
    CenterForm(this, parent ? parent->window() : nullptr);
}

TGSuperText &TSuperTextProperties::Preview()
{
    return m_preview->Sample();
}

void TSuperTextProperties::BuildControls()
{
    m_caption = new QLineEdit;
    m_caption->setObjectName(QStringLiteral("CaptionText"));
    m_caption->setWhatsThis(QStringLiteral("The text shown, on one line."));
    m_surfaceType = NamedCombo(QStringLiteral("SurfaceTypeCombo"),
                               {QStringLiteral("Normal"), QStringLiteral("Transparent"),
                                QStringLiteral("Texture"), QStringLiteral("Gradient Fill")},
                               QStringLiteral("How the letters are filled: one colour, nothing "
                                              "(outline only), a picture or a gradient."));

    // The three option panels share one place; one shows at a time.
    m_fillDirection = NamedCombo(QStringLiteral("FillDirectionCombo"),
                                 {QStringLiteral("Up"), QStringLiteral("Down"),
                                  QStringLiteral("Left"), QStringLiteral("Right")},
                                 QStringLiteral("The direction the gradient runs."));
    m_fromColor = NamedColorButton(QStringLiteral("From Color"),
                                   QStringLiteral("The colour the gradient starts with."));
    m_toColor = NamedColorButton(QStringLiteral("To Color"),
                                 QStringLiteral("The colour the gradient ends with."));
    m_gradientPanel = new QWidget;
    m_gradientPanel->setObjectName(QStringLiteral("GradientPanel"));
    auto *gradient = new QFormLayout(m_gradientPanel);
    gradient->addRow(QStringLiteral("Fill &Direction"), m_fillDirection);
    gradient->addRow(m_fromColor);
    gradient->addRow(m_toColor);
    m_loadTexture = new QPushButton(QStringLiteral("Load Texture"));
    m_loadTexture->setObjectName(QStringLiteral("LoadTexture"));
    m_loadTexture->setWhatsThis(QStringLiteral("Chooses the picture tiled into the letters."));
    m_texturePanel = new QWidget;
    m_texturePanel->setObjectName(QStringLiteral("TexturePanel"));
    auto *texture = new QVBoxLayout(m_texturePanel);
    texture->addWidget(m_loadTexture);
    texture->addStretch();
    m_fontColor = NamedColorButton(QStringLiteral("Font Color"),
                                   QStringLiteral("The colour of the letters."));
    m_fontColorPanel = new QWidget;
    m_fontColorPanel->setObjectName(QStringLiteral("FontColorPanel"));
    auto *fontColor = new QVBoxLayout(m_fontColorPanel);
    fontColor->addWidget(m_fontColor);
    fontColor->addStretch();
    m_emptyPanel = new QWidget;
    m_panels = new QStackedWidget;
    m_panels->addWidget(m_gradientPanel);
    m_panels->addWidget(m_texturePanel);
    m_panels->addWidget(m_fontColorPanel);
    m_panels->addWidget(m_emptyPanel);

    m_shadowColor = NamedColorButton(QStringLiteral("Shadow Color"),
                                     QStringLiteral("The colour of the shadow."));
    m_shadowOrientation = NamedCombo(QStringLiteral("ShadowOrientationCombo"),
                                     {QStringLiteral("None"), QStringLiteral("Right"),
                                      QStringLiteral("Left"), QStringLiteral("Down and Right"),
                                      QStringLiteral("Down and Left"), QStringLiteral("Down")},
                                     QStringLiteral("Where the shadow falls."));
    m_shadowDepth = NamedSpin(QStringLiteral("ShadowDepthSpin"),
                              QStringLiteral("How far the shadow falls, in pixels."));
    m_outlineColor = NamedColorButton(QStringLiteral("Outline Color"),
                                      QStringLiteral("The colour of the letters' outline."));
    m_outlineStyle = NamedCombo(QStringLiteral("OutlineStyleCombo"),
                                {QStringLiteral("Solid Line"), QStringLiteral("Dash Line"),
                                 QStringLiteral("Dotted Line"), QStringLiteral("DashDot Line"),
                                 QStringLiteral("DashDotDot Line"), QStringLiteral("Clear")},
                                QStringLiteral("The line of the outline; Clear draws none."));
    m_outlineWidth = NamedSpin(QStringLiteral("OutlineWidthSpin"),
                               QStringLiteral("The width of the outline in pixels; 0 draws none."));
    m_selectFont = new QPushButton(QStringLiteral("Select &Font"));
    m_selectFont->setObjectName(QStringLiteral("SelectFont"));
    m_selectFont->setWhatsThis(QStringLiteral("Chooses the face, size and style of the text."));
    m_selectSymbol = new QPushButton(QStringLiteral("Select S&ymbol"));
    m_selectSymbol->setObjectName(QStringLiteral("SelectSymbol"));
    m_selectSymbol->setWhatsThis(QStringLiteral("Shows a character of a symbol font as the text."));
    m_sizeUp = new QToolButton;
    m_sizeUp->setObjectName(QStringLiteral("FontSizeUp"));
    m_sizeUp->setArrowType(Qt::UpArrow);
    m_sizeUp->setToolTip(QStringLiteral("Larger text"));
    m_sizeUp->setAccessibleName(QStringLiteral("Larger text"));
    m_sizeDown = new QToolButton;
    m_sizeDown->setObjectName(QStringLiteral("FontSizeDown"));
    m_sizeDown->setArrowType(Qt::DownArrow);
    m_sizeDown->setToolTip(QStringLiteral("Smaller text"));
    m_sizeDown->setAccessibleName(QStringLiteral("Smaller text"));

    m_preview = new SuperTextPreview;
    m_preview->setObjectName(QStringLiteral("Preview"));
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("PreviewPanel"));
    scroll->setWidget(m_preview);
    scroll->setBackgroundRole(QPalette::Dark);
    scroll->setMinimumSize(440, 150);

    auto *text = new QHBoxLayout;
    auto *textLabel = new QLabel(QStringLiteral("&Text"));
    textLabel->setBuddy(m_caption);
    text->addWidget(textLabel);
    text->addWidget(m_caption, 1);
    text->addWidget(m_selectFont);
    text->addWidget(m_selectSymbol);
    auto *sizes = new QVBoxLayout;
    sizes->setSpacing(0);
    sizes->addWidget(m_sizeUp);
    sizes->addWidget(m_sizeDown);
    text->addLayout(sizes);

    auto *fill = new QGroupBox(QStringLiteral("Fill"));
    auto *fillLayout = new QFormLayout(fill);
    fillLayout->addRow(QStringLiteral("&Surface Type"), m_surfaceType);
    fillLayout->addRow(m_panels);
    auto *shadow = new QGroupBox(QStringLiteral("Shadow"));
    auto *shadowLayout = new QFormLayout(shadow);
    shadowLayout->addRow(QStringLiteral("Shadow &Orientation"), m_shadowOrientation);
    shadowLayout->addRow(QStringLiteral("Shadow &Depth"), m_shadowDepth);
    shadowLayout->addRow(m_shadowColor);
    auto *outline = new QGroupBox(QStringLiteral("Outline"));
    auto *outlineLayout = new QFormLayout(outline);
    outlineLayout->addRow(QStringLiteral("OutLine St&yle"), m_outlineStyle);
    outlineLayout->addRow(QStringLiteral("Outline &Width"), m_outlineWidth);
    outlineLayout->addRow(m_outlineColor);

    auto *groups = new QHBoxLayout;
    groups->addWidget(fill);
    groups->addWidget(shadow);
    groups->addWidget(outline);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const OkCancelHelp row = OkCancelHelp::AddTo(*this, *buttons, [this] {
        if (m_services.showHelp)
            m_services.showHelp(this, HelpContext);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(text);
    layout->addWidget(scroll, 1);
    layout->addLayout(groups);
    layout->addLayout(buttons);

    // Return anywhere means Ok, not the button that last had the focus.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);
    row.ok->setDefault(true);
}

void TSuperTextProperties::Connect()
{
    connect(m_caption, &QLineEdit::textChanged, this, [this](const QString &text) {
        Preview().SetCaption(text);
        m_captionChanged = true;
    });
    connect(&m_fitTimer, &QTimer::timeout, this, [this] {
        if (!m_captionChanged)
            return;
        m_fitTimer.stop();
        Fit();
        ++m_fitCount;
        m_captionChanged = false;
        m_fitTimer.start();
    });
    connect(m_surfaceType, &QComboBox::currentIndexChanged, this,
            &TSuperTextProperties::SurfaceTypeChosen);
    connect(m_fillDirection, &QComboBox::currentIndexChanged, this,
            [this](int index) { Preview().SetFillDirection(TGSuperText::TFillDirection(index)); });
    connect(m_shadowOrientation, &QComboBox::currentIndexChanged, this, [this](int index) {
        Preview().SetShadowOrientation(TGSuperText::TShadowOrientation(index));
        Fit();
    });
    connect(m_shadowDepth, &QSpinBox::valueChanged, this, [this](int depth) {
        Preview().SetShadowDepth(depth);
        Fit();
    });
    connect(m_outlineStyle, &QComboBox::currentIndexChanged, this,
            [this](int index) { Preview().SetOutlineStyle(TGSuperText::TPenStyle(index)); });
    connect(m_outlineWidth, &QSpinBox::valueChanged, this,
            [this](int width) { Preview().SetOutlineWidth(width); });
    connect(m_fromColor, &QPushButton::clicked, this, [this] {
        ChooseColor(m_fromColor, QStringLiteral("From Color"),
                    [this](TColor c) { Preview().SetGradientFromColor(c); });
    });
    connect(m_toColor, &QPushButton::clicked, this, [this] {
        ChooseColor(m_toColor, QStringLiteral("To Color"),
                    [this](TColor c) { Preview().SetGradientToColor(c); });
    });
    connect(m_fontColor, &QPushButton::clicked, this, [this] {
        ChooseColor(m_fontColor, QStringLiteral("Font Color"), [this](TColor c) {
            FontSpec font = Preview().Font();
            font.SetColor(c);
            Preview().SetFont(font);
        });
    });
    connect(m_shadowColor, &QPushButton::clicked, this, [this] {
        ChooseColor(m_shadowColor, QStringLiteral("Shadow Color"),
                    [this](TColor c) { Preview().SetShadowcolor(c); });
    });
    connect(m_outlineColor, &QPushButton::clicked, this, [this] {
        ChooseColor(m_outlineColor, QStringLiteral("Outline Color"),
                    [this](TColor c) { Preview().SetOutlineColor(c); });
    });
    connect(m_selectFont, &QPushButton::clicked, this, &TSuperTextProperties::ChooseFont);
    connect(m_selectSymbol, &QPushButton::clicked, this, &TSuperTextProperties::SelectSymbol);
    connect(m_loadTexture, &QPushButton::clicked, this, &TSuperTextProperties::LoadTexture);
    connect(m_sizeUp, &QToolButton::clicked, this, [this] { ChangeFontSize(SizeStep); });
    connect(m_sizeDown, &QToolButton::clicked, this, [this] { ChangeFontSize(-SizeStep); });
}

void TSuperTextProperties::CopyLook(const TGSuperText &source, TGSuperText &preview)
{
    preview.SetCaption(source.Caption());
    preview.SetFont(source.Font());
    preview.SetControlTransparent(source.ControlTransparent());
    preview.SetBGColor(source.BGColor());
    preview.SetBorderStyle(source.BorderStyle());
    preview.SetGradientFromColor(source.GradientFromColor());
    preview.SetFillDirection(source.FillDirection());
    preview.SetGradientToColor(source.GradientToColor());
    // The fill before the picture: any fill but Texture drops the picture.
    preview.SetSurfaceType(source.SurfaceType());
    preview.SetImageBitmapData(source.ImageBitmapData());
    preview.SetOutlineColor(source.OutlineColor());
    preview.SetOutlineStyle(source.OutlineStyle());
    preview.SetOutlineWidth(source.OutlineWidth());
    preview.SetShadowcolor(source.Shadowcolor());
    preview.SetShadowDepth(source.ShadowDepth());
    preview.SetShadowOrientation(source.ShadowOrientation());
    preview.SetBounds(QRect(QPoint(0, 0), source.Bounds().size()));
    preview.CheckBoundsChanged();
}

void TSuperTextProperties::LoadFrom(const TGSuperText &object)
{
    CopyLook(object, Preview());
    m_preview->FollowSample();
    m_lastPath = object.LastBitmapFileNameandPath();
}

void TSuperTextProperties::SaveTo(TGSuperText &object) const
{
    const TGSuperText &preview = m_preview->Sample();
    object.SetGradientFromColor(preview.GradientFromColor());
    object.SetFillDirection(preview.FillDirection());
    object.SetGradientToColor(preview.GradientToColor());
    object.SetSurfaceType(preview.SurfaceType());
    object.SetImageBitmapData(preview.ImageBitmapData());
    object.SetOutlineColor(preview.OutlineColor());
    object.SetOutlineStyle(preview.OutlineStyle());
    object.SetOutlineWidth(preview.OutlineWidth());
    object.SetShadowcolor(preview.Shadowcolor());
    object.SetShadowDepth(preview.ShadowDepth());
    object.SetShadowOrientation(preview.ShadowOrientation());
    object.SetLastBitmapFileNameandPath(m_lastPath);
    object.ApplyFont(preview.Font());
    object.SetCaption(preview.Caption());
    object.CheckBoundsChanged();
    object.Repaint();
}

void TSuperTextProperties::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Activate();
}

void TSuperTextProperties::Activate()
{
    const TGSuperText &preview = Preview();
    {
        const QSignalBlocker blockCaption(m_caption);
        m_caption->setText(preview.Caption());
    }
    const QSignalBlocker blockSurface(m_surfaceType);
    const QSignalBlocker blockDirection(m_fillDirection);
    const QSignalBlocker blockOrientation(m_shadowOrientation);
    const QSignalBlocker blockDepth(m_shadowDepth);
    const QSignalBlocker blockStyle(m_outlineStyle);
    const QSignalBlocker blockWidth(m_outlineWidth);
    m_surfaceType->setCurrentIndex(preview.SurfaceType());
    m_fillDirection->setCurrentIndex(preview.FillDirection());
    m_shadowOrientation->setCurrentIndex(preview.ShadowOrientation());
    m_shadowDepth->setValue(preview.ShadowDepth());
    // "Clear" is the last line style the list offers.
    m_outlineStyle->setCurrentIndex(std::min<int>(preview.OutlineStyle(), TGSuperText::psClear));
    m_outlineWidth->setValue(preview.OutlineWidth());
    m_fromColor->SetColor(preview.GradientFromColor());
    m_toColor->SetColor(preview.GradientToColor());
    m_fontColor->SetColor(preview.Font().Color());
    m_shadowColor->SetColor(preview.Shadowcolor());
    m_outlineColor->SetColor(preview.OutlineColor());
    FaceToTextBox();
    ShowPanelForSurface();
    if (!preview.Image().isNull())
        m_lastUsedImage = preview.Image();
}

void TSuperTextProperties::ShowPanelForSurface()
{
    switch (Preview().SurfaceType()) {
    case TGSuperText::stGradientFill:
        m_panels->setCurrentWidget(m_gradientPanel);
        break;
    case TGSuperText::stBrushImage:
        m_panels->setCurrentWidget(m_texturePanel);
        break;
    case TGSuperText::stNormal:
        m_panels->setCurrentWidget(m_fontColorPanel);
        break;
    case TGSuperText::stBrushTransparent:
        m_panels->setCurrentWidget(m_emptyPanel);
        break;
    }
}

void TSuperTextProperties::Fit()
{
    m_preview->FitSample();
}

void TSuperTextProperties::SurfaceTypeChosen(int index)
{
    if (index < 0)
        return;
    TGSuperText &preview = Preview();
    preview.SetSurfaceType(TGSuperText::TSurfaceType(index));
    if (preview.SurfaceType() == TGSuperText::stBrushImage)
        preview.SetImage(m_lastUsedImage);
    // Hollow letters may have switched the outline on.
    {
        const QSignalBlocker block(m_outlineStyle);
        m_outlineStyle->setCurrentIndex(
            std::min<int>(preview.OutlineStyle(), TGSuperText::psClear));
    }
    Fit();
    ShowPanelForSurface();
}

void TSuperTextProperties::ChooseColor(ColorSwatchButton *button, const QString &title,
                                       const std::function<void(TColor)> &apply)
{
    if (!m_services.chooseColor)
        return;
    if (const std::optional<TColor> color = m_services.chooseColor(this, button->Color(), title)) {
        button->SetColor(*color);
        apply(*color);
    }
}

void TSuperTextProperties::ChooseFont()
{
    if (!m_services.chooseFont)
        return;
    if (const std::optional<FontSpec> font =
            m_services.chooseFont(this, Preview().Font(), QStringLiteral("Font"))) {
        Preview().ApplyFont(*font);
        Fit();
        FaceToTextBox();
    }
}

void TSuperTextProperties::ChangeFontSize(int step)
{
    FontSpec font = Preview().Font();
    if (step < 0 && font.Size() <= MinSpinSize)
        return;
    if (step > 0 && font.Size() >= MaxSpinSize)
        return;
    font.SetSize(font.Size() + step);
    Preview().ApplyFont(font);
    Fit();
}

void TSuperTextProperties::LoadTexture()
{
    if (!m_services.loadTexture)
        return;
    if (const std::optional<SuperTextServices::Texture> texture =
            m_services.loadTexture(this, Preview(), m_lastPath)) {
        Preview().SetImage(texture->image);
        m_lastUsedImage = texture->image;
        m_lastPath = texture->path;
    }
    Fit();
}

void TSuperTextProperties::SelectSymbol()
{
    if (!m_services.selectSymbol)
        return;
    const std::optional<SuperTextServices::Symbol> symbol = m_services.selectSymbol(this);
    if (!symbol)
        return;
    m_caption->setText(QString(symbol->character));
    FontSpec font = Preview().Font();
    font.SetName(symbol->face);
    Preview().ApplyFont(font);
    Fit();
    FaceToTextBox();
}

void TSuperTextProperties::FaceToTextBox()
{
    QFont face = m_caption->font();
    face.setFamily(Preview().Font().Name());
    m_caption->setFont(face);
}

void TSuperTextProperties::accept()
{
    if (m_caption->text().isEmpty()) {
        if (m_services.showInformation)
            m_services.showInformation(this, QStringLiteral("Please enter some text"));
        m_caption->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace Dayloom
