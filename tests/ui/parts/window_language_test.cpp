// Which language the windows speak, for the preferred languages as a desktop session sets them.
// Qt reads the environment once per process, so each row runs this program again in its own.
#include "ui/parts/window_language.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QProcess>

#include <cstdio>
#include <cstring>

namespace tidepool {
namespace {

const char* const kPrintLanguage = "--print-window-language";

struct Row {
    const char* name;
    QStringList environment;
    WindowLanguage expected;
};

class WindowLanguageFor : public ::testing::TestWithParam<Row> {};

TEST_P(WindowLanguageFor, Environment) {
    QProcess process;
    // Only the row's variables, and a PATH, so that no variable of the test's own counts.
    process.setEnvironment(GetParam().environment + QStringList{"PATH=/usr/bin:/bin"});
    process.start(QStringLiteral("/proc/self/exe"), {QString::fromLatin1(kPrintLanguage)});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QByteArray said = process.readAllStandardOutput();
    EXPECT_EQ(said, GetParam().expected == WindowLanguage::Japanese ? "ja" : "en");
}

constexpr WindowLanguage ja = WindowLanguage::Japanese;
constexpr WindowLanguage en = WindowLanguage::English;

INSTANTIATE_TEST_SUITE_P(
    Rule, WindowLanguageFor,
    ::testing::Values(Row{"NothingSet", {}, ja}, Row{"CLocale", {"LANG=C"}, ja},
                      Row{"PosixUtf8", {"LANG=C.UTF-8"}, ja},
                      Row{"Posix", {"LC_ALL=POSIX", "LANG=en_US.UTF-8"}, ja},
                      Row{"Japanese", {"LANG=ja_JP.UTF-8"}, ja},
                      Row{"JapaneseEucJp", {"LANG=ja_JP.eucJP"}, ja},
                      Row{"English", {"LANG=en_US.UTF-8"}, en},
                      Row{"French", {"LANG=fr_FR.UTF-8"}, en},
                      Row{"UnknownLanguage", {"LANG=xx_YY.UTF-8"}, en},
                      Row{"JapaneseFirstOfSeveral", {"LANGUAGE=ja:en", "LANG=en_US.UTF-8"}, ja},
                      Row{"JapaneseSecond", {"LANGUAGE=fr:ja", "LANG=ja_JP.UTF-8"}, en},
                      Row{"LanguageOverLang", {"LANGUAGE=en", "LANG=ja_JP.UTF-8"}, en},
                      Row{"MessagesOverLang", {"LC_MESSAGES=ja_JP.UTF-8", "LANG=de_DE.UTF-8"}, ja},
                      Row{"AllOverMessages", {"LC_ALL=en_GB.UTF-8", "LC_MESSAGES=ja_JP.UTF-8"}, en},
                      Row{"EmptyLanguageIgnored", {"LANGUAGE=", "LANG=en_US.UTF-8"}, en}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tidepool

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], tidepool::kPrintLanguage) == 0) {
        const auto language = tidepool::ChooseWindowLanguage(QLocale::system().uiLanguages());
        std::fputs(language == tidepool::WindowLanguage::Japanese ? "ja" : "en", stdout);
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
