// The ways of handing a wallpaper to the desktop against stand-ins: every tool a recording
// stand-in first on PATH that keeps what it is told, so it can be read back; every bus a private
// one activating nothing; the desktop programs that draw the background a window claiming to be
// theirs on the test's own X server. No test here touches the real desktop's settings; the real
// desktops are tried in scripts/desktop_tests.sh.
#include "imagefile/codec_library.h"
#include "tests/support/scratch_folder.h"
#include "wallpaper/apply_wallpaper.h"
#include "wallpaper/desktops/desktop_ways.h"
#include "wallpaper/x11/xcb_owned.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <fstream>
#include <memory>
#include <thread>

using namespace tidepool;
using namespace std::chrono_literals;

namespace {

const Screen kWide{"HDMI-1", 0, 0, 1920, 1080, 1};
const Screen kRight{"DP-1", 1920, 0, 1280, 1024, 1};

// A stand-in tool: writes its name and arguments, each in brackets, to the log, then does what
// the body says. PATH holds the stand-ins alone, so they name any other program by its path.
// The line goes out in one write to the file opened for appending, so that a swaybg started in
// the background cannot cut into the next tool's line.
void WriteTool(const std::filesystem::path& folder, const std::string& name,
               const std::string& body = "") {
    const std::filesystem::path file = folder / name;
    std::ofstream(file) << "#!/bin/bash\n"
                           "line=${0##*/}; for a in \"$@\"; do line+=\" [$a]\"; done\n"
                           "printf '%s\\n' \"$line\" >> \"$TOOL_LOG\"\n"
                           "state=$TOOL_STATE/${0##*/}; /bin/mkdir -p \"$state\"\n"
                        << body << "\n";
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
}

// gsettings keeping what it is set to and printing it back as GVariant text; list-keys says
// keys.
std::string GsettingsBody(const std::string& keys) {
    return "case $1 in\n"
           "list-keys) printf '%s\\n' " +
           keys +
           " ;;\n"
           "set) printf '%s' \"$4\" > \"$state/$2.$3\" ;;\n"
           "get) v=$(< \"$state/$2.$3\"); printf \"'%s'\\n\" \"$v\" ;;\n"
           "esac";
}

// xfconf-query listing the backdrops given, keeping what it is set to and printing it back.
std::string XfconfBody(const std::string& listed) {
    return "if [ \"$3\" = -l ]; then printf '%s\\n' " + listed +
           "; exit; fi\n"
           "f=$state/${4//\\//_}\n"
           "if [ \"$5\" = -n ]; then printf '%s' \"$9\" > \"$f\"; else "
           "printf '%s\\n' \"$(< \"$f\")\"; fi";
}

// pcmanfm-qt as the running desktop answers: the picture kept in its profile's settings, the
// mode not.
const char* const kPcmanfmBody =
    "d=$XDG_CONFIG_HOME/pcmanfm-qt/lxqt; /bin/mkdir -p \"$d\"\n"
    "printf '[Desktop]\\nWallpaper=%s\\nWallpaperMode=stretch\\n' \"$2\" > \"$d/settings.conf\"";

// swaymsg listing two outputs, and starting a swaybg stand-in for each background it is given.
const char* const kSwaymsgBody =
    "case $1 in\n"
    "-t) printf '%s' '[{\"name\":\"HDMI-A-1\",\"active\":true,\"scale\":1,\"rect\":{\"x\":0,"
    "\"y\":0,\"width\":1920,\"height\":1080}},{\"name\":\"eDP-1\",\"active\":true,\"scale\":2,"
    "\"rect\":{\"x\":1920,\"y\":0,\"width\":1280,\"height\":800}},{\"name\":\"DP-9\","
    "\"active\":false,\"scale\":1,\"rect\":{\"x\":0,\"y\":0,\"width\":0,\"height\":0}}]' ;;\n"
    "output) [ -x \"${0%/*}/swaybg\" ] && \"${0%/*}/swaybg\" -o \"$2\" -i \"$4\" -m \"$5\" "
    "</dev/null >/dev/null 2>&1 & ;;\n"
    "esac";

// The report's lines as one text, for readable failures.
QString Lines(const WallpaperReport& report) {
    QStringList lines;
    for (const std::string& line : ReportLines(report))
        lines << QString::fromStdString(line);
    return lines.join('\n');
}

// The address a stored file is handed over as: the data folder's name holds a space and a '#'.
QString AddressOf(QString file) {
    return "file://" + file.replace(' ', "%20").replace('#', "%23");
}

// A stand-in service on a connection of its own to the private bus, published at its path under
// its name until it goes, so that a test that fails half-way leaves no service for the next.
class ServiceOnBus {
  public:
    ServiceOnBus(const char* connection, QString path, QString name)
        : bus_(QDBusConnection::connectToBus(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"),
                                             QString::fromLatin1(connection))),
          path_(std::move(path)), name_(std::move(name)) {}
    ~ServiceOnBus() {
        bus_.unregisterService(name_);
        bus_.unregisterObject(path_);
    }

