// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pf {

namespace {

const QString Lock_Name = QStringLiteral(".Parlo_film.lock");
const QByteArray Raise_Request = "raise\n";
constexpr int Ask_Timeout_Ms = 2000;

}  // namespace

Single_Instance::Single_Instance(const QString& appFolder, QObject* parent) : QObject(parent), folder_(appFolder) {}

Single_Instance::~Single_Instance() = default;

QString Single_Instance::Server_Name(const QString& appFolder)
{
    const QString canonical = QFileInfo(appFolder).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? QDir::cleanPath(appFolder) : canonical).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("Parlo_film-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool Single_Instance::Acquire()
{
    // O_NOFOLLOW: the lock file is ours; a link there is not followed to somebody else's file.
    const QByteArray path = QFile::encodeName(QDir(folder_).filePath(Lock_Name));
    lock_ = Unique_Fd(::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600));
    if (!lock_.Valid())
        return true;
    if (::flock(lock_.Get(), LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        lock_ = Unique_Fd();
        return !held;
    }
    Listen();
    return true;
}

void Single_Instance::Listen()
{
    const QString name = Server_Name(folder_);
    // Only the lock's owner gets here, so a socket left by a crashed owner can go.
    QLocalServer::removeServer(name);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s->readAll().contains(Raise_Request))
                    emit raiseRequested();
            });
        }
    });
    server_->listen(name);
}

void Single_Instance::Ask_Owner_To_Raise() const
{
    QLocalSocket socket;
    socket.connectToServer(Server_Name(folder_));
    if (!socket.waitForConnected(Ask_Timeout_Ms))
        return;
    socket.write(Raise_Request);
    socket.waitForBytesWritten(Ask_Timeout_Ms);
    socket.disconnectFromServer();
}

}  // namespace pf
