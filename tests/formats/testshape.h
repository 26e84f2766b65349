#pragma once

#include "core/formats/objectclassregistry.h"
#include "core/formats/propertylistbuilder.h"

namespace Dayloom::Testing {

// A placed-object class that exists only for the tests: the common base
// properties plus one property of every kind the records know.
class TestShape : public PersistentObject
{
public:
    enum Alignment
    {
        taLeftJustify,
        taRightJustify,
        taCenter
    };
    enum Direction
    {
        sdNone,
        sdRight,
        sdLeft,
        sdDownRight,
        sdDownLeft,
        sdDown
    };
    enum Option
    {
        Shaded = 1u,
        Rounded = 2u,
        Dashed = 4u
    };

    QByteArray ClassName() const override { return QByteArrayLiteral("TTestShape"); }
    const PropertyList &PublishedProperties() const override
    {
        static const PropertyList list =
            PropertyListBuilder<TestShape>()
                .placedObjectBase()
                .enumeration<Alignment>(
                    "Alignment", &TestShape::m_alignment, &TestShape::SetAlignment,
                    {"taLeftJustify", "taRightJustify", "taCenter"}, taLeftJustify)
                .enumeration<Direction>(
                    "DirectionShadow", &TestShape::m_direction, &TestShape::SetDirection,
                    {"sdNone", "sdRight", "sdLeft", "sdDownRight", "sdDownLeft", "sdDown"},
                    sdDownRight)
                .color("colorShadow", &TestShape::m_shadowColor, &TestShape::SetShadowColor,
                       TColor(8421504))
                .color("BackColor", &TestShape::m_backColor, &TestShape::SetBackColor, std::nullopt)
                .integer("Angle", &TestShape::m_angle, &TestShape::SetAngle, 0)
                .string("Caption", &TestShape::m_caption, &TestShape::SetCaption,
                        QStringLiteral("Text"))
                .font("Font", &TestShape::m_font, &TestShape::SetFont,
                      FontSpec(QStringLiteral("Arial"), 10))
                .boolean("Transparent", &TestShape::m_transparent, &TestShape::SetTransparent, true)
                .real("Scale", &TestShape::m_scale, &TestShape::SetScale, 1.0)
                .set("Options", &TestShape::m_options, &TestShape::SetOptions,
                     {"opShaded", "opRounded", "opDashed"}, 0u)
                .picture("Picture", &TestShape::m_picture, &TestShape::SetPicture)
                .bitmap("Image", &TestShape::m_image, &TestShape::SetImage)
                .binary("RTFText", &TestShape::m_rtf, &TestShape::SetRtf)
                .build();
        return list;
    }
    void Loaded() override { ++loadedCount; }

    int Tag() const { return m_tag; }
    void SetTag(int v) { m_tag = v; }
    int Left() const { return m_left; }
    void SetLeft(int v) { m_left = v; }
    int Top() const { return m_top; }
    void SetTop(int v) { m_top = v; }
    int Width() const { return m_width; }
    void SetWidth(int v) { m_width = v; }
    int Height() const { return m_height; }
    void SetHeight(int v) { m_height = v; }
    int Cursor() const { return m_cursor; }
    void SetCursor(int v) { m_cursor = v; }
    QString Hint() const { return m_hint; }
    void SetHint(const QString &v) { m_hint = v; }
    bool Locked() const { return m_locked; }
    void SetLocked(bool v) { m_locked = v; }
    bool Unselectable() const { return m_unselectable; }
    void SetUnselectable(bool v) { m_unselectable = v; }

    void SetAlignment(Alignment v) { m_alignment = v; }
    void SetDirection(Direction v) { m_direction = v; }
    void SetShadowColor(TColor v) { m_shadowColor = v; }
    void SetBackColor(TColor v) { m_backColor = v; }
    void SetAngle(int v) { m_angle = v; }
    void SetCaption(const QString &v) { m_caption = v; }
    void SetFont(const FontSpec &v) { m_font = v; }
    void SetTransparent(bool v) { m_transparent = v; }
    void SetScale(double v) { m_scale = v; }
    void SetOptions(quint32 v) { m_options = v; }
    void SetPicture(const StoredPicture &v) { m_picture = v; }
    void SetImage(const QByteArray &v) { m_image = v; }
    void SetRtf(const QByteArray &v) { m_rtf = v; }

    bool SameValues(const TestShape &o) const
    {
        return m_tag == o.m_tag && m_left == o.m_left && m_top == o.m_top && m_width == o.m_width &&
               m_height == o.m_height && m_cursor == o.m_cursor && m_hint == o.m_hint &&
               m_locked == o.m_locked && m_unselectable == o.m_unselectable &&
               m_alignment == o.m_alignment && m_direction == o.m_direction &&
               m_shadowColor == o.m_shadowColor && m_backColor == o.m_backColor &&
               m_angle == o.m_angle && m_caption == o.m_caption && m_font == o.m_font &&
               m_transparent == o.m_transparent && m_scale == o.m_scale &&
               m_options == o.m_options && m_picture == o.m_picture && m_image == o.m_image &&
               m_rtf == o.m_rtf;
    }

    int m_tag = 0, m_left = 0, m_top = 0, m_width = 142, m_height = 33, m_cursor = 0;
    QString m_hint;
    bool m_locked = false, m_unselectable = false;
    Alignment m_alignment = taLeftJustify;
    Direction m_direction = sdDownRight;
    TColor m_shadowColor = 8421504, m_backColor = clWhite;
    int m_angle = 0;
    QString m_caption = QStringLiteral("Text");
    FontSpec m_font{QStringLiteral("Arial"), 10};
    bool m_transparent = true;
    double m_scale = 1.0;
    quint32 m_options = 0;
    StoredPicture m_picture;
    QByteArray m_image, m_rtf;
    int loadedCount = 0;
};

inline ObjectClassRegistry TestRegistry()
{
    ObjectClassRegistry registry;
    registry.Register<TestShape>("TTestShape");
    return registry;
}

} // namespace Dayloom::Testing
