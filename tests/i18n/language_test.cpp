#include "app/i18n/language.h"
#include "app/i18n/texts.h"
#include "app/i18n/translation.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using zarno::Language;

// Sets the locale variables for one case and puts the earlier values back afterwards.
class LocaleEnvironment {
public:
    LocaleEnvironment() {
        for (const char* name : kNames)
            m_saved.push_back(qgetenv(name));
    }
    ~LocaleEnvironment() {
        for (size_t i = 0; i < std::size(kNames); ++i)
            Set(kNames[i], m_saved[i]);
    }
    // Values for LANGUAGE, LC_ALL, LC_MESSAGES, LANG, ZARNO_LANGUAGE; null unsets.
    void Use(std::initializer_list<const char*> values) {
        size_t i = 0;
        for (const char* value : values)
            Set(kNames[i++], value ? QByteArray(value) : QByteArray());
    }

private:
    static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG", "ZARNO_LANGUAGE",
                                             "VELNET_LANGUAGE"};
    static void Set(const char* name, const QByteArray& value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    std::vector<QByteArray> m_saved;
};

TEST(Language, TheLocaleChoosesRussianOnlyForRu) {
    LocaleEnvironment env;
    struct Case {
        const char* language;
        const char* all;
        const char* messages;
        const char* lang;
        Language expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, nullptr, Language::English},
        {nullptr, nullptr, nullptr, "C", Language::English},
        {nullptr, nullptr, nullptr, "ru_RU.UTF-8", Language::Russian},
        {nullptr, nullptr, nullptr, "en_US.UTF-8", Language::English},
        {nullptr, nullptr, nullptr, "de_DE.UTF-8", Language::English},
        {nullptr, nullptr, "ru_RU.UTF-8", "en_US.UTF-8", Language::Russian},
        {nullptr, "en_GB.UTF-8", "ru_RU.UTF-8", "ru_RU.UTF-8", Language::English},
        {"ru:en", nullptr, nullptr, "en_US.UTF-8", Language::Russian},
        {"en:ru", nullptr, nullptr, "ru_RU.UTF-8", Language::English},
        {"", nullptr, nullptr, "ru_RU.UTF-8", Language::Russian}, // empty counts as unset
        {nullptr, nullptr, nullptr, "ru_UA@euro", Language::Russian},
        {nullptr, nullptr, nullptr, "rue_UA", Language::English}, // another language whose code begins "ru"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("LANGUAGE=") + (c.language ? c.language : "-") + " LC_ALL=" + (c.all ? c.all : "-") +
                     " LC_MESSAGES=" + (c.messages ? c.messages : "-") + " LANG=" + (c.lang ? c.lang : "-"));
        env.Use({c.language, c.all, c.messages, c.lang, nullptr});
        EXPECT_EQ(zarno::LanguageFromLocale(), c.expected);
        EXPECT_EQ(zarno::ChooseLanguage(std::nullopt), c.expected);
    }
}

TEST(Language, TheArgumentThenTheRecordedChoiceBeatTheLocale) {
    LocaleEnvironment env;
    env.Use({nullptr, nullptr, nullptr, "ru_RU.UTF-8", "en"});
    EXPECT_EQ(zarno::ChooseLanguage(std::nullopt), Language::English);
    EXPECT_EQ(zarno::ChooseLanguage(Language::Russian), Language::Russian);
    env.Use({nullptr, nullptr, nullptr, "ru_RU.UTF-8", "klingon"}); // not a choice: the locale decides
    EXPECT_EQ(zarno::ChooseLanguage(std::nullopt), Language::Russian);
}

TEST(Language, TheArgumentIsTakenOutOfTheCommandLine) {
    struct Case {
        std::vector<std::string> args; // after the program's name
        std::optional<Language> language;
        bool error;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {{"--lang", "en", "file.sgy"}, Language::English, false, {"file.sgy"}},
        {{"convert", "--lang=RU", "-o", "x"}, Language::Russian, false, {"convert", "-o", "x"}},
        {{"serve", "--root", "d", "--lang", "ru"}, Language::Russian, false, {"serve", "--root", "d"}},
        {{"headers", "f.sgy"}, std::nullopt, false, {"headers", "f.sgy"}},
        {{"report", "--", "--lang", "en"}, std::nullopt, false, {"report", "--", "--lang", "en"}},
        {{"--lang", "fr"}, std::nullopt, true, {}},
        {{"--lang="}, std::nullopt, true, {}},
        {{"x", "--lang"}, std::nullopt, true, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> storage = {"prog"};
        storage.insert(storage.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(storage.size() > 1 ? storage[1] + " " + storage.back() : "");
        std::vector<char*> argv;
        for (std::string& s : storage)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        int argc = int(storage.size());
        QString error;
        EXPECT_EQ(zarno::TakeLanguageArgument(argc, argv.data(), &error), c.language);
        EXPECT_EQ(!error.isEmpty(), c.error) << error.toStdString();
        if (c.error) {
            EXPECT_TRUE(error.contains("ru or en")) << error.toStdString();
            continue;
        }
        std::vector<std::string> left;
        for (int i = 1; i < argc; ++i)
            left.emplace_back(argv[size_t(i)]);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(argv[size_t(argc)], nullptr);
    }
}

// The English is built into the program, applied to an application made before or after the choice
// (the command-line program's commands make theirs later), and the transport library is told.
TEST(Translation, EnglishAndRussianSwitchTheProgramsTexts) {
    LocaleEnvironment env;
    const char* exit = QT_TRANSLATE_NOOP("zarno", "Выход");
    ASSERT_TRUE(zarno::UseLanguage(Language::English));
    EXPECT_EQ(qgetenv("VELNET_LANGUAGE"), "en");
    EXPECT_EQ(zarno::CurrentLanguage(), Language::English);
    for (int round = 0; round < 2; ++round) {
        int argc = 1;
        char name[] = "i18n_test";
        char* argv[] = {name, nullptr};
        QCoreApplication app(argc, argv);
        EXPECT_EQ(zarno::Translated(exit), "Exit");
        // Qt's own texts stay English at source.
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
        ASSERT_TRUE(zarno::UseLanguage(Language::Russian));
        EXPECT_EQ(zarno::Translated(exit), QString::fromUtf8("Выход"));
        EXPECT_EQ(qgetenv("VELNET_LANGUAGE"), "ru");
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("Отмена"));
        ASSERT_TRUE(zarno::UseLanguage(Language::English));
    }
}

} // namespace
