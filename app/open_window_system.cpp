#include "app/open_window_system.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tidepool {
namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

// Qt's message handler is a plain function, so what it holds lives here, and only while the
// application is being created on the main thread.
std::vector<HeldMessage> heldMessages;

// Qt's own account of the failure: the platform's complaint ("could not connect to display :1",
// "Failed to create wl_display"), else the plug-in loader's ("Could not find the Qt platform
// plugin"), else the first line of the fatal message. Remarks on the standard paths are no reason.
QString FailureReason(const QString& fatalMessage) {
    QString platform;
    QString loader;
    for (const HeldMessage& held : heldMessages) {
        if (held.type == QtDebugMsg || held.type == QtInfoMsg ||
            held.text.startsWith(QLatin1String("QStandardPaths")))
            continue;
        if (held.category == "qt.qpa.plugin")
            loader = loader.isEmpty() ? held.text : loader;
        else
            platform = held.text;
    }
    if (!platform.isEmpty())
        return platform;
    if (!loader.isEmpty())
        return loader;
    return fatalMessage.section(QLatin1Char('\n'), 0, 0);
}

void HoldOrFail(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        heldMessages.push_back({type, QByteArray(context.category), text});
        return;
    }
    const QString reason = FailureReason(text).simplified();
    std::fprintf(stderr, "tidepool: cannot open a display: set DISPLAY or WAYLAND_DISPLAY (%s)\n",
                 reason.toLocal8Bit().constData());
    std::fflush(stderr);
    // Qt is half set up: leave without running its destructors.
    std::_Exit(1);
}

// To whichever handler is installed again.
void PassOnHeldMessages() {
    for (const HeldMessage& held : heldMessages) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.constData());
        qt_message_output(held.type, context, held.text);
    }
    heldMessages.clear();
}

} // namespace

std::unique_ptr<QApplication> OpenWindowSystem(int& argc, char** argv) {
    const QtMessageHandler previousHandler = qInstallMessageHandler(HoldOrFail);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previousHandler);
    PassOnHeldMessages();
    return application;
}

} // namespace tidepool
