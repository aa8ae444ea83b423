#include "cli/device_command.h"

#include "app/remotedisk/remote_device.h"
#include "app/remotedisk/transfer_cancel.h"
#include "app/seams/stderr_prompts.h"
#include "cli/terminal_progress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <arpa/inet.h>
#include <cstdio>
#include <optional>

namespace zarno {

namespace {

const char* const kUsage =
    "usage: zarno-cli device (--udp HOST[:PORT] [--local-port PORT] | --serial COM1|COM2 [--line-addr N]\n"
    "                        [--speed BAUD]) [--retries N] COMMAND\n"
    "  COMMAND: info | ls [PATH] | get PATH [LOCAL] | put LOCAL [PATH] | rm PATH | mkdir PATH\n"
    "  PATH on the instrument: REC\\DATA.DDB or REC/DATA.DDB; ports as configured (6767 local, 6768 "
    "remote)\n";

struct Options {
    bool serial = false;
    int32_t com = kLinkCom1;
    QString host;
    uint32_t remotePort = 6768;
    uint32_t localPort = 6767;
    uint32_t lineAddr = 2;
    uint32_t speed = 115200;
    int retries = 3;
    QString command;
    QStringList operands;
};

int Fail(const QString& text) {
    std::fprintf(stderr, "zarno-cli device: %s\n", text.toLocal8Bit().constData());
    return 2;
}

bool ParseNumber(const QString& text, uint32_t max, uint32_t* out) {
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value > max)
        return false;
    *out = value;
    return true;
}

std::optional<Options> Parse(const QStringList& args, QString* error) {
    Options o;
    bool haveLink = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        uint32_t n = 0;
        if (!o.command.isEmpty()) {
            o.operands << a;
        } else if (a == "--udp") {
            const auto v = value();
            if (!v)
                return *error = "--udp needs HOST[:PORT]", std::nullopt;
            const QStringList parts = v->split(':');
            o.host = parts[0];
            if (parts.size() > 2 || (parts.size() == 2 && !ParseNumber(parts[1], 65535, &o.remotePort)))
                return *error = "bad --udp " + *v, std::nullopt;
            haveLink = true;
        } else if (a == "--serial") {
            const auto v = value();
            if (!v || (v->toUpper() != "COM1" && v->toUpper() != "COM2"))
                return *error = "--serial takes COM1 or COM2", std::nullopt;
            o.serial = true;
            o.com = v->toUpper() == "COM1" ? kLinkCom1 : kLinkCom2;
            haveLink = true;
        } else if (a == "--local-port" || a == "--line-addr" || a == "--speed" || a == "--retries") {
            const auto v = value();
            const uint32_t max = a == "--speed" ? 4000000 : a == "--retries" ? 1000 : 65535;
            if (!v || !ParseNumber(*v, max, &n))
                return *error = a + " needs a number", std::nullopt;
            if (a == "--local-port")
                o.localPort = n;
            else if (a == "--line-addr")
                o.lineAddr = n;
            else if (a == "--speed")
                o.speed = n;
            else
                o.retries = int(n);
        } else if (a.startsWith("--")) {
            return *error = "unknown option " + a, std::nullopt;
        } else {
            o.command = a;
        }
    }
    if (!haveLink)
        return *error = "choose --udp HOST or --serial COM1|COM2", std::nullopt;
    if (o.command.isEmpty())
        return *error = "no command", std::nullopt;
    return o;
}

// An instrument path split into its directories and its last name.
struct DevicePath {
    QStringList directories;
    QString name;
};

DevicePath SplitDevicePath(QString path) {
    path.replace('/', '\\');
    if (path.startsWith("z:\\", Qt::CaseInsensitive))
        path = path.mid(3);
    QStringList parts = path.split('\\', Qt::SkipEmptyParts);
    DevicePath p;
    if (!parts.isEmpty())
        p.name = parts.takeLast();
    p.directories = parts;
    return p;
}

QString PanelPath(const QStringList& directories) {
    return "z:\\" + directories.join('\\');
}

