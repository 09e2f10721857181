#include "platform/SingleInstance.h"

#include "platform/AppTitle.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace gf {

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kReplyTimeoutMs = 2000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");
const QByteArray kActivated = QByteArrayLiteral("ok\n");

} // namespace

QString SingleInstance::defaultKey()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    // Socket names must be plain; the hash keeps different users apart.
    const QByteArray hash =
        QCryptographicHash::hash(user.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QString::fromLatin1(kApplicationTitle) + QLatin1Char('-') + QString::fromLatin1(hash);
}

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), m_key(key) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryActivateRunning()
{
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    // A live instance answers at once; one that is busy still counts as running.
    socket.waitForReadyRead(kReplyTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    if (isListening())
        return true;
    if (!m_server) {
        m_server = new QLocalServer(this);
        // No access options: with them the server binds elsewhere and renames the
        // socket into place, silently taking the key from a live instance.
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    }
    if (m_server->listen(m_key))
        return true;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Either another instance holds the key or a crashed one left its socket behind.
    QLocalSocket probe;
    probe.connectToServer(m_key);
    if (probe.waitForConnected(kConnectTimeoutMs)) {
        probe.disconnectFromServer();
        return false;
    }
    QLocalServer::removeServer(m_key);
    return m_server->listen(m_key);
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto answer = [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == kActivate) {
                    socket->write(kActivated);
                    socket->flush();
                    emit activationRequested();
                }
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, answer);
        answer(); // the request may have arrived with the connection
    }
}

void SingleInstance::bringToFront(QWidget* window)
{
    if (!window)
        return;
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace gf
