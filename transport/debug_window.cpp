// The diagnostics window's widgets: three pages ("Клиенты", "Сообщения", "UDP") over the transport's
// log, its switches, the remote address and port, the test sends and the port's settings dialog.
// The widgets live on the GUI application's thread; they reach the transport's owner only through
// a link that the owner cuts when it ends, so a window that outlives it for a moment does no harm.

#include "transport/debug_window.h"

#include "transport/localisation.h"
#include "transport/transport_exporter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <mutex>

namespace velnet {

namespace {

// The owner as the widgets may reach it: null once the owner has begun to end. Recursive, because a
// modal dialog opened under it lets the window thread run anything, including another call here.
struct OwnerLink {
    std::recursive_mutex lock;
    TUDPDebugWin* owner = nullptr;

    template <class F> bool With(F&& f) {
        std::lock_guard guard(lock);
        if (!owner)
            return false;
        f(*owner);
        return true;
    }
};

QApplication* GuiApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

QString Qs(const char* text) {
    return QString::fromUtf8(text);
}
QString T(const Text& text) {
    return Qs(Tr(text));
}

// Texts of the window, Russian and English.
constexpr Text kCaption{"Диагностика", "Debug"};
constexpr Text kClientsPage{"Клиенты", "Clients"};
constexpr Text kMessagesPage{"Сообщения", "Messages"};
constexpr Text kFieldBoxes[kMessageFieldCount] = {{"Отправка сообщений", "Out messages"},
                                                  {"Отправка квитанций", "Out answers"},
                                                  {"Доставка", "Transport"},
                                                  {"Квитанции", "Answers"},
                                                  {"Сообщения", "Messages"}};
constexpr Text kDebugBox{"Диагностика", "Debug"};
constexpr Text kClear{"Очистить", "Clear"};
constexpr Text kClearHint{"Очистить списки сообщений", "Clear lists"};
constexpr Text kListButtons[2] = {{"Отправка", "Out"}, {"Прием", "In"}};
constexpr Text kListHints[2] = {{"Очистить список отправляемых сообщений", "Clear out list"},
                                {"Очистить список принимаемых сообщений", "Clear in list"}};
constexpr Text kPort{"Порт", "Port"};
constexpr Text kAddress{"Адрес", "Address"};
constexpr Text kTime{"Время", "Time"};
constexpr Text kSetup{"Настройка", "Setup"};
constexpr Text kSetupHint{"Настройка порта", "Port setup"};
constexpr Text kPortLabelHint{"Если выполняется отправка массива,\r\nдвойное нажатие останавливает отправку.\r\n"
                              "Доступно всплывающее меню",
                              "If sending array,\r\ndouble click stops sending.\r\nUse popup menu"};
constexpr Text kTestItems[4] = {{"Отправить 0 без требования данных в квитанции", "Send 0 without data in answer"},
                                {"Отправить 0 без требования квитанции", "Send 0 without answer"},
                                {"Отправить макс. массив без требования данных в квитанции",
                                 "Send max. array without data in answer"},
                                {"Отправить макс. массив без требования квитанции", "Send max. without answer"}};
constexpr Text kArrayError{"Ошибка отправки тестового массива", "Test array send error"};
constexpr const char* kFilterCaptions[3] = {"Msg", "AnsEmpty", "AnsFull"};
constexpr uint32_t kTestAnswerWanted[4] = {awEmpty, awNone, awEmpty, awNone};

constexpr uint32_t kTestWaitCount = 250;
constexpr uint32_t kArrayWords = 527;

QString ObjectName(const char* base, int index) {
    return QString::fromLatin1(base) + QString::number(index);
}

class TDebugWindow : public QWidget {
public:
    TDebugWindow(std::shared_ptr<OwnerLink> link, TUDPDebugWin& owner);
    // A host may delete the window with its own (a parent deletes its children): the log must not
    // tell a window that is gone.
    ~TDebugWindow() override {
        WithLog([](TDebugLog& log) { log.SetView(nullptr); });
    }

