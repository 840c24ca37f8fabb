#pragma once

#include "wallpaper/core/deadline.h"
#include "wallpaper/core/environment.h"

#include <QProcessEnvironment>

#include <string>
#include <vector>

namespace tidepool {

// The environment as Qt hands it to a process it starts.
QProcessEnvironment QtEnvironment(const Environment& environment);

// A desktop tool and its arguments, run as given: no shell sees them.
struct ToolCommand {
    std::string program;
    std::vector<std::string> arguments;

    bool operator==(const ToolCommand&) const = default;
};

// How a run went, with the tool's standard output when it succeeded and a one-line reason when
// it did not.
struct ToolRun {
    enum class Status { Succeeded, Missing, Failed, TimedOut };
    Status status = Status::Failed;
    std::string output;
    std::string reason;

    bool ok() const { return status == Status::Succeeded; }
};

// Runs desktop tools found on the environment's PATH, in that environment, each stopped once the
// application's deadline has passed.
class ToolRunner {
  public:
    ToolRunner(Environment environment, const Deadline& deadline);

    // Whether the program is on PATH.
    bool has(const std::string& program) const;
    ToolRun run(const ToolCommand& command) const;

  private:
    std::string find(const std::string& program) const;

    Environment environment_;
    const Deadline& deadline_;
};

} // namespace tidepool
