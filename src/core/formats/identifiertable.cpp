#include "core/formats/identifiertable.h"

#include "core/common/tcolor.h"

namespace Dayloom {

IdentifierTable::IdentifierTable(std::initializer_list<const char *> names)
{
    m_entries.reserve(qsizetype(names.size()));
    qint32 value = 0;
    for (const char *name : names)
        m_entries.append({value++, QByteArray(name)});
}

std::optional<QByteArray> IdentifierTable::nameOf(qint32 value) const
{
    for (const Entry &entry : m_entries) {
        if (entry.first == value)
            return entry.second;
    }
    return std::nullopt;
}

std::optional<qint32> IdentifierTable::valueOf(QByteArrayView name) const
{
    for (const Entry &entry : m_entries) {
        if (name.compare(entry.second, Qt::CaseInsensitive) == 0)
            return entry.first;
    }
    return std::nullopt;
}

const IdentifierTable &IdentifierTable::Colors()
{
    auto system = [](qint32 index) { return qint32(SystemColorFlag | quint32(index)); };
    static const IdentifierTable table(QList<Entry>{
        {qint32(clBlack), "clBlack"},    {qint32(clMaroon), "clMaroon"},
        {qint32(clGreen), "clGreen"},    {qint32(clOlive), "clOlive"},
        {qint32(clNavy), "clNavy"},      {qint32(clPurple), "clPurple"},
        {qint32(clTeal), "clTeal"},      {qint32(clGray), "clGray"},
        {qint32(clSilver), "clSilver"},  {qint32(clRed), "clRed"},
        {qint32(clLime), "clLime"},      {qint32(clYellow), "clYellow"},
        {qint32(clBlue), "clBlue"},      {qint32(clFuchsia), "clFuchsia"},
        {qint32(clAqua), "clAqua"},      {qint32(clWhite), "clWhite"},
        {system(0), "clScrollBar"},      {system(1), "clBackground"},
        {system(2), "clActiveCaption"},  {system(3), "clInactiveCaption"},
        {system(4), "clMenu"},           {system(5), "clWindow"},
        {system(6), "clWindowFrame"},    {system(7), "clMenuText"},
        {system(8), "clWindowText"},     {system(9), "clCaptionText"},
        {system(10), "clActiveBorder"},  {system(11), "clInactiveBorder"},
        {system(12), "clAppWorkSpace"},  {system(13), "clHighlight"},
        {system(14), "clHighlightText"}, {system(15), "clBtnFace"},
        {system(16), "clBtnShadow"},     {system(17), "clGrayText"},
        {system(18), "clBtnText"},       {system(19), "clInactiveCaptionText"},
        {system(20), "clBtnHighlight"},  {system(21), "cl3DDkShadow"},
        {system(22), "cl3DLight"},       {system(23), "clInfoText"},
        {system(24), "clInfoBk"},        {0x1FFFFFFF, "clNone"},
        {0x20000000, "clDefault"},
    });
    return table;
}

const IdentifierTable &IdentifierTable::Cursors()
{
    static const IdentifierTable table(QList<Entry>{
        {0, "crDefault"},     {-1, "crNone"},       {-2, "crArrow"},    {-3, "crCross"},
        {-4, "crIBeam"},      {-22, "crSizeAll"},   {-6, "crSizeNESW"}, {-7, "crSizeNS"},
        {-8, "crSizeNWSE"},   {-9, "crSizeWE"},     {-10, "crUpArrow"}, {-11, "crHourGlass"},
        {-12, "crDrag"},      {-13, "crNoDrop"},    {-14, "crHSplit"},  {-15, "crVSplit"},
        {-16, "crMultiDrag"}, {-17, "crSQLWait"},   {-18, "crNo"},      {-19, "crAppStart"},
        {-20, "crHelp"},      {-21, "crHandPoint"}, {-22, "crSize"},
    });
    return table;
}

const IdentifierTable &IdentifierTable::Charsets()
{
    static const IdentifierTable table(QList<Entry>{
        {0, "ANSI_CHARSET"},      {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},
        {77, "MAC_CHARSET"},      {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
        {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},   {136, "CHINESEBIG5_CHARSET"},
        {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"},  {163, "VIETNAMESE_CHARSET"},
        {177, "HEBREW_CHARSET"},  {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"},
        {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},     {238, "EASTEUROPE_CHARSET"},
        {255, "OEM_CHARSET"},
    });
    return table;
}

const IdentifierTable &IdentifierTable::FontPitches()
{
    static const IdentifierTable table{"fpDefault", "fpVariable", "fpFixed"};
    return table;
}

const IdentifierTable &IdentifierTable::FontStyles()
{
    static const IdentifierTable table{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
    return table;
}

} // namespace Dayloom
