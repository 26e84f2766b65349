#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

// The recurring-dates file "DLRECUR.DAX" in the data folder (the program
// folder when it can be written, see DataFolder()): plain text, one entry per
// line, lines ended by CR LF, sorted by the whole line ignoring case. It is
// written as UTF-8; a line that is not valid UTF-8 is read as Windows-1252,
// as older files were written. A missing file is an empty list.
//
// The earlier file "DLRECUR.DAT" held one entry per line as four characters
// MMDD followed by the name; it is converted into DLRECUR.DAX once and then
// deleted.
//
// Readers accept CR LF, LF or CR line ends, skip blank lines, keep at most
// MaxLineLength characters of a line (the rest is dropped), and fail on a
// file with a NUL byte, more than MaxLines entries or more than MaxFileSize
// bytes. On failure the lines read so far are returned along with the error.

namespace Dayloom {

class RecurringDatesFile
{
public:
    static constexpr qsizetype MaxLineLength = 1024;
    static constexpr int MaxLines = 100000;
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    static QString fileName() { return QStringLiteral("DLRECUR.DAX"); }
    static QString earlierFileName() { return QStringLiteral("DLRECUR.DAT"); }
    // DataFolder() + "DLRECUR.DAX", where the window reads and writes it.
    static QString defaultPath();

    // Reads the lines of a recurring-dates (or earlier) file.
    static bool readLines(QIODevice &device, QStringList &lines, QString *error = nullptr);
    // Writes the lines sorted (every line kept, also lines that differ only
    // in letter case), each ended by CR LF. Line breaks inside a line become blanks.
    static bool writeLines(QIODevice &device, const QStringList &lines, QString *error = nullptr);

    // Reads the file at path; a missing file gives an empty list and true.
    static bool load(const QString &path, QStringList &lines, QString *error = nullptr);
    // Writes the file at path through QSaveFile: the old file stays intact
    // unless the whole new one was written.
    static bool save(const QString &path, const QStringList &lines, QString *error = nullptr);

    // One line of the earlier file as an entry: PadField(characters 5-154,
    // 120) + "@" + PadField(characters 1-4, 10), so "1225Christmas" becomes
    // "Christmas", blanks to 120, "@1225" and six blanks.
    static QString convertEarlierLine(const QString &line);

    // When folder holds DLRECUR.DAT: converts its lines, merges them into
    // DLRECUR.DAX of the same folder (entries already there are kept) and
    // deletes DLRECUR.DAT. The earlier file is deleted only after the new
    // one is safely written; on any failure both files stay as they were.
    // No earlier file: nothing to do, true.
    static bool convertEarlierFile(const QString &folder, QString *error = nullptr);
};

} // namespace Dayloom