    bool InArrayTest() const { return m_inArrayTest; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeClientsPage();
    QWidget* MakeMessagesPage();
    QWidget* MakeUdpPage(TUDPDebugWin& owner);
    void ShowAll(TUDPDebugWin& owner);
    void OnChanges(const TDebugLog::Changes& changes);
    void Refresh(const TDebugLog::Changes& changes);
    void FlushChanges();
    void SyncBoxes();
    void UpdateTestActions();
    void WithLog(const std::function<void(TDebugLog&)>& f);
    void SendZero(uint32_t answerWanted);
    void RunArrayTest(uint32_t answerWanted);
    void OpenPortSetup();

    std::shared_ptr<OwnerLink> m_link;
    bool m_inArrayTest = false;
    // Changes held back while the window is being refreshed often (a download logs thousands of
    // lines a second); nothing is dropped but lines a list would have pushed out anyway.
    TDebugLog::Changes m_held;
    QTimer m_refreshTimer;
    QElapsedTimer m_sinceRefresh;

    QTabWidget* m_pages = nullptr;
    QListWidget* m_clients = nullptr;
    QLabel* m_selected = nullptr;
    QCheckBox* m_messagesDebug = nullptr;
    QCheckBox* m_fieldBoxes[kMessageFieldCount] = {};
    QLineEdit* m_fields[kMessageFieldCount] = {};
    QPlainTextEdit* m_lists[2] = {};
    QCheckBox* m_filters[2][3] = {};
    QSpinBox* m_port = nullptr;
    QLabel* m_addressLabel = nullptr;
    QLineEdit* m_address = nullptr;
    QCheckBox* m_udpDebug = nullptr;
    QCheckBox* m_time = nullptr;
    QLabel* m_portName = nullptr;
    QPushButton* m_setup = nullptr;
    QAction* m_testActions[4] = {};
};

TDebugWindow::TDebugWindow(std::shared_ptr<OwnerLink> link, TUDPDebugWin& owner) : m_link(std::move(link)) {
    setObjectName(QStringLiteral("velnetDebugWindow"));
    setWindowTitle(T(kCaption));
    resize(484, 351);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pages"));
    m_pages->addTab(MakeClientsPage(), T(kClientsPage));
    m_pages->addTab(MakeMessagesPage(), T(kMessagesPage));
    m_pages->addTab(MakeUdpPage(owner), QStringLiteral("UDP"));
    m_pages->setCurrentIndex(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);
    ShowAll(owner);
    m_refreshTimer.setSingleShot(true);
    connect(&m_refreshTimer, &QTimer::timeout, this, [this] { FlushChanges(); });
    owner.Log().SetView([this](const TDebugLog::Changes& changes) { OnChanges(changes); });
}

QWidget* TDebugWindow::MakeClientsPage() {
    auto* page = new QWidget;
    m_clients = new QListWidget;
    m_clients->setObjectName(QStringLiteral("clientList"));
    m_selected = new QLabel;
    m_selected->setObjectName(QStringLiteral("selectedClient"));
    m_selected->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_selected->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* row = new QHBoxLayout(page);
    row->addWidget(m_clients);
    row->addWidget(m_selected, 1);
    return page;
}

QWidget* TDebugWindow::MakeMessagesPage() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    for (int i = 0; i < kMessageFieldCount; ++i) {
        m_fieldBoxes[i] = new QCheckBox(T(kFieldBoxes[i]));
        m_fieldBoxes[i]->setObjectName(ObjectName("fieldBox", i));
        m_fields[i] = new QLineEdit;
        m_fields[i]->setObjectName(ObjectName("field", i));
        m_fields[i]->setReadOnly(true);
        column->addWidget(m_fieldBoxes[i]);
        column->addWidget(m_fields[i]);
        connect(m_fieldBoxes[i], &QCheckBox::clicked, this, [this, i](bool on) {
            WithLog([&](TDebugLog& log) { log.CheckField(MessageField(i), on); });
            SyncBoxes();
        });
    }
    column->addStretch(1);
    m_messagesDebug = new QCheckBox(T(kDebugBox));
    m_messagesDebug->setObjectName(QStringLiteral("messagesDebug"));
    auto* clear = new QPushButton(T(kClear));
    clear->setObjectName(QStringLiteral("clearFields"));
    clear->setToolTip(T(kClearHint));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_messagesDebug);
    bottom->addStretch(1);
    bottom->addWidget(clear);
    column->addLayout(bottom);
    connect(m_messagesDebug, &QCheckBox::clicked, this, [this](bool on) {
        WithLog([&](TDebugLog& log) { log.CheckMessagesDebug(on); });
        SyncBoxes();
    });
    connect(clear, &QPushButton::clicked, this, [this] { WithLog([](TDebugLog& log) { log.ClearFields(); }); });
    return page;
}

QWidget* TDebugWindow::MakeUdpPage(TUDPDebugWin& owner) {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(4);
    for (int list = 0; list < 2; ++list) {
        auto* head = new QHBoxLayout;
        auto* clear = new QPushButton(T(kListButtons[list]));
        clear->setObjectName(ObjectName("clearList", list));
        clear->setToolTip(T(kListHints[list]));
        head->addWidget(clear);
        for (int kind = 0; kind < 3; ++kind) {
            m_filters[list][kind] = new QCheckBox(QString::fromLatin1(kFilterCaptions[kind]));
            m_filters[list][kind]->setObjectName(ObjectName(list == 0 ? "filterOut" : "filterIn", kind));
            head->addWidget(m_filters[list][kind]);
            connect(m_filters[list][kind], &QCheckBox::clicked, this, [this, list, kind](bool on) {
                WithLog([&](TDebugLog& log) { log.CheckFilter(FrameList(list), FrameKind(kind), on); });
            });
        }
        head->addStretch(1);
        m_lists[list] = new QPlainTextEdit;
        m_lists[list]->setObjectName(ObjectName("frameList", list));
        m_lists[list]->setReadOnly(true);
        m_lists[list]->setLineWrapMode(QPlainTextEdit::NoWrap);
        m_lists[list]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_lists[list]->setMaximumBlockCount(int(kFrameListLimit) + 1);
        grid->addLayout(head, 0, list);
        grid->addWidget(m_lists[list], 1, list);
        grid->setColumnStretch(list, 1);
        connect(clear, &QPushButton::clicked, this,
                [this, list] { WithLog([&](TDebugLog& log) { log.ClearList(FrameList(list)); }); });
    }
    grid->setRowStretch(1, 1);

    auto* bottom = new QHBoxLayout;
    auto* portLabel = new QLabel(T(kPort));
    m_port = new QSpinBox;
    m_port->setObjectName(QStringLiteral("remotePort"));
    m_port->setRange(1, 65535);
    m_port->setValue(int(TUDPDebugWin::kInitialRemotePort));
    m_port->setToolTip(Qs(Tr({"Порт назначения", "Destination port"})));
    m_addressLabel = new QLabel(T(kAddress));
    m_addressLabel->setObjectName(QStringLiteral("addressLabel"));
    m_address = new QLineEdit;
    m_address->setObjectName(QStringLiteral("remoteAddress"));
    m_address->setToolTip(Qs(Tr({"Адрес назначения", "Destination address"})));
    m_udpDebug = new QCheckBox(T(kDebugBox));
    m_udpDebug->setObjectName(QStringLiteral("udpDebug"));
    m_portName = new QLabel(QString::fromStdString(owner.PortName()));
    m_portName->setObjectName(QStringLiteral("portName"));
    m_portName->setToolTip(T(kPortLabelHint));
    m_portName->setContextMenuPolicy(Qt::CustomContextMenu);
    m_portName->installEventFilter(this);
    m_setup = new QPushButton(T(kSetup));
    m_setup->setObjectName(QStringLiteral("portSetup"));
    m_setup->setToolTip(T(kSetupHint));
    bottom->addWidget(portLabel);
    bottom->addWidget(m_port);
    bottom->addWidget(m_addressLabel);
    bottom->addWidget(m_address, 1);
    bottom->addWidget(m_udpDebug);
    bottom->addStretch(1);
    bottom->addWidget(m_portName);
    bottom->addWidget(m_setup);
    grid->addLayout(bottom, 2, 0, 1, 2);
    m_time = new QCheckBox(T(kTime));
    m_time->setObjectName(QStringLiteral("timeStamps"));
    grid->addWidget(m_time, 3, 0, 1, 2);

    // Addresses mean something only on IP; the settings dialog only on a serial line.
    m_addressLabel->setVisible(!owner.IsSerial());
    m_address->setVisible(!owner.IsSerial());
    m_setup->setVisible(owner.IsSerial());

    for (int i = 0; i < 4; ++i) {
        m_testActions[i] = new QAction(T(kTestItems[i]), m_portName);
        m_testActions[i]->setObjectName(ObjectName("testSend", i));
        m_portName->addAction(m_testActions[i]);
        const uint32_t answerWanted = kTestAnswerWanted[i];
        if (i < 2)
            connect(m_testActions[i], &QAction::triggered, this, [this, answerWanted] { SendZero(answerWanted); });
        else
            connect(m_testActions[i], &QAction::triggered, this,
                    [this, answerWanted] { RunArrayTest(answerWanted); });
    }
    connect(m_portName, &QLabel::customContextMenuRequested, this, [this](const QPoint& at) {
        UpdateTestActions();
        QMenu menu(this);
        menu.addActions(m_portName->actions());
        menu.exec(m_portName->mapToGlobal(at));
    });

    connect(m_udpDebug, &QCheckBox::clicked, this, [this](bool on) {
        WithLog([&](TDebugLog& log) { log.CheckUdpDebug(on); });
        SyncBoxes();
    });
    connect(m_time, &QCheckBox::clicked, this,
            [this](bool on) { WithLog([&](TDebugLog& log) { log.CheckTimeStamps(on); }); });
    connect(m_port, &QSpinBox::valueChanged, this,
            [this](int value) { m_link->With([&](TUDPDebugWin& o) { o.SetRemotePort(uint32_t(value)); }); });
    connect(m_address, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QByteArray bytes = text.toUtf8();
        m_link->With([&](TUDPDebugWin& o) { o.SetRemoteAddrText(bytes.constData()); });
    });
    connect(m_setup, &QPushButton::clicked, this, [this] { OpenPortSetup(); });
    return page;
}

