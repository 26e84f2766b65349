#pragma once

namespace Dayloom {

class ObjectKindRegistry;

// Registers every kind of placed object the program has, each through its
// own Register...() function. This is the one place that names the kinds: a
// new kind adds its line here.
void RegisterBuiltInObjectKinds(ObjectKindRegistry &registry);

} // namespace Dayloom
