#pragma once

namespace Dayloom {

// Drops the toolkit's "OpenType support missing for <face>, script <n>"
// warnings. They come once per installed face and script whenever text in a
// script that no installed face shapes is laid out (the language chooser
// names every language in its own script, a note may hold any text), hundreds
// of lines that tell the user nothing. Every other message goes on to the
// handler that was installed before. Installs itself once per process; later
// calls do nothing.
void SilenceMissingScriptWarnings();

} // namespace Dayloom
