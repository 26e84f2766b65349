#include "core/app/tmrufilelist.h"

#include "core/io/inifile.h"

#include <algorithm>

namespace Dayloom {

TMRUFileList::TMRUFileList(QObject *parent) : QObject(parent) {}

void TMRUFileList::SetMaximum(int maximum)
{
    m_maximum = std::clamp(maximum, 0, 255);
    if (m_files.size() > m_maximum) {
        Trim();
        Q_EMIT listChanged();
    }
}

void TMRUFileList::Trim()
{
    while (m_files.size() > m_maximum)
        m_files.removeLast();
}

void TMRUFileList::Add(const QString &path)
{
    m_files.removeAll(path);
    m_files.prepend(path);
    Trim();
    Q_EMIT listChanged();
}

void TMRUFileList::Load(const IniFile &ini)
{
    m_files = ini.SectionValues(m_autoSaveKey);
    m_files.removeAll(QString());
    Trim();
    Q_EMIT listChanged();
}

void TMRUFileList::Store(IniFile &ini) const
{
    ini.EraseSection(m_autoSaveKey);
    for (qsizetype i = 0; i < m_files.size(); ++i)
        ini.WriteString(m_autoSaveKey, QStringLiteral("F%1").arg(i), m_files[i]);
}

QString TMRUFileList::Click(int position)
{
    if (position < 1 || position > m_files.size())
        return QString();
    const QString path = m_files[position - 1];
    if (m_removeOnClick) {
        m_files.removeAt(position - 1);
        Q_EMIT listChanged();
    }
    Q_EMIT itemClicked(path);
    return path;
}

bool TMRUFileList::Remove(const QString &path)
{
    if (!m_files.removeOne(path))
        return false;
    Q_EMIT listChanged();
    return true;
}

QString TMRUFileList::MenuCaption(int position, const QString &path)
{
    return QStringLiteral("&%1 %2").arg(position).arg(path);
}

} // namespace Dayloom
