#pragma once

#include "core/calendar/calendartypes.h"
#include "core/formats/objectclassregistry.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <functional>
#include <memory>

namespace Dayloom {

class TGGraphicControl;

// One kind of placed object: the class name files store it under, the tool
// that draws a new one on the page (psPointing when no tool creates it; such
// kinds come only from files and the clipboard), and the factory of a new
// object with its defaults. `printsSlowly` marks kinds whose printed form
// keeps a printer busy for a while (letters traced as paths), so that the
// window can say so after printing. What the window shows of a kind (its
// tool button, dialogs and menu items) is registered on the window's side.
struct ObjectKind
{
    using Factory = std::function<std::unique_ptr<TGGraphicControl>()>;

    QByteArray className;
    TLPanelState tool = psPointing;
    Factory factory;
    bool printsSlowly = false;
};

// The kinds of placed objects a design knows. Each kind registers itself
// through its own Register...() function; RegisterObjectKinds (objectkinds.h)
// calls them all. The page document, the tool buttons and the component
// records (files, clipboard, cloning) look kinds up here.
class ObjectKindRegistry
{
public:
    // The kinds of this program: empty until the program (or a test)
    // registers them at start-up, before the first document is made.
    // Documents made without a registry of their own share it.
    static ObjectKindRegistry &Application();

    // Adds a kind, or replaces the one of the same class name (ignoring
    // case). A kind without factory or class name is ignored. A tool already
    // held by another kind passes to the new one.
    void Register(ObjectKind kind);
    // Registers class T, created with its default constructor.
    template <class T>
    void Register(const QByteArray &className, TLPanelState tool = psPointing,
                  bool printsSlowly = false)
    {
        Register({className, tool,
                  [] { return std::unique_ptr<TGGraphicControl>(std::make_unique<T>()); },
                  printsSlowly});
    }

    // In registration order.
    const QList<ObjectKind> &Kinds() const { return m_kinds; }
    // Null when the class (ignoring case) or the tool is not registered;
    // psPointing finds nothing.
    const ObjectKind *FindClass(QByteArrayView className) const;
    const ObjectKind *FindTool(TLPanelState tool) const;
    // The kinds that have a tool, ordered by their tool's value (the order
    // of the tool buttons), whatever order they registered in.
    QList<const ObjectKind *> ToolKinds() const;
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
