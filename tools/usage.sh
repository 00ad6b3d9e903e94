# Sourced by the tools written in bash: how they answer -h or --help and
# refuse what they do not take. A script's usage is the comment at its top.

usage() { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; }

# Ends the script with a one-line complaint about how it was called.
refuse() {
    echo "${0##*/}: $* (--help shows the usage)" >&2
    exit 2
}

# For a script that takes MIN to MAX arguments and no options: -h or --help
# anywhere shows the usage; any other option, or another count, is refused.
#   expect_arguments MIN MAX "$@"
expect_arguments() {
    local min=$1 max=$2 wanted argument
    shift 2
    for argument; do
        case $argument in
            -h | --help) usage; exit 0 ;;
            -*) refuse "unknown option $argument" ;;
        esac
    done
    (($# >= min && $# <= max)) && return
    if ((min == max)); then wanted=$min; else wanted="$min to $max"; fi
    if [[ $wanted == 1 ]]; then wanted+=" argument"; else wanted+=" arguments"; fi
    refuse "takes $wanted, not $#"
}

# For a script whose arguments are a command that it runs: only a leading
# -h or --help shows the usage, so the command keeps its own options; a
# leading option of another name is refused, and so is no command at all.
expect_command() {
    case "${1:-}" in
        -h | --help) usage; exit 0 ;;
        -*) refuse "unknown option $1" ;;
        "") refuse "no command given" ;;
    esac
}
