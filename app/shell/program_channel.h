#pragma once
// One program per user and settings folder. A second start given a file hands the file over a
// local socket to the program already running, which opens it; the second start then ends. With
// no program running nothing changes: the start goes on and listens itself.

#include <QObject>
#include <QString>

class QLocalServer;

namespace zarno {

// The socket's name: per user and per settings folder ($XDG_CONFIG_HOME), so that a program
// started with a settings folder of its own (the tests, the package check) is a program of its
// own. It lives in the user's runtime folder where there is one.
QString ProgramChannelName();

// Hands `path` to the program listening on `name` and waits (at most `timeoutMs`) for it to say
// it took the file. False when no program listens or it did not answer.
bool HandToRunningProgram(const QString& name, const QString& path, int timeoutMs = 5000);

// The running program's end: each file handed over comes out as `fileHanded`.
class ProgramChannel : public QObject {
    Q_OBJECT
public:
    explicit ProgramChannel(QObject* parent = nullptr);
    ~ProgramChannel() override;

    // Listens on `name`. False when another live program already listens there (a socket left by
    // a program that died is taken over) or the socket cannot be made.
    bool Listen(const QString& name);

signals:
    void fileHanded(const QString& path);

private:
    void accept();

    QLocalServer* m_server;
};

} // namespace zarno
