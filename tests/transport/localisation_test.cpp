#include "transport/localisation.h"
#include "transport/socket_errors.h"

#include "tests/support/temp_config.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace velnet;
using zarno::testing::SetLocalLang;
using zarno::testing::TempConfigHome;

namespace {

TEST(Localisation, LocalLangChoosesTheLanguage) {
    TempConfigHome home;
    struct Case {
        std::optional<QString> stored;
        int value;
        Language language;
    };
    const Case cases[] = {
        {std::nullopt, 2, Language::English},   {QString("1"), 1, Language::Russian},
        {QString("2"), 2, Language::English},   {QString("7"), 7, Language::English},
        {QString("abc"), 2, Language::English}, {QString(""), 2, Language::English},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.value_or("<missing>").toStdString());
        SetLocalLang(c.stored);
        EXPECT_EQ(ReadLocalLangValue(), c.value);
        ReloadLanguage();
        EXPECT_EQ(CurrentLanguage(), c.language);
    }
}

// The program passes its own choice on through the environment; it wins over the shared setting
// either way, and anything but "ru"/"en" leaves the setting to decide.
TEST(Localisation, TheProgramsChoiceOverridesLocalLang) {
    TempConfigHome home;
    struct Case {
        const char* given;
        const char* stored;
        Language language;
    };
    const Case cases[] = {
        {"ru", "2", Language::Russian}, {"en", "1", Language::English}, {" RU ", "2", Language::Russian},
        {"de", "1", Language::Russian}, {"", "2", Language::English},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("given '") + c.given + "', stored " + c.stored);
        SetLocalLang(QString(c.stored));
        qputenv("VELNET_LANGUAGE", c.given);
        ReloadLanguage();
        EXPECT_EQ(CurrentLanguage(), c.language);
    }
    qunsetenv("VELNET_LANGUAGE");
    ReloadLanguage();
}

TEST(Localisation, ReadingCreatesTheMissingSettings) {
    TempConfigHome home;
    const QString file = home.path() + "/Mervo/Common.conf";
    ASSERT_FALSE(QFileInfo::exists(file));
    EXPECT_EQ(ReadLocalLangValue(), 2);
    EXPECT_TRUE(QFileInfo::exists(file));
}

TEST(SocketErrorTexts, BothLanguages) {
    TempConfigHome home;
    struct Case {
        SocketOperation op;
        int code;
        const char* ru;
        const char* en;
    };
    const Case cases[] = {
        {SocketOperation::Bind, 10048, "Ошибка при выполнении BIND сокета: Указанный адрес уже используется",
         "Socket bind error: Address alredy in use"},
        {SocketOperation::Bind, 10061,
         "Ошибка при выполнении BIND сокета: Неизвестная ошибка при выполнении BIND сокета (00010061)",
         "Socket bind error: Unknown socket bind error (00010061)"},
        {SocketOperation::Bind, 10022,
         "Ошибка при выполнении BIND сокета: Операция BIND уже выполнена для сокета",
         "Socket bind error: Alredy make BIND"},
        {SocketOperation::Setup, 10022,
         "Ошибка при настройке параметров сокета: Неверный параметр или неверная информация в параметре",
         "Socket setup error: Wrong parameter"},
        {SocketOperation::Create, 10055,
         "Ошибка создания сокета: Больше нет свободного места для буферов. Сокет не создан",
         "Socket create error: No free space for buffers. Can't create socket"},
        {SocketOperation::Bind, 10055,
         "Ошибка при выполнении BIND сокета: Слишком много соединений. Нет доступных буферов",
         "Socket bind error: Too many connections. No free buffers"},
        {SocketOperation::Create, 10048,
         "Ошибка создания сокета: Неизвестная ошибка при создании сокета (00010048)",
         "Socket create error: Unknown socket create error (00010048)"},
        {SocketOperation::GetParameters, 10038,
         "Ошибка при получении параметров сокета: Идентификатор не является сокетом",
         "Get socket parameters error: Handle is not socket"},
        {SocketOperation::Startup, 10092,
         "Ошибка инициализации WSA: Требуемая версия Windows Sockets не поддерживается данной реализацией "
         "Windows "
         "Sockets",
         "WSA init error: WSA version not supported"},
        {SocketOperation::Startup, 123456789,
         "Ошибка инициализации WSA: Неизвестная ошибка при инициализации WSA (123456789)",
         "WSA init error: Unknown WSA init error (123456789)"},
    };
    for (const auto& [lang, russian] : {std::pair{"1", true}, {"2", false}}) {
        SetLocalLang(QString(lang));
        ReloadLanguage();
        for (const auto& c : cases) {
            SCOPED_TRACE(c.en);
            EXPECT_EQ(SocketErrorText(c.op, c.code), russian ? c.ru : c.en);
        }
    }
}

TEST(SocketErrorTexts, ErrnoMapsToWindowsSocketsCodes) {
    const std::pair<int, int> cases[] = {{EADDRINUSE, 10048}, {EINVAL, 10022},       {EMFILE, 10024},
                                         {ENOBUFS, 10055},    {EAFNOSUPPORT, 10047}, {EPROTONOSUPPORT, 10043},
                                         {ENOTSOCK, 10038},   {EFAULT, 10014},       {ENOPROTOOPT, 10042},
                                         {ENETDOWN, 10050},   {ECONNREFUSED, 10061}};
    for (auto [err, code] : cases)
        EXPECT_EQ(WsaCodeFromErrno(err), code) << "errno " << err;
}

} // namespace
