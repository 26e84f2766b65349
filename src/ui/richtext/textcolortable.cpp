#include "ui/richtext/textcolortable.h"

namespace Dayloom {

namespace {

constexpr std::array<TColor, TextColorTable::Count> Table = {
    clBlack,  clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clGray,
    clSilver, clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};

constexpr std::array<const char *, TextColorTable::Count> Names = {
    "Black",  "Maroon", "Green", "Olive",  "Navy", "Purple",  "Teal", "Gray",
    "Silver", "Red",    "Lime",  "Yellow", "Blue", "Fuchsia", "Aqua", "White"};

bool InTable(int index)
{
    return index >= 0 && index < TextColorTable::Count;
}

} // namespace

const std::array<TColor, TextColorTable::Count> &TextColorTable::Colors()
{
    return Table;
}

TColor TextColorTable::ColorAt(int index)
{
    return InTable(index) ? Table[index] : clBlack;
}

QString TextColorTable::NameAt(int index)
{
    return InTable(index) ? QString::fromLatin1(Names[index]) : QString();
}

int TextColorTable::IndexOf(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    for (int i = Count - 1; i >= 0; --i) {
        if (Table[i] == rgb)
            return i;
    }
    return -1;
}

int TextColorTable::IndexOrFirst(TColor color)
{
    const int index = IndexOf(color);
    return index < 0 ? 0 : index;
}

} // namespace Dayloom