// Everything the log holds now; later changes come through OnChanges.
void TDebugWindow::ShowAll(TUDPDebugWin& owner) {
    TDebugLog& log = owner.Log();
    TDebugLog::Changes all;
    std::fill(std::begin(all.fields), std::end(all.fields), true);
    all.clients = true;
    all.remote = true;
    for (int list = 0; list < 2; ++list) {
        all.listCleared[list] = true;
        all.addedLines[list] = log.Lines(FrameList(list));
    }
    Refresh(all);
    m_sinceRefresh.start();
    SyncBoxes();
}

void TDebugWindow::WithLog(const std::function<void(TDebugLog&)>& f) {
    m_link->With([&](TUDPDebugWin& o) { f(o.Log()); });
}

// A change after a quiet spell shows at once; a burst is shown at most every kRefreshMs.
void TDebugWindow::OnChanges(const TDebugLog::Changes& changes) {
    constexpr int kRefreshMs = 40;
    for (int i = 0; i < kMessageFieldCount; ++i)
        m_held.fields[i] = m_held.fields[i] || changes.fields[i];
    for (int list = 0; list < 2; ++list) {
        auto& held = m_held.addedLines[list];
        if (changes.listCleared[list]) {
            m_held.listCleared[list] = true;
            held.clear();
        }
        held.insert(held.end(), changes.addedLines[list].begin(), changes.addedLines[list].end());
        if (held.size() > kFrameListLimit + 1)
            held.erase(held.begin(), held.end() - std::ptrdiff_t(kFrameListLimit + 1));
    }
    m_held.clients = m_held.clients || changes.clients;
    m_held.remote = m_held.remote || changes.remote;
    if (m_refreshTimer.isActive())
        return;
    if (m_sinceRefresh.elapsed() >= kRefreshMs)
        FlushChanges();
    else
        m_refreshTimer.start(kRefreshMs);
}

