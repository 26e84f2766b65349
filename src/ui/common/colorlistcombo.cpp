#include "ui/common/colorlistcombo.h"

#include "ui/common/askcolor.h"

#include <QPainter>
#include <QPixmap>

namespace Dayloom {

namespace {
constexpr int OtherRole = Qt::UserRole + 1;

QIcon Swatch(TColor color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(ToQColor(color));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}
} // namespace

const QList<TColor> &ColorListCombo::StandardColors()
{
    static const QList<TColor> colors = {clBlack, clMaroon,  clGreen,  clOlive, clNavy, clPurple,
                                         clTeal,  clGray,    clSilver, clRed,   clLime, clYellow,
                                         clBlue,  clFuchsia, clAqua,   clWhite};
    return colors;
}

const QStringList &ColorListCombo::StandardNames()
{
    static const QStringList names = {
        QStringLiteral("Black"), QStringLiteral("Maroon"),  QStringLiteral("Green"),
        QStringLiteral("Olive"), QStringLiteral("Navy"),    QStringLiteral("Purple"),
        QStringLiteral("Teal"),  QStringLiteral("Gray"),    QStringLiteral("Silver"),
        QStringLiteral("Red"),   QStringLiteral("Lime"),    QStringLiteral("Yellow"),
        QStringLiteral("Blue"),  QStringLiteral("Fuchsia"), QStringLiteral("Aqua"),
        QStringLiteral("White")};
    return names;
}

ColorListCombo::ColorListCombo(QWidget *parent) : QComboBox(parent)
{
    m_chooser = [](QWidget *owner, TColor current) { return AskColor(owner, current); };
    Fill();
    connect(this, &QComboBox::activated, this, &ColorListCombo::Activated);
}

void ColorListCombo::Fill()
{
    m_filling = true;
    clear();
    const QList<TColor> &colors = StandardColors();
    const QStringList &names = StandardNames();
    for (int i = 0; i < colors.size(); ++i)
        addItem(Swatch(colors[i]), names[i], QVariant::fromValue(quint32(colors[i])));
    int index = colors.indexOf(ColorToRGB(m_color));
    if (index < 0) {
        addItem(Swatch(m_color), QStringLiteral("Custom"), QVariant::fromValue(quint32(m_color)));
        index = count() - 1;
    }
    addItem(QStringLiteral("Other..."));
    setItemData(count() - 1, true, OtherRole);
    setCurrentIndex(index);
    m_filling = false;
}

void ColorListCombo::SetColor(TColor color)
{
    const bool changed = color != m_color;
    m_color = color;
    Fill();
    if (changed)
        Q_EMIT colorChanged(color);
}

void ColorListCombo::Activated(int index)
{
    if (m_filling)
        return;
    if (itemData(index, OtherRole).toBool()) {
        const std::optional<TColor> chosen = m_chooser ? m_chooser(this, m_color) : std::nullopt;
        if (chosen)
            SetColor(*chosen);
        else
            Fill();
        return;
    }
    SetColor(TColor(itemData(index).toUInt()));
}

} // namespace Dayloom