// A name the instrument can hold: 1 to 8 characters, optionally a dot and 0 to 3 more; nothing that
// could leave its directory.
bool IsShortName(const QString& name) {
    static const QString kForbidden = QStringLiteral("\\/:*?\"<>| ");
    if (name.isEmpty() || name == "." || name == ".." || name.count('.') > 1)
        return false;
    for (QChar c : name)
        if (kForbidden.contains(c) || c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    const qsizetype dot = name.indexOf('.');
    const qsizetype stem = dot < 0 ? name.size() : dot;
    return stem >= 1 && stem <= 8 && (dot < 0 || name.size() - dot - 1 <= 3);
}

class DeviceSession {
public:
    DeviceSession(const Options& o) : m_options(o), m_prompts(o.retries), m_device(m_prompts) {}
    ~DeviceSession() { m_device.Disconnect(); }

    bool Connect() {
        if (m_options.serial) {
            m_device.m_nRemoteLineAddr = m_options.lineAddr;
            m_device.m_nComSpeed = m_options.speed;
            return m_device.ConnectCom(m_options.com) == 1;
        }
        in_addr address{};
        if (inet_pton(AF_INET, m_options.host.toLatin1().constData(), &address) != 1) {
            Fail("not an IPv4 address: " + m_options.host);
            return false;
        }
        m_device.m_nRemoteIP = ntohl(address.s_addr); // first octet in the high byte
        m_device.m_nRemotePort = m_options.remotePort;
        m_device.m_nLocalPort = m_options.localPort;
        return m_device.ConnectNetwork() == 1;
    }

    // Makes the instrument's current directory the given one, from its root.
    bool Enter(const QStringList& directories) {
        if (m_device.ChangeDirectory("z:\\") != 1)
            return false;
        for (const QString& d : directories)
            if (m_device.ChangeDirectory(d) != 1)
                return false;
        return true;
    }

    std::vector<std::unique_ptr<CFileEntry>> List(const QStringList& directories, bool* ok) {
        m_device.Listing().clear();
        *ok = Enter(directories) && m_device.ReadDirectory(PanelPath(directories)) == 1;
        std::vector<std::unique_ptr<CFileEntry>> entries;
        for (auto& e : m_device.Listing())
            entries.push_back(std::move(e));
        m_device.Listing().clear();
        std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
            if (a->isDirectory != b->isDirectory)
                return a->isDirectory;
            return a->fileName < b->fileName;
        });
        return entries;
    }

    // The entry named `path`, after entering its directory.
    std::unique_ptr<CFileEntry> Find(const DevicePath& path, bool* listed) {
        auto entries = List(path.directories, listed);
        for (auto& e : entries)
            if (e->fileName.compare(path.name, Qt::CaseInsensitive) == 0)
                return std::move(e);
        return nullptr;
    }

    int Info();
    int Ls(const QStringList& operands);
    int Get(QStringList operands);
    int Put(const QStringList& operands);
    int Remove(const QStringList& operands);
    int MakeDir(const QStringList& operands);

private:
    Options m_options;
    StderrPrompts m_prompts;
    CRemoteDevice m_device;
};

int DeviceSession::Info() {
    DiskInfo info;
    if (m_device.GetDiskInfo(&info) != 1)
        return 1;
    std::printf("status: %u\nkind: %u\ntotal: %u bytes\nfree: %u bytes\nlabel: %s\n", info.status(),
                info.kind(), info.totalBytes(), info.freeBytes(), info.label().toLocal8Bit().constData());
    return info.status() == 0 ? 0 : 1;
}

int DeviceSession::Ls(const QStringList& operands) {
    const QStringList directories =
        operands.isEmpty() ? QStringList() : SplitDevicePath(operands[0] + "\\x").directories;
    bool ok = false;
    const auto entries = List(directories, &ok);
    if (!ok)
        return 1;
    for (const auto& e : entries) {
        const QString when = e->lastChange.isValid() ? e->lastChange.toString("yyyy-MM-dd hh:mm:ss") : "-";
        const QString size = e->isDirectory ? QStringLiteral("<Dir>") : QString::number(e->size);
        std::printf("%10s  %-19s  %s\n", size.toLocal8Bit().constData(), when.toLocal8Bit().constData(),
                    e->fileName.toLocal8Bit().constData());
    }
    return 0;
}

