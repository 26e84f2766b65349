#pragma once

#include "core/common/fontspec.h"

#include <QDialog>

class QComboBox;
class QFontDialog;

namespace Dayloom {

// "Default Editor Font": the font, size, style and colour that an empty
// note starts with. The colour is one of the note editor's 16 text colours.
class TDefaultFontDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TDefaultFontDialog(QWidget *parent = nullptr);

    FontSpec Font() const;
    void SetFont(const FontSpec &font);
    QComboBox *ColorBox() const { return m_color; }
    QFontDialog *FontChooser() const { return m_fontDialog; }

private:
    QFontDialog *m_fontDialog;
    QComboBox *m_color;
    // Face names such as "Arial" may be served by a metric-compatible face
    // under another name; an untouched choice keeps the stored name.
    QString m_storedName;
    QString m_shownFamily;
};

} // namespace Dayloom
