#pragma once

#include "core/common/fontspec.h"
#include "core/formats/fontrecord.h"
#include "core/formats/identifiertable.h"
#include "core/formats/persistentobject.h"
#include "core/formats/propertylist.h"
#include "core/formats/storedpicture.h"

#include <QString>

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>

namespace Dayloom {

// Declares the published properties of a placed-object class T (derived from
// PersistentObject) in declaration order. Getters and setters are member
// function pointers or callables taking the object: `get(const T &)`,
// `set(T &, value)`. A property with a default is written only when its value
// differs from it (or, for a boolean, its `alsoStored` asks for it); one
// declared without (std::nullopt) is always written.
//
//   const PropertyList &TGBaseLabel::PublishedProperties() const
//   {
//       static const PropertyList list =
//           PropertyListBuilder<TGBaseLabel>()
//               .placedObjectBase()
//               .enumeration<TAlignment>("Alignment", &TGBaseLabel::Alignment,
//                                        &TGBaseLabel::SetAlignment,
//                                        {"taLeftJustify", "taRightJustify", "taCenter"},
//                                        taLeftJustify)
//               .font("Font", &TGBaseLabel::Font, &TGBaseLabel::SetFont,
//                     FontSpec("Arial", 10))
//               .build();
//       return list;
//   }
//
// A derived class starts from its base class's list, which the base keeps in
// a static function for that purpose:
// PropertyListBuilder<TGPLabel>(TGBaseLabel::BaseLabelProperties()) (the base
// entries keep working, as a TGPLabel is a TGBaseLabel).
//
// Values read from a file are checked before a setter sees them: enumeration
// setters receive only values named in their table, integers are kept within
// the declared range, font sizes within 1 to MaxFontPoints points.
template <class T> class PropertyListBuilder
{
public:
    static constexpr qint32 MinCoordinate = -32768;
    static constexpr qint32 MaxCoordinate = 32767;

    explicit PropertyListBuilder(PropertyList base = PropertyList()) : m_list(std::move(base)) {}

    PropertyList build() const { return m_list; }

    // The properties every placed object carries, in the toolkit's order:
    // Tag (default 0), Left, Top, Width, Height (always written), Cursor
    // (default crDefault), Hint (default empty), Locked, Unselectable (always
    // written). T provides Tag/SetTag, Left/SetLeft, ... with int, QString
    // and bool values; bounds are pixels at zoom 1.
    PropertyListBuilder &placedObjectBase()
    {
        return integer("Tag", &T::Tag, &T::SetTag, 0)
            .integer("Left", &T::Left, &T::SetLeft, std::nullopt, MinCoordinate, MaxCoordinate)
            .integer("Top", &T::Top, &T::SetTop, std::nullopt, MinCoordinate, MaxCoordinate)
            .integer("Width", &T::Width, &T::SetWidth, std::nullopt, 0, MaxCoordinate)
            .integer("Height", &T::Height, &T::SetHeight, std::nullopt, 0, MaxCoordinate)
            .cursor("Cursor", &T::Cursor, &T::SetCursor, 0)
            .string("Hint", &T::Hint, &T::SetHint, QString())
            .boolean("Locked", &T::Locked, &T::SetLocked, std::nullopt)
            .boolean("Unselectable", &T::Unselectable, &T::SetUnselectable, std::nullopt);
    }

    template <class Get, class Set>
    PropertyListBuilder &integer(const char *name, Get get, Set set,
                                 std::optional<qint32> defaultValue,
                                 qint32 min = std::numeric_limits<qint32>::min(),
                                 qint32 max = std::numeric_limits<qint32>::max())
    {
        const QByteArray path(name);
        return add(
            name,
            [=](const PersistentObject &o, ValueWriter &w) {
                const qint32 value = std::invoke(get, self(o));
                if (defaultValue && value == *defaultValue)
                    return;
                w.writeShortString(path);
                w.writeInteger(value);
            },
            [=](PersistentObject &o, QByteArrayView sub, ValueReader &r) {
                if (!sub.isEmpty())
                    return failSubPath(r, path, sub);
                const std::optional<qint32> value = r.readInteger();
                if (!value)
                    return false;
                std::invoke(set, self(o), std::clamp(*value, min, max));
                return true;
            });
    }

    // `alsoStored`, when given, writes the value even when it equals the
    // default while it returns true: for flags whose stored form would
    // otherwise let the reader take them for something else.
    template <class Get, class Set>
    PropertyListBuilder &boolean(const char *name, Get get, Set set,
                                 std::optional<bool> defaultValue,
                                 std::function<bool(const T &)> alsoStored = {})
    {
        const QByteArray path(name);
        return add(
            name,
            [=](const PersistentObject &o, ValueWriter &w) {
                const bool value = std::invoke(get, self(o));
                if (defaultValue && value == *defaultValue && !(alsoStored && alsoStored(self(o))))
                    return;
                w.writeShortString(path);
                w.writeBoolean(value);
            },
            [=](PersistentObject &o, QByteArrayView sub, ValueReader &r) {
                if (!sub.isEmpty())
                    return failSubPath(r, path, sub);
                const std::optional<bool> value = r.readBoolean();
                if (!value)
                    return false;
                std::invoke(set, self(o), *value);
                return true;
            });
    }

    template <class Get, class Set>
    PropertyListBuilder &string(const char *name, Get get, Set set,
                                std::optional<QString> defaultValue)
    {
        const QByteArray path(name);
        return add(
            name,
            [=](const PersistentObject &o, ValueWriter &w) {
                const QString value = std::invoke(get, self(o));
                if (defaultValue && value == *defaultValue)
                    return;
                w.writeShortString(path);
                w.writeString(value);
            },
            [=](PersistentObject &o, QByteArrayView sub, ValueReader &r) {
                if (!sub.isEmpty())
                    return failSubPath(r, path, sub);
                const std::optional<QString> value = r.readString();
                if (!value)
                    return false;
                std::invoke(set, self(o), *value);
                return true;
            });
    }

    // A real number, stored as an 80-bit extended float.
    template <class Get, class Set>
    PropertyListBuilder &real(const char *name, Get get, Set set,
                              std::optional<double> defaultValue)
    {
        const QByteArray path(name);
        return add(
            name,
            [=](const PersistentObject &o, ValueWriter &w) {
                const double value = std::invoke(get, self(o));
                if (defaultValue && value == *defaultValue)
                    return;
                w.writeShortString(path);
                w.writeExtended(value);
            },
            [=](PersistentObject &o, QByteArrayView sub, ValueReader &r) {
                if (!sub.isEmpty())
                    return failSubPath(r, path, sub);
                const std::optional<double> value = r.readExtended();
                if (!value)
                    return false;
                std::invoke(set, self(o), *value);
                return true;
            });
    }

    // An enumeration stored as the identifier of its value; an identifier
    // that the table does not name ends the reading.
    template <class E, class Get, class Set>
    PropertyListBuilder &enumeration(const char *name, Get get, Set set, IdentifierTable names,
                                     std::optional<E> defaultValue)
    {
        const QByteArray path(name);
        return add(
            name,
            [=](const PersistentObject &o, ValueWriter &w) {
                const E value = std::invoke(get, self(o));
                if (defaultValue && value == *defaultValue)
                    return;
                const std::optional<QByteArray> identifier = names.nameOf(qint32(value));
                if (!identifier)
                    return;
                w.writeShortString(path);
                w.writeIdentifier(*identifier);
            },
            [=](PersistentObject &o, QByteArrayView sub, ValueReader &r) {
                if (!sub.isEmpty())
                    return failSubPath(r, path, sub);
                const std::optional<QByteArray> identifier = r.readIdentifier();
                if (!identifier)
                    return false;
                const std::optional<qint32> value = names.valueOf(*identifier);
                if (!value)
                    return r.fail(
                        QStringLiteral("Unknown value %1 of %2")
                            .arg(QString::fromLatin1(*identifier), QString::fromLatin1(path)));
                std::invoke(set, self(o), static_cast<E>(*value));
                return true;
            });
    }

    // An integer written as its identifier when the table names it
    // (colours, cursors), else as an integer; both are read.
    template <class V, class Get, class Set>
    PropertyListBuilder &namedInteger(const char *name, Get get, Set set, IdentifierTable names,
                                      std::optional<V> defaultValue)
    {
        const QByteArray path(name);
        return add(
            name,
            [=](const PersistentObject &o, ValueWriter &w) {
                const V value = std::invoke(get, self(o));
                if (defaultValue && value == *defaultValue)
                    return;
                w.writeShortString(path);
                writeNamedInteger(w, names, static_cast<qint32>(value));
            },
            [=](PersistentObject &o, QByteArrayView sub, ValueReader &r) {
                if (!sub.isEmpty())
                    return failSubPath(r, path, sub);
                const std::optional<qint32> value = readNamedInteger(r, names);
                if (!value)
                    return false;
                std::invoke(set, self(o), static_cast<V>(*value));
                return true;
            });
    }

    template <class Get, class Set>
    PropertyListBuilder &color(const char *name, Get get, Set set,
                               std::optional<TColor> defaultValue)
    {
        return namedInteger<TColor>(name, get, set, IdentifierTable::Colors(), defaultValue);
    }

    template <class Get, class Set>
    PropertyListBuilder &cursor(const char *name, Get get, Set set, std::optional<int> defaultValue)
    {
        return namedInteger<int>(name, get, set, IdentifierTable::Cursors(), defaultValue);
    }

    // A set stored as the identifiers of its members; `get` and `set` use a
    // bit mask in which bit n stands for the member of value n in the table.
    template <class Get, class Set>
    PropertyListBuilder &set(const char *name, Get get, Set set, IdentifierTable members,
                             std::optional<quint32> defaultValue)
    {
        const QByteArray path(name);
        return add(
            name,
            [=](const PersistentObject &o, ValueWriter &w) {
                const quint32 mask = std::invoke(get, self(o));
                if (defaultValue && mask == *defaultValue)
                    return;
                w.writeShortString(path);
                w.writeSet(maskToNames(members, mask));
            },
            [=](PersistentObject &o, QByteArrayView sub, ValueReader &r) {
                if (!sub.isEmpty())
                    return failSubPath(r, path, sub);
                const std::optional<quint32> mask = readMask(r, members);
                if (!mask)
                    return false;
                std::invoke(set, self(o), *mask);
                return true;
            });
    }

    // A font, written as Name.Charset, .Color, .Height, .Name, .Pitch (when
    // not fpDefault) and .Style when it differs from the default; .Size is
    // read too.
    template <class Get, class Set>
    PropertyListBuilder &font(const char *name, Get get, Set set,
                              std::optional<FontSpec> defaultValue)
    {
        const QByteArray prefix = QByteArray(name) + '.';
        return add(
            name,
            [=](const PersistentObject &o, ValueWriter &w) {
                const FontSpec value = std::invoke(get, self(o));
                if (defaultValue && value == *defaultValue)
                    return;
                writeFont(w, prefix, value);
            },
            [=](PersistentObject &o, QByteArrayView sub, ValueReader &r) {
                FontSpec value = std::invoke(get, self(o));
                if (!readFontPart(r, sub, value))
                    return false;
                std::invoke(set, self(o), value);
                return true;
            });
    }

    // A picture (StoredPicture) written as Name.Data when not empty.
    template <class Get, class Set> PropertyListBuilder &picture(const char *name, Get get, Set set)
    {
        return data(
            name,
            [=](const PersistentObject &o) { return std::invoke(get, self(o)).ToPictureData(); },
            [=](PersistentObject &o, const QByteArray &bytes, ValueReader &r) {
                const std::optional<StoredPicture> value = StoredPicture::FromPictureData(bytes);
                if (!value)
                    return r.fail(QStringLiteral("Damaged picture data"));
                std::invoke(set, self(o), *value);
                return true;
            });
    }

    // A bare bitmap (the bytes of a BMP file) written as Name.Data when not
    // empty.
    template <class Get, class Set> PropertyListBuilder &bitmap(const char *name, Get get, Set set)
    {
        return data(
            name,
            [=](const PersistentObject &o) {
                const QByteArray bmp = std::invoke(get, self(o));
                return bmp.isEmpty() ? QByteArray() : StoredPicture::ToBitmapData(bmp);
            },
            [=](PersistentObject &o, const QByteArray &bytes, ValueReader &r) {
                const std::optional<QByteArray> value = StoredPicture::FromBitmapData(bytes);
                if (!value)
                    return r.fail(QStringLiteral("Damaged bitmap data"));
                std::invoke(set, self(o), *value);
                return true;
            });
    }

    // Binary data of an object (rich text as RTF) written as Name.Data when
    // not empty.
    template <class Get, class Set> PropertyListBuilder &binary(const char *name, Get get, Set set)
    {
        return data(
            name, [=](const PersistentObject &o) { return QByteArray(std::invoke(get, self(o))); },
            [=](PersistentObject &o, const QByteArray &bytes, ValueReader &) {
                std::invoke(set, self(o), bytes);
                return true;
            });
    }

    PropertyListBuilder &custom(PropertyDescriptor descriptor)
    {
        m_list.append(std::move(descriptor));
        return *this;
    }

private:
    static const T &self(const PersistentObject &o) { return static_cast<const T &>(o); }
    static T &self(PersistentObject &o) { return static_cast<T &>(o); }

    PropertyListBuilder &add(const char *name, PropertyDescriptor::WriteFunction write,
                             PropertyDescriptor::ReadFunction read)
    {
        m_list.append({QByteArray(name), std::move(write), std::move(read)});
        return *this;
    }

    template <class Bytes, class Take>
    PropertyListBuilder &data(const char *name, Bytes bytes, Take take)
    {
        const QByteArray path = QByteArray(name) + ".Data";
        const QByteArray property(name);
        return add(
            name,
            [=](const PersistentObject &o, ValueWriter &w) {
                const QByteArray value = bytes(o);
                if (value.isEmpty())
                    return;
                w.writeShortString(path);
                w.writeBinary(value);
            },
            [=](PersistentObject &o, QByteArrayView sub, ValueReader &r) {
                if (sub.compare(QByteArrayView("Data"), Qt::CaseInsensitive) != 0)
                    return failSubPath(r, property, sub);
                const std::optional<QByteArray> value = r.readBinary();
                return value && take(o, *value, r);
            });
    }

    static bool failSubPath(ValueReader &r, const QByteArray &path, QByteArrayView sub)
    {
        return r.fail(QStringLiteral("Unknown property %1.%2")
                          .arg(QString::fromLatin1(path), QString::fromLatin1(sub.toByteArray())));
    }

    static void writeNamedInteger(ValueWriter &w, const IdentifierTable &names, qint32 value)
    {
        if (const std::optional<QByteArray> identifier = names.nameOf(value))
            w.writeIdentifier(*identifier);
        else
            w.writeInteger(value);
    }

    static std::optional<qint32> readNamedInteger(ValueReader &r, const IdentifierTable &names)
    {
        const std::optional<quint8> tag = r.peekByte();
        if (tag && *tag == quint8(ValueTag::Identifier)) {
            const std::optional<QByteArray> identifier = r.readIdentifier();
            if (!identifier)
                return std::nullopt;
            const std::optional<qint32> value = names.valueOf(*identifier);
            if (!value)
                r.fail(
                    QStringLiteral("Unknown identifier %1").arg(QString::fromLatin1(*identifier)));
            return value;
        }
        return r.readInteger();
    }

    static QList<QByteArray> maskToNames(const IdentifierTable &members, quint32 mask)
    {
        QList<QByteArray> names;
        for (qint32 bit = 0; bit < 32; ++bit) {
            if (mask & (1u << bit)) {
                if (const std::optional<QByteArray> name = members.nameOf(bit))
                    names.append(*name);
            }
        }
        return names;
    }

    static std::optional<quint32> readMask(ValueReader &r, const IdentifierTable &members)
    {
        const std::optional<QList<QByteArray>> names = r.readSet();
        if (!names)
            return std::nullopt;
        quint32 mask = 0;
        for (const QByteArray &name : *names) {
            const std::optional<qint32> bit = members.valueOf(name);
            if (!bit || *bit < 0 || *bit > 31) {
                r.fail(QStringLiteral("Unknown set member %1").arg(QString::fromLatin1(name)));
                return std::nullopt;
            }
            mask |= 1u << *bit;
        }
        return mask;
    }

    static quint32 fontStyleMask(const FontSpec &font)
    {
        return (font.Bold() ? 1u : 0u) | (font.Italic() ? 2u : 0u) | (font.Underline() ? 4u : 0u) |
               (font.StrikeOut() ? 8u : 0u);
    }

    static void writeFont(ValueWriter &w, const QByteArray &prefix, const FontSpec &font)
    {
        w.writeShortString(prefix + "Charset");
        writeNamedInteger(w, IdentifierTable::Charsets(), font.Charset());
        w.writeShortString(prefix + "Color");
        writeNamedInteger(w, IdentifierTable::Colors(), static_cast<qint32>(font.Color()));
        w.writeShortString(prefix + "Height");
        w.writeInteger(font.Height());
        w.writeShortString(prefix + "Name");
        w.writeString(font.Name());
        if (font.FontPitch() != FontSpec::fpDefault) {
            w.writeShortString(prefix + "Pitch");
            w.writeIdentifier(*IdentifierTable::FontPitches().nameOf(font.FontPitch()));
        }
        w.writeShortString(prefix + "Style");
        w.writeSet(maskToNames(IdentifierTable::FontStyles(), fontStyleMask(font)));
    }

    static bool readFontPart(ValueReader &r, QByteArrayView sub, FontSpec &font)
    {
        const auto is = [sub](const char *part) {
            return sub.compare(QByteArrayView(part), Qt::CaseInsensitive) == 0;
        };
        if (is("Charset")) {
            const std::optional<qint32> charset = readNamedInteger(r, IdentifierTable::Charsets());
            if (!charset)
                return false;
            if (*charset < 0 || *charset > 255)
                return r.fail(QStringLiteral("Character set %1 out of range").arg(*charset));
            font.SetCharset(*charset);
        } else if (is("Color")) {
            const std::optional<qint32> color = readNamedInteger(r, IdentifierTable::Colors());
            if (!color)
                return false;
            font.SetColor(static_cast<TColor>(*color));
        } else if (is("Height")) {
            const std::optional<qint32> height = r.readInteger();
            if (!height)
                return false;
            const qint32 maxPixels = FontSpec::PointsToPixels(MaxFontPoints);
            font.SetHeight(std::clamp(*height, -maxPixels, maxPixels));
            font.SetSize(std::clamp(font.Size(), 1, MaxFontPoints));
        } else if (is("Size")) {
            const std::optional<qint32> size = r.readInteger();
            if (!size)
                return false;
            font.SetSize(std::clamp(*size, 1, MaxFontPoints));
        } else if (is("Name")) {
            const std::optional<QString> name = r.readString();
            if (!name)
                return false;
            font.SetName(*name);
        } else if (is("Pitch")) {
            const std::optional<QByteArray> identifier = r.readIdentifier();
            if (!identifier)
                return false;
            const std::optional<qint32> pitch = IdentifierTable::FontPitches().valueOf(*identifier);
            if (!pitch)
                return r.fail(
                    QStringLiteral("Unknown font pitch %1").arg(QString::fromLatin1(*identifier)));
            font.SetPitch(static_cast<FontSpec::Pitch>(*pitch));
        } else if (is("Style")) {
            const std::optional<quint32> mask = readMask(r, IdentifierTable::FontStyles());
            if (!mask)
                return false;
            font.SetBold(*mask & 1u);
            font.SetItalic(*mask & 2u);
            font.SetUnderline(*mask & 4u);
            font.SetStrikeOut(*mask & 8u);
        } else {
            return r.fail(QStringLiteral("Unknown font property %1")
                              .arg(QString::fromLatin1(sub.toByteArray())));
        }
        return true;
    }

    PropertyList m_list;
};

} // namespace Dayloom
