#pragma once

namespace Dayloom {

class ObjectKindRegistry;

// Registers the core side of every kind of placed object the program has
// (class, tool, factory), each through its own Register...Kind() function.
// This is the one place that names the kinds for documents and files: a new
// kind adds its line here (and one in the window's RegisterWindowObjectKinds).
// The programs call it once at start-up with ObjectKindRegistry::Application().
void RegisterObjectKinds(ObjectKindRegistry &registry);

} // namespace Dayloom
