#pragma once

#include "core/common/fontspec.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace Dayloom {

// "Default Editor Font": the font, size, style and colour that an empty
// note starts with. The colour is one of the note editor's 16 text colours.
// The face list holds the installed faces and, when it is not installed,
// the stored face too, so that a face such as "Arial" (drawn by a
// look-alike) is shown and kept under its own name.
class TDefaultFontDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TDefaultFontDialog(QWidget *parent = nullptr);

    FontSpec Font() const;
    void SetFont(const FontSpec &font);
    QComboBox *FaceBox() const { return m_face; }
    QSpinBox *SizeBox() const { return m_size; }
    QCheckBox *BoldBox() const { return m_bold; }
    QComboBox *ColorBox() const { return m_color; }

private:
    void UpdateSample();

    QComboBox *m_face;
    QSpinBox *m_size;
    QCheckBox *m_bold;
    QCheckBox *m_italic;
    QCheckBox *m_underline;
    QCheckBox *m_strikeOut;
    QComboBox *m_color;
    QLabel *m_sample;
};

} // namespace Dayloom
