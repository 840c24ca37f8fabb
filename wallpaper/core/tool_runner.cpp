#include "wallpaper/core/tool_runner.h"

#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

namespace tidepool {

namespace {

// The first line a failed tool wrote, which is usually what went wrong.
std::string FirstLine(const QByteArray& text) {
    const QByteArray line = text.trimmed().split('\n').value(0).trimmed();
    return line.toStdString();
}

// "gsettings gave no answer within the time limit of 5 s"
ToolRun TimedOut(const std::string& program, const Deadline& deadline) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g",
                  std::chrono::duration<double>(deadline.limit()).count());
    return {ToolRun::Status::TimedOut,
            {},
            program + " gave no answer within the time limit of " + seconds + " s"};
}

// Waits for the tool to end until the deadline, in slices, so that a deadline cut short meanwhile
// (the program ending) is heard; false when it still runs.
bool FinishedBy(QProcess& process, const Deadline& deadline) {
    constexpr std::chrono::milliseconds kSlice{50};
    for (;;) {
        // At least a millisecond, so that a tool that has just finished is still heard.
        const auto slice = std::clamp(deadline.remaining(), std::chrono::milliseconds(1), kSlice);
        if (process.waitForFinished(static_cast<int>(slice.count())) ||
            process.state() == QProcess::NotRunning)
            return true;
        if (deadline.passed())
            return false;
    }
}

} // namespace

QProcessEnvironment QtEnvironment(const Environment& environment) {
    QProcessEnvironment qt;
    for (const auto& [name, value] : environment)
        qt.insert(QString::fromStdString(name), QString::fromStdString(value));
    return qt;
}

ToolRunner::ToolRunner(Environment environment, const Deadline& deadline)
    : environment_(std::move(environment)), deadline_(deadline) {}

std::string ToolRunner::find(const std::string& program) const {
    const QStringList path =
        QString::fromStdString(Lookup(environment_, "PATH")).split(':', Qt::SkipEmptyParts);
    if (path.isEmpty())
        return {};
    return QStandardPaths::findExecutable(QString::fromStdString(program), path).toStdString();
}

bool ToolRunner::has(const std::string& program) const {
    return !find(program).empty();
}

ToolRun ToolRunner::run(const ToolCommand& command) const {
    const std::string program = find(command.program);
    if (program.empty())
        return {ToolRun::Status::Missing, {}, command.program + " is not on PATH"};
    QStringList arguments;
    for (const std::string& argument : command.arguments)
        arguments << QString::fromStdString(argument);

    if (deadline_.passed())
        return TimedOut(command.program, deadline_);

    QProcess process;
    process.setProcessEnvironment(QtEnvironment(environment_));
    process.start(QString::fromStdString(program), arguments);
    if (!process.waitForStarted(
            static_cast<int>(std::max<long long>(1, deadline_.remaining().count()))))
        return {ToolRun::Status::Failed, {}, command.program + " did not start"};
    if (!FinishedBy(process, deadline_)) {
        process.kill();
        process.waitForFinished(-1);
        return TimedOut(command.program, deadline_);
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return {ToolRun::Status::Failed, {}, command.program + " crashed"};
    if (process.exitCode() != 0) {
        std::string reason =
            command.program + " ended with status " + std::to_string(process.exitCode());
        if (const std::string said = FirstLine(process.readAllStandardError()); !said.empty())
            reason += ": " + said;
        return {ToolRun::Status::Failed, {}, reason};
    }
    return {ToolRun::Status::Succeeded, process.readAllStandardOutput().toStdString(), {}};
}

} // namespace tidepool
