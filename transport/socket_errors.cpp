#include "transport/socket_errors.h"

#include "transport/localisation.h"

#include <cerrno>
#include <utility>

namespace velnet {

namespace {

thread_local int t_lastError = 0;

struct ErrnoCode {
    int err;
    int wsa;
};

constexpr ErrnoCode kErrnoCodes[] = {
    {EINTR, 10004},           {EBADF, 10009},         {EACCES, 10013},       {EFAULT, 10014},
    {EINVAL, 10022},          {EMFILE, 10024},        {ENFILE, 10024},       {EWOULDBLOCK, 10035},
    {EINPROGRESS, 10036},     {EALREADY, 10037},      {ENOTSOCK, 10038},     {EDESTADDRREQ, 10039},
    {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},    {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043},
    {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},    {EPFNOSUPPORT, 10046}, {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},     {ENETUNREACH, 10051},
    {ENETRESET, 10052},       {ECONNABORTED, 10053},  {ECONNRESET, 10054},   {ENOBUFS, 10055},
    {ENOMEM, 10055},          {EISCONN, 10056},       {ENOTCONN, 10057},     {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061},    {EHOSTDOWN, 10064},     {EHOSTUNREACH, 10065},
};

// Texts by code; two codes have a second text that some operations use instead.
struct CodeText {
    int code;
    Text text;
};

constexpr Text kInvalSecond{"Операция BIND уже выполнена для сокета", "Alredy make BIND"};
constexpr Text kNoBufsSecond{"Слишком много соединений. Нет доступных буферов",
                             "Too many connections. No free buffers"};

constexpr CodeText kCodeTexts[] = {
    {10014, {"Параметр не является допустимым указателем", "Parameter is not valid pointer"}},
    {10022, {"Неверный параметр или неверная информация в параметре", "Wrong parameter"}},
    {10024, {"Больше нет доступных идентификаторов для сокетов", "No free handles for socket"}},
    {10036,
     {"Осуществляется блокирующий вызов Windows Sockets 1.1 или сервис обрабатывает функцию обратной связи",
      "Already make blocking call or callback function"}},
    {10038, {"Идентификатор не является сокетом", "Handle is not socket"}},
    {10041, {"Указаннный протокол неверного типа для данного сокета", "Wrong protocol type"}},
    {10042, {"Неизвестный или неподдерживаемый параметр", "Unknown parameter"}},
    {10043, {"Указанный протокол не поддерживается", "Protoclol not supported"}},
    {10044, {"Указанный тип сокета не поддерживается для данного семейства адресов", "Wrong socket type"}},
    {10047, {"Указанное семейство адресов не поддерживается", "Address family not supporterd"}},
    {10048, {"Указанный адрес уже используется", "Address alredy in use"}},
    {10050, {"Сетевая подсистема или связанный с ней провайдер не функционируют", "Net subsystem not ready"}},
    {10052, {"Истекло время соединения при установке параметра SO_KEEPALIVE", "SO_KEEPALIVE timeout"}},
    {10055,
     {"Больше нет свободного места для буферов. Сокет не создан",
      "No free space for buffers. Can't create socket"}},
    {10057,
     {"Соединенеи сброшено при установке параметра SO_KEEPALIVE", "Reset connection when set SO_KEEPALIVE"}},
    {10067,
     {"Достигнут предел количества задач, поддерживаемых данной реализацией Windows Sockets",
      "Amount to max task count"}},
    {10091, {"Указанная сетевая подсистема не готова для сетевых коммуникаций", "WSA not ready"}},
    {10092,
     {"Требуемая версия Windows Sockets не поддерживается данной реализацией Windows Sockets",
      "WSA version not supported"}},
    {10093,
     {"Должен быть успешный вызов WSAStartup до использования функции",
      "Mast successfully call WSAStartup first"}},
};

// One row per operation: the codes it has its own texts for, which of them take their second text,
// its fallback and its outer text.
struct OperationTexts {
    std::initializer_list<int> codes;
    std::initializer_list<int> secondTextCodes;
    Text fallback;
    Text outer;
};

const OperationTexts& TextsOf(SocketOperation op) {
    static const OperationTexts startup{
        {10014, 10036, 10067, 10091, 10092},
        {},
        {"Неизвестная ошибка при инициализации WSA (%8.8d)", "Unknown WSA init error (%8.8d)"},
        {"Ошибка инициализации WSA: %s", "WSA init error: %s"}};
    static const OperationTexts create{
        {10024, 10036, 10041, 10043, 10044, 10047, 10050, 10055, 10093},
        {},
        {"Неизвестная ошибка при создании сокета (%8.8d)", "Unknown socket create error (%8.8d)"},
        {"Ошибка создания сокета: %s", "Socket create error: %s"}};
    static const OperationTexts setup{
        {10014, 10022, 10036, 10038, 10042, 10050, 10052, 10057, 10093},
        {},
        {"Неизвестная ошибка при настройке сокета (%8.8d)", "Unknown socket setup error (%8.8d)"},
        {"Ошибка при настройке параметров сокета: %s", "Socket setup error: %s"}};
    static const OperationTexts getParameters{
        {10014, 10022, 10036, 10038, 10042, 10050, 10093},
        {},
        {"Неизвестная ошибка при получении параметров сокета (%8.8d)",
         "Unknown get socket parameters error (%8.8d)"},
        {"Ошибка при получении параметров сокета: %s", "Get socket parameters error: %s"}};
    static const OperationTexts bind{
        {10014, 10022, 10036, 10038, 10048, 10050, 10055, 10093},
        {10022, 10055},
        {"Неизвестная ошибка при выполнении BIND сокета (%8.8d)", "Unknown socket bind error (%8.8d)"},
        {"Ошибка при выполнении BIND сокета: %s", "Socket bind error: %s"}};
    switch (op) {
    case SocketOperation::Startup:
        return startup;
    case SocketOperation::Create:
        return create;
    case SocketOperation::Setup:
        return setup;
    case SocketOperation::GetParameters:
        return getParameters;
    case SocketOperation::Bind:
        return bind;
    }
    return bind;
}

bool Contains(std::initializer_list<int> list, int value) {
    for (int v : list)
        if (v == value)
            return true;
    return false;
}

const Text* CodeTextOf(int code, bool second) {
    if (second)
        return code == 10022 ? &kInvalSecond : &kNoBufsSecond;
    for (const auto& row : kCodeTexts)
        if (row.code == code)
            return &row.text;
    return nullptr;
}

} // namespace

int WsaCodeFromErrno(int err) {
    for (const auto& row : kErrnoCodes)
        if (row.err == err)
            return row.wsa;
    return err;
}

int LastSocketError() {
    return t_lastError;
}
void SetLastSocketError(int wsaCode) {
    t_lastError = wsaCode;
}
void RecordErrno() {
    t_lastError = WsaCodeFromErrno(errno);
}

std::string SocketErrorText(SocketOperation op, int wsaCode) {
    const OperationTexts& texts = TextsOf(op);
    std::string inner;
    if (Contains(texts.codes, wsaCode))
        inner = Tr(*CodeTextOf(wsaCode, Contains(texts.secondTextCodes, wsaCode)));
    else
        inner = Format(Tr(texts.fallback), wsaCode);
    return Format(Tr(texts.outer), inner.c_str());
}

} // namespace velnet
