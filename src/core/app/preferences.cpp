#include "core/app/preferences.h"

#include "core/io/appfolders.h"
#include "core/io/inifile.h"

#include <QDir>

namespace Dayloom {

namespace {
const QString Zooming = QStringLiteral("Zooming");
const QString DefaultFont = QStringLiteral("Default Font");
const QString Icons = QStringLiteral("Icons");
const QString Hints = QStringLiteral("Hints");
const QString ClipArt = QStringLiteral("Clip Art");

QString DefaultIconFile()
{
    return QDir(ProgramFolder()).filePath(QStringLiteral("MISC1.ICL"));
}
} // namespace

void Preferences::Load(const IniFile &ini)
{
    const Preferences defaults;
    mainZoomPercent = ini.ReadInteger(Zooming, QStringLiteral("Main"), defaults.mainZoomPercent);
    propertiesZoomPercent =
        ini.ReadInteger(Zooming, QStringLiteral("Prop"), defaults.propertiesZoomPercent);
    defaultFont.SetName(
        ini.ReadString(DefaultFont, QStringLiteral("Name"), QStringLiteral("Arial")));
    defaultFont.SetSize(ini.ReadInteger(DefaultFont, QStringLiteral("Size"), 10));
    defaultFont.SetBold(ini.ReadBool(DefaultFont, QStringLiteral("Bold"), false));
    defaultFont.SetItalic(ini.ReadBool(DefaultFont, QStringLiteral("Italic"), false));
    defaultFont.SetUnderline(ini.ReadBool(DefaultFont, QStringLiteral("Underline"), false));
    defaultFont.SetStrikeOut(ini.ReadBool(DefaultFont, QStringLiteral("Strikeout"), false));
    defaultFont.SetColor(TColor(ini.ReadInteger(DefaultFont, QStringLiteral("Color"), 0)));
    iconFile = ini.ReadString(Icons, QStringLiteral("File"), DefaultIconFile());
    iconToolVisible = ini.ReadBool(Icons, QStringLiteral("Visible"), true);
    showHints = ini.ReadBool(Hints, QStringLiteral("On"), true);
    imageFolder = ini.ReadString(ClipArt, QStringLiteral("Folder"), QString());
}

void Preferences::Save(IniFile &ini) const
{
    ini.WriteInteger(Zooming, QStringLiteral("Main"), mainZoomPercent);
    ini.WriteInteger(Zooming, QStringLiteral("Prop"), propertiesZoomPercent);
    ini.WriteString(DefaultFont, QStringLiteral("Name"), defaultFont.Name());
    ini.WriteInteger(DefaultFont, QStringLiteral("Size"), defaultFont.Size());
    ini.WriteBool(DefaultFont, QStringLiteral("Bold"), defaultFont.Bold());
    ini.WriteBool(DefaultFont, QStringLiteral("Italic"), defaultFont.Italic());
    ini.WriteBool(DefaultFont, QStringLiteral("Underline"), defaultFont.Underline());
    ini.WriteBool(DefaultFont, QStringLiteral("Strikeout"), defaultFont.StrikeOut());
    ini.WriteInteger(DefaultFont, QStringLiteral("Color"), static_cast<int>(defaultFont.Color()));
    ini.WriteString(Icons, QStringLiteral("File"),
                    iconFile.isEmpty() ? DefaultIconFile() : iconFile);
    ini.WriteBool(Icons, QStringLiteral("Visible"), iconToolVisible);
    ini.WriteBool(Hints, QStringLiteral("On"), showHints);
    if (!imageFolder.isEmpty())
        ini.WriteString(ClipArt, QStringLiteral("Folder"), imageFolder);
}

} // namespace Dayloom
