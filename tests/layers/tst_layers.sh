#!/usr/bin/env bash
# The layers of src/, from the bottom: a file may include headers of its own layer and of the
# layers below it, and a library may link only the libraries of the layers below it. The two
# lowest layers use no Qt at all; the page uses no widgets.
# Usage: tst_layers.sh SOURCE_DIR QT_WIDGETS_INCLUDE_DIRS (a CMake list)
set -uo pipefail
src="$1/src"
IFS=';' read -r -a widget_dirs <<<"$2"
layers=(base rules page frame windows program)
faults=0

fault() {
    echo "$1"
    faults=$((faults + 1))
}

rank() {
    local i
    for i in "${!layers[@]}"; do
        [[ "${layers[$i]}" == "$1" ]] && echo "$i" && return
    done
    echo -1
}

is_widgets_header() {
    local dir
    for dir in "${widget_dirs[@]}"; do
        [[ "$dir" == *QtWidgets && -e "$dir/$1" ]] && return 0
    done
    return 1
}

for folder in "$src"/*/; do
    folder=$(basename "$folder")
    [[ $(rank "$folder") -ge 0 ]] || fault "src/$folder is no layer: ${layers[*]}"
done

for layer in "${layers[@]}"; do
    own=$(rank "$layer")
    for file in "$src/$layer"/*.h "$src/$layer"/*.cpp; do
        [[ -e "$file" ]] || continue
        name="src/$layer/$(basename "$file")"
        while IFS= read -r header; do
            case "$header" in
            ui_*.h) [[ "$layer" == windows ]] || fault "$name: a form's header outside the windows: $header" ;;
            */*)
                used=$(rank "${header%%/*}")
                if [[ $used -lt 0 ]]; then
                    fault "$name: \"$header\" names no layer"
                elif [[ $used -gt $own ]]; then
                    fault "$name: \"$header\" is a layer above $layer"
                fi
                ;;
            *) fault "$name: \"$header\" does not name its layer" ;;
            esac
        done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
        while IFS= read -r header; do
            if [[ $own -le 1 && "$header" == Q* ]]; then
                fault "$name: <$header> in a layer without Qt"
            elif [[ "$layer" == page ]] && is_widgets_header "$header"; then
                fault "$name: <$header> is a widget in the page"
            fi
        done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/p' "$file")
    done
    # The libraries a layer links: its own and those of the layers below.
    while IFS= read -r library; do
        used=$(rank "${library#quotario_}")
        [[ $used -ge 0 && $used -le $own ]] ||
            fault "src/$layer/CMakeLists.txt: links $library, which is no layer below $layer"
    done < <(grep -o 'quotario_[a-z_]*' "$src/$layer/CMakeLists.txt" | sort -u |
        grep -vx "quotario_$layer\|quotario_icon\|quotario_readme\|quotario_default_alignment\|quotario")
done

if [[ $faults -gt 0 ]]; then
    echo "$faults fault(s) in the layers"
    exit 1
fi
echo "layers: ${layers[*]}, no include or link upward"
