// The lock file and the local socket of the single-instance guard.
#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace qb {
namespace {

constexpr char kRaise[] = "raise\n";

}  // namespace

SingleInstance::SingleInstance(const QString& programFolder, QObject* parent)
    : QObject(parent), lock_(QDir(programFolder).filePath(QStringLiteral("quillbank.lock"))) {
    // One name per program folder, short enough for a socket path.
    const QByteArray folder = QDir(programFolder).canonicalPath().toUtf8();
    serverName_ = QStringLiteral("quillbank-") +
                  QString::fromLatin1(
                      QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16));
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::becomePrimary() {
    if (!lock_.tryLock(0)) return false;
    server_ = std::make_unique<QLocalServer>();
    // A socket left by a copy that crashed would block listening.
    QLocalServer::removeServer(serverName_);
    if (!server_->listen(serverName_)) return true;  // still the only copy, just unreachable
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = server_->nextPendingConnection()) {
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                if (peer->readAll().contains("raise")) emit raiseRequested();
                peer->disconnectFromServer();
            });
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        }
    });
    return true;
}

bool SingleInstance::askPrimaryToRaise() {
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(2000)) return false;
    socket.write(kRaise);
    const bool sent = socket.waitForBytesWritten(2000);
    socket.disconnectFromServer();
    return sent;
}

}  // namespace qb
