# bash completion for pixoral; menu paths and control names come from the program itself
_pixoral() {
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion -n '>=:,' || return
    else
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD-1]}
    fi
    local prog=${COMP_WORDS[0]} IFS=$'\n'
    case $prev in
        --open|--save|--script|--state|--each)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -- "$cur")); return ;;
        --data-dir)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -d -- "$cur")); return ;;
        --do)
            COMPREPLY=($(compgen -W "$("$prog" --list-commands 2>/dev/null | cut -f1)" -- "$cur"))
            COMPREPLY=($(printf '%q\n' "${COMPREPLY[@]}")); return ;;
        --list-controls)
            COMPREPLY=($(compgen -W "$("$prog" --list-controls 2>/dev/null)" -- "$cur")); return ;;
        --set|--press)
            if [[ $cur == *.* ]]; then
                local win=${cur%%.*}
                COMPREPLY=($(compgen -P "$win." -W "$("$prog" --list-controls "$win" 2>/dev/null | cut -f1)" -- "${cur#*.}"))
            else
                COMPREPLY=($(compgen -S . -W "$("$prog" --list-controls 2>/dev/null)" -- "$cur"))
                compopt -o nospace 2>/dev/null
            fi
            return ;;
        --completion)
            COMPREPLY=($(compgen -W 'bash zsh' -- "$cur")); return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--batch --open --save --do --answer --drag --click --mods --button --set --press --run --script --max-steps --state --data-dir --seed --each --jobs --help --list-commands --list-controls --man --completion' -- "$cur"))
    else
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}
complete -F _pixoral pixoral
