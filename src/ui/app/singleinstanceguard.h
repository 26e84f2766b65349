#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

namespace Dayloom {

// Keeps one Dayloom per user: the first instance listens on a local socket;
// a later one hands its files to it and ends. The running instance then
// raises its window (restoring it when minimised) and opens the files.
class SingleInstanceGuard : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstanceGuard(const QString &key = DefaultKey(), QObject *parent = nullptr);
    ~SingleInstanceGuard() override;

    // True when another instance took the message; this one should end.
    // Otherwise this instance starts listening and returns false (it does
    // not when the socket path belongs to another user).
    bool HandOverTo(const QStringList &files);
    bool IsListening() const;

    // The socket path for this user and display, in the user's runtime folder.
    static QString DefaultKey();

Q_SIGNALS:
    // Another start asked this instance to come to the front and open files.
    void activationRequested(const QStringList &files);

private:
    void ReadMessage();

    QString m_key;
    QLocalServer *m_server = nullptr;
};

} // namespace Dayloom
