#include "cli/option_table.h"

#include "cli/option_values.h"

namespace tidepool::cli {
namespace {

template <std::string MainSettings::*Field>
bool SetText(RenderRequest& request, const std::string& value) {
    request.settings.*Field = value;
    return true;
}

template <bool MainSettings::*Field>
bool SetSwitch(RenderRequest& request, const std::string& value) {
    const std::optional<bool> on = ParseSwitch(value);
    if (on)
        request.settings.*Field = *on;
    return on.has_value();
}

template <typename T, T MainSettings::*Field, const auto& Choices>
bool SetChoice(RenderRequest& request, const std::string& value) {
    const std::optional<T> choice = FindChoice(Choices, value);
    if (choice)
        request.settings.*Field = *choice;
    return choice.has_value();
}

template <std::size_t Swatch> bool SetSwatch(RenderRequest& request, const std::string& value) {
    const std::optional<Colour> colour = ParseColour(value);
    if (colour)
        request.settings.swatches[Swatch] = *colour;
    return colour.has_value();
}

template <std::size_t Index> bool SetFixedColour(RenderRequest& request, const std::string& value) {
    const std::optional<Colour> colour = ParseColour(value);
    if (colour)
        request.render.FixedColours[Index] = *colour;
    return colour.has_value();
}

bool SetOutput(RenderRequest& request, const std::string& value) {
    request.output = value;
    return !value.empty();
}

bool SetPreset(RenderRequest& request, const std::string& value) {
    const std::optional<int> preset = FindChoice(kPresetWords, value);
    if (preset)
        SelectSizePreset(request.settings, *preset);
    return preset.has_value();
}

bool SetBubbleShift(RenderRequest& request, const std::string& value) {
    auto shift = SplitPair(value);
    if (!shift)
        return false;
    request.settings.bubbleShiftX = std::move(shift->first);
    request.settings.bubbleShiftY = std::move(shift->second);
    return true;
}

bool SetEyes(RenderRequest& request, const std::string& value) {
    const auto boxes = ParseEyeShapes(value);
    if (boxes)
        request.settings.eyeShapes = *boxes;
    return boxes.has_value();
}

// Does what choosing the theme in the window's list does before it draws: selects the entry
// and loads its three colours into the swatches.
bool SetTheme(RenderRequest& request, const std::string& value) {
    const std::optional<int> index = FindTheme(request.render.themes, value);
    if (!index)
        return false;
    const ColourTheme& theme = request.render.themes[*index];
    request.settings.themeIndex = *index - 1;
    request.settings.swatches = {theme.Foreground, theme.Middle, theme.Background};
    return true;
}

bool SetPicture(RenderRequest& request, const std::string& value) {
    request.settings.usePicture = true;
    request.settings.picturePath = value;
    return true;
}

constexpr std::string_view kAnyText = "any text";
constexpr std::string_view kOnOff = "on or off";
constexpr std::string_view kColour = "a colour #RRGGBB";

} // namespace

const std::vector<RequestOption>& RequestOptions() {
    using S = MainSettings;
    static const std::vector<RequestOption> options{
        {"-o,--output", "FILE",
         "File to write; its extension chooses the format: .bmp, or .png, .jpg or .gif with the "
         "codec plug-in",
         "a file name", SetOutput},
        {"--preset", "qvga|vga|xga|wxga|uxga", "Size preset; --width and --height win over it",
         "qvga, vga, xga, wxga or uxga", SetPreset, true},
        {"--width", "TEXT", "Width in pixels (16 to 2400)", kAnyText, SetText<&S::width>},
        {"--height", "TEXT", "Height in pixels (16 to 2400)", kAnyText, SetText<&S::height>},
        {"--magnification", "TEXT", "Magnification (倍率), pixels per drawing unit (0.1 to 16)",
         kAnyText, SetText<&S::magnification>},
        {"--spacing", "TEXT", "Spacing of the crabs (間隔), 0.85 to 2", kAnyText,
         SetText<&S::spacing>},
        {"--layout", "standard|slide", "Centred (標準) or edge to edge (スライド)",
         "standard or slide", SetChoice<Layout, &S::layout, kLayoutWords>},
        {"--mode", "normal|frame", "Normal (ノーマル) or outline (フレーム)", "normal or frame",
         SetChoice<DrawMode, &S::mode, kModeWords>},
        {"--crab-shadow", "on|off", "Shadows of the crabs (影)", kOnOff, SetSwitch<&S::crabShadow>},
        {"--shadow-width", "TEXT", "Shadow width (影の幅), up to 9", kAnyText,
         SetText<&S::shadowWidth>},
        {"--bubbles", "on|off", "Bubbles (泡有り) or none (泡無し)", kOnOff,
         SetSwitch<&S::bubbles>},
        {"--bubble-spacing", "TEXT", "Spacing of the bubbles (間隔), 0.5 to 2", kAnyText,
         SetText<&S::bubbleSpacing>},
        {"--bubble-shadow", "on|off", "Shadows of the bubbles (影)", kOnOff,
         SetSwitch<&S::bubbleShadow>},
        {"--bubble-crab-colour", "on|off", "Bubbles in the crab colour (色)", kOnOff,
         SetSwitch<&S::bubbleCrabColour>},
        {"--bubble-shift", "X,Y", "Shift of the bubbles (描画のシフト), across and down",
         "two texts X,Y", SetBubbleShift},
        {"--eyes", "LIST", "Eye shapes: circle,dash,cross,cap,cup or none",
         "a comma-separated list of circle, dash, cross, cap, cup, or none", SetEyes},
        {"--eye-shift", "TEXT", "Shift of the eye-shape cycle (シフト)", kAnyText,
         SetText<&S::eyeShift>},
        {"--role", "foreground|middle|background", "Swatch the crabs take (前景色/中間色/背景色)",
         "foreground, middle or background", SetChoice<ColourRole, &S::colourRole, kRoleWords>},
        {"--theme", "N|NAME",
         "Theme 1 to 20, or its English or Japanese name (water, ウォーター); fills the swatches",
         "a theme number 1 to 20 or a theme name (see --list-themes)", SetTheme},
        {"--foreground", "#RRGGBB", "Foreground swatch (前景色)", kColour, SetSwatch<0>},
        {"--middle", "#RRGGBB", "Middle swatch (中間色)", kColour, SetSwatch<1>},
        {"--background", "#RRGGBB", "Background swatch (背景色)", kColour, SetSwatch<2>},
        {"--fixed-colours", "on|off", "Draw in the fixed colours (固定色で描画)", kOnOff,
         SetSwitch<&S::fixedColours>},
        {"--body", "#RRGGBB", "Fixed body colour", kColour, SetFixedColour<1>},
        {"--pattern", "#RRGGBB", "Fixed pattern colour", kColour, SetFixedColour<2>},
        {"--eye-colour", "#RRGGBB", "Fixed eye colour", kColour, SetFixedColour<3>},
        {"--bubble-colour", "#RRGGBB", "Fixed bubble colour", kColour, SetFixedColour<4>},
        {"--picture", "PATH",
         "Tile this background picture (ピクチャ使用): BMP, JPEG, GIF, ICO; PNG with the plug-in",
         "a path", SetPicture},
    };
    return options;
}

} // namespace tidepool::cli
