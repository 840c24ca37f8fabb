#include "wallpaper/bus/portal_wallpaper.h"

#include "wallpaper/bus/bus_call.h"
#include "wallpaper/bus/session_bus.h"
#include "wallpaper/core/file_uri.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QObject>
#include <QVariantMap>

#include <algorithm>
#include <atomic>
#include <optional>

namespace tidepool {

namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// A token of our own, so that the request's path is known before the call and its answer cannot
// be missed.
QString NewToken() {
    static std::atomic<int> counter{0};
    return QStringLiteral("tidepool%1").arg(++counter);
}

// Where the portal puts the request for a token: the caller's unique name without its colon,
// dots turned into underscores.
QString RequestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return kPortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

// Receives the request's Response signal.
class ResponseWaiter : public QObject {
    Q_OBJECT

  public:
    std::optional<uint> response;

  public slots:
    void onResponse(uint code, const QVariantMap& /*results*/) { response = code; }
};

// Kept from the deadline for closing a request the portal has not answered: a quarter of the
// time, up to this.
constexpr std::chrono::milliseconds kCloseTime{200};

// Closes a request that was not answered in time, waiting a moment for the portal to take it;
// whether the portal said it did.
bool CloseRequest(QDBusConnection& bus, const QString& requestPath,
                  std::chrono::milliseconds closeTime) {
    const QDBusMessage close =
        QDBusMessage::createMethodCall(kPortal, requestPath, kRequest, QStringLiteral("Close"));
    // A time of its own: the application's may already have run out, or been cut short.
    return CallAndWait(bus, close, Deadline(closeTime)).type() == QDBusMessage::ReplyMessage;
}

std::string ResponseWords(uint response) {
    switch (response) {
    case 1:
        return "cancelled";
    case 2:
        return "the request ended otherwise (response 2)";
    default:
        return "response " + std::to_string(response);
    }
}

} // namespace

WayResult ApplyThroughPortal(const std::filesystem::path& file, const Environment& environment,
                             const Deadline& deadline, std::chrono::milliseconds answerLimit) {
    WayResult result{Way::Portal, false, WayReason::None, "", "", ""};
    QDBusConnection bus = SessionBus(environment);
    if (!bus.isConnected()) {
        result.reason = WayReason::NoSessionBus;
        return result;
    }
    const QString token = NewToken();
    QString requestPath = RequestPath(bus, token);
    ResponseWaiter waiter;
    bus.connect(kPortal, requestPath, kRequest, QStringLiteral("Response"), &waiter,
                SLOT(onResponse(uint, QVariantMap)));

    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortal, kPortalPath, QStringLiteral("org.freedesktop.portal.Wallpaper"),
        QStringLiteral("SetWallpaperURI"));
    const QVariantMap options{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("show-preview"), false},
                              {QStringLiteral("set-on"), QStringLiteral("background")}};
    call << QString() << QString::fromStdString(FileUri(file)) << options;

    const std::chrono::milliseconds closeTime = std::min(kCloseTime, deadline.remaining() / 4);
    const Deadline answerBy =
        deadline.share(std::max(deadline.remaining() - closeTime, std::chrono::milliseconds(1)));
    QDBusPendingCallWatcher watcher(bus.asyncCall(
        call, static_cast<int>(std::max<long long>(1, answerBy.remaining().count()))));
    std::optional<QDBusMessage> failure;
    bool taken = false;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, [&] {
        const QDBusPendingReply<QDBusObjectPath> reply = watcher;
        taken = !reply.isError();
        if (reply.isError()) {
            failure = reply.reply();
        } else if (reply.value().path() != requestPath) {
            // An older portal chooses the path itself; its answer comes there.
            bus.disconnect(kPortal, requestPath, kRequest, QStringLiteral("Response"), &waiter,
                           SLOT(onResponse(uint, QVariantMap)));
            requestPath = reply.value().path();
            bus.connect(kPortal, requestPath, kRequest, QStringLiteral("Response"), &waiter,
                        SLOT(onResponse(uint, QVariantMap)));
        }
    });
    // This thread's own events go on meanwhile: a service in this process may be the one
    // answering.
    RunEventsUntil(answerBy, [&] { return waiter.response || failure; });
    // While xdg-desktop-portal asks the user whether this program may set backgrounds, it keeps
    // the request to itself: neither Close nor this program's leaving reaches its question. Given
    // up, the request would leave the question on the screen, and the wallpaper would change
    // when it was answered, after the program had said it had not. So once the portal has taken
    // the request, its answer is awaited on the user's time.
    if (taken && !waiter.response)
        RunEventsUntil(deadline.forTheUser(answerLimit),
                       [&] { return waiter.response.has_value(); });
    bus.disconnect(kPortal, requestPath, kRequest, QStringLiteral("Response"), &waiter,
                   SLOT(onResponse(uint, QVariantMap)));

    if (failure) {
        const QString name = failure->errorName();
        const bool absent = name == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown") ||
                            name == QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod") ||
                            name == QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface");
        const bool late = name == QStringLiteral("org.freedesktop.DBus.Error.NoReply");
        result.reason = absent ? WayReason::NoPortal
                        : late ? WayReason::NoAnswer
                               : WayReason::PortalDeclined;
        result.detail = failure->errorMessage().toStdString();
        // The portal may have made the request before it fell silent.
        if (late)
            CloseRequest(bus, requestPath, closeTime);
        return result;
    }
    if (!waiter.response) {
        result.reason = WayReason::NoAnswer;
        result.detail = CloseRequest(bus, requestPath, closeTime)
                            ? "the request was closed"
                            : "the portal did not take back the request: a question it asked may "
                              "still be on the screen";
        return result;
    }
    if (*waiter.response != 0) {
        result.reason = WayReason::PortalDeclined;
        result.detail = ResponseWords(*waiter.response);
        return result;
    }
    result.applied = true;
    result.checked = "the portal answered that it set it (it cannot be read back)";
    return result;
}

} // namespace tidepool

#include "portal_wallpaper.moc"
