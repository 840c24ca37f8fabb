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
#include <memory>
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

// Kept from the deadline for closing a request the portal has not answered: a quarter of the
// time, up to this.
constexpr std::chrono::milliseconds kCloseTime{200};

// One request to set the wallpaper, from the call to the portal's answer, which comes as the
// Response signal on the request's path: known before the call from our token, or, from an older
// portal, the path it chose itself. Listens there for as long as it lives.
class PortalRequest : public QObject {
    Q_OBJECT

  public:
    explicit PortalRequest(QDBusConnection& bus) : bus_(bus), token_(NewToken()) {
        listenAt(RequestPath(bus, token_));
    }
    ~PortalRequest() override { listenAt(QString()); }

    // Asks the portal to show the picture, and waits until it answers or refuses, or the deadline
    // passes. This thread's own events go on meanwhile: a service in this process may be the one
    // answering.
    void send(const std::filesystem::path& file, const Deadline& deadline) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            kPortal, kPortalPath, QStringLiteral("org.freedesktop.portal.Wallpaper"),
            QStringLiteral("SetWallpaperURI"));
        const QVariantMap options{{QStringLiteral("handle_token"), token_},
                                  {QStringLiteral("show-preview"), false},
                                  {QStringLiteral("set-on"), QStringLiteral("background")}};
        call << QString() << QString::fromStdString(FileUri(file)) << options;
        watcher_ = std::make_unique<QDBusPendingCallWatcher>(bus_.asyncCall(
            call, static_cast<int>(std::max<long long>(1, deadline.remaining().count()))));
        QObject::connect(watcher_.get(), &QDBusPendingCallWatcher::finished, this,
                         &PortalRequest::onReply);
        RunEventsUntil(deadline, [this] { return response_ || failure_; });
    }

    // Waits for the answer to a request the portal has taken until the deadline.
    void awaitResponse(const Deadline& deadline) {
        RunEventsUntil(deadline, [this] { return response_.has_value(); });
    }

    // Closes a request that was not answered in time, waiting a moment for the portal to take it;
    // whether the portal said it did.
    bool close(std::chrono::milliseconds closeTime) {
        const QDBusMessage close =
            QDBusMessage::createMethodCall(kPortal, path_, kRequest, QStringLiteral("Close"));
        // A time of its own: the application's may already have run out, or been cut short.
        return CallAndWait(bus_, close, Deadline(closeTime)).type() == QDBusMessage::ReplyMessage;
    }

    bool taken() const { return taken_; }
    const std::optional<uint>& response() const { return response_; }
    const std::optional<QDBusMessage>& failure() const { return failure_; }

  private slots:
    void onResponse(uint code, const QVariantMap& /*results*/) { response_ = code; }

  private:
    void onReply() {
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher_;
        taken_ = !reply.isError();
        if (reply.isError())
            failure_ = reply.reply();
        else if (reply.value().path() != path_)
            listenAt(reply.value().path());
    }

    // Listens for the Response signal at path alone; at none for an empty path.
    void listenAt(const QString& path) {
        if (!path_.isEmpty())
            bus_.disconnect(kPortal, path_, kRequest, QStringLiteral("Response"), this,
                            SLOT(onResponse(uint, QVariantMap)));
        path_ = path;
        if (!path_.isEmpty())
            bus_.connect(kPortal, path_, kRequest, QStringLiteral("Response"), this,
                         SLOT(onResponse(uint, QVariantMap)));
    }

    QDBusConnection& bus_;
    const QString token_;
    QString path_;
    std::unique_ptr<QDBusPendingCallWatcher> watcher_;
    bool taken_ = false;
    std::optional<uint> response_;
    std::optional<QDBusMessage> failure_;
};

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

// Why the portal refused the call, by the error's name: not there, not in time, or not willing.
WayReason FailureReason(const QString& name) {
    if (name == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown") ||
        name == QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod") ||
        name == QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"))
        return WayReason::NoPortal;
    if (name == QStringLiteral("org.freedesktop.DBus.Error.NoReply"))
        return WayReason::NoAnswer;
    return WayReason::PortalDeclined;
}

WayResult NotSet(WayReason reason, std::string detail) {
    return {Way::Portal, false, reason, "", std::move(detail), ""};
}

} // namespace

WayResult ApplyThroughPortal(const std::filesystem::path& file, const Environment& environment,
                             const Deadline& deadline, std::chrono::milliseconds answerLimit) {
    QDBusConnection bus = SessionBus(environment);
    if (!bus.isConnected())
        return NotSet(WayReason::NoSessionBus, "");
    const std::chrono::milliseconds closeTime = std::min(kCloseTime, deadline.remaining() / 4);
    const Deadline answerBy =
        deadline.share(std::max(deadline.remaining() - closeTime, std::chrono::milliseconds(1)));
    PortalRequest request(bus);
    request.send(file, answerBy);
    // While xdg-desktop-portal asks the user whether this program may set backgrounds, it keeps
    // the request to itself: neither Close nor this program's leaving reaches its question. Given
    // up, the request would leave the question on the screen, and the wallpaper would change
    // when it was answered, after the program had said it had not. So once the portal has taken
    // the request, its answer is awaited on the user's time.
    if (request.taken() && !request.response())
        request.awaitResponse(deadline.forTheUser(answerLimit));

    if (request.failure()) {
        const QDBusMessage failure = *request.failure();
        const WayReason reason = FailureReason(failure.errorName());
        // The portal may have made the request before it fell silent.
        if (reason == WayReason::NoAnswer)
            request.close(closeTime);
        return NotSet(reason, failure.errorMessage().toStdString());
    }
    if (!request.response())
        return NotSet(WayReason::NoAnswer,
                      request.close(closeTime)
                          ? "the request was closed"
                          : "the portal did not take back the request: a question it asked may "
                            "still be on the screen");
    if (*request.response() != 0)
        return NotSet(WayReason::PortalDeclined, ResponseWords(*request.response()));
    return {Way::Portal, true, WayReason::None,
            "",          "",   "the portal answered that it set it (it cannot be read back)"};
}

} // namespace tidepool

#include "portal_wallpaper.moc"
