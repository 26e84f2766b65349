#include "ui/app/tdefaultfontdialog.h"

#include "ui/richtext/textcolortable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QPixmap>
#include <QVBoxLayout>

namespace Dayloom {

TDefaultFontDialog::TDefaultFontDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DefaultFontDialog"));
    setWindowTitle(QStringLiteral("Default Editor Font"));
    m_fontDialog = new QFontDialog(this);
    m_fontDialog->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fontDialog->setWindowFlags(Qt::Widget);

    m_color = new QComboBox(this);
    m_color->setObjectName(QStringLiteral("ColorBox"));
    for (int i = 0; i < TextColorTable::Count; ++i) {
        QPixmap swatch(16, 16);
        swatch.fill(ToQColor(TextColorTable::ColorAt(i)));
        m_color->addItem(QIcon(swatch), TextColorTable::NameAt(i));
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *colorRow = new QFormLayout;
    colorRow->addRow(QStringLiteral("&Color:"), m_color);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fontDialog);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
}

FontSpec TDefaultFontDialog::Font() const
{
    const QFont font = m_fontDialog->currentFont();
    const QString name = font.family() == m_shownFamily ? m_storedName : font.family();
    FontSpec spec(name, font.pointSize() > 0 ? font.pointSize() : 10, font.bold(),
                  TextColorTable::ColorAt(m_color->currentIndex()));
    spec.SetItalic(font.italic());
    spec.SetUnderline(font.underline());
    spec.SetStrikeOut(font.strikeOut());
    return spec;
}

void TDefaultFontDialog::SetFont(const FontSpec &spec)
{
    QFont font(spec.Name());
    font.setPointSize(std::max(1, spec.Size()));
    font.setBold(spec.Bold());
    font.setItalic(spec.Italic());
    font.setUnderline(spec.Underline());
    font.setStrikeOut(spec.StrikeOut());
    m_fontDialog->setCurrentFont(font);
    m_storedName = spec.Name();
    m_shownFamily = m_fontDialog->currentFont().family();
    m_color->setCurrentIndex(TextColorTable::IndexOrFirst(spec.Color()));
}

} // namespace Dayloom
