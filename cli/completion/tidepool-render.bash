# bash completion for tidepool-render                                    -*- shell-script -*-

# The theme names as the renderer itself lists them (the English and the Japanese name, the last
# two fields of each line), so the list never falls behind the program.
_tidepool_render_themes() {
    "$1" --list-themes 2>/dev/null | awk '{ print $(NF - 1); print $NF }'
}

# Offers those of the words ($1, separated by blanks) that begin with what is typed.
_tidepool_render_offer() {
    mapfile -t COMPREPLY < <(compgen -W "$1" -- "$cur")
}

_tidepool_render() {
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
    -o | --output | --picture)
        _filedir
        return
        ;;
    --preset)
        _tidepool_render_offer 'qvga vga xga wxga uxga'
        return
        ;;
    --layout)
        _tidepool_render_offer 'standard slide'
        return
        ;;
    --mode)
        _tidepool_render_offer 'normal frame'
        return
        ;;
    --role)
        _tidepool_render_offer 'foreground middle background'
        return
        ;;
    --crab-shadow | --bubbles | --bubble-shadow | --bubble-crab-colour | --fixed-colours)
        _tidepool_render_offer 'on off'
        return
        ;;
    --eyes)
        # A comma-separated list: complete its last shape.
        local done=""
        [[ $cur == *,* ]] && done=${cur%,*},
        mapfile -t COMPREPLY < <(compgen -P "$done" -W 'circle dash cross cap cup none' \
            -- "${cur##*,}")
        compopt -o nospace
        return
        ;;
    --theme)
        local -a themes
        mapfile -t themes < <(_tidepool_render_themes "${words[0]}")
        local IFS=$'\n'
        mapfile -t COMPREPLY < <(compgen -W "${themes[*]}" -- "$cur")
        return
        ;;
    --width | --height | --magnification | --spacing | --shadow-width | --bubble-spacing | \
        --bubble-shift | --eye-shift | --foreground | --middle | --background | --body | \
        --pattern | --eye-colour | --bubble-colour)
        # A number or a colour the user types.
        return
        ;;
    esac

    $split && return

    if [[ $cur == -* ]]; then
        _tidepool_render_offer '-o --output --preset --width --height --magnification --spacing
            --layout --mode --crab-shadow --shadow-width --bubbles --bubble-spacing
            --bubble-shadow --bubble-crab-colour --bubble-shift --eyes --eye-shift --role --theme
            --foreground --middle --background --fixed-colours --body --pattern --eye-colour
            --bubble-colour --picture --set-wallpaper --wallpaper-timeout --keep-wallpaper
            --restore-wallpaper --follow-screens --forget-wallpaper --list-themes --help --version'
    fi
} && complete -F _tidepool_render tidepool-render