int DeviceSession::Get(QStringList operands) {
    const bool asSgy = operands.removeAll("--sgy") > 0;
    if (operands.isEmpty() || operands.size() > 2)
        return Fail("get [--sgy] PATH [LOCAL]");
    const DevicePath path = SplitDevicePath(operands[0]);
    bool listed = false;
    const auto entry = Find(path, &listed);
    if (!listed)
        return 1;
    if (!entry || entry->isDirectory)
        return Fail("no such file on the instrument: " + operands[0]);
    const QString localName = asSgy ? entry->title + ".sgy" : entry->fileName;
    QString local = operands.size() == 2 ? operands[1] : localName;
    if (QFileInfo(local).isDir())
        local = QDir(local).filePath(localName);
    TerminalProgress progress(entry->fileName);
    const int result = asSgy ? m_device.CopyFromDeviceAsSgy(entry->deviceName, local, &progress)
                             : m_device.CopyFromDevice(entry->deviceName, local, &progress);
    return result == 1 ? 0 : 1;
}

int DeviceSession::Put(const QStringList& operands) {
    if (operands.isEmpty() || operands.size() > 2)
        return Fail("put LOCAL [PATH]");
    const QFileInfo local(operands[0]);
    DevicePath path;
    if (operands.size() == 2) {
        path = SplitDevicePath(operands[1]);
        if (operands[1].endsWith('/') || operands[1].endsWith('\\')) {
            path.directories << path.name;
            path.name.clear();
        }
    }
    if (path.name.isEmpty())
        path.name = local.fileName();
    if (!IsShortName(path.name)) {
        m_prompts.message(QString::fromUtf8("Неправильно задано имя файла!"), "Error!", PromptIcon::Stop);
        return 1;
    }
    if (!Enter(path.directories))
        return 1;
    TerminalProgress progress(path.name);
    return m_device.CopyToDevice(local.filePath(), NewFileDeviceName(path.name), &progress) == 1 ? 0 : 1;
}

int DeviceSession::Remove(const QStringList& operands) {
    if (operands.size() != 1)
        return Fail("rm PATH");
    const DevicePath path = SplitDevicePath(operands[0]);
    bool listed = false;
    const auto entry = Find(path, &listed);
    if (!listed)
        return 1;
    if (!entry || entry->fileName == "..")
        return Fail("no such file on the instrument: " + operands[0]);
    if (m_device.DeleteRemoteFile(entry->deviceName) != 1)
        return 1;
    // The instrument's answer to a delete says nothing; look again, so that success is not assumed.
    if (Find(path, &listed) || !listed)
        return Fail("the instrument still lists " + operands[0]);
    return 0;
}

int DeviceSession::MakeDir(const QStringList& operands) {
    if (operands.size() != 1)
        return Fail("mkdir PATH");
    const DevicePath path = SplitDevicePath(operands[0]);
    if (path.name.isEmpty() || path.name.size() > 8 || path.name.contains('.'))
        return Fail("a directory name has 1 to 8 characters and no dot: " + operands[0]);
    if (!Enter(path.directories) || m_device.MakeDirectory(path.name) != 1)
        return 1;
    bool listed = false;
    const auto made = Find(path, &listed);
    if (!listed)
        return 1;
    if (!made || !made->isDirectory)
        return Fail("the instrument did not make " + operands[0]);
    return 0;
}

} // namespace

} // namespace zarno

namespace zarno::cli {

int RunDevice(const QStringList& args) {
    using namespace zarno;
    // Exchanges run a nested event loop, which needs an application object.
    static int argc = 1;
    static char name[] = "zarno-cli";
    static char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QString error;
    const auto options = Parse(args, &error);
    if (!options) {
        std::fprintf(stderr, "zarno-cli device: %s\n%s", error.toLocal8Bit().constData(), kUsage);
        return 2;
    }
    DeviceSession session(*options);
    if (!session.Connect())
        return 1;
    const QString& c = options->command;
    const QStringList& ops = options->operands;
    if (c == "info" && ops.isEmpty())
        return session.Info();
    if (c == "ls" && ops.size() <= 1)
        return session.Ls(ops);
    if (c == "get")
        return session.Get(ops);
    if (c == "put")
        return session.Put(ops);
    if (c == "rm")
        return session.Remove(ops);
    if (c == "mkdir")
        return session.MakeDir(ops);
    std::fprintf(stderr, "zarno-cli device: unknown command or operands: %s\n%s", c.toLocal8Bit().constData(),
                 kUsage);
    return 2;
}

} // namespace zarno::cli
