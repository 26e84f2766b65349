#include "core/graphics/iconlibrary.h"

#include <QFile>

namespace Dayloom {

bool IconLibrary::Load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Clear();
        if (error)
            *error = file.errorString();
        return false;
    }
    return Read(file, error);
}

bool IconLibrary::Read(QIODevice &device, QString *error)
{
    Clear();
    if (error)
        *error = QStringLiteral("icon libraries are not read yet");
    Q_UNUSED(device);
    return false;
}

int IconLibrary::Count() const
{
    return int(m_groups.size());
}

QImage IconLibrary::Icon(int, int) const
{
    return {};
}

void IconLibrary::Clear()
{
    m_bytes.clear();
    m_groups.clear();
}

void IconLibrary::ReadIconFile() {}
void IconLibrary::ReadNewExecutable(qint64) {}
void IconLibrary::ReadPortableExecutable(qint64) {}

} // namespace Dayloom
