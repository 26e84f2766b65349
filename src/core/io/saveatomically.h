#pragma once

#include <QString>

#include <functional>

class QIODevice;

namespace Dayloom {

// Writes a file that appears only when complete: `write` fills a temporary
// file in the folder of `path`, which replaces `path` once `write` returned
// true. When the temporary file cannot be made, `write` fails or the
// replacing fails, a previous file at `path` is untouched, no partial file
// is left and false is returned; `error` (may be null) then holds the
// system's reason, or what `write` put there.
bool SaveAtomically(const QString &path, QString *error,
                    const std::function<bool(QIODevice &device, QString *error)> &write);

} // namespace Dayloom
