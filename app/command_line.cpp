#include "app/command_line.h"

#include <QCommandLineParser>
#include <QStringList>

#include <array>

namespace tidepool {
namespace {

constexpr const char* kDescription =
    "Tidepool (ぺたもぐ) makes wallpapers of cartoon crabs blowing bubbles. It opens its main "
    "window beside a 1:1 preview; tidepool-render draws the same wallpapers from the command "
    "line. The windows speak Japanese when the preferred languages (LANGUAGE, LC_ALL, "
    "LC_MESSAGES, LANG) put Japanese first or name none, and English otherwise.\n"
    "The toolkit's standard options, such as -platform NAME, are accepted too; any other option "
    "is refused.";

// The options Qt itself takes (QGuiApplication, QApplication and the X11 platform), each with one
// dash or two; whether each takes a value.
struct ToolkitOption {
    const char* name;
    bool takesValue;
};
constexpr std::array<ToolkitOption, 21> kToolkitOptions{{
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"geometry", true},
    {"qwindowtitle", true},
    {"title", true},
    {"qwindowicon", true},
    {"icon", true},
    {"session", true},
    {"style", true},
    {"stylesheet", true},
    {"display", true},
    {"name", true},
    {"visual", true},
    {"qmljsdebugger", true},
    {"reverse", false},
    {"widgetcount", false},
    {"nograb", false},
    {"dograb", false},
}};

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The usage line names the program as users type it, whatever path started it.
std::string HelpText(const QCommandLineParser& parser) {
    QString text = parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    const qsizetype nameEnd = text.indexOf(QLatin1Char(' '), usage.size());
    if (text.startsWith(usage) && nameEnd > 0)
        text.replace(usage.size(), nameEnd - usage.size(), QStringLiteral("tidepool"));
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    return text.toStdString();
}

// The argument as typed that gave the option of that name: "-bogus" or "--bogus", without any
// value after "=".
QString AsTyped(const QStringList& arguments, const QString& name) {
    for (const QString& argument : arguments.mid(1)) {
        const QString option = argument.section(QLatin1Char('='), 0, 0);
        if (option.startsWith(QLatin1Char('-')) &&
            option.mid(option.startsWith(u"--") ? 2 : 1) == name)
            return option;
    }
    return QStringLiteral("--") + name;
}

EarlyExit Refusal(const QString& problem) {
    return EarlyExit{2, "", "tidepool: " + problem.toStdString() + " (see tidepool --help)\n"};
}

} // namespace

std::optional<EarlyExit> AnswerBeforeWindows(int argc, char** argv) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    // The toolkit's options are single-dash words: read as letters, "-reverse" would hold -v.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Not addHelpOption(): its --help-all promises the toolkit's options, which need the
    // application this runs before.
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
        QStringLiteral("Displays this help."));
    parser.addOption(help);
    parser.addVersionOption();
    // Known here only to be let through to QApplication, which takes them.
    for (const ToolkitOption& toolkit : kToolkitOptions) {
        QCommandLineOption option(QString::fromLatin1(toolkit.name));
        if (toolkit.takesValue)
            option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    const QStringList arguments = Arguments(argc, argv);
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help))
        return EarlyExit{0, HelpText(parser), ""};
    if (parser.isSet(QStringLiteral("version")))
        return EarlyExit{0, "tidepool " TIDEPOOL_VERSION "\n", ""};
    if (!parser.unknownOptionNames().isEmpty())
        return Refusal(QStringLiteral("unknown option ") +
                       AsTyped(arguments, parser.unknownOptionNames().constFirst()));
    if (!parsed)
        return Refusal(parser.errorText());
    return std::nullopt;
}

} // namespace tidepool
