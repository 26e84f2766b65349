#pragma once

#include "core/calendar/calendartypes.h"
#include "core/formats/objectclassregistry.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace Dayloom {

class TGGraphicControl;

// One kind of placed object: the class name files store it under, the tool
// that draws a new one on the page (psPointing when no tool creates it; such
// kinds come only from files and the clipboard), the caption and hint of
// that tool's button, and the factory of a new object with its defaults.
struct ObjectKind
{
    using Factory = std::function<std::unique_ptr<TGGraphicControl>()>;

    QByteArray className;
    TLPanelState tool = psPointing;
    QString toolCaption;
    QString toolHint;
    Factory factory;
};

// The kinds of placed objects a design knows. Each kind registers itself
// once through its own Register...() function (see builtinobjectkinds.h);
// the page document, the tool buttons and the component records (files,
// clipboard, cloning) all look kinds up here.
class ObjectKindRegistry
{
public:
    // Adds a kind, or replaces the one of the same class name (ignoring
    // case). A kind without factory or class name is ignored. A tool already
    // held by another kind passes to the new one.
    void Register(ObjectKind kind);
    // Registers class T, created with its default constructor.
    template <class T>
    void Register(const QByteArray &className, TLPanelState tool = psPointing,
                  const QString &toolCaption = QString(), const QString &toolHint = QString())
    {
        Register({className, tool, toolCaption, toolHint,
                  [] { return std::unique_ptr<TGGraphicControl>(std::make_unique<T>()); }});
    }

    // In registration order.
    const QList<ObjectKind> &Kinds() const { return m_kinds; }
    // Null when the class (ignoring case) or the tool is not registered;
    // psPointing finds nothing.
    const ObjectKind *FindClass(QByteArrayView className) const;
    const ObjectKind *FindTool(TLPanelState tool) const;
    // A new object of the kind; null when it is not registered.
    std::unique_ptr<TGGraphicControl> Create(QByteArrayView className) const;
    std::unique_ptr<TGGraphicControl> CreateForTool(TLPanelState tool) const;

    // The same kinds as records recreate them by stored class name.
    const ObjectClassRegistry &Classes() const { return m_classes; }

private:
    QList<ObjectKind> m_kinds;
    ObjectClassRegistry m_classes;
};

} // namespace Dayloom
