#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace Dayloom {

class IniFile;

// The list of recently opened calendar files (index 0 = most recent). The
// main window shows it at the end of its File menu as "&1 <path>" ... and
// rebuilds those entries on listChanged().
class TMRUFileList : public QObject
{
    Q_OBJECT

public:
    explicit TMRUFileList(QObject *parent = nullptr);

    int Maximum() const { return m_maximum; }
    // Dropping below the current length drops the oldest entries.
    void SetMaximum(int maximum);
    bool RemoveOnClick() const { return m_removeOnClick; }
    void SetRemoveOnClick(bool on) { m_removeOnClick = on; }
    // Section of the settings file that holds the list ("MRU").
    const QString &AutoSaveKey() const { return m_autoSaveKey; }
    void SetAutoSaveKey(const QString &key) { m_autoSaveKey = key; }

    const QStringList &Files() const { return m_files; }
    // Puts the path at the top (moving it there when present, compared
    // exactly) and drops entries beyond Maximum.
    void Add(const QString &path);
    // Drops the path (compared exactly); false when it is not listed.
    bool Remove(const QString &path);
    // Reads every value of the section in file order.
    void Load(const IniFile &ini);
    // Replaces the section by keys "F0", "F1", ...
    void Store(IniFile &ini) const;
    // The menu entry at 1-based position: returns its file name (empty when
    // out of range), removing it first when RemoveOnClick is set, then
    // emits itemClicked with it.
    QString Click(int position);
    // "&<position> <path>" for 1-based positions.
    static QString MenuCaption(int position, const QString &path);

Q_SIGNALS:
    void listChanged();
    void itemClicked(const QString &path);

private:
    void Trim();

    QStringList m_files;
    int m_maximum = 5;
    bool m_removeOnClick = true;
    QString m_autoSaveKey = QStringLiteral("MRU Items");
};

} // namespace Dayloom
