#include "cli/device_command.h"

#include "app/fileops/fileops_texts.h"
#include "app/link/link_settings.h"
#include "app/remotedisk/device_name.h"
#include "app/remotedisk/device_walk.h"
#include "app/remotedisk/remote_device.h"
#include "app/remotedisk/remote_texts.h"
#include "app/remotedisk/transfer_cancel.h"
#include "app/seams/stderr_prompts.h"
#include "app/shell/drive_names.h"
#include "cli/terminal_progress.h"
#include "cli/terminal_text.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace zarno {

namespace {

const char* const kLinkOptions = "(--udp HOST[:PORT] [--local-port PORT] | --serial COM1|COM2 [--line-addr "
                                 "N] [--speed BAUD]) [--retries N]";

// Each command and its operands, for the usage texts and for the message of a command given wrong
// operands.
struct CommandForm {
    const char* name;
    const char* operands;
};
constexpr CommandForm kCommandForms[] = {
    {"info", ""},
    {"ls", "[PATH]"},
    {"get", "[--sgy] PATH [LOCAL]"},
    {"put", "LOCAL [PATH]"},
    {"rm", "[-r [--yes]] PATH"},
    {"mkdir", "PATH"},
};

QString FormOf(const CommandForm& c) {
    return *c.operands ? QString::fromLatin1(c.name) + ' ' + QLatin1String(c.operands) : QString::fromLatin1(c.name);
}

QString CommandForms() {
    QStringList forms;
    for (const CommandForm& c : kCommandForms)
        forms << FormOf(c);
    return forms.join(" | ");
}

QByteArray Usage() {
    return ("usage: zarno-cli device " + QString::fromLatin1(kLinkOptions) + " COMMAND\n  COMMAND: " +
            CommandForms() +
            "\n  PATH on the instrument: REC\\DATA.DDB or REC/DATA.DDB; ports as configured (" +
            QString::number(kDefaultLocalPort) + " local, " + QString::number(kDefaultRemotePort) + " remote)\n")
        .toLocal8Bit();
}

struct Options {
    LinkSettings link; // its link type says serial (COM1, COM2) or the network
    int retries = 3;
    QString command;
    QStringList operands;
};

// The instrument's file commands speak in the words of the copy, delete and make-directory windows.
const char* const kTextDiskInfoFailed =
    QT_TRANSLATE_NOOP("zarno", "Ошибка при получении информации об удаленном диске!");

using cli::kExitFailed;
using cli::kExitOk;
// The longest file name the computer's file systems take, in bytes.
constexpr qsizetype kMaxLocalName = 255;

int Fail(const QString& text) {
    std::fprintf(stderr, "zarno-cli device: %s\n", text.toLocal8Bit().constData());
    return 2;
}

// A command given operands it does not take: its form.
int WrongOperands(const char* command) {
    for (const CommandForm& c : kCommandForms)
        if (qstrcmp(c.name, command) == 0)
            return Fail(FormOf(c));
    return Fail(QString::fromLatin1(command));
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
            const auto address = ParseIpAddress(parts[0]);
            if (!address)
                return *error = "not an IPv4 address: " + parts[0], std::nullopt;
            o.link.remoteIP = *address;
            if (parts.size() > 2 || (parts.size() == 2 && !ParseNumber(parts[1], 65535, &o.link.remotePort)))
                return *error = "bad --udp " + *v, std::nullopt;
            o.link.linkType = kLinkNetwork;
            haveLink = true;
        } else if (a == "--serial") {
            const auto v = value();
            if (!v || (v->toUpper() != "COM1" && v->toUpper() != "COM2"))
                return *error = "--serial takes COM1 or COM2", std::nullopt;
            o.link.linkType = v->toUpper() == "COM1" ? kLinkCom1 : kLinkCom2;
            haveLink = true;
        } else if (a == "--local-port" || a == "--line-addr" || a == "--speed" || a == "--retries") {
            const auto v = value();
            const uint32_t max = a == "--speed" ? 4000000 : a == "--retries" ? 1000 : 65535;
            if (!v || !ParseNumber(*v, max, &n))
                return *error = a + " needs a number", std::nullopt;
            if (a == "--local-port")
                o.link.localPort = n;
            else if (a == "--line-addr")
                o.link.remoteLineAddr = n;
            else if (a == "--speed")
                o.link.comSpeed = n;
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
    if (const QString problem = o.link.Problem(); !problem.isEmpty())
        return *error = problem, std::nullopt;
    if (o.command.isEmpty())
        return *error = "no command", std::nullopt;
    return o;
}

// An instrument path split into its directories and its last name.
struct DevicePath {
    QStringList directories;
    QString name;
};

DevicePath SplitDevicePath(const QString& path) {
    DevicePath p;
    p.directories = DeviceWalk::Names(path);
    if (!p.directories.isEmpty())
        p.name = p.directories.takeLast();
    return p;
}

QString PanelPath(const QStringList& directories) {
    return kDeviceDrive + directories.join('\\');
}

// Every signal that ends the program: Ctrl-C, SIGTERM, the SIGHUP of a closed terminal, SIGQUIT. The
// first asks the running transfer to stop as its Cancel button would, so that its clean-up runs (an
// upload's file deleted from the instrument, a download's handle closed and no file left on the
// computer); the second ends the program at once, and names the partial file that an upload then
// leaves on the instrument. (`timeout` relays one signal twice, to the program and to its group.)
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
volatile std::sig_atomic_t g_signal = 0; // the first ending signal; 0 before one came
// The instrument path of the file an upload is making, for the handler's last words. Written only
// while g_uploading is 0, so the handler never reads it half written.
char g_uploadPath[128];
volatile std::sig_atomic_t g_uploading = 0;
static_assert(std::atomic<bool>::is_always_lock_free, "the cancel flag is set from a signal handler");

void WriteToStderr(const char* text) {
    (void)!write(STDERR_FILENO, text, std::strlen(text));
}

extern "C" void OnEndingSignal(int signal) {
    if (g_signal != 0) {
        WriteToStderr("zarno-cli: interrupted");
        if (g_uploading) {
            WriteToStderr("; a partial file may remain on the instrument: ");
            WriteToStderr(g_uploadPath);
        }
        WriteToStderr("\n");
        _exit(128 + signal);
    }
    g_signal = signal;
    RequestTransferCancel();
}

void CatchEndingSignals() {
    struct sigaction action {};
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndingSignals)
        sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndingSignals)
        sigaction(signal, &action, nullptr);
}

