#include "wallpaper/keeping/wallpaper_recipe.h"

#include "render/settings/setting_words.h"

#include <charconv>
#include <filesystem>
#include <set>
#include <vector>

namespace tidepool {

namespace {

using Recipe = WallpaperRecipe;

// One line of the recipe: its key, how its value is written, and how it is read back.
struct Field {
    std::string_view key;
    std::string (*format)(const Recipe& recipe);
    // False when the value is not one the key takes.
    bool (*parse)(Recipe& recipe, const std::string& value);
    std::string_view expected; // what a good value looks like, for the error
};

template <std::string MainSettings::*Text> std::string FormatText(const Recipe& r) {
    return r.settings.*Text;
}
template <std::string MainSettings::*Text> bool ParseText(Recipe& r, const std::string& value) {
    r.settings.*Text = value;
    return true;
}

std::string SwitchWord(bool on) {
    return std::string(WordOf(kSwitchWords, on));
}
template <bool MainSettings::*Box> std::string FormatSwitch(const Recipe& r) {
    return SwitchWord(r.settings.*Box);
}
template <bool MainSettings::*Box> bool ParseSwitchField(Recipe& r, const std::string& value) {
    const std::optional<bool> on = ParseSwitch(value);
    if (on)
        r.settings.*Box = *on;
    return on.has_value();
}

// An option group's word, or "none" where no option of the group is selected.
template <typename T, T MainSettings::*Group, const auto& Words>
std::string FormatGroup(const Recipe& r) {
    const std::string_view word = WordOf(Words, r.settings.*Group);
    return word.empty() ? "none" : std::string(word);
}
template <typename T, T MainSettings::*Group, const auto& Words, T None>
bool ParseGroup(Recipe& r, const std::string& value) {
    const std::optional<T> choice =
        value == "none" ? std::optional<T>(None) : FindChoice(Words, value);
    if (choice)
        r.settings.*Group = *choice;
    return choice.has_value();
}

// "#RRGGBB", or "system N" for a system colour, as the window may hold one.
std::optional<Colour> ParseAnyColour(const std::string& value) {
    constexpr std::string_view kSystem = "system ";
    if (!value.starts_with(kSystem))
        return ParseColour(value);
    const std::optional<unsigned> number =
        ParseWholeNumber(std::string_view(value).substr(kSystem.size()));
    if (!number || *number > 0xFF)
        return std::nullopt;
    return 0x80000000u | static_cast<Colour>(*number);
}

template <std::size_t Swatch> std::string FormatSwatch(const Recipe& r) {
    return FormatColour(r.settings.swatches[Swatch]);
}
template <std::size_t Swatch> bool ParseSwatch(Recipe& r, const std::string& value) {
    const std::optional<Colour> colour = ParseAnyColour(value);
    if (colour)
        r.settings.swatches[Swatch] = *colour;
    return colour.has_value();
}

template <std::size_t Index> std::string FormatFixed(const Recipe& r) {
    return FormatColour(r.fixedColours[Index]);
}
template <std::size_t Index> bool ParseFixed(Recipe& r, const std::string& value) {
    const std::optional<Colour> colour = ParseAnyColour(value);
    if (colour)
        r.fixedColours[Index] = *colour;
    return colour.has_value();
}

// What a system colour stood for: always a plain colour.
template <int Number> std::string FormatSystem(const Recipe& r) {
    return FormatColour(r.palette.colours[Number]);
}
template <int Number> bool ParseSystem(Recipe& r, const std::string& value) {
    const std::optional<Colour> colour = ParseColour(value);
    if (colour)
        r.palette.colours[Number] = *colour;
    return colour.has_value();
}

std::string FormatDrawn(const Recipe& r) {
    return r.drawn ? "yes" : "no";
}
bool ParseDrawn(Recipe& r, const std::string& value) {
    r.drawn = value == "yes";
    return value == "yes" || value == "no";
}

std::string FormatEyes(const Recipe& r) {
    return FormatEyeShapes(r.settings.eyeShapes);
}
bool ParseEyes(Recipe& r, const std::string& value) {
    const auto boxes = ParseEyeShapes(value);
    if (boxes)
        r.settings.eyeShapes = *boxes;
    return boxes.has_value();
}

// The theme list's entry, counted from 1 as --theme counts; 0 where none is selected.
std::string FormatTheme(const Recipe& r) {
    return std::to_string(r.settings.themeIndex + 1);
}
bool ParseTheme(Recipe& r, const std::string& value) {
    const std::optional<unsigned> number = ParseWholeNumber(value);
    if (!number || *number > 20)
        return false;
    r.settings.themeIndex = static_cast<int>(*number) - 1;
    return true;
}

constexpr std::string_view kAnyText = "any text";
constexpr std::string_view kOnOff = "on or off";
constexpr std::string_view kColour = "#RRGGBB or system N";

const std::vector<Field>& Fields() {
    using S = MainSettings;
    static const std::vector<Field> fields{
        {"drawn", FormatDrawn, ParseDrawn, "yes or no"},
        {"preset", FormatGroup<int, &S::sizePreset, kPresetWords>,
         ParseGroup<int, &S::sizePreset, kPresetWords, -1>, "qvga, vga, xga, wxga, uxga or none"},
        {"width", FormatText<&S::width>, ParseText<&S::width>, kAnyText},
        {"height", FormatText<&S::height>, ParseText<&S::height>, kAnyText},
        {"magnification", FormatText<&S::magnification>, ParseText<&S::magnification>, kAnyText},
        {"spacing", FormatText<&S::spacing>, ParseText<&S::spacing>, kAnyText},
        {"layout", FormatGroup<Layout, &S::layout, kLayoutWords>,
         ParseGroup<Layout, &S::layout, kLayoutWords, Layout::Slide>, "standard or slide"},
        {"use-picture", FormatSwitch<&S::usePicture>, ParseSwitchField<&S::usePicture>, kOnOff},
        {"picture", FormatText<&S::picturePath>, ParseText<&S::picturePath>, kAnyText},
        {"mode", FormatGroup<DrawMode, &S::mode, kModeWords>,
         ParseGroup<DrawMode, &S::mode, kModeWords, DrawMode::Normal>, "normal or frame"},
        {"crab-shadow", FormatSwitch<&S::crabShadow>, ParseSwitchField<&S::crabShadow>, kOnOff},
        {"shadow-width", FormatText<&S::shadowWidth>, ParseText<&S::shadowWidth>, kAnyText},
        {"bubbles", FormatSwitch<&S::bubbles>, ParseSwitchField<&S::bubbles>, kOnOff},
        {"bubble-spacing", FormatText<&S::bubbleSpacing>, ParseText<&S::bubbleSpacing>, kAnyText},
        {"bubble-shadow", FormatSwitch<&S::bubbleShadow>, ParseSwitchField<&S::bubbleShadow>,
         kOnOff},
        {"bubble-crab-colour", FormatSwitch<&S::bubbleCrabColour>,
         ParseSwitchField<&S::bubbleCrabColour>, kOnOff},
        {"bubble-shift-x", FormatText<&S::bubbleShiftX>, ParseText<&S::bubbleShiftX>, kAnyText},
        {"bubble-shift-y", FormatText<&S::bubbleShiftY>, ParseText<&S::bubbleShiftY>, kAnyText},
        {"eyes", FormatEyes, ParseEyes,
         "a comma-separated list of circle, dash, cross, cap, cup, or none"},
        {"eye-shift", FormatText<&S::eyeShift>, ParseText<&S::eyeShift>, kAnyText},
        {"role", FormatGroup<ColourRole, &S::colourRole, kRoleWords>,
         ParseGroup<ColourRole, &S::colourRole, kRoleWords, ColourRole::None>,
         "foreground, middle, background or none"},
        {"theme", FormatTheme, ParseTheme, "a theme number 1 to 20, or 0 for none"},
        {"foreground", FormatSwatch<0>, ParseSwatch<0>, kColour},
        {"middle", FormatSwatch<1>, ParseSwatch<1>, kColour},
        {"background", FormatSwatch<2>, ParseSwatch<2>, kColour},
        {"fixed-colours", FormatSwitch<&S::fixedColours>, ParseSwitchField<&S::fixedColours>,
         kOnOff},
        {"body", FormatFixed<1>, ParseFixed<1>, kColour},
        {"pattern", FormatFixed<2>, ParseFixed<2>, kColour},
        {"eye-colour", FormatFixed<3>, ParseFixed<3>, kColour},
        {"bubble-colour", FormatFixed<4>, ParseFixed<4>, kColour},
        {"system-highlight", FormatSystem<SystemPalette::kHighlight>,
         ParseSystem<SystemPalette::kHighlight>, "#RRGGBB"},
        {"system-button-face", FormatSystem<SystemPalette::kButtonFace>,
         ParseSystem<SystemPalette::kButtonFace>, "#RRGGBB"},
        {"system-button-highlight", FormatSystem<SystemPalette::kButtonHighlight>,
         ParseSystem<SystemPalette::kButtonHighlight>, "#RRGGBB"},
    };
    return fields;
}

std::string Escape(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\n')
            escaped += "\\n";
        else if (c == '\r')
            escaped += "\\r";
        else if (c == '\t')
            escaped += "\\t";
        else if (byte < 0x20 || byte == 0x7F)
            escaped += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
        else
            escaped += c;
    }
    return escaped;
}

std::optional<std::string> Unescape(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            text += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i]) {
        case '\\':
            text += '\\';
            break;
        case 'n':
            text += '\n';
            break;
        case 'r':
            text += '\r';
            break;
        case 't':
            text += '\t';
            break;
        case 'x': {
            unsigned byte = 0;
            const std::string_view hex = value.substr(i + 1, 2);
            const auto [stop, error] =
                std::from_chars(hex.data(), hex.data() + hex.size(), byte, 16);
            if (hex.size() != 2 || error != std::errc() || stop != hex.data() + 2)
                return std::nullopt;
            text += static_cast<char>(byte);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return text;
}

const Field* FieldNamed(std::string_view key) {
    for (const Field& field : Fields())
        if (field.key == key)
            return &field;
    return nullptr;
}

// "line 7: " and what is wrong there.
std::string AtLine(int number, const std::string& problem) {
    return "line " + std::to_string(number) + ": " + problem;
}

// The next line of text, taken off it, without its line break.
std::string_view TakeLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    // A line break written by an editor that ends lines with CR LF; a CR in a value is \r.
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

// What is wrong with the first setting as the version line; empty when it is one this reads.
std::string VersionProblem(std::string_view key, const std::string& value) {
    if (key != "version")
        return "the first setting is not the version";
    if (value != std::to_string(kRecipeVersion))
        return "version \"" + Escape(value) + "\" is not one this Tidepool reads (" +
               std::to_string(kRecipeVersion) + ")";
    return {};
}

// Sets the field the key names from its value, each once; what is wrong, or empty.
std::string SetField(Recipe& recipe, std::set<std::string_view>& seen, std::string_view key,
                     const std::string& value) {
    const Field* field = FieldNamed(key);
    if (field == nullptr)
        return "unknown key \"" + Escape(key) + "\"";
    if (!seen.insert(field->key).second)
        return "\"" + Escape(key) + "\" given twice";
    if (!field->parse(recipe, value))
        return std::string(key) + " \"" + Escape(value) + "\": expected " +
               std::string(field->expected);
    return {};
}

} // namespace