    // The object the stand-in's adaptors are made on, before it is published.
    QObject* object() { return &object_; }
    QDBusConnection bus() const { return bus_; }
    bool publish() { return bus_.registerObject(path_, &object_) && bus_.registerService(name_); }

  private:
    QDBusConnection bus_;
    QString path_;
    QString name_;
    QObject object_;
};

// A mapped window on the test's X server that says it is a desktop program's: the type desktop
// programs give the window they draw the background in, and that program's WM_CLASS.
class FakeDesktopWindow {
  public:
    explicit FakeDesktopWindow(const std::string& wmClass)
        : connection_(xcb_connect(nullptr, nullptr)) {
        xcb_connection_t* c = connection_.get();
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        const xcb_window_t window = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 64, 64, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        const xcb_atom_t type = XcbAtom(c, "_NET_WM_WINDOW_TYPE");
        const xcb_atom_t desktop = XcbAtom(c, "_NET_WM_WINDOW_TYPE_DESKTOP");
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, type, XCB_ATOM_ATOM, 32, 1, &desktop);
        const std::string both = wmClass + '\0' + wmClass + '\0';
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            static_cast<std::uint32_t>(both.size()), both.data());
        xcb_map_window(c, window);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }

  private:
    XcbConnection connection_;
};

// A desktop program that draws over the root window a second after the canvas went there, as
// xfdesktop does on finding a screen late: its own picture in _XROOTPMAP_ID alone. The canvas
// is told by the new picture in ESETROOT_PMAP_ID, whose old one is read before anything runs.
class LateRootDrawer {
  public:
    LateRootDrawer()
        : connection_(xcb_connect(nullptr, nullptr)),
          screen_(xcb_setup_roots_iterator(xcb_get_setup(connection_.get())).data),
          before_(canvasShown()), thread_([this] { drawOnceTheCanvasIsThere(); }) {}
    ~LateRootDrawer() { thread_.join(); }

  private:
    xcb_pixmap_t canvasShown() {
        xcb_connection_t* c = connection_.get();
        const auto reply = Owned(xcb_get_property_reply(
            c,
            xcb_get_property(c, 0, screen_->root, XcbAtom(c, "ESETROOT_PMAP_ID"), XCB_ATOM_PIXMAP,
                             0, 1),
            nullptr));
        return reply && xcb_get_property_value_length(reply.get()) == 4
                   ? *static_cast<const xcb_pixmap_t*>(xcb_get_property_value(reply.get()))
                   : xcb_pixmap_t{XCB_NONE};
    }

    void drawOnceTheCanvasIsThere() {
        for (int tries = 0; canvasShown() == before_ && tries < 500; ++tries)
            std::this_thread::sleep_for(20ms);
        std::this_thread::sleep_for(1s);
        xcb_connection_t* c = connection_.get();
        const xcb_pixmap_t own = xcb_generate_id(c);
        xcb_create_pixmap(c, screen_->root_depth, own, screen_->root, 8, 8);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, screen_->root, XcbAtom(c, "_XROOTPMAP_ID"),
                            XCB_ATOM_PIXMAP, 32, 1, &own);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }

    XcbConnection connection_;
    const xcb_screen_t* screen_;
    xcb_pixmap_t before_;
    std::thread thread_;
};

} // namespace

// Stands in for a portal request left open: records whether it was closed, and where the portal
// hangs, does not even answer that.
class FakeRequest : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")

  public:
    explicit FakeRequest(QObject* parent) : QDBusAbstractAdaptor(parent) {}
    bool closed = false;
    bool hangs = false;

  public slots:
    void Close(const QDBusMessage& message) {
        closed = true;
        message.setDelayedReply(hangs);
    }
};

// Stands in for the XDG desktop portal: records the request and answers it with a set response,
// at once or after asking the user for a while, or leaves it open.
class FakePortal : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Wallpaper")

  public:
    FakePortal(QObject* parent, QDBusConnection bus) : QDBusAbstractAdaptor(parent), bus_(bus) {}

    uint response = 0;
    bool answer = true;
    std::chrono::milliseconds asksFor{0};
    bool choosesPath = false; // as an older portal does, taking no token
    QString uri;
    QVariantMap options;
    QObject requestObject;
    FakeRequest* request = new FakeRequest(&requestObject);

  public slots:
    QDBusObjectPath SetWallpaperURI(const QString& /*parent*/, const QString& picture,
                                    const QVariantMap& requested, const QDBusMessage& message) {
        uri = picture;
        options = requested;
        QString sender = message.service().mid(1).replace('.', '_');
        const QString handle =
            "/org/freedesktop/portal/desktop/request/" + sender + "/" +
            (choosesPath ? "older1" : requested.value("handle_token").toString());
        bus_.registerObject(handle, &requestObject);
        if (answer)
            QTimer::singleShot(asksFor, this, [this, handle] {
                QDBusMessage signal = QDBusMessage::createSignal(
                    handle, "org.freedesktop.portal.Request", "Response");
                signal << response << QVariantMap();
                bus_.send(signal);
            });
        return QDBusObjectPath(handle);
    }

  private:
    QDBusConnection bus_;
};