bool Interrupted() {
    return g_signal != 0;
}

// The exit status of a command that a signal stopped, as shells report one.
int InterruptedExit() {
    return 128 + (g_signal != 0 ? int(g_signal) : SIGINT);
}

// Names the file an upload makes on the instrument for as long as it lives.
class UploadMark {
public:
    explicit UploadMark(const QString& devicePath) {
        const QByteArray bytes = devicePath.toLatin1().left(sizeof g_uploadPath - 1);
        std::memcpy(g_uploadPath, bytes.constData(), size_t(bytes.size()));
        g_uploadPath[bytes.size()] = '\0';
        std::atomic_signal_fence(std::memory_order_seq_cst); // the path is whole before it is marked
        g_uploading = 1;
    }
    ~UploadMark() { g_uploading = 0; }
    UploadMark(const UploadMark&) = delete;
    UploadMark& operator=(const UploadMark&) = delete;
};

// A transfer clears the cancel flag when it starts, which would swallow a Ctrl-C that came just
// before; its progress range is set right after, so an interrupt is raised again there.
class InterruptibleProgress final : public Progress {
public:
    explicit InterruptibleProgress(const QString& what) : m_bar(what) {}
    void setRange(qint64 total) override {
        Forward();
        m_bar.setRange(total);
    }
    void setValue(qint64 done) override {
        Forward();
        m_bar.setValue(done);
    }

private:
    static void Forward() {
        if (Interrupted())
            RequestTransferCancel();
    }
    TerminalProgress m_bar;
};

// The upload's progress range is set once the instrument has made the file: only then can a failed
// upload have left a part of it there.
class UploadProgress final : public Progress {
public:
    explicit UploadProgress(const QString& what) : m_progress(what) {}
    void setRange(qint64 total) override {
        m_made = true;
        m_progress.setRange(total);
    }
    void setValue(qint64 done) override { m_progress.setValue(done); }
    bool FileMade() const { return m_made; }

private:
    InterruptibleProgress m_progress;
    bool m_made = false;
};

