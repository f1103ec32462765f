# bash completion for pixoral; menu paths and control names come from the program itself
# The lines of standard input that start with $1, each with PREFIX before it.
_pixoral_match() {
    local line
    while IFS= read -r line; do
        [[ $line == "$1"* ]] && COMPREPLY+=("$2$line")
    done
}
_pixoral() {
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion -n '>=:,' || return
    else
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD-1]}
    fi
    local prog=${COMP_WORDS[0]} i
    COMPREPLY=()
    case $prev in
        --open|--save|--script|--state|--each)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -- "$cur")); return ;;
        --data-dir)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -d -- "$cur")); return ;;
        --do)
            _pixoral_match "$cur" "" < <("$prog" --list-commands 2>/dev/null | cut -f1)
            for i in "${!COMPREPLY[@]}"; do COMPREPLY[i]=$(printf '%q' "${COMPREPLY[i]}"); done
            return ;;
        --list-controls)
            _pixoral_match "$cur" "" < <("$prog" --list-controls 2>/dev/null); return ;;
        --set|--press)
            if [[ $cur == *.* ]]; then
                _pixoral_match "${cur#*.}" "${cur%%.*}." < <("$prog" --list-controls "${cur%%.*}" 2>/dev/null | cut -f1)
            else
                _pixoral_match "$cur" "" < <("$prog" --list-controls 2>/dev/null | sed 's/$/./')
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