void TDebugWindow::FlushChanges() {
    const TDebugLog::Changes changes = std::move(m_held);
    m_held = {};
    Refresh(changes);
    m_sinceRefresh.restart();
}

void TDebugWindow::Refresh(const TDebugLog::Changes& changes) {
    WithLog([&](TDebugLog& log) {
        for (int i = 0; i < kMessageFieldCount; ++i)
            if (changes.fields[i])
                m_fields[i]->setText(QString::fromStdString(log.FieldText(MessageField(i))));
        for (int list = 0; list < 2; ++list) {
            if (changes.listCleared[list])
                m_lists[list]->clear();
            const auto& lines = changes.addedLines[list];
            if (lines.empty())
                continue;
            QString text;
            for (const std::string& line : lines) {
                if (!text.isEmpty())
                    text += QLatin1Char('\n');
                text += QString::fromStdString(line);
            }
            m_lists[list]->appendPlainText(text);
        }
        if (changes.clients) {
            m_clients->clear();
            for (uint32_t id : log.ClientIds())
                m_clients->addItem(QString::asprintf("%8.8x", id));
            m_selected->setText(QString::fromStdString(log.SelectedText()));
        }
        if (changes.remote) {
            const QString addr = QString::fromStdString(log.RemoteAddrText());
            if (m_address->text() != addr)
                m_address->setText(addr);
            const QSignalBlocker quiet(m_port);
            m_port->setValue(int(log.RemotePort()));
        }
    });
}

