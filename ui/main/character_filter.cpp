#include "ui/main/character_filter.h"

namespace tidepool {

namespace {

constexpr char32_t kLastControlCode = 26;
// DEL comes with the Delete key and Ctrl+Backspace: an editing key, like Backspace.
constexpr char32_t kDelete = 127;

bool IsDigit(char32_t code) {
    return code >= U'0' && code <= U'9';
}

} // namespace

bool CharacterAllowed(CharacterFilter filter, char32_t code) {
    if (filter == CharacterFilter::None)
        return true;
    if (code <= kLastControlCode || code == kDelete || IsDigit(code))
        return true;
    switch (filter) {
    case CharacterFilter::None:
        return true;
    case CharacterFilter::Digits:
        return false;
    case CharacterFilter::DigitsAndPoint:
        return code == U'.';
    case CharacterFilter::DigitsAndMinus:
        return code == U'-';
    }
    return false;
}

std::u32string KeptCharacters(CharacterFilter filter, std::u32string_view text) {
    if (filter == CharacterFilter::None)
        return std::u32string(text);
    std::u32string kept;
    for (char32_t code : text) {
        code = FoldFullWidth(code);
        const bool control = code <= kLastControlCode || code == kDelete;
        if (!control && CharacterAllowed(filter, code))
            kept += code;
    }
    return kept;
}

char32_t FoldFullWidth(char32_t code) {
    constexpr char32_t kFirst = 0xFF01;
    constexpr char32_t kLast = 0xFF5E;
    constexpr char32_t kOffset = 0xFF01 - U'!';
    return code >= kFirst && code <= kLast ? code - kOffset : code;
}

} // namespace tidepool
