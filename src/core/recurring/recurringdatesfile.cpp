#include "core/recurring/recurringdatesfile.h"

#include "core/common/windows1252.h"
#include "core/io/datafolder.h"
#include "core/io/saveatomically.h"
#include "core/io/seterror.h"
#include "core/recurring/recurringdateslist.h"
#include "core/recurring/recurringentry.h"
#include "core/recurring/recurringtext.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QStringDecoder>

namespace Dayloom {

namespace {

constexpr qint64 ChunkSize = 64 * 1024;
// Enough bytes for MaxLineLength characters in UTF-8.
constexpr qsizetype MaxLineBytes = RecurringDatesFile::MaxLineLength * 4;

bool isUtf8Continuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

QString decodeLine(QByteArray bytes)
{
    if (bytes.size() > MaxLineBytes) {
        qsizetype cut = MaxLineBytes;
        while (cut > MaxLineBytes - 3 && isUtf8Continuation(bytes.at(cut)))
            --cut;
        bytes.truncate(cut);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = DecodeWindows1252(bytes);
    if (text.size() > RecurringDatesFile::MaxLineLength) {
        text.truncate(RecurringDatesFile::MaxLineLength);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

// Collects lines from chunks of bytes, bounding each line's bytes.
class LineSplitter
{
public:
    // False once a limit is passed or a NUL byte was seen.
    bool feed(const QByteArray &chunk, QString &error)
    {
        for (const char byte : chunk) {
            if (byte == '\0') {
                error = QStringLiteral("The file is not a text file.");
                return false;
            }
            if (byte == '\n' && m_afterCarriageReturn) {
                m_afterCarriageReturn = false;
                continue;
            }
            m_afterCarriageReturn = byte == '\r';
            if (byte == '\r' || byte == '\n') {
                if (!endLine(error))
                    return false;
            } else if (m_current.size() <= MaxLineBytes) {
                m_current.append(byte);
            }
        }
        return true;
    }

    bool finish(QString &error) { return m_current.isEmpty() || endLine(error); }
    QStringList takeLines() { return std::move(m_lines); }

private:
    bool endLine(QString &error)
    {
        const QString line = decodeLine(std::exchange(m_current, {}));
        if (TrimBlanks(QStringView(line)).isEmpty())
            return true;
        if (m_lines.size() >= RecurringDatesFile::MaxLines) {
            error = QStringLiteral("The file holds more than %1 entries.")
                        .arg(RecurringDatesFile::MaxLines);
            return false;
        }
        m_lines.append(line);
        return true;
    }

    QByteArray m_current;
    QStringList m_lines;
    bool m_afterCarriageReturn = false;
};

QString withoutLineBreaks(QString line)
{
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

} // namespace

QString RecurringDatesFile::defaultPath()
{
    return QDir(DataFolder()).filePath(fileName());
}

bool RecurringDatesFile::readLines(QIODevice &device, QStringList &lines, QString *error)
{
    lines.clear();
    QString reason;
    LineSplitter splitter;
    qint64 total = 0;
    bool ok = true;
    while (ok) {
        const QByteArray chunk = device.read(ChunkSize);
        if (chunk.isEmpty()) {
            if (!device.atEnd() && !device.isSequential()) {
                reason = device.errorString();
                ok = false;
            }
            break;
        }
        total += chunk.size();
        if (total > MaxFileSize) {
            reason = QStringLiteral("The file is larger than %1 bytes.").arg(MaxFileSize);
            ok = false;
            break;
        }
        ok = splitter.feed(chunk, reason);
    }
    if (ok)
        ok = splitter.finish(reason);
    lines = splitter.takeLines();
    SetError(error, reason);
    return ok;
}

bool RecurringDatesFile::writeLines(QIODevice &device, const QStringList &lines, QString *error)
{
    SetError(error, QString());
    QByteArray bytes;
    for (const QString &line : RecurringDatesList::sorted(lines)) {
        bytes += withoutLineBreaks(line).toUtf8();
        bytes += "\r\n";
    }
    if (device.write(bytes) != bytes.size()) {
        SetError(error, device.errorString());
        return false;
    }
    return true;
}

bool RecurringDatesFile::load(const QString &path, QStringList &lines, QString *error)
{
    lines.clear();
    SetError(error, QString());
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, file.errorString());
        return false;
    }
    return readLines(file, lines, error);
}

bool RecurringDatesFile::save(const QString &path, const QStringList &lines, QString *error)
{
    return SaveAtomically(path, error, [&lines](QIODevice &device, QString *error) {
        return writeLines(device, lines, error);
    });
}

QString RecurringDatesFile::convertEarlierLine(const QString &line)
{
    return PadField(line.mid(4, 150), RecurringEntry::NameWidth) + QLatin1Char('@') +
           PadField(line.left(4), RecurringEntry::FormulaWidth);
}

bool RecurringDatesFile::convertEarlierFile(const QString &folder, QString *error)
{
    SetError(error, QString());
    const QDir dir(folder);
    const QString earlierPath = dir.filePath(earlierFileName());
    if (!QFile::exists(earlierPath))
        return true;

    QStringList earlierLines;
    if (!load(earlierPath, earlierLines, error))
        return false;
    const QString currentPath = dir.filePath(fileName());
    QStringList currentLines;
    if (!load(currentPath, currentLines, error))
        return false;

    RecurringDatesList merged(currentLines);
    for (const QString &line : std::as_const(earlierLines))
        merged.add(convertEarlierLine(line));
    if (!save(currentPath, merged.lines(), error))
        return false;
    if (!QFile::remove(earlierPath)) {
        SetError(error, QStringLiteral("%1 could not be deleted.").arg(earlierFileName()));
        return false;
    }
    return true;
}

} // namespace Dayloom
