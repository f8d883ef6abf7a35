# Bash completion for torvanik-cli: verbs, options, drive letters and file names.

_torvanik_cli() {
    local options="--drive --select --overwrite --no-verify --no-eject --batch --auto --resume
        --no-sums --parity --missing --help --version"
    local letters="A: B: C: D: E: F: G: H: I: J: K: L: M: N:"
    local kinds="media media: device: images:"
    local formats="360k 720k 1.2m 1.44m 2.88m"

    # Words are split at blanks only, so that "A:=media:" stays one word; the answers
    # are cut back to what bash, which also breaks at ':' and '=', takes as the word.
    local line=${COMP_LINE:0:COMP_POINT}
    local -a words
    read -ra words <<<"$line"
    local cur=""
    [[ $line == *[[:blank:]] ]] || { cur=${words[-1]}; unset 'words[-1]'; }
    local prev=${words[-1]}
    # "--drive=A:=..." is answered as "--drive A:=..." is.
    case $cur in
        --drive=* | --select=*) prev=${cur%%=*} cur=${cur#*=} ;;
    esac

    local verb="" files=0 i
    for ((i = 1; i < ${#words[@]}; i++)); do
        case ${words[i]} in
            --drive | --select | --missing) ((i++)) ;;
            -*) ;;
            *) if [[ -z $verb ]]; then verb=${words[i]}; else ((files++)); fi ;;
        esac
    done

    local -a answers=()
    case $prev in
        --select)
            mapfile -t answers < <(compgen -W "$letters" -- "$cur")
            ;;
        --drive)
            local place=${cur#?:=}
            if [[ $cur != ?:=* ]]; then
                mapfile -t answers < <(compgen -W "${letters// /= }=" -- "$cur")
                compopt -o nospace 2>/dev/null
            else
                local letter=${cur%%=*}
                case $place in
                    device:*) mapfile -t answers < <(compgen -f -- "${place#device:}" | sed "s|^|device:|") ;;
                    images:*,format=*) mapfile -t answers < <(compgen -W "$formats" -- "${place##*,format=}" | sed "s|^|${place%,format=*},format=|") ;;
                    media:* | images:*) mapfile -t answers < <(compgen -d -- "${place#*:}" | sed "s|^|${place%%:*}:|; s|$|/|") ;;
                    *) mapfile -t answers < <(compgen -W "$kinds" -- "$place"; compgen -d -- "$place" | sed "s|$|/|") ;;
                esac
                answers=("${answers[@]/#/$letter=}")
                compopt -o nospace 2>/dev/null
            fi
            ;;
        *)
            if [[ $cur == -* ]]; then
                mapfile -t answers < <(compgen -W "$options" -- "$cur")
            elif [[ -z $verb ]]; then
                mapfile -t answers < <(compgen -W "split join check rebuild drives" -- "$cur")
            elif ((files == 0)) && [[ $verb != drives && $verb != check && $verb != rebuild ]]; then
                mapfile -t answers < <(compgen -f -- "$cur")
                compopt -o filenames 2>/dev/null
            fi
            ;;
    esac

    local taken=${cur%"${cur##*[:=]}"}
    COMPREPLY=("${answers[@]#"$taken"}")
}

complete -F _torvanik_cli torvanik-cli
