#pragma once

namespace Dayloom {

// The window program's last step, once its window is destroyed and
// everything is saved: returns code, or, while a picture a browser was still
// reading runs on (a shipped drawing can take a second), ends the process at
// once with code instead of letting the application wait for a picture that
// is of no use now.
int EndWindowProgram(int code);

} // namespace Dayloom