// The check boxes show the log's switches, which a "Диагностика" click may have set several of.
void TDebugWindow::SyncBoxes() {
    WithLog([&](TDebugLog& log) {
        m_messagesDebug->setChecked(log.MessagesDebug());
        for (int i = 0; i < kMessageFieldCount; ++i) {
            m_fieldBoxes[i]->setChecked(log.Field(MessageField(i)));
            m_fields[i]->setEnabled(log.MessagesDebug() && log.Field(MessageField(i)));
        }
        m_udpDebug->setChecked(log.UdpDebug());
        m_time->setChecked(log.TimeStamps());
        for (int list = 0; list < 2; ++list)
            for (int kind = 0; kind < 3; ++kind)
                m_filters[list][kind]->setChecked(log.Filter(FrameList(list), FrameKind(kind)));
        for (auto* list : m_lists)
            list->setEnabled(log.UdpDebug());
    });
}

void TDebugWindow::UpdateTestActions() {
    bool running = false;
    m_link->With([&](TUDPDebugWin& o) { running = o.TestArrayRunning.load(); });
    for (QAction* action : m_testActions)
        action->setEnabled(!running);
}

bool TDebugWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_portName && event->type() == QEvent::MouseButtonDblClick) {
        m_link->With([](TUDPDebugWin& o) { o.TestArrayRunning.store(false); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TDebugWindow::SendZero(uint32_t answerWanted) {
    m_link->With([&](TUDPDebugWin& o) {
        if (o.TestArrayRunning.load())
            return;
        // A test message is the window's own: the host's client hears nothing before it goes.
        o.NotifyBeforeSend.store(false);
        (void)o.SendMessage(kTestWaitCount, 0, answerWanted, 0, nullptr);
    });
}

// Sends the largest message over and over until a double click on the port label; the window's
// events keep flowing between sends, which is also how the double click gets through.
void TDebugWindow::RunArrayTest(uint32_t answerWanted) {
    uint8_t payload[kArrayWords * 2];
    for (uint32_t i = 0; i < kArrayWords; ++i) {
        payload[2 * i] = static_cast<uint8_t>(i & 0xFF);
        payload[2 * i + 1] = static_cast<uint8_t>(i >> 8);
    }
    bool started = false;
    m_link->With([&](TUDPDebugWin& o) { started = !o.TestArrayRunning.exchange(true); });
    if (!started)
        return;
    const QPointer<TDebugWindow> self(this);
    const std::shared_ptr<OwnerLink> link = m_link; // outlives this window if it goes meanwhile
    m_inArrayTest = true;
    UpdateTestActions();
    enum class Step { Sent, Busy, Failed, Stop };
    bool failed = false;
    for (;;) {
        Step step = Step::Stop;
        link->With([&](TUDPDebugWin& o) {
            if (!o.TestArrayRunning.load())
                return;
            TUDPTransport* engine = o.Transport();
            if (engine && !engine->WaitIdle(1)) {
                step = Step::Busy;
                return;
            }
            step = o.SendMessage(kTestWaitCount, 0, answerWanted, sizeof payload, payload) ? Step::Sent : Step::Failed;
        });
        if (step == Step::Stop || step == Step::Failed) {
            failed = step == Step::Failed;
            break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (!self)
            break;
    }
    link->With([](TUDPDebugWin& o) { o.TestArrayRunning.store(false); });
    if (!self)
        return;
    m_inArrayTest = false;
    UpdateTestActions();
    if (failed)
        QMessageBox::critical(this, QStringLiteral("Error"), T(kArrayError));
}

void TDebugWindow::OpenPortSetup() {
    std::string error;
    m_link->With([&](TUDPDebugWin& o) { error = o.PortSetupDialog(this); });
    if (!error.empty())
        QMessageBox::critical(this, QStringLiteral("Error"), QString::fromStdString(error));
}

} // namespace

namespace {

// A window that the program did not place opens over the program's active window, wholly on that
// screen's available area: left to the window system it may open with its bottom below the screen.
void PlaceOver(QWidget& window, const QWidget* over) {
    QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // Before it is shown: the size its controls will make it.
    const QSize outer = window.isVisible() ? window.frameGeometry().size()
                                           : window.size().expandedTo(window.minimumSizeHint());
    const QSize size = outer.boundedTo(area.size());
    QRect placed(QPoint(), size);
    placed.moveCenter(over && over != &window ? over->frameGeometry().center() : area.center());
    placed.moveLeft(std::clamp(placed.left(), area.left(), area.right() + 1 - size.width()));
    placed.moveTop(std::clamp(placed.top(), area.top(), area.bottom() + 1 - size.height()));
    window.move(placed.topLeft());
}

} // namespace

struct DebugWindowHost::Impl {
    std::shared_ptr<OwnerLink> link = std::make_shared<OwnerLink>();
    // On the window's thread only.
    QPointer<TDebugWindow> window;
    bool haveBounds = false;
    WindowBounds bounds;
    // The window it opened over, until it has been shown and its frame is known.
    QPointer<QWidget> placeOver;

    TDebugWindow* Ensure() {
        if (!window) {
            link->With([&](TUDPDebugWin& o) { window = new TDebugWindow(link, o); });
            if (window && haveBounds)
                window->setGeometry(bounds.left, bounds.top, bounds.width, bounds.height);
            else if (window) {
                placeOver = QApplication::activeWindow();
                PlaceOver(*window, placeOver);
            }
        }
        return window;
    }
};

namespace {
// Runs f on the window's thread: at once when called there, else handed over without waiting (the
// window's thread may itself be waiting for the caller).
template <class F> void OnWindowThread(QApplication* app, const std::shared_ptr<DebugWindowHost::Impl>& impl, F f) {
    if (QThread::currentThread() == app->thread())
        f(*impl);
    else
        QMetaObject::invokeMethod(app, [impl, f] { f(*impl); }, Qt::QueuedConnection);
}
} // namespace

DebugWindowHost::DebugWindowHost(TUDPDebugWin& owner) : m_impl(std::make_shared<Impl>()) {
    m_impl->link->owner = &owner;
}

DebugWindowHost::~DebugWindowHost() {
    Close();
}

bool DebugWindowHost::Show(bool visible) {
    QApplication* app = GuiApplication();
    if (!app)
        return !visible;
    OnWindowThread(app, m_impl, [visible](Impl& impl) {
        if (!visible) {
            if (impl.window)
                impl.window->hide();
        } else if (TDebugWindow* w = impl.Ensure()) {
            w->show();
            w->raise();
            // Placed again with the window system's frame, now that it is known.
            if (impl.placeOver && !impl.haveBounds)
                PlaceOver(*w, impl.placeOver);
            impl.placeOver = nullptr;
        }
    });
    return true;
}

bool DebugWindowHost::SetParent(void* parent) {
    QApplication* app = GuiApplication();
    if (!app)
        return false;
    QPointer<QWidget> host(static_cast<QWidget*>(parent));
    OnWindowThread(app, m_impl, [host, hadParent = parent != nullptr](Impl& impl) {
        TDebugWindow* w = impl.Ensure();
        if (!w || (hadParent && !host))
            return;
        if (host)
            w->setParent(host, Qt::Widget); // a child has no frame of its own
        else
            w->setParent(nullptr, Qt::Window);
        w->show();
    });
    return true;
}

void DebugWindowHost::SetBounds(const WindowBounds& bounds) {
    QApplication* app = GuiApplication();
    if (!app)
        return;
    OnWindowThread(app, m_impl, [bounds](Impl& impl) {
        impl.bounds = bounds;
        impl.haveBounds = true;
        if (impl.window)
            impl.window->setGeometry(bounds.left, bounds.top, bounds.width, bounds.height);
    });
}

void DebugWindowHost::Close() {
    {
        std::lock_guard guard(m_impl->link->lock);
        if (!m_impl->link->owner)
            return;
        m_impl->link->owner->Log().SetView(nullptr);
        m_impl->link->owner = nullptr;
    }
    QApplication* app = GuiApplication();
    if (!app)
        return;
    OnWindowThread(app, m_impl, [](Impl& impl) {
        TDebugWindow* w = impl.window;
        if (!w)
            return;
        w->hide();
        // A window whose array test is on the stack goes once that loop has let go of it.
        if (w->InArrayTest())
            w->deleteLater();
        else
            delete w;
    });
}

} // namespace velnet
