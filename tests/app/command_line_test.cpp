// Runs the built tidepool as a user at a terminal would: its own options, and a start where no
// window system can be reached.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <ostream>
#include <string>

namespace tidepool {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

struct Outcome {
    bool exitedNormally = false;
    int status = -1;
    std::string out;
    std::string err;
};

// The environment of the tests less every way to a window system; extra variables on top.
QProcessEnvironment WithoutDisplay(const QStringList& extra = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "WAYLAND_SOCKET"})
        environment.remove(QString::fromLatin1(name));
    for (const QString& variable : extra)
        environment.insert(variable.section(QLatin1Char('='), 0, 0),
                           variable.section(QLatin1Char('='), 1));
    return environment;
}

Outcome RunTidepool(const QStringList& args, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TIDEPOOL_BINARY), args);
    Outcome run;
    // A window that opened would never exit; the test's own timeout would report it far later.
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        run.err = "still running after 30 s: it opened a window";
        return run;
    }
    run.exitedNormally = process.exitStatus() == QProcess::NormalExit;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

class AnsweredWithoutADisplay : public ::testing::TestWithParam<const char*> {};

TEST_P(AnsweredWithoutADisplay, HelpPrintsTheUsage) {
    const Outcome run = RunTidepool({QString::fromLatin1(GetParam())}, WithoutDisplay());
    EXPECT_TRUE(run.exitedNormally) << run.err;
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, StartsWith("Usage: tidepool [options]\n"));
    EXPECT_THAT(run.out, HasSubstr("--version"));
    EXPECT_THAT(run.out, HasSubstr("-platform NAME"));
    EXPECT_THAT(run.out, EndsWith("\n"));
    EXPECT_THAT(run.err, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Tidepool, AnsweredWithoutADisplay, ::testing::Values("--help", "-h", "-?"),
                         [](const auto& info) { return std::to_string(info.index); });

TEST(Tidepool, VersionPrintsOneLineWithoutADisplay) {
    for (const char* option : {"--version", "-v"}) {
        const Outcome run = RunTidepool({QString::fromLatin1(option)}, WithoutDisplay());
        EXPECT_EQ(run.status, 0) << option << ": " << run.err;
        EXPECT_EQ(run.out, "tidepool " TIDEPOOL_VERSION "\n") << option;
        EXPECT_THAT(run.err, IsEmpty()) << option;
    }
}

struct NoDisplayCase {
    const char* name;
    QStringList args;
    QStringList environment;
};

void PrintTo(const NoDisplayCase& c, std::ostream* os) {
    *os << c.name;
}

class NoDisplay : public ::testing::TestWithParam<NoDisplayCase> {};

// One line naming what to set, and status 1: not Qt's page of advice and an abort with a core.
TEST_P(NoDisplay, EndsWithOneClearLineAndStatusOne) {
    const Outcome run = RunTidepool(GetParam().args, WithoutDisplay(GetParam().environment));
    EXPECT_TRUE(run.exitedNormally) << run.err;
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_THAT(run.err, StartsWith("tidepool: cannot open a display: set DISPLAY or "
                                    "WAYLAND_DISPLAY ("));
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_THAT(run.out, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Tidepool, NoDisplay,
    ::testing::Values(
        NoDisplayCase{"NothingSet", {}, {}},
        NoDisplayCase{"UnusableDisplayName", {}, {"DISPLAY=:no-such-display"}},
        NoDisplayCase{"WaylandWithoutACompositor",
                      {},
                      {"QT_QPA_PLATFORM=wayland", "WAYLAND_DISPLAY=tidepool-test-no-such-socket",
                       "XDG_RUNTIME_DIR=/tmp"}},
        // Single-dash words are the toolkit's: -reverse holds no -v for --version.
        NoDisplayCase{"ToolkitOptionGiven", {"-reverse"}, {}},
        NoDisplayCase{"ToolkitOptionsWithValues",
                      {"-style", "Fusion", "--qwindowtitle", "x", "-stylesheet=a.qss"},
                      {}}),
    [](const auto& info) { return std::string(info.param.name); });

class Refused : public ::testing::TestWithParam<QStringList> {};

// As tidepool-render refuses what it does not know: one line, status 2, and no window tried.
TEST_P(Refused, WithOneLineAndStatusTwo) {
    const Outcome run = RunTidepool(GetParam(), WithoutDisplay());
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_THAT(run.err, StartsWith("tidepool: "));
    EXPECT_THAT(run.err,
                HasSubstr(GetParam().constFirst().section(QLatin1Char('='), 0, 0).toStdString()));
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_THAT(run.out, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Tidepool, Refused,
                         ::testing::Values(QStringList{"--bogus"}, QStringList{"-bogus"},
                                           QStringList{"--bogus=1", "-reverse"},
                                           QStringList{"-platform"}),
                         [](const auto& info) { return std::to_string(info.index); });

} // namespace
} // namespace tidepool
