#include "core/app/windowplacement.h"

#include "core/io/inifile.h"

namespace Dayloom {

QString WindowPlacement::SectionName(const QString &windowClass, int logicalDpi)
{
    QString name = windowClass + QStringLiteral("_Placement");
    if (logicalDpi > 96)
        name += QString::number(logicalDpi);
    return name;
}

WindowPlacement WindowPlacement::Load(const IniFile &ini, const QString &section, bool maximizedNow)
{
    WindowPlacement p;
    p.left = ini.ReadInteger(section, QStringLiteral("Left"), 0);
    p.top = ini.ReadInteger(section, QStringLiteral("Top"), 0);
    p.right = ini.ReadInteger(section, QStringLiteral("Right"), 0);
    p.bottom = ini.ReadInteger(section, QStringLiteral("Bottom"), 0);
    p.maximized = ini.ReadBool(section, QStringLiteral("Maximized"), maximizedNow);
    return p;
}

void WindowPlacement::Save(IniFile &ini, const QString &section) const
{
    ini.WriteInteger(section, QStringLiteral("Left"), left);
    ini.WriteInteger(section, QStringLiteral("Top"), top);
    ini.WriteInteger(section, QStringLiteral("Right"), right);
    ini.WriteInteger(section, QStringLiteral("Bottom"), bottom);
    ini.WriteBool(section, QStringLiteral("Maximized"), maximized);
}

WindowPlacement WindowPlacement::ShiftedOnto(const QSize &screen) const
{
    WindowPlacement p = *this;
    if (screen.width() < p.right) {
        p.left += screen.width() - p.right;
        p.right = screen.width();
    }
    if (screen.height() < p.bottom) {
        p.top += screen.height() - p.bottom;
        p.bottom = screen.height();
    }
    return p;
}

} // namespace Dayloom
