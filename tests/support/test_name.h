#pragma once

#include <array>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

namespace tidepool::test_names {

// The word a punctuation character is spelled as in a test name; empty for others.
inline std::string_view WordFor(char c) {
    static constexpr std::array<std::pair<char, std::string_view>, 9> kWords{{{'-', "Minus"},
                                                                              {'+', "Plus"},
                                                                              {'.', "Dot"},
                                                                              {',', "Comma"},
                                                                              {' ', "Space"},
                                                                              {'\t', "Tab"},
                                                                              {'/', "Slash"},
                                                                              {'#', "Hash"},
                                                                              {'\0', "Nul"}}};
    for (const auto& [character, word] : kWords)
        if (character == c)
            return word;
    return {};
}

// Spells the parts, streamed one after another, as a parameterised case's name: ASCII letters,
// digits and "_" stay; every other character becomes a word ("-" Minus, "." Dot, " " Space …),
// so the name tells the case and is the same in every build. NameOf("At", -2, "Scale", 0.5)
// gives "AtMinus2Scale0Dot5"; an empty result is "Empty".
template <typename... Parts> std::string NameOf(const Parts&... parts) {
    std::ostringstream text;
    (text << ... << parts);
    std::string name;
    for (const char c : text.str()) {
        const auto code = static_cast<unsigned char>(c);
        if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') ||
            (code >= 'a' && code <= 'z') || code == '_')
            name += c;
        else if (!WordFor(c).empty())
            name += WordFor(c);
        else if (code >= 0xC0) // the lead byte of a UTF-8 sequence; the others add nothing
            name += "Wide";
        else if (code < 0x80)
            name += "Char" + std::to_string(code);
    }
    return name.empty() ? "Empty" : name;
}

} // namespace tidepool::test_names