WallpaperRecipe RecipeOf(const MainSettings& typed, const RenderSettings& render, bool drawn) {
    WallpaperRecipe recipe{typed, render.FixedColours, render.palette, drawn};
    std::string& path = recipe.settings.picturePath;
    if (!path.empty() && !std::filesystem::path(path).is_absolute()) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(path, error);
        if (!error)
            path = absolute.string();
    }
    return recipe;
}

std::string FormatRecipe(const WallpaperRecipe& recipe) {
    std::string text = "# The wallpaper Tidepool last put on the desktop, drawn again by\n"
                       "# tidepool-render --restore-wallpaper and --follow-screens.\n"
                       "# One setting a line, key=value, every text as it was typed.\n"
                       "version=" +
                       std::to_string(kRecipeVersion) + "\n";
    for (const Field& field : Fields())
        text += std::string(field.key) + "=" + Escape(field.format(recipe)) + "\n";
    return text;
}

ParsedRecipe ParseRecipe(std::string_view text) {
    WallpaperRecipe recipe;
    std::set<std::string_view> seen;
    bool versionRead = false;
    for (int number = 1; !text.empty(); ++number) {
        const std::string_view line = TakeLine(text);
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return {std::nullopt, AtLine(number, "not key=value")};
        const std::string_view key = line.substr(0, equals);
        const std::optional<std::string> value = Unescape(line.substr(equals + 1));
        if (!value)
            return {std::nullopt, AtLine(number, "a backslash not followed by \\, n, r, t or xHH")};
        const std::string problem =
            versionRead ? SetField(recipe, seen, key, *value) : VersionProblem(key, *value);
        if (!problem.empty())
            return {std::nullopt, AtLine(number, problem)};
        versionRead = true;
    }
    if (!versionRead)
        return {std::nullopt, "no version line: not a saved Tidepool wallpaper"};
    return {recipe, ""};
}

} // namespace tidepool
