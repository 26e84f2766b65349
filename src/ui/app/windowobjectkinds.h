#pragma once

namespace Dayloom {

struct Preferences;
class TGBasePanel;

// Registers the window's side of every kind of placed object on a page
// (tool button, dialogs, menu items), each through its own Register...Actions
// function. This is the one place of the window that names the kinds: a new
// kind adds its line here (and one in RegisterObjectKinds). Choices a kind
// remembers between runs (the clip-art folder) live in `preferences`, which
// must outlive the panel.
void RegisterWindowObjectKinds(TGBasePanel &panel, Preferences &preferences);

} // namespace Dayloom