// How a transfer ended, for its exit status.
enum class TransferEnd { Done, Cancelled, Failed };

TransferEnd EndOf(DownloadResult result) {
    return result == kDownloadDone ? TransferEnd::Done
           : result == kDownloadCancelled ? TransferEnd::Cancelled
                                          : TransferEnd::Failed;
}

TransferEnd EndOf(UploadResult result) {
    return result == kUploadDone ? TransferEnd::Done
           : result == kUploadCancelled ? TransferEnd::Cancelled
                                        : TransferEnd::Failed;
}

// One entry of a directory tree on the instrument, for a delete of the whole tree.
struct TreeEntry {
    QStringList directories; // the directory that lists it
    DeviceName deviceName;
    QString fileName;
};

// A directory tree deeper or larger than this is not one an instrument's card holds: an instrument
// whose listings say so is not believed, and nothing is deleted.
constexpr int kMaxTreeDepth = 16;
constexpr size_t kMaxTreeEntries = 65536;

// The instrument path of a file: "z:\NAME", "z:\A\B\NAME".
QString DeviceFilePath(const QStringList& directories, const QString& name) {
    return PanelPath(directories + QStringList{name});
}

class DeviceSession {
public:
    DeviceSession(const Options& o)
        : m_options(o), m_prompts(o.retries), m_device(CTransportLink::Instance(), m_prompts) {}
    ~DeviceSession() { m_device.Disconnect(); }

    bool Connect() {
        const LinkSettings& link = m_options.link;
        m_device.SetSettings(link);
        const bool connected = link.linkType == kLinkNetwork ? m_device.ConnectNetwork() == 1
                                                             : m_device.ConnectCom(link.linkType) == 1;
        if (connected)
            return true;
        Fail("no connection to the instrument");
        return false;
    }

