#pragma once

#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

namespace Dayloom {

// A sectioned settings file ("[Section]" lines, then "Key=Value" lines),
// kept in file order. Section and key names compare ignoring case and may
// hold spaces. Integers are written in decimal and read as decimal or, for
// texts longer than two characters starting with "0x", as hexadecimal;
// booleans are written "1"/"0" and read as integers. A missing or unreadable
// value gives the default.
class IniFile
{
public:
    // Lines longer than this, and files larger than MaxFileSize, are not
    // settings files: the reader gives up on them.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    IniFile() = default;
    explicit IniFile(const QString &path) : m_path(path) {}

    const QString &Path() const { return m_path; }

    // Reads the file at Path(); a missing file is an empty, valid file.
    bool Load(QString *error = nullptr);
    // Writes atomically to Path() (the old file stays when writing fails).
    bool Save(QString *error = nullptr) const;

    bool Read(QIODevice &device, QString *error = nullptr);
    bool Write(QIODevice &device, QString *error = nullptr) const;

    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;
    bool HasKey(const QString &section, const QString &key) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);

    // The values of every "Key=Value" line of a section in file order (the
    // text after the first "=").
    QStringList SectionValues(const QString &section) const;
    void EraseSection(const QString &section);

    // Reads an integer setting text: decimal, or "0x..." hexadecimal.
    static bool ParseInteger(const QString &text, int *value);

private:
    struct Entry
    {
        QString key;
        QString value;
    };
    struct Section
    {
        QString name;
        QList<Entry> entries;
    };

    const Section *FindSection(const QString &name) const;
    Section &SectionFor(const QString &name);
    const Entry *FindEntry(const QString &section, const QString &key) const;

    QString m_path;
    QList<Section> m_sections;
};

} // namespace Dayloom