// Stands in for KDE Plasma's shell: records the script that sets its desktops' pictures and, where
// it keeps them, prints them back as the read-back script would.
class FakePlasmaShell : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")

  public:
    explicit FakePlasmaShell(QObject* parent) : QDBusAbstractAdaptor(parent) {}
    QString script;
    bool keeps = true;

  public slots:
    QString evaluateScript(const QString& text) {
        if (text.contains("writeConfig"))
            script = text;
        QString printed;
        auto pictures = QRegularExpression("\"(file:[^\"]+)\"").globalMatch(keeps ? script : "");
        for (int screen = 0; pictures.hasNext(); ++screen)
            printed +=
                QString("%1 org.kde.image 2 %2\n").arg(screen).arg(pictures.next().captured(1));
        return printed;
    }
};

class DesktopWaysTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testing::ScratchFolder> scratch;
    std::unique_ptr<CodecLibrary> codec;
    DrawingSurface canvas{24, 32};
    DesktopSession session;
    // Bus names the test owns for the shells that draw the background.
    QDBusConnection shells = QDBusConnection::connectToBus(
        qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("fake shells"));

    std::filesystem::path tools() const { return *scratch / "tools"; }
    // A data folder whose name a shell or sway's parser would take apart.
    std::filesystem::path data() const { return *scratch / "my data #1"; }
    std::filesystem::path stored() const { return data() / "tidepool"; }

    QStringList toolLog() const {
        std::ifstream in(*scratch / "tools.log");
        QStringList lines;
        for (std::string line; std::getline(in, line);)
            lines << QString::fromStdString(line);
        return lines;
    }

    // What the tools were told to change, without their reading back.
    QStringList toolWrites() const {
        QStringList writes;
        for (const QString& line : toolLog())
            if (!line.startsWith("gsettings [get]") && !line.startsWith("swaybg") &&
                !(line.startsWith("xfconf-query [-c] [xfce4-desktop] [-p]") &&
                  !line.contains("[-s]")))
                writes << line;
        return writes;
    }

    // The stored pictures, in name order, with the folder's path in front.
    QStringList storedFiles() const {
        QStringList files;
        for (const auto& entry : std::filesystem::directory_iterator(stored()))
            files << QString::fromStdString(entry.path().string());
        files.sort();
        return files;
    }

    void useTheBus() {
        session.environment["DBUS_SESSION_BUS_ADDRESS"] =
            qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").toStdString();
    }

    // An application, and how long it took in milliseconds.
    WallpaperReport applyTimed(qint64& took) {
        QElapsedTimer clock;
        clock.start();
        WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        took = clock.elapsed();
        return report;
    }

    void useScreens(int count) {
        session.screens =
            count == 1 ? std::vector<Screen>{kWide} : std::vector<Screen>{kWide, kRight};
    }

  private slots:
    void init() {
        scratch = std::make_unique<testing::ScratchFolder>();
        codec = std::make_unique<CodecLibrary>(*scratch / "no-plug-in");
        std::filesystem::create_directories(tools());
        std::filesystem::create_directories(*scratch / "run");
        session = DesktopSession{};
        session.environment = {{"PATH", tools().string()},
                               {"XDG_DATA_HOME", data().string()},
                               {"XDG_CONFIG_HOME", (*scratch / "config").string()},
                               {"XDG_RUNTIME_DIR", (*scratch / "run").string()},
                               {"DISPLAY", qEnvironmentVariable("DISPLAY").toStdString()},
                               {"TOOL_LOG", (*scratch / "tools.log").string()},
                               {"TOOL_STATE", (*scratch / "state").string()}};
        session.screens = {kWide};
        session.limit = 5s;
        // No portal's question is waited for beyond that, unless a test says so.
        session.answerLimit = 0s;
    }

    void cleanup() {
        for (const char* name : {"org.gnome.Shell", "org.Cinnamon", "org.kde.plasmashell"})
            shells.unregisterService(QString::fromLatin1(name));
    }

    // Each desktop's own tool, as a user of that desktop would run it, with the mode that shows
    // the pictures unscaled, and what it told the desktop read back. %1 and %2 stand for the
    // stored pictures; %u for the first's address.
    void desktopTools_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<int>("screens");
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("drawer");
        QTest::addColumn<QStringList>("calls");
        const QString gnome = "gsettings [set] [org.gnome.desktop.background] ";
        QTest::newRow("GNOME, one screen")
            << "ubuntu:GNOME" << 1 << "gsettings"
            << QString::fromStdString(GsettingsBody("picture-uri picture-uri-dark picture-options"))
            << "org.gnome.Shell"
            << QStringList{"gsettings [list-keys] [org.gnome.desktop.background]",
                           gnome + "[picture-options] [zoom]", gnome + "[picture-uri] [%u]",
                           gnome + "[picture-uri-dark] [%u]"};
        QTest::newRow("GNOME without a dark style, two screens")
            << "GNOME" << 2 << "gsettings"
            << QString::fromStdString(GsettingsBody("picture-uri picture-options"))
            << "org.gnome.Shell"
            << QStringList{"gsettings [list-keys] [org.gnome.desktop.background]",
                           gnome + "[picture-options] [spanned]", gnome + "[picture-uri] [%u]"};
        QTest::newRow("Cinnamon")
            << "X-Cinnamon" << 1 << "gsettings" << QString::fromStdString(GsettingsBody(""))
            << "org.Cinnamon"
            << QStringList{
                   "gsettings [set] [org.cinnamon.desktop.background] [picture-options] [zoom]",
                   "gsettings [set] [org.cinnamon.desktop.background] [picture-uri] [%u]"};
        QTest::newRow("MATE") << "MATE" << 2 << "gsettings"
                              << QString::fromStdString(GsettingsBody("")) << "window:caja"
                              << QStringList{"gsettings [set] [org.mate.background] "
                                             "[picture-options] [spanned]",
                                             "gsettings [set] [org.mate.background] "
                                             "[picture-filename] [%1]"};
        const QString xfconf = "xfconf-query [-c] [xfce4-desktop] [-p] ";
        const QString backdrop = "[/backdrop/screen0/monitor";
        QTest::newRow("Xfce, both monitors with backdrops")
            << "XFCE" << 2 << "xfconf-query"
            << QString::fromStdString(
                   XfconfBody("/backdrop/screen0/monitorHDMI-1/workspace0/last-image "
                              "/backdrop/screen0/monitorHDMI-1/workspace1/last-image "
                              "/backdrop/screen0/monitorDP-1/workspace0/last-image"))
            << "window:xfdesktop"
            << QStringList{
                   "xfconf-query [-c] [xfce4-desktop] [-l]",
                   xfconf + backdrop + "HDMI-1/workspace0/image-style] [-n] [-t] [int] [-s] [1]",
                   xfconf + backdrop + "HDMI-1/workspace0/last-image] [-n] [-t] [string] [-s] [%1]",
                   xfconf + backdrop + "HDMI-1/workspace1/image-style] [-n] [-t] [int] [-s] [1]",
                   xfconf + backdrop + "HDMI-1/workspace1/last-image] [-n] [-t] [string] [-s] [%1]",
                   xfconf + backdrop + "DP-1/workspace0/image-style] [-n] [-t] [int] [-s] [1]",
                   xfconf + backdrop + "DP-1/workspace0/last-image] [-n] [-t] [string] [-s] [%2]"};
        QTest::newRow("Xfce, a monitor without a backdrop yet")
            << "XFCE" << 2 << "xfconf-query"
            << QString::fromStdString(
                   XfconfBody("/backdrop/screen0/monitorHDMI-1/workspace0/last-image "
                              "/backdrop/screen0/monitorDP-1/workspace0/image-style"))
            << "window:xfdesktop"
            << QStringList{"xfconf-query [-c] [xfce4-desktop] [-l]",
                           xfconf + backdrop +
                               "HDMI-1/workspace0/image-style] [-n] [-t] [int] [-s] [2]",
                           xfconf + backdrop +
                               "HDMI-1/workspace0/last-image] [-n] [-t] [string] [-s] [%1]"};
        QTest::newRow("Xfce knowing other monitors than the screens: tiled")
            << "XFCE" << 2 << "xfconf-query"
            << QString::fromStdString(
                   XfconfBody("/backdrop/screen0/monitorscreen/workspace0/last-image"))
            << "window:xfdesktop"
            << QStringList{"xfconf-query [-c] [xfce4-desktop] [-l]",
                           xfconf + backdrop +
                               "screen/workspace0/image-style] [-n] [-t] [int] [-s] [2]",
                           xfconf + backdrop +
                               "screen/workspace0/last-image] [-n] [-t] [string] [-s] [%1]"};
        QTest::newRow("LXQt, two screens: the whole desktop's picture")
            << "LXQt" << 2 << "pcmanfm-qt" << kPcmanfmBody << "window:pcmanfm-qt"
            << QStringList{"pcmanfm-qt [--set-wallpaper] [%1] [--wallpaper-mode] [tile]"};
        QTest::newRow("sway, its own outputs")
            << "sway" << 1 << "swaymsg" << kSwaymsgBody << "swaybg"
            << QStringList{"swaymsg [-t] [get_outputs] [-r]",
                           "swaymsg [output] [HDMI-A-1] [bg] [%r1] [fill]",
                           "swaymsg [output] [eDP-1] [bg] [%r2] [fill]"};
    }
    void desktopTools() {
        QFETCH(QString, desktop);
        QFETCH(int, screens);
        QFETCH(QString, tool);
        QFETCH(QString, body);
        QFETCH(QString, drawer);
        QFETCH(QStringList, calls);
        WriteTool(tools(), tool.toStdString(), body.toStdString());
        std::unique_ptr<FakeDesktopWindow> window;
        if (drawer.startsWith("window:"))
            window = std::make_unique<FakeDesktopWindow>(drawer.mid(7).toStdString());
        else if (drawer == "swaybg")
            WriteTool(tools(), "swaybg", "/bin/sleep 3");
        else
            QVERIFY(shells.registerService(drawer));
        useTheBus();
        session.environment["XDG_CURRENT_DESKTOP"] = desktop.toStdString();
        if (drawer == "swaybg")
            session.environment["WAYLAND_DISPLAY"] = "wayland-test";
        useScreens(screens);

        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY2(report.applied(), qPrintable(Lines(report)));
        QCOMPARE(report.tried.size(), 1u);
        QCOMPARE(report.tried.back().way, Way::DesktopTool);
        QVERIFY(!report.tried.back().checked.empty());
        const QStringList files = storedFiles();
        const QString copies = QString::fromStdString((*scratch / "run" / "tidepool").string());
        for (QString& call : calls) {
            call.replace("%r1", copies + "/" + files.value(0).section('/', -1));
            call.replace("%r2", copies + "/" + files.value(1).section('/', -1));
            call.replace("%1", files.value(0)).replace("%2", files.value(1));
            call.replace("%u", AddressOf(files.value(0)));
        }
        QCOMPARE(toolWrites(), calls);
    }

    // A tool that ran is not enough: with nothing drawing the background, or the settings not
    // kept, the way has failed, and the next is tried.
    void nothingDrawsIt_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("drawer"); // the desktop window there, if any
        QTest::addColumn<QString>("line");
        QTest::newRow("Xfce without xfdesktop")
            << "XFCE"
            << "xfconf-query"
            << QString::fromStdString(
                   XfconfBody("/backdrop/screen0/monitorHDMI-1/workspace0/last-image"))
            << ""
            << "the desktop's own tool (xfconf-query): nothing draws the background: "
               "xfdesktop is not running";
        QTest::newRow("LXQt without its desktop")
            << "LXQt"
            << "pcmanfm-qt" << kPcmanfmBody << ""
            << "the desktop's own tool (pcmanfm-qt): nothing draws the background: "
               "pcmanfm-qt --desktop is not running";
        QTest::newRow("GNOME without its shell")
            << "GNOME"
            << "gsettings" << QString::fromStdString(GsettingsBody("")) << ""
            << "the desktop's own tool (gsettings): nothing draws the background: "
               "org.gnome.Shell is not running";
        QTest::newRow("sway whose swaybg never shows it")
            << "sway"
            << "swaymsg" << kSwaymsgBody << ""
            << "the desktop's own tool (swaymsg): nothing draws the background: "
               "no swaybg of this sway shows the picture";
        QTest::newRow("a gsettings that keeps nothing")
            << "MATE"
            << "gsettings"
            << "if [ \"$1\" = get ]; then echo \"''\"; fi"
            << "caja"
            << "the desktop's own tool (gsettings): the desktop did not keep the setting: "
               "org.mate.background picture-options, picture-filename";
        QTest::newRow("an xfconf-query that keeps nothing")
            << "XFCE"
            << "xfconf-query"
            << "if [ \"$3\" = -l ]; then echo "
               "/backdrop/screen0/monitorHDMI-1/workspace0/last-image; fi"
            << "xfdesktop"
            << "the desktop's own tool (xfconf-query): the desktop did not keep the setting: "
               "/backdrop/screen0/monitorHDMI-1/workspace0/image-style";
    }
    void nothingDrawsIt() {
        QFETCH(QString, desktop);
        QFETCH(QString, tool);
        QFETCH(QString, body);
        QFETCH(QString, drawer);
        QFETCH(QString, line);
        WriteTool(tools(), tool.toStdString(), body.toStdString());
        session.environment["XDG_CURRENT_DESKTOP"] = desktop.toStdString();
        std::unique_ptr<FakeDesktopWindow> window;
        if (!drawer.isEmpty())
            window = std::make_unique<FakeDesktopWindow>(drawer.toStdString());
        // sway's check waits for its swaybg until the way's share of this runs out.
        session.limit = 2s;
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY(report.tried.size() > 1);
        QCOMPARE(QString::fromStdString(ReportLines(report).front()), line);
        QCOMPARE(report.tried[1].way, Way::Portal);
        // Where the program that draws must already be there, nothing is changed without it.
        if (drawer.isEmpty() && desktop != "sway")
            QCOMPARE(toolLog(), QStringList());
    }

    // The desktop's tool first where it is known and there; the portal first where it is not,
    // and inside a sandbox, where the desktop's tool is not even run: it would change only the
    // sandbox's own settings, and read them back as taken.
    void orderOfTheWays_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<bool>("tool");
        QTest::addColumn<bool>("sandbox");
        QTest::addColumn<QList<int>>("ways");
        const int portal = int(Way::Portal), tool = int(Way::DesktopTool),
                  root = int(Way::RootWindow);
        QTest::newRow("known, tool there") << "MATE" << true << false << QList{tool, portal, root};
        QTest::newRow("known, tool missing")
            << "MATE" << false << false << QList{portal, tool, root};
        QTest::newRow("in a sandbox") << "MATE" << true << true << QList{portal, tool, root};
        QTest::newRow("unknown") << "Hyprland" << false << false << QList{portal, tool, root};
    }
    void orderOfTheWays() {
        QFETCH(QString, desktop);
        QFETCH(bool, tool);
        QFETCH(bool, sandbox);
        QFETCH(QList<int>, ways);
        if (tool)
            WriteTool(tools(), "gsettings", "exit 1");
        if (sandbox)
            session.environment["FLATPAK_ID"] = "org.example.Tidepool";
        session.environment["XDG_CURRENT_DESKTOP"] = desktop.toStdString();
        FakeDesktopWindow coversTheRoot("caja");
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QList<int> tried;
        for (const WayResult& result : report.tried)
            tried << int(result.way);
        QCOMPARE(tried, ways);
        if (sandbox)
            QCOMPARE(toolLog(), QStringList());
    }

    // Whatever hangs, the whole application ends by its one deadline, not one per call, and a
    // way that hangs leaves the ways after it time: a plain window manager's session whose portal
    // answers nothing, not even the closing of its request, still gets the root window.
    void oneDeadlineForTheWholeApplication() {
        ServiceOnBus service("fake portal", "/org/freedesktop/portal/desktop",
                             "org.freedesktop.portal.Desktop");
        auto* portal = new FakePortal(service.object(), service.bus());
        portal->answer = false;
        portal->request->hangs = true;
        QVERIFY(service.publish());
        useTheBus();
        session.environment["XDG_CURRENT_DESKTOP"] = "openbox";
        session.limit = 900ms;
        qint64 took = 0;
        const WallpaperReport report = applyTimed(took);
        QVERIFY2(took < 1400, qPrintable(QString::number(took)));
        QCOMPARE(Lines(report).split('\n').value(0),
                 "the desktop portal: no answer in time: the portal did not take back the "
                 "request: a question it asked may still be on the screen");
        QVERIFY(portal->request->closed);
        QVERIFY2(report.applied(), qPrintable(Lines(report)));
        QCOMPARE(report.tried.back().way, Way::RootWindow);
    }

    // A tool that never answers ends by the deadline too.
    void aToolThatHangsIsStopped() {
        WriteTool(tools(), "gsettings", "read -r _ < <(/bin/sleep 30)");
        QVERIFY(shells.registerService("org.gnome.Shell"));
        useTheBus();
        session.environment["XDG_CURRENT_DESKTOP"] = "GNOME";
        session.limit = 900ms;
        qint64 took = 0;
        const WallpaperReport report = applyTimed(took);
        QVERIFY2(took < 1400, qPrintable(QString::number(took)));
        QCOMPARE(QString::fromStdString(ReportLines(report).front()),
                 "the desktop's own tool (gsettings): no answer in time: gsettings gave no answer "
                 "within the time limit of 0.9 s");
    }

    // sway's parser and its word expansion see only a path that needs no quoting: a folder
    // whose name would run a command is copied from, into a folder no other user can write to,
    // and nothing runs.
    void swayIsHandedOnlyASafePath() {
        session.environment["XDG_DATA_HOME"] =
            (*scratch / "a b\"c$(touch ran)`touch ran`;d'e").string();
        WriteTool(tools(), "swaymsg", kSwaymsgBody);
        WriteTool(tools(), "swaybg", "/bin/sleep 3");
        session.environment["XDG_CURRENT_DESKTOP"] = "sway";
        session.environment["WAYLAND_DISPLAY"] = "wayland-test";
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY2(report.applied(), qPrintable(Lines(report)));
        for (const QString& call : toolLog()) {
            const QStringList arguments = call.split("] [");
            if (arguments.size() > 3)
                QVERIFY2(SafeForSway(arguments[3].toStdString()), qPrintable(call));
        }
        QVERIFY(!std::filesystem::exists(*scratch / "ran"));
        QCOMPARE(std::filesystem::status(*scratch / "run/tidepool").permissions(),
                 std::filesystem::perms::owner_all);
    }

    void swayWithoutASafePlaceRefuses() {
        session.environment["XDG_DATA_HOME"] = (*scratch / "a $(b)").string();
        session.environment["XDG_RUNTIME_DIR"] = (*scratch / "run $x").string();
        WriteTool(tools(), "swaymsg", kSwaymsgBody);
        session.environment["XDG_CURRENT_DESKTOP"] = "sway";
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QCOMPARE(report.tried.front().reason, WayReason::UnsafePath);
        QCOMPARE(toolLog(), QStringList{"swaymsg [-t] [get_outputs] [-r]"});
    }

    // pcmanfm-qt keeps the picture but not its mode: the mode is written into its settings, so
    // that a restarted desktop does not stretch the picture. Its window, smaller than the screen,
    // leaves the root window showing, which gets the tiling too, and gets it back when a desktop
    // program draws over it a second later.
    void lxqtKeepsTheUnscaledMode() {
        WriteTool(tools(), "pcmanfm-qt", kPcmanfmBody);
        FakeDesktopWindow desktop("pcmanfm-qt");
        session.environment["XDG_CURRENT_DESKTOP"] = "LXQt";
        // Time enough for the watch to see the late drawing however loaded the machine is.
        session.limit = 10s;
        WallpaperReport report;
        {
            const LateRootDrawer drawsLate;
            report = ApplyWallpaper(canvas, *codec, session);
        }
        QVERIFY(report.applied());
        QVERIFY2(QString::fromStdString(report.tried.back().checked)
                     .contains("the root window where pcmanfm-qt leaves a screen uncovered: "
                               "_XROOTPMAP_ID and ESETROOT_PMAP_ID read back, put back after "
                               "pcmanfm-qt drew over it"),
                 qPrintable(Lines(report)));
        const QSettings settings(
            QString::fromStdString((*scratch / "config/pcmanfm-qt/lxqt/settings.conf").string()),
            QSettings::IniFormat);
        QCOMPARE(settings.value("Desktop/WallpaperMode").toString(), "tile");
        QCOMPARE(settings.value("Desktop/Wallpaper").toString(), storedFiles().value(0));
    }

    // A plain window manager: a desktop not known here, nothing drawing over the root window.
    void plainWindowManagerGetsTheRootWindow() {
        session.environment["XDG_CURRENT_DESKTOP"] = "openbox";
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY2(report.applied(), qPrintable(Lines(report)));
        QCOMPARE(report.tried.back().way, Way::RootWindow);
    }

    void rootWindowCoveredByADesktopIsNotUsed() {
        FakeDesktopWindow desktop("xfdesktop");
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY(!report.applied());
        QCOMPARE(QString::fromStdString(ReportLines(report).back()),
                 "the X11 root window: not used, as the desktop draws its own background: "
                 "xfdesktop covers the root window");
    }

    void rootWindowIsNotUsedInAWaylandSession() {
        session.environment["WAYLAND_DISPLAY"] = "wayland-1";
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QCOMPARE(report.tried.back().reason, WayReason::WaylandSession);
    }

    void failingTools() {
        WriteTool(tools(), "gsettings", "echo 'No such schema' >&2; exit 3");
        session.environment["XDG_CURRENT_DESKTOP"] = "MATE";
        FakeDesktopWindow desktop("caja");
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY(!report.applied());
        const QStringList lines = Lines(report).split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], "the desktop's own tool (gsettings): failed: gsettings ended with "
                           "status 3: No such schema");
        QCOMPARE(lines[2], QStringLiteral("the X11 root window: not used, as the desktop draws "
                                          "its own background: caja covers the root window"));
    }

    // With nowhere to hand it over, each way says why in one line.
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
        QTest::newRow("KDE Plasma's shell out of reach, two screens")
            << "KDE" << 2
            << QStringList{"the desktop's own tool (plasmashell): no session bus",
                           "the desktop portal: not used with several screens, over which it "
                           "would scale one picture",
                           "the X11 root window: not used, as the desktop draws its own "
                           "background: KDE Plasma"};
    }
    void nothingToApplyWith() {
        QFETCH(QString, desktop);
        QFETCH(int, screens);
        QFETCH(QStringList, lines);
        session.environment["XDG_CURRENT_DESKTOP"] = desktop.toStdString();
        session.environment.erase("DISPLAY");
        useScreens(screens);
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY(!report.applied());
        QCOMPARE(Lines(report).split('\n'), lines);
    }

    void unwritableDataFolderIsNamed() {
        WriteTool(tools(), "gsettings");
        QVERIFY(shells.registerService("org.gnome.Shell"));
        useTheBus();
        session.environment["XDG_CURRENT_DESKTOP"] = "GNOME";
        std::ofstream(*scratch / "file") << "x";
        session.environment["XDG_DATA_HOME"] = (*scratch / "file").string();
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY(Lines(report).contains(
            QString::fromStdString((*scratch / "file" / "tidepool").string())));
    }

    // The portal on a private session bus: asked for the stored picture's encoded address, with
    // no preview, for the background; a request it leaves unanswered is closed. One that asks the
    // user whether the program may set backgrounds is waited for beyond the application's time:
    // xdg-desktop-portal holds the request while it asks, so closing it would not take the
    // question off the screen.
    void portal_data() {
        QTest::addColumn<uint>("response");
        QTest::addColumn<bool>("answers");
        QTest::addColumn<int>("asks");
        QTest::addColumn<QString>("line");
        QTest::newRow("sets it") << 0u << true << 0
                                 << "the desktop portal: applied (checked: the portal answered "
                                    "that it set it (it cannot be read back))";
        QTest::newRow("cancelled")
            << 1u << true << 0 << "the desktop portal: the portal did not set it: cancelled";
        QTest::newRow("ended otherwise")
            << 2u << true << 0
            << "the desktop portal: the portal did not set it: the request ended otherwise "
               "(response 2)";
        QTest::newRow("never answers")
            << 0u << false << 0 << "the desktop portal: no answer in time: the request was closed";
        QTest::newRow("asks the user past the time limit")
            << 0u << true << 600
            << "the desktop portal: applied (checked: the portal answered that it set it (it "
               "cannot be read back))";
    }
    void portal() {
        QFETCH(uint, response);
        QFETCH(bool, answers);
        QFETCH(int, asks);
        QFETCH(QString, line);
        ServiceOnBus service("fake portal", "/org/freedesktop/portal/desktop",
                             "org.freedesktop.portal.Desktop");
        auto* portal = new FakePortal(service.object(), service.bus());
        portal->response = response;
        portal->answer = answers;
        portal->asksFor = std::chrono::milliseconds(asks);
        QVERIFY(service.publish());
        useTheBus();
        session.limit = 500ms;
        session.answerLimit = asks > 0 ? 5s : 0s;

        qint64 took = 0;
        const WallpaperReport report = applyTimed(took);
        QCOMPARE(Lines(report).split('\n').value(0), line);
        QCOMPARE(portal->uri, AddressOf(storedFiles().value(0)));
        QCOMPARE(portal->options.value("show-preview"), QVariant(false));
        QCOMPARE(portal->options.value("set-on"), QVariant(QStringLiteral("background")));
        QCOMPARE(portal->request->closed, !answers);
        QVERIFY2(took < 900 + asks, qPrintable(QString::number(took)));
    }

    // An older portal puts the request where it chooses, and answers there once it has asked the
    // user, by when the program listens there.
    void portalChoosingTheRequestsPath() {
        ServiceOnBus service("fake portal", "/org/freedesktop/portal/desktop",
                             "org.freedesktop.portal.Desktop");
        auto* portal = new FakePortal(service.object(), service.bus());
        portal->choosesPath = true;
        portal->asksFor = 300ms;
        QVERIFY(service.publish());
        useTheBus();
        session.limit = 2s;
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY2(Lines(report).startsWith("the desktop portal: applied"),
                 qPrintable(Lines(report)));
    }

    void noPortalOnTheBus() {
        useTheBus();
        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QVERIFY(
            Lines(report).startsWith("the desktop portal: no wallpaper portal on the session bus"));
    }

    // KDE Plasma: each desktop gets its own screen's picture through the shell's script, and
    // counts only where the shell reads them back.
    void plasmaShell_data() {
        QTest::addColumn<int>("screens");
        QTest::addColumn<bool>("keeps");
        QTest::addColumn<QString>("line");
        QTest::newRow("one screen") << 1 << true
                                    << "the desktop's own tool (plasmashell): applied (checked: "
                                       "each screen's desktop read back from plasmashell)";
        QTest::newRow("a shell that keeps nothing")
            << 2 << false
            << "the desktop's own tool (plasmashell): the desktop did not keep the setting: the "
               "desktop of screen 1, 2";
    }
    void plasmaShell() {
        QFETCH(int, screens);
        QFETCH(bool, keeps);
        QFETCH(QString, line);
        ServiceOnBus service("fake plasma", "/PlasmaShell", "org.kde.plasmashell");
        auto* shell = new FakePlasmaShell(service.object());
        shell->keeps = keeps;
        QVERIFY(service.publish());
        useTheBus();
        session.environment["XDG_CURRENT_DESKTOP"] = "KDE";
        useScreens(screens);

        const WallpaperReport report = ApplyWallpaper(canvas, *codec, session);
        QCOMPARE(Lines(report).split('\n').value(0), line);
        QStringList addresses;
        for (const QString& file : storedFiles())
            addresses << "\"" + AddressOf(file) + "\"";
        QVERIFY(shell->script.contains("var pictures = [" + addresses.join(',') + "];"));
    }
};

QTEST_GUILESS_MAIN(DesktopWaysTest)
#include "desktop_ways_test.moc"
