#include "core/io/saveatomically.h"

#include "core/io/seterror.h"

#include <QSaveFile>

namespace Dayloom {

bool SaveAtomically(const QString &path, QString *error,
                    const std::function<bool(QIODevice &device, QString *error)> &write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        SetError(error, file.errorString());
        return false;
    }
    if (!write(file, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        SetError(error, file.errorString());
        return false;
    }
    return true;
}

} // namespace Dayloom
