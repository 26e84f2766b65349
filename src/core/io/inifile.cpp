#include "core/io/inifile.h"

#include "core/io/saveatomically.h"
#include "core/io/seterror.h"

#include <QFile>

namespace Dayloom {

bool IniFile::Load(QString *error)
{
    m_sections.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, file.errorString());
        return false;
    }
    return Read(file, error);
}

bool IniFile::Save(QString *error) const
{
    return SaveAtomically(
        m_path, error, [this](QIODevice &device, QString *error) { return Write(device, error); });
}

bool IniFile::Read(QIODevice &device, QString *error)
{
    m_sections.clear();
    if (device.size() > MaxFileSize) {
        SetError(error, QStringLiteral("The settings file is too large"));
        return false;
    }
    const QByteArray bytes = device.read(MaxFileSize + 1);
    // Older files were written in the system's 8-bit code page; anything that
    // is not valid UTF-8 is read as Latin-1.
    QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter))
        text = QString::fromLatin1(bytes);
    Section *current = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = &SectionFor(line.mid(1, line.size() - 2).trimmed());
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!current || equals <= 0)
            continue;
        current->entries.append({line.left(equals).trimmed(), line.mid(equals + 1)});
    }
    return true;
}

bool IniFile::Write(QIODevice &device, QString *error) const
{
    QByteArray out;
    for (const Section &section : m_sections) {
        out += '[' + section.name.toUtf8() + "]\r\n";
        for (const Entry &entry : section.entries)
            out += entry.key.toUtf8() + '=' + entry.value.toUtf8() + "\r\n";
        out += "\r\n";
    }
    if (device.write(out) != out.size()) {
        SetError(error, device.errorString());
        return false;
    }
    return true;
}

const IniFile::Section *IniFile::FindSection(const QString &name) const
{
    for (const Section &section : m_sections)
        if (section.name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    return nullptr;
}

IniFile::Section &IniFile::SectionFor(const QString &name)
{
    for (Section &section : m_sections)
        if (section.name.compare(name, Qt::CaseInsensitive) == 0)
            return section;
    m_sections.append({name, {}});
    return m_sections.last();
}

const IniFile::Entry *IniFile::FindEntry(const QString &section, const QString &key) const
{
    const Section *found = FindSection(section);
    if (!found)
        return nullptr;
    for (const Entry &entry : found->entries)
        if (entry.key.compare(key, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

bool IniFile::HasKey(const QString &section, const QString &key) const
{
    return FindEntry(section, key) != nullptr;
}

QString IniFile::ReadString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const Entry *entry = FindEntry(section, key);
    return entry ? entry->value : defaultValue;
}

bool IniFile::ParseInteger(const QString &text, int *value)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    int parsed = 0;
    if (trimmed.size() > 2 && trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        parsed = static_cast<int>(trimmed.mid(2).toUInt(&ok, 16));
    else
        parsed = trimmed.toInt(&ok, 10);
    if (ok)
        *value = parsed;
    return ok;
}

int IniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    const Entry *entry = FindEntry(section, key);
    int value = defaultValue;
    if (entry && ParseInteger(entry->value, &value))
        return value;
    return defaultValue;
}

bool IniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    // Values are single lines.
    QString clean = value;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    Section &target = SectionFor(section);
    for (Entry &entry : target.entries) {
        if (entry.key.compare(key, Qt::CaseInsensitive) == 0) {
            entry.value = clean;
            return;
        }
    }
    target.entries.append({key, clean});
}

void IniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList IniFile::SectionValues(const QString &section) const
{
    QStringList values;
    if (const Section *found = FindSection(section))
        for (const Entry &entry : found->entries)
            values << entry.value;
    return values;
}

void IniFile::EraseSection(const QString &section)
{
    for (qsizetype i = 0; i < m_sections.size(); ++i) {
        if (m_sections[i].name.compare(section, Qt::CaseInsensitive) == 0) {
            m_sections.removeAt(i);
            return;
        }
    }
}

} // namespace Dayloom
