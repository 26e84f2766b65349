#include "ui/app/singleinstanceguard.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace Dayloom {

namespace {
constexpr int ConnectTimeoutMs = 500;
constexpr int MaxMessageBytes = 64 * 1024;
} // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString &key, QObject *parent)
    : QObject(parent), m_key(key)
{
}

SingleInstanceGuard::~SingleInstanceGuard() = default;

QString SingleInstanceGuard::DefaultKey()
{
    // Keyed on the user id and the display: another user, or the same user
    // on another display, runs an instance of their own. The socket lives in
    // the user's runtime folder, which only the user can enter.
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    for (QChar &c : display) {
        if (!c.isLetterOrNumber())
            c = QLatin1Char('_');
    }
    const QString name = QStringLiteral("dayloom-%1-%2").arg(::getuid()).arg(display);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

bool SingleInstanceGuard::IsListening() const
{
    return m_server && m_server->isListening();
}

bool SingleInstanceGuard::HandOverTo(const QStringList &files)
{
    // A socket file that another user owns is not ours to talk to (nor to
    // remove): this instance runs on its own, unguarded.
    const QFileInfo socketFile(m_key);
    if (socketFile.isAbsolute() && socketFile.exists() && socketFile.ownerId() != ::getuid())
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (socket.waitForConnected(ConnectTimeoutMs)) {
        QByteArray message;
        QDataStream out(&message, QIODevice::WriteOnly);
        QStringList absolute;
        for (const QString &file : files)
            absolute << QDir::current().absoluteFilePath(file);
        out << absolute;
        socket.write(message);
        socket.waitForBytesWritten(ConnectTimeoutMs);
        socket.disconnectFromServer();
        return true;
    }
    // Nobody answers: a stale socket of a crashed run may remain.
    QLocalServer::removeServer(m_key);
    m_server = new QLocalServer(this);
    // Only this user may connect and hand files over.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstanceGuard::ReadMessage);
    m_server->listen(m_key);
    return false;
}

void SingleInstanceGuard::ReadMessage()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        auto deliver = [this, socket, buffer] {
            if (buffer->size() < MaxMessageBytes)
                buffer->append(socket->readAll().left(MaxMessageBytes));
            if (socket->state() == QLocalSocket::ConnectedState)
                return;
            QDataStream in(*buffer);
            QStringList files;
            in >> files;
            if (in.status() != QDataStream::Ok)
                files.clear();
            Q_EMIT activationRequested(files);
        };
        connect(socket, &QLocalSocket::readyRead, this, deliver);
        connect(socket, &QLocalSocket::disconnected, this, deliver);
    }
}

} // namespace Dayloom
