#include "app/shell/program_channel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace zarno {

namespace {

// A path is a line; anything longer than a path can be is not one of ours.
constexpr qint64 kMaxLine = 64 * 1024;
constexpr char kTaken[] = "taken\n";

} // namespace

QString ProgramChannelName() {
    const QString settings = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                                 .absolutePath();
    const QByteArray folder =
        QCryptographicHash::hash(settings.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    const QString name = QStringLiteral("zarno-%1-%2").arg(::getuid()).arg(QString::fromLatin1(folder));
    // The runtime folder is the user's alone; without one the socket goes to the shared temporary
    // folder, its name still carrying the user.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).absoluteFilePath(name);
    return name;
}

bool HandToRunningProgram(const QString& name, const QString& path, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine() == kTaken;
}

ProgramChannel::ProgramChannel(QObject* parent) : QObject(parent), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &ProgramChannel::accept);
}

ProgramChannel::~ProgramChannel() = default;

bool ProgramChannel::Listen(const QString& name) {
    // Someone answers there: that program keeps the name. (Listening would put a new socket in
    // place of its one.)
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(1000))
        return false;
    if (m_server->listen(name))
        return true;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Nobody answers: a program that ended without tidying up left its socket behind.
    QLocalServer::removeServer(name);
    return m_server->listen(name);
}

void ProgramChannel::accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxLine)
                    socket->abort();
                return;
            }
            const QByteArray line = socket->readLine(kMaxLine);
            if (!line.endsWith('\n')) {
                socket->abort();
                return;
            }
            const QString path = QString::fromUtf8(line.chopped(1));
            socket->write(kTaken);
            socket->flush();
            socket->disconnectFromServer();
            if (!path.isEmpty())
                emit fileHanded(path);
        });
    }
}

} // namespace zarno
