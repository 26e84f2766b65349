#include "ui/app/tdefaultfontdialog.h"

#include "ui/richtext/textcolortable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Dayloom {

TDefaultFontDialog::TDefaultFontDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DefaultFontDialog"));
    setWindowTitle(QStringLiteral("Default Editor Font"));

    m_face = new QComboBox(this);
    m_face->setObjectName(QStringLiteral("FaceBox"));
    m_face->addItems(QFontDatabase::families());
    m_face->setMaxVisibleItems(16);

    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("SizeBox"));
    m_size->setRange(1, 400);
    m_size->setSuffix(QStringLiteral(" pt"));

    m_bold = new QCheckBox(QStringLiteral("&Bold"), this);
    m_italic = new QCheckBox(QStringLiteral("&Italic"), this);
    m_underline = new QCheckBox(QStringLiteral("&Underline"), this);
    m_strikeOut = new QCheckBox(QStringLiteral("S&trikeout"), this);
    auto *styles = new QHBoxLayout;
    for (QCheckBox *box : {m_bold, m_italic, m_underline, m_strikeOut})
        styles->addWidget(box);

    m_color = new QComboBox(this);
    m_color->setObjectName(QStringLiteral("ColorBox"));
    for (int i = 0; i < TextColorTable::Count; ++i) {
        QPixmap swatch(16, 16);
        swatch.fill(ToQColor(TextColorTable::ColorAt(i)));
        m_color->addItem(QIcon(swatch), TextColorTable::NameAt(i));
    }

    m_sample = new QLabel(QStringLiteral("AaBbYyZz"), this);
    m_sample->setObjectName(QStringLiteral("Sample"));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumSize(280, 70);
    m_sample->setFrameShape(QFrame::StyledPanel);
    m_sample->setAutoFillBackground(true);
    QPalette white = m_sample->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_sample->setPalette(white);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Font:"), m_face);
    form->addRow(QStringLiteral("&Size:"), m_size);
    form->addRow(QStringLiteral("Style:"), styles);
    form->addRow(QStringLiteral("&Color:"), m_color);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_sample);
    layout->addWidget(buttons);

    connect(m_face, &QComboBox::currentIndexChanged, this, &TDefaultFontDialog::UpdateSample);
    connect(m_size, &QSpinBox::valueChanged, this, &TDefaultFontDialog::UpdateSample);
    connect(m_color, &QComboBox::currentIndexChanged, this, &TDefaultFontDialog::UpdateSample);
    for (QCheckBox *box : {m_bold, m_italic, m_underline, m_strikeOut})
        connect(box, &QCheckBox::toggled, this, &TDefaultFontDialog::UpdateSample);
    SetFont(FontSpec());
}

FontSpec TDefaultFontDialog::Font() const
{
    FontSpec spec(m_face->currentText(), m_size->value(), m_bold->isChecked(),
                  TextColorTable::ColorAt(m_color->currentIndex()));
    spec.SetItalic(m_italic->isChecked());
    spec.SetUnderline(m_underline->isChecked());
    spec.SetStrikeOut(m_strikeOut->isChecked());
    return spec;
}

void TDefaultFontDialog::SetFont(const FontSpec &spec)
{
    int face = m_face->findText(spec.Name(), Qt::MatchFixedString);
    if (face < 0 && !spec.Name().isEmpty()) {
        // Not installed: listed under its own name, in alphabetical place.
        face = 0;
        while (face < m_face->count() &&
               m_face->itemText(face).compare(spec.Name(), Qt::CaseInsensitive) < 0)
            ++face;
        m_face->insertItem(face, spec.Name());
    }
    m_face->setCurrentIndex(std::max(0, face));
    m_size->setValue(std::max(1, spec.Size()));
    m_bold->setChecked(spec.Bold());
    m_italic->setChecked(spec.Italic());
    m_underline->setChecked(spec.Underline());
    m_strikeOut->setChecked(spec.StrikeOut());
    m_color->setCurrentIndex(TextColorTable::IndexOrFirst(spec.Color()));
    UpdateSample();
}

void TDefaultFontDialog::UpdateSample()
{
    QFont font(m_face->currentText());
    font.setPointSize(std::min(m_size->value(), 36));
    font.setBold(m_bold->isChecked());
    font.setItalic(m_italic->isChecked());
    font.setUnderline(m_underline->isChecked());
    font.setStrikeOut(m_strikeOut->isChecked());
    m_sample->setFont(font);
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::WindowText,
                     ToQColor(TextColorTable::ColorAt(std::max(0, m_color->currentIndex()))));
    m_sample->setPalette(palette);
}

} // namespace Dayloom
