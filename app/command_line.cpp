#include "app/command_line.h"

#include <QCommandLineParser>
#include <QStringList>

namespace tidepool {
namespace {

constexpr const char* kDescription =
    "Tidepool (ぺたもぐ) makes wallpapers of cartoon crabs blowing bubbles. It opens its main "
    "window, whose captions are in Japanese, beside a 1:1 preview; tidepool-render draws the same "
    "wallpapers from the command line.\n"
    "The toolkit's standard options, such as -platform NAME, are accepted too.";

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
    // Unknown options are not an error here: they are QApplication's to judge.
    parser.parse(Arguments(argc, argv));
    if (parser.isSet(help))
        return EarlyExit{0, HelpText(parser)};
    if (parser.isSet(QStringLiteral("version")))
        return EarlyExit{0, "tidepool " TIDEPOOL_VERSION "\n"};
    return std::nullopt;
}

} // namespace tidepool
