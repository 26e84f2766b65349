#include "ui/app/singleinstanceguard.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

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
    return QStringLiteral("dayloom-") + QDir::home().dirName();
}

bool SingleInstanceGuard::IsListening() const
{
    return m_server && m_server->isListening();
}

bool SingleInstanceGuard::HandOverTo(const QStringList &files)
{
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
