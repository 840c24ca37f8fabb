#include "wallpaper/core/environment.h"

#include <cstring>

extern char** environ;

namespace tidepool {

Environment ProcessEnvironment() {
    Environment environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        if (equals != nullptr)
            environment.emplace(std::string(*entry, static_cast<std::size_t>(equals - *entry)),
                                std::string(equals + 1));
    }
    return environment;
}

std::string Lookup(const Environment& environment, const std::string& name) {
    const auto found = environment.find(name);
    return found == environment.end() ? std::string() : found->second;
}

} // namespace tidepool
