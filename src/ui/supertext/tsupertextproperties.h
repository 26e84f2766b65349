#pragma once

#include "core/objects/supertext/tgsupertext.h"
#include "ui/supertext/supertextservices.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;

namespace Dayloom {

class ColorSwatchButton;
class SuperTextPreview;

// "SuperText Properties": one SuperText edited on a preview copy. LoadFrom()
// copies an object into the preview; every control writes straight into the
// preview, which repaints; SaveTo() copies the result back into an object
// when the dialog ended with Ok (background, transparency and border are
// left to the object's own menu). Typing refits the preview at most five
// times a second.
class TSuperTextProperties : public QDialog
{
    Q_OBJECT

public:
    static constexpr int HelpContext = 40014;
    static constexpr int FitInterval = 200; // ms
    static constexpr int SizeStep = 5;      // points
    static constexpr int MinSpinSize = 10;
    static constexpr int MaxSpinSize = 150;

    explicit TSuperTextProperties(QWidget *parent = nullptr, const SuperTextServices &services =
                                                                 SuperTextServices::standard());

    void LoadFrom(const TGSuperText &object);
    // What the dialog and the texture browser copy into their preview, in
    // this order: caption, font, transparency, background, border, gradient,
    // picture, outline, shadow, fill, and the size at zoom 1.
    static void CopyLook(const TGSuperText &source, TGSuperText &preview);
    void SaveTo(TGSuperText &object) const;

    TGSuperText &Preview();
    SuperTextPreview *PreviewWidget() const { return m_preview; }
    const QString &LastPicturePath() const { return m_lastPath; }
    const QImage &LastUsedImage() const { return m_lastUsedImage; }
    // Sets every control from the preview and shows the panel of its fill.
    void Activate();
    // How often typing has refitted the preview (for the refit limit).
    int FitCount() const { return m_fitCount; }

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildControls();
    void Connect();
    void ShowPanelForSurface();
    void Fit();
    void SurfaceTypeChosen(int index);
    void ChooseColor(ColorSwatchButton *button, const QString &title,
                     const std::function<void(TColor)> &apply);
    void ChooseFont();
    void ChangeFontSize(int step);
    void LoadTexture();
    void SelectSymbol();
    void FaceToTextBox();

    SuperTextServices m_services;
    SuperTextPreview *m_preview = nullptr;
    QString m_lastPath;
    QImage m_lastUsedImage;
    bool m_captionChanged = false;
    int m_fitCount = 0;
    QTimer m_fitTimer;

    QLineEdit *m_caption = nullptr;
    QComboBox *m_surfaceType = nullptr;
    QStackedWidget *m_panels = nullptr;
    QWidget *m_gradientPanel = nullptr;
    QWidget *m_texturePanel = nullptr;
    QWidget *m_fontColorPanel = nullptr;
    QWidget *m_emptyPanel = nullptr;
    QComboBox *m_fillDirection = nullptr;
    ColorSwatchButton *m_fromColor = nullptr;
    ColorSwatchButton *m_toColor = nullptr;
    QPushButton *m_loadTexture = nullptr;
    ColorSwatchButton *m_fontColor = nullptr;
    ColorSwatchButton *m_shadowColor = nullptr;
    QComboBox *m_shadowOrientation = nullptr;
    QSpinBox *m_shadowDepth = nullptr;
    ColorSwatchButton *m_outlineColor = nullptr;
    QComboBox *m_outlineStyle = nullptr;
    QSpinBox *m_outlineWidth = nullptr;
    QPushButton *m_selectFont = nullptr;
    QPushButton *m_selectSymbol = nullptr;
    QToolButton *m_sizeUp = nullptr;
    QToolButton *m_sizeDown = nullptr;
};

} // namespace Dayloom
