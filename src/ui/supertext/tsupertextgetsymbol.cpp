#include "ui/supertext/tsupertextgetsymbol.h"

#include "ui/app/uihelpers.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QPainterPath>
#include <QPushButton>
#include <QRawFont>
#include <QTableWidget>
#include <QVBoxLayout>

namespace Dayloom {

TSuperTextGetSymbol::TSuperTextGetSymbol(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Symbol Selector"));
    setObjectName(QStringLiteral("SymbolSelector"));
    m_fonts = new QComboBox;
    m_fonts->setObjectName(QStringLiteral("SymbolSets"));
    m_fonts->addItems(SymbolFonts());
    m_grid = new QTableWidget((CharacterCount + Columns - 1) / Columns, Columns);
    m_grid->setObjectName(QStringLiteral("SymbolList"));
    m_grid->setAccessibleName(QStringLiteral("Symbols"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setDefaultSectionSize(30);
    m_grid->verticalHeader()->setDefaultSectionSize(30);
    for (int i = 0; i < CharacterCount; ++i) {
        auto *item = new QTableWidgetItem(QString(QChar(FirstCharacter + i)));
        item->setTextAlignment(Qt::AlignCenter);
        m_grid->setItem(i / Columns, i % Columns, item);
    }
    m_grid->setMinimumSize(Columns * 30 + 24, 8 * 30);

    auto *label = new QLabel(QStringLiteral("&Font"));
    label->setBuddy(m_fonts);
    auto *buttons = new QDialogButtonBox;
    QPushButton *ok = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSuperTextGetSymbol::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSuperTextGetSymbol::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_fonts);
    layout->addWidget(m_grid, 1);
    layout->addWidget(buttons);

    connect(m_fonts, &QComboBox::currentIndexChanged, this, &TSuperTextGetSymbol::FontChosen);
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (const QTableWidgetItem *item = m_grid->item(row, column))
            m_character = item->text().at(0);
    });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });

    int start = 0;
    for (int i = 0; i < m_fonts->count(); ++i) {
        if (m_fonts->itemText(i).toUpper().contains(QLatin1String("WINGDING"))) {
            start = i;
            break;
        }
    }
    m_fonts->setCurrentIndex(start);
    FontChosen(start);
    m_grid->setCurrentCell(0, 0);
    CenterForm(this, parent ? parent->window() : nullptr);
}

namespace {

// True when the face draws its characters as outlines; colour-bitmap faces
// (emoji) leave no letters to fill.
bool HasOutlines(const QString &family)
{
    const QRawFont raw = QRawFont::fromFont(QFont(family));
    if (!raw.isValid())
        return false;
    for (char16_t c = 0x21; c < 0x100; ++c) {
        const QList<quint32> glyphs = raw.glyphIndexesForString(QString(QChar(c)));
        if (!glyphs.isEmpty() && glyphs.first() != 0 && !raw.pathForGlyph(glyphs.first()).isEmpty())
            return true;
    }
    return false;
}

} // namespace

QStringList TSuperTextGetSymbol::SymbolFonts()
{
    // Telling outline faces from the others opens every symbol face's file;
    // the installed faces are read once when the program starts.
    static const QStringList fonts = FindSymbolFonts();
    return fonts;
}

QStringList TSuperTextGetSymbol::FindSymbolFonts()
{
    QStringList fonts;
    for (const QString &family : QFontDatabase::families(QFontDatabase::Symbol)) {
        // A face installed under two foundries is listed as "Face [Foundry]".
        QString face = family;
        const qsizetype bracket = face.indexOf(QLatin1String(" ["));
        if (bracket > 0)
            face.truncate(bracket);
        if (!fonts.contains(face) && QFontDatabase::isScalable(family) && HasOutlines(family))
            fonts << face;
    }
    fonts.sort(Qt::CaseInsensitive);
    return fonts;
}

bool TSuperTextGetSymbol::HasFonts() const
{
    return m_fonts->count() > 0;
}

void TSuperTextGetSymbol::FontChosen(int index)
{
    if (index < 0)
        return;
    m_face = m_fonts->itemText(index);
    QFont font(m_face);
    font.setPointSize(14);
    m_grid->setFont(font);
}

void TSuperTextGetSymbol::accept()
{
    if (m_face.isEmpty() && m_character.isNull())
        return;
    QDialog::accept();
}

} // namespace Dayloom
