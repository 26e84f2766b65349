#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <initializer_list>
#include <optional>
#include <utility>

namespace Dayloom {

// A two-way table between integer values and the identifiers that files
// store for them: enumeration value names (`taCenter`), colour names
// (`clBtnFace`), cursor names (`crHandPoint`), character set names.
// Look-ups by name ignore case, as the stored names were always matched.
class IdentifierTable
{
public:
    using Entry = std::pair<qint32, QByteArray>;

    IdentifierTable() = default;
    // Enumeration names; the first has value 0, the next 1, and so on.
    IdentifierTable(std::initializer_list<const char *> names);
    explicit IdentifierTable(QList<Entry> entries) : m_entries(std::move(entries)) {}

    // The first name listed for the value.
    std::optional<QByteArray> nameOf(qint32 value) const;
    std::optional<qint32> valueOf(QByteArrayView name) const;
    qsizetype size() const { return m_entries.size(); }

    // The toolkit's colour names, system colours (top bit set) included.
    static const IdentifierTable &Colors();
    // The toolkit's cursor names (crDefault = 0, crArrow = -2, ...).
    static const IdentifierTable &Cursors();
    // Font character set names (DEFAULT_CHARSET = 1, ...).
    static const IdentifierTable &Charsets();
    // fpDefault, fpVariable, fpFixed.
    static const IdentifierTable &FontPitches();
    // Elements of a font style set: fsBold, fsItalic, fsUnderline, fsStrikeOut.
    static const IdentifierTable &FontStyles();

private:
    QList<Entry> m_entries;
};

} // namespace Dayloom
