#pragma once

#include <QString>

namespace Dayloom {

// Hands `text` to a caller that asked for the reason of a failure: the
// functions that read and write files take an optional `QString *error`,
// null when the caller does not want it.
inline void SetError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace Dayloom