    // The listing of an instrument directory, reached by the verified walk; sorted, directories first.
    std::vector<std::unique_ptr<CFileEntry>> List(const QStringList& directories, bool* ok) {
        std::vector<std::unique_ptr<CFileEntry>> entries;
        *ok = m_device.Walk().Enter(PanelPath(directories)) == 1;
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

    // The entry named `path`, with the instrument in its directory.
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
    int Remove(QStringList operands);
    int MakeDir(const QStringList& operands);

private:
    // What a directory listed under a name: enough to tell a file that changed from one that did not.
    struct Stamp {
        uint32_t size;
        QDateTime lastChange;
    };

    // The exit of a transfer: 0 when done; else why, in the words of the copy dialogs.
    int TransferExit(TransferEnd end, const char* failure, const char* interrupted);
    int UploadFailed(UploadResult result, const DevicePath& path, bool fileMade, const std::optional<Stamp>& before);
    int CheckUploaded(const DevicePath& path, qint64 sent);
    bool MayRemain(const DevicePath& path, const std::optional<Stamp>& before);
    bool CollectTree(const QStringList& directories, int depth, std::vector<TreeEntry>* out);
    bool Confirmed(const QString& target, const std::vector<TreeEntry>& inside, bool recursive, bool yes);
    void Tell(const char* text) { m_prompts.message(QString::fromUtf8(text), QString::fromUtf8(kAppCaption), PromptIcon::Stop); }

    Options m_options;
    StderrPrompts m_prompts;
    CRemoteDevice m_device;
};

int DeviceSession::TransferExit(TransferEnd end, const char* failure, const char* interrupted) {
    if (end == TransferEnd::Done)
        return kExitOk;
    if (end == TransferEnd::Cancelled || Interrupted()) {
        Fail(interrupted);
        return InterruptedExit();
    }
    Tell(failure);
    return kExitFailed;
}

int DeviceSession::Info() {
    DiskInfo info;
    if (m_device.GetDiskInfo(&info) != kCommandDone) {
        Tell(kTextDiskInfoFailed);
        return kExitFailed;
    }
    if (info.status() != kStatusOk) {
        Tell(kTextDiskInfoFailed);
        return kExitFailed;
    }
    std::printf("status: %u\nkind: %u\ntotal: %u bytes\nfree: %u bytes\nlabel: %s\n", info.status(),
                info.kind(), info.totalBytes(), info.freeBytes(), info.label().toLocal8Bit().constData());
    return kExitOk;
}

int DeviceSession::Ls(const QStringList& operands) {
    const QStringList directories = operands.isEmpty() ? QStringList() : DeviceWalk::Names(operands[0]);
    bool ok = false;
    const auto entries = List(directories, &ok);
    if (!ok)
        return kExitFailed;
    for (const auto& e : entries) {
        const QString when = e->lastChange.isValid() ? e->lastChange.toString("yyyy-MM-dd hh:mm:ss") : "-";
        const QString size = e->isDirectory ? QStringLiteral("<Dir>") : QString::number(e->size);
        // The names are the instrument's bytes: a damaged directory must not drive the terminal.
        std::printf("%10s  %-19s  %s\n", size.toLocal8Bit().constData(), when.toLocal8Bit().constData(),
                    cli::EscapeControls(e->fileName).toLocal8Bit().constData());
    }
    return kExitOk;
}

int DeviceSession::Get(QStringList operands) {
    const bool asSgy = operands.removeAll("--sgy") > 0;
    if (operands.isEmpty() || operands.size() > 2)
        return WrongOperands("get");
    const DevicePath path = SplitDevicePath(operands[0]);
    bool listed = false;
    const auto entry = Find(path, &listed);
    if (!listed)
        return kExitFailed;
    if (!entry || entry->isDirectory) {
        Tell(kTextDeviceFileNotFound);
        return kExitFailed;
    }
    const QString localName = asSgy ? entry->title + ".sgy" : entry->fileName;
    QString local = operands.size() == 2 ? operands[1] : localName;
    if (QFileInfo(local).isDir())
        local = QDir(local).filePath(localName);
    if (QFileInfo(local).fileName().toLocal8Bit().size() > kMaxLocalName) {
        Tell(kTextCannotCreateFile);
        return kExitFailed;
    }
    if (Interrupted())
        return TransferExit(TransferEnd::Cancelled, "", "interrupted; nothing was copied");
    InterruptibleProgress progress(entry->fileName);
    const DownloadResult result = asSgy ? m_device.CopyFromDeviceAsSgy(entry->deviceName, local, &progress, entry->size)
                                        : m_device.CopyFromDevice(entry->deviceName, local, &progress, entry->size);
    if (result == kDownloadSizeMismatch) {
        Tell(kTextCannotCopy);
        Fail(QString(
                 "the instrument lists %1 with %2 bytes but opens it with another length; nothing was copied")
                 .arg(cli::EscapeControls(DeviceFilePath(path.directories, entry->fileName)))
                 .arg(entry->size));
        return kExitFailed;
    }
    return TransferExit(EndOf(result), kTextCannotCopy, "interrupted; the file was not copied");
}

int DeviceSession::Put(const QStringList& operands) {
    if (operands.isEmpty() || operands.size() > 2)
        return WrongOperands("put");
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
    if (!FitsDeviceName(path.name)) {
        Tell(kTextBadFileName);
        return kExitFailed;
    }
    if (!local.isFile()) {
        Tell(kTextCannotOpenLocal);
        return kExitFailed;
    }
    if (m_device.Walk().Enter(PanelPath(path.directories)) != 1)
        return kExitFailed;
    // What the directory held under this name, so that a failed upload can tell a file of its own
    // making from an older one it never touched.
    std::optional<Stamp> before;
    for (const auto& e : m_device.Listing())
        if (e->fileName.compare(path.name, Qt::CaseInsensitive) == 0)
            before = Stamp{e->size, e->lastChange};
    m_device.Listing().clear();
    if (Interrupted())
        return TransferExit(TransferEnd::Cancelled, "", "interrupted; nothing was copied");
    const UploadMark mark(DeviceFilePath(path.directories, path.name));
    UploadProgress progress(path.name);
    const qint64 sent = local.size();
    const UploadResult result = m_device.CopyToDevice(local.filePath(), NewFileDeviceName(path.name), &progress);
    if (result == kUploadDone)
        return CheckUploaded(path, sent);
    return UploadFailed(result, path, progress.FileMade(), before);
}

// An upload that did not complete. Its clean-up has deleted the file from the instrument unless the
// instrument stopped answering: a fresh listing tells, and a file that may be partial is named.
int DeviceSession::UploadFailed(UploadResult result, const DevicePath& path, bool fileMade,
                                const std::optional<Stamp>& before) {
    const QString target = DeviceFilePath(path.directories, path.name);
    const bool mayRemain = fileMade && MayRemain(path, before);
    const QString remains = "a partial file may remain on the instrument: " + target;
    if (EndOf(result) == TransferEnd::Cancelled || Interrupted()) {
        Fail(mayRemain ? "interrupted; " + remains : "interrupted; the partial file was deleted from the instrument");
        return InterruptedExit();
    }
    Tell(kTextCannotUpload);
    if (result == kUploadCloseFailed)
        Fail("the instrument did not acknowledge the close of " + target);
    if (mayRemain)
        Fail(remains);
    return kExitFailed;
}

// The instrument acknowledged every block and the close; its listing must now hold the file with
// every byte sent. A file of another length (another writer, a lost block) is not the one sent, and
// goes as any failed upload's does.
int DeviceSession::CheckUploaded(const DevicePath& path, qint64 sent) {
    const QString target = DeviceFilePath(path.directories, path.name);
    bool listed = false;
    const auto made = Find(path, &listed);
    if (listed && made && !made->isDirectory && qint64(made->size) == sent)
        return kExitOk;
    Tell(kTextCannotUpload);
    if (!listed) {
        Fail("the instrument's listing after the upload failed; a partial file may remain on the "
             "instrument: " +
             target);
        return kExitFailed;
    }
    if (!made || made->isDirectory) {
        Fail("the instrument does not list " + target + " after the upload");
        return kExitFailed;
    }
    Fail(QString("the instrument lists %1 with %2 bytes, %3 were sent; the file is deleted")
             .arg(target)
             .arg(made->size)
             .arg(sent));
    m_device.Walk().DeleteListed(PanelPath(path.directories), made->deviceName);
    if (MayRemain(path, std::nullopt))
        Fail("it could not be deleted: a partial file may remain on the instrument: " + target);
    return kExitFailed;
}

// Whether the directory may still hold a file of a failed upload's making: it cannot be listed, or it
// lists the name and not as it was before the upload.
bool DeviceSession::MayRemain(const DevicePath& path, const std::optional<Stamp>& before) {
    bool listed = false;
    const auto now = Find(path, &listed);
    if (!listed)
        return true;
    if (!now)
        return false;
    return !before || before->size != now->size || before->lastChange != now->lastChange;
}

// Everything in the tree under `directories`, each directory after what it holds. False (told why)
// when a listing failed or the tree is larger than any instrument's.
bool DeviceSession::CollectTree(const QStringList& directories, int depth, std::vector<TreeEntry>* out) {
    if (depth > kMaxTreeDepth || out->size() > kMaxTreeEntries) {
        Fail("the instrument lists a tree deeper or larger than its disk can hold under " +
             cli::EscapeControls(PanelPath(directories)) + "; nothing was deleted");
        return false;
    }
    bool listed = false;
    const auto entries = List(directories, &listed);
    if (!listed)
        return false;
    for (const auto& e : entries) {
        if (e->fileName == QLatin1String(".") || e->fileName == QLatin1String(".."))
            continue;
        if (e->isDirectory && !CollectTree(directories + QStringList{e->fileName}, depth + 1, out))
            return false;
        out->push_back({directories, e->deviceName, e->fileName});
    }
    return true;
}

// A directory with anything in it goes only with -r, after the list of what goes, and then only
// with --yes or a "y" typed at a terminal.
bool DeviceSession::Confirmed(const QString& target, const std::vector<TreeEntry>& inside, bool recursive,
                              bool yes) {
    const QString shownTarget = cli::EscapeControls(target);
    if (!recursive) {
        Fail(QString("%1 is not empty (%2 entries): give -r to delete it with everything in it; nothing was "
                     "deleted")
                 .arg(shownTarget)
                 .arg(inside.size()));
        return false;
    }
    for (const TreeEntry& e : inside)
        std::printf("%s\n", cli::EscapeControls(DeviceFilePath(e.directories, e.fileName)).toLocal8Bit().constData());
    std::printf("%s\n", shownTarget.toLocal8Bit().constData());
    std::fflush(stdout);
    if (yes)
        return true;
    if (!isatty(STDIN_FILENO)) {
        Fail("not deleted: give --yes to delete " + shownTarget + " with the " + QString::number(inside.size()) +
             " entries listed above");
        return false;
    }
    std::fprintf(stderr, "Delete %s with the %zu entries listed above? [y/N] ", shownTarget.toLocal8Bit().constData(),
                 inside.size());
    char answer[16] = {};
    const bool typedYes = std::fgets(answer, sizeof answer, stdin) && (answer[0] == 'y' || answer[0] == 'Y') &&
                          (answer[1] == '\n' || answer[1] == '\0');
    if (!typedYes)
        Fail("nothing was deleted");
    return typedYes && !Interrupted();
}

int DeviceSession::Remove(QStringList operands) {
    const bool recursive = operands.removeAll("-r") > 0;
    const bool yes = operands.removeAll("--yes") > 0;
    if (operands.size() != 1)
        return WrongOperands("rm");
    const DevicePath path = SplitDevicePath(operands[0]);
    bool listed = false;
    const auto entry = Find(path, &listed);
    if (!listed)
        return kExitFailed;
    if (!entry || entry->fileName == "..") {
        Tell(kTextDeviceFileNotFound);
        return kExitFailed;
    }
    std::vector<TreeEntry> inside;
    if (entry->isDirectory) {
        const QString target = DeviceFilePath(path.directories, entry->fileName);
        if (!CollectTree(path.directories + QStringList{entry->fileName}, 1, &inside))
            return kExitFailed;
        if (!inside.empty() && !Confirmed(target, inside, recursive, yes))
            return Interrupted() ? InterruptedExit() : kExitFailed;
    }
    inside.push_back({path.directories, entry->deviceName, entry->fileName});
    for (size_t i = 0; i < inside.size(); ++i) {
        if (Interrupted()) {
            Fail(i == 0 ? QString("interrupted; nothing was deleted")
                        : QString("interrupted; %1 of %2 entries were deleted").arg(i).arg(inside.size()));
            return InterruptedExit();
        }
        const int deleted = m_device.Walk().DeleteListed(PanelPath(inside[i].directories), inside[i].deviceName);
        if (deleted == 0)
            Tell(kTextDeviceDeleteFailed);
        if (deleted != 1)
            return kExitFailed;
    }
    // The instrument's answer to a delete says nothing; look again, so that success is not assumed.
    if (Find(path, &listed) || !listed) {
        Tell(kTextDeviceDeleteFailed);
        return kExitFailed;
    }
    return kExitOk;
}

int DeviceSession::MakeDir(const QStringList& operands) {
    if (operands.size() != 1)
        return WrongOperands("mkdir");
    const DevicePath path = SplitDevicePath(operands[0]);
    if (!FitsDeviceDirectoryName(path.name))
        return Fail("not a directory name the instrument can hold (1 to 8 letters, digits or "
                    "$%'-_@~`!(){}^#&, no dot): " +
                    operands[0]);
    if (m_device.Walk().Enter(PanelPath(path.directories)) != 1)
        return kExitFailed;
    m_device.Listing().clear();
    if (m_device.MakeDirectory(path.name) != kCommandDone) {
        Tell(kTextDeviceMkdirFailed);
        return kExitFailed;
    }
    bool listed = false;
    const auto made = Find(path, &listed);
    if (!listed)
        return kExitFailed;
    if (!made || !made->isDirectory) {
        Tell(kTextDeviceMkdirFailed);
        return kExitFailed;
    }
    return kExitOk;
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
        std::fprintf(stderr, "zarno-cli device: %s\n%s", error.toLocal8Bit().constData(), Usage().constData());
        return 2;
    }
    CatchEndingSignals();
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
                 Usage().constData());
    return 2;
}

const char* DeviceArguments() {
    static const QByteArray arguments =
        (QString::fromLatin1(zarno::kLinkOptions) + " (" + zarno::CommandForms() + ")").toLocal8Bit();
    return arguments.constData();
}

} // namespace zarno::cli
