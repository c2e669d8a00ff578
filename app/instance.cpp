#include "app/instance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace talik {
namespace {

constexpr int ConnectWaitMs = 1000;
constexpr int ReplyWaitMs = 3000;
const QByteArray RaiseRequest = "raise\n";
const QByteArray RaiseDone = "ok\n";

} // namespace

InstanceGuard::InstanceGuard(const QString& name, QObject* parent) : QObject(parent), m_name(name) {}

bool InstanceGuard::handOver()
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(ConnectWaitMs)) {
        return false;
    }
    socket.write(RaiseRequest);
    socket.waitForBytesWritten(ReplyWaitMs);
    // The first copy answers once its window is forward; a busy one may take a moment.
    while (socket.bytesAvailable() < RaiseDone.size() && socket.waitForReadyRead(ReplyWaitMs)) {
    }
    return true;
}

bool InstanceGuard::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceGuard::answer);
    return m_server->listen(m_name);
}

void InstanceGuard::answer()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                return;
            }
            if (socket->readLine() == RaiseRequest) {
                emit raiseRequested();
                socket->write(RaiseDone);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

} // namespace talik
