// The ways of handing a wallpaper to the desktop, with every tool a recording stand-in first on
// PATH and every bus a private one: no test here touches the real desktop's settings.
#include "imagefile/codec_library.h"
#include "tests/support/scratch_folder.h"
#include "wallpaper/apply_wallpaper.h"
#include "wallpaper/portal_wallpaper.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <regex>

using namespace tidepool;
using namespace std::chrono_literals;

namespace {

const Screen kWide{"HDMI-1", 0, 0, 1920, 1080, 1};
const Screen kRight{"DP-1", 1920, 0, 1280, 1024, 1};

// A stand-in tool: writes its name and arguments, each in brackets, to the log, then does what
// the body says. PATH holds the stand-ins alone, so they use the shell's built-in commands only.
void WriteTool(const std::filesystem::path& folder, const std::string& name,
               const std::string& body = "") {
    const std::filesystem::path file = folder / name;
    std::ofstream(file) << "#!/bin/sh\n"
                           "{ printf '%s' \"${0##*/}\"; for a in \"$@\"; do printf ' [%s]' "
                           "\"$a\"; done; echo; } >> \"$TOOL_LOG\"\n"
                        << body << "\n";
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
}

// The report's lines as one text, for readable failures.
QString Lines(const WallpaperReport& report) {
    QStringList lines;
    for (const std::string& line : ReportLines(report))
        lines << QString::fromStdString(line);
    return lines.join('\n');
}

} // namespace

// Stands in for the XDG desktop portal: records the request and answers it with a set response.
class FakePortal : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Wallpaper")

  public:
    FakePortal(QObject* parent, QDBusConnection bus) : QDBusAbstractAdaptor(parent), bus_(bus) {}

    uint response = 0;
    bool answer = true;
    QString uri;
    QVariantMap options;

  public slots:
    QDBusObjectPath SetWallpaperURI(const QString& /*parent*/, const QString& picture,
                                    const QVariantMap& requested, const QDBusMessage& message) {
        uri = picture;
        options = requested;
        QString sender = message.service().mid(1).replace('.', '_');
        const QString handle = "/org/freedesktop/portal/desktop/request/" + sender + "/" +
                               requested.value("handle_token").toString();
        if (answer) {
            QDBusMessage signal =
                QDBusMessage::createSignal(handle, "org.freedesktop.portal.Request", "Response");
            signal << response << QVariantMap();
            bus_.send(signal);
        }
        return QDBusObjectPath(handle);
    }

  private:
    QDBusConnection bus_;
};

// Stands in for KDE Plasma's shell: records the script it is given.
class FakePlasmaShell : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")

  public:
    explicit FakePlasmaShell(QObject* parent) : QDBusAbstractAdaptor(parent) {}
    QString script;

  public slots:
    void evaluateScript(const QString& text) { script = text; }
};

class DesktopWaysTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testing::ScratchFolder> scratch;
    std::unique_ptr<CodecLibrary> codec;
    DrawingSurface canvas{24, 32};
    DesktopSession session;

    std::filesystem::path tools() const { return *scratch / "tools"; }
    std::filesystem::path stored() const { return *scratch / "data" / "tidepool"; }

    QStringList toolLog() const {
        std::ifstream in(*scratch / "tools.log");
        QStringList lines;
        for (std::string line; std::getline(in, line);)
            lines << QString::fromStdString(line);
        return lines;
    }

    // The stored pictures, in name order, with the folder's path in front.
    QStringList storedFiles() const {
        QStringList files;
        for (const auto& entry : std::filesystem::directory_iterator(stored()))
            files << QString::fromStdString(entry.path().string());
        files.sort();
        return files;
    }

    // A private bus's own connection, on which a stand-in service registers.
    static QDBusConnection ServiceConnection(const char* name) {
        return QDBusConnection::connectToBus(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"),
                                             QString::fromLatin1(name));
    }

  private slots:
    void init() {
        scratch = std::make_unique<testing::ScratchFolder>();
        codec = std::make_unique<CodecLibrary>(*scratch / "no-plug-in");
        std::filesystem::create_directories(tools());
        session = DesktopSession{};
        session.environment = {{"PATH", tools().string()},
                               {"XDG_DATA_HOME", (*scratch / "data").string()},
                               {"TOOL_LOG", (*scratch / "tools.log").string()}};
        session.screens = {kWide};
        session.limit = 2s;
    }

    // Each desktop's own tool, as a user of that desktop would run it, with the mode that shows
    // the pictures unscaled. %1 and %2 stand for the stored pictures; %u for the first's address.
    void desktopTools_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<int>("screens");
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QString>("toolSays");
        QTest::addColumn<QStringList>("calls");
        const QString gnome = "gsettings [set] [org.gnome.desktop.background] ";
        QTest::newRow("GNOME, one screen")
            << "ubuntu:GNOME" << 1 << "gsettings"
            << "picture-uri\npicture-uri-dark\npicture-options"
            << QStringList{"gsettings [list-keys] [org.gnome.desktop.background]",
                           gnome + "[picture-options] [zoom]", gnome + "[picture-uri] [%u]",
                           gnome + "[picture-uri-dark] [%u]"};
        QTest::newRow("GNOME without a dark style, two screens")
            << "GNOME" << 2 << "gsettings"
            << "picture-uri\npicture-options"
            << QStringList{"gsettings [list-keys] [org.gnome.desktop.background]",
                           gnome + "[picture-options] [spanned]", gnome + "[picture-uri] [%u]"};
        QTest::newRow("Cinnamon")
            << "X-Cinnamon" << 1 << "gsettings"
            << ""
            << QStringList{
                   "gsettings [set] [org.cinnamon.desktop.background] [picture-options] [zoom]",
                   "gsettings [set] [org.cinnamon.desktop.background] [picture-uri] [%u]"};
        QTest::newRow("MATE")
            << "MATE" << 2 << "gsettings"
            << ""
            << QStringList{"gsettings [set] [org.mate.background] [picture-options] [spanned]",
                           "gsettings [set] [org.mate.background] [picture-filename] [%1]"};
        const QString xfconf = "xfconf-query [-c] [xfce4-desktop] [-p] ";
        QTest::newRow("Xfce") << "XFCE" << 2 << "xfconf-query"
                              << "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
                                 "/backdrop/screen0/monitorHDMI-1/workspace1/last-image\n"
                                 "/backdrop/screen0/monitorVGA-9/workspace0/last-image"
                              << QStringList{"xfconf-query [-c] [xfce4-desktop] [-l]",
                                             xfconf + "[/backdrop/screen0/monitorHDMI-1/workspace0/"
                                                      "image-style] [-n] [-t] [int] [-s] [1]",
                                             xfconf + "[/backdrop/screen0/monitorHDMI-1/workspace0/"
                                                      "last-image] [-n] [-t] [string] [-s] [%1]",
                                             xfconf + "[/backdrop/screen0/monitorHDMI-1/workspace1/"
                                                      "image-style] [-n] [-t] [int] [-s] [1]",
                                             xfconf + "[/backdrop/screen0/monitorHDMI-1/workspace1/"
                                                      "last-image] [-n] [-t] [string] [-s] [%1]",
                                             xfconf + "[/backdrop/screen0/monitorDP-1/workspace0/"
                                                      "image-style] [-n] [-t] [int] [-s] [1]",
                                             xfconf + "[/backdrop/screen0/monitorDP-1/workspace0/"
                                                      "last-image] [-n] [-t] [string] [-s] [%2]"};
        QTest::newRow("KDE Plasma, one screen")
            << "KDE" << 1 << "plasma-apply-wallpaperimage"
            << "" << QStringList{"plasma-apply-wallpaperimage [%1]"};
        QTest::newRow("LXQt")
            << "LXQt" << 1 << "pcmanfm-qt"
            << "" << QStringList{"pcmanfm-qt [--set-wallpaper] [%1] [--wallpaper-mode] [center]"};
        QTest::newRow("sway, its own outputs")
            << "sway" << 1 << "swaymsg"
            << R"([{"name":"HDMI-A-1","active":true,"scale":1,"rect":{"x":0,"y":0,"width":1920,"height":1080}},
                  {"name":"eDP-1","active":true,"scale":2,"rect":{"x":1920,"y":0,"width":1280,"height":800}},
                  {"name":"DP-9","active":false,"scale":1,"rect":{"x":0,"y":0,"width":0,"height":0}}])"
            << QStringList{"swaymsg [-t] [get_outputs] [-r]",
                           "swaymsg [output] [HDMI-A-1] [bg] [%1] [fill]",
                           "swaymsg [output] [eDP-1] [bg] [%2] [fill]"};
    }
    void desktopTools() {
        QFETCH(QString, desktop);
        QFETCH(int, screens);
        QFETCH(QString, tool);
        QFETCH(QString, toolSays);
        QFETCH(QStringList, calls);
        WriteTool(tools(), tool.toStdString(), "printf '%s\\n' '" + toolSays.toStdString() + "'");
        session.environment["XDG_CURRENT_DESKTOP"] = desktop.toStdString();
        session.screens =
            screens == 1 ? std::vector<Screen>{kWide} : std::vector<Screen>{kWide, kRight};

        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY2(report.applied(), qPrintable(Lines(report)));
        QCOMPARE(report.tried.back().way, Way::DesktopTool);
        const QStringList files = storedFiles();
        for (QString& call : calls) {
            call.replace("%u", "file://" + files.value(0));
            call.replace("%1", files.value(0)).replace("%2", files.value(1));
        }
        QCOMPARE(toolLog(), calls);
    }

    // The pictures match the screens: one spanning them for GNOME, one per output for sway.
    void picturesFitTheScreens() {
        WriteTool(tools(), "gsettings");
        session.environment["XDG_CURRENT_DESKTOP"] = "GNOME";
        session.screens = {kWide, kRight};
        QVERIFY(ApplyWallpaper(canvas, *codec, session).applied());
        QCOMPARE(QImage(storedFiles().value(0)).size(), QSize(3200, 1080));
    }

    void failingTools_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("line");
        QTest::newRow("fails") << "echo 'No such schema' >&2; exit 3"
                               << "the desktop's own tool (gsettings): failed: gsettings ended "
                                  "with status 3: No such schema";
        QTest::newRow("hangs") << "read forever"
                               << "the desktop's own tool (gsettings): no answer in time: "
                                  "gsettings gave no answer within 0.3 s";
    }
    void failingTools() {
        QFETCH(QString, body);
        QFETCH(QString, line);
        WriteTool(tools(), "gsettings", body.toStdString());
        session.environment["XDG_CURRENT_DESKTOP"] = "MATE";
        session.limit = 300ms;
        QElapsedTimer clock;
        clock.start();
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY(clock.elapsed() < 5000);
        QVERIFY(!report.applied());
        const QStringList lines = Lines(report).split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[1], line);
        QCOMPARE(lines[2], QStringLiteral("the X11 root window: not used, as the desktop draws "
                                          "its own background: MATE"));
    }

    // With nowhere to hand it over, each way says why in one line, and the pictures stay as
    // they are.
    void nothingToApplyWith_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<int>("screens");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("no desktop, no display")
            << "" << 1
            << QStringList{
                   "the desktop portal: no session bus",
                   "the desktop's own tool: no desktop is named (XDG_CURRENT_DESKTOP is empty)",
                   "the X11 root window: no X11 display"};
        QTest::newRow("unknown desktop")
            << "Enlightenment" << 1
            << QStringList{
                   "the desktop portal: no session bus",
                   "the desktop's own tool: no tool is known for this desktop: Enlightenment",
                   "the X11 root window: not used, as the desktop draws its own background: this "
                   "desktop"};
        QTest::newRow("KDE Plasma's shell out of reach, two screens")
            << "KDE" << 2
            << QStringList{"the desktop portal: not used with several screens, over which it "
                           "would scale one picture",
                           "the desktop's own tool (plasmashell): no session bus"};
    }
    void nothingToApplyWith() {
        QFETCH(QString, desktop);
        QFETCH(int, screens);
        QFETCH(QStringList, lines);
        session.environment["XDG_CURRENT_DESKTOP"] = desktop.toStdString();
        session.screens =
            screens == 1 ? std::vector<Screen>{kWide} : std::vector<Screen>{kWide, kRight};
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY(!report.applied());
        QCOMPARE(Lines(report).split('\n').mid(0, lines.size()), lines);
    }

    void missingToolLeavesThePortalToTryWithSeveralScreens() {
        session.environment["XDG_CURRENT_DESKTOP"] = "XFCE";
        session.screens = {kWide, kRight};
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QCOMPARE(Lines(report).split('\n').mid(0, 2),
                 (QStringList{"the desktop portal: no session bus",
                              "the desktop's own tool (xfconf-query): not installed"}));
    }

    void unwritableDataFolderIsNamed() {
        WriteTool(tools(), "gsettings");
        session.environment["XDG_CURRENT_DESKTOP"] = "GNOME";
        std::ofstream(*scratch / "file") << "x";
        session.environment["XDG_DATA_HOME"] = (*scratch / "file").string();
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY(Lines(report).contains(
            QString::fromStdString((*scratch / "file" / "tidepool").string())));
    }

    // The portal on a private session bus: asked for the stored picture, with no preview, for
    // the background.
    void portal_data() {
        QTest::addColumn<uint>("response");
        QTest::addColumn<bool>("answers");
        QTest::addColumn<QString>("line");
        QTest::newRow("sets it") << 0u << true << "the desktop portal: applied";
        QTest::newRow("cancelled")
            << 1u << true << "the desktop portal: the portal did not set it: cancelled";
        QTest::newRow("never answers") << 0u << false << "the desktop portal: no answer in time";
    }
    void portal() {
        QFETCH(uint, response);
        QFETCH(bool, answers);
        QFETCH(QString, line);
        QDBusConnection service = ServiceConnection("fake portal");
        QObject object;
        auto* portal = new FakePortal(&object, service);
        portal->response = response;
        portal->answer = answers;
        QVERIFY(service.registerObject("/org/freedesktop/portal/desktop", &object));
        QVERIFY(service.registerService("org.freedesktop.portal.Desktop"));
        session.environment["DBUS_SESSION_BUS_ADDRESS"] =
            qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").toStdString();
        session.limit = 500ms;

        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        service.unregisterService("org.freedesktop.portal.Desktop");
        service.unregisterObject("/org/freedesktop/portal/desktop");
        QCOMPARE(Lines(report).split('\n').value(0), line);
        QCOMPARE(portal->uri, "file://" + storedFiles().value(0));
        QCOMPARE(portal->options.value("show-preview"), QVariant(false));
        QCOMPARE(portal->options.value("set-on"), QVariant(QStringLiteral("background")));
    }

    void noPortalOnTheBus() {
        session.environment["DBUS_SESSION_BUS_ADDRESS"] =
            qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").toStdString();
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY(
            Lines(report).startsWith("the desktop portal: no wallpaper portal on the session bus"));
    }

    // KDE Plasma with several screens: each desktop gets its own screen's picture through the
    // shell's script.
    void plasmaShellWithSeveralScreens() {
        QDBusConnection service = ServiceConnection("fake plasma");
        QObject object;
        auto* shell = new FakePlasmaShell(&object);
        QVERIFY(service.registerObject("/PlasmaShell", &object));
        QVERIFY(service.registerService("org.kde.plasmashell"));
        session.environment["DBUS_SESSION_BUS_ADDRESS"] =
            qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").toStdString();
        session.environment["XDG_CURRENT_DESKTOP"] = "KDE";
        session.screens = {kWide, kRight};

        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        service.unregisterService("org.kde.plasmashell");
        service.unregisterObject("/PlasmaShell");
        QVERIFY2(report.applied(), qPrintable(Lines(report)));
        const QStringList files = storedFiles();
        QVERIFY(shell->script.contains("[\"file://" + files.value(0) + "\",\"file://" +
                                       files.value(1) + "\"]"));
        QVERIFY(shell->script.contains("d.writeConfig('Image', pictures[d.screen])"));
    }
};

QTEST_GUILESS_MAIN(DesktopWaysTest)
#include "desktop_ways_test.moc"
