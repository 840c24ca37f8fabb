#pragma once

#include <string>
#include <string_view>

namespace tidepool {

// Which typed characters a field of the main window lets through. Control characters (Backspace,
// Tab, and Ctrl+C, Ctrl+V, Ctrl+X among them) and the digits always pass.
enum class CharacterFilter {
    None,           // every character
    Digits,         // width, height, eye-shape shift
    DigitsAndPoint, // magnification, spacing, shadow width, bubble spacing
    DigitsAndMinus, // the two drawing-shift fields
};

// Whether the field keeps the typed character code. Codes above 255 are judged after
// FoldFullWidth, so a full-width digit from an input method counts as the digit.
bool CharacterAllowed(CharacterFilter filter, char32_t code);

// The characters of text a field keeps as its content: those CharacterAllowed lets through,
// full-width forms folded to ASCII, less the control characters, which are editing keys and never
// content. Text from the clipboard or a drop goes through this before it reaches the field.
std::u32string KeptCharacters(CharacterFilter filter, std::u32string_view text);

// The ASCII form of a full-width character (U+FF01 to U+FF5E), as a Japanese input method sends
// digits, "．" and "－" in its full-width mode; every other code unchanged.
char32_t FoldFullWidth(char32_t code);

} // namespace tidepool
