# Sourced by the Wine scripts: the project's private prefix and its creation.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64

# Creates the prefix once; ctest may start several programs at a time.
ensure_wine_prefix() {
    [[ -f "$WINEPREFIX/system.reg" && -f "$WINEPREFIX/.kestrin-desktops" ]] && return 0
    mkdir -p "$WINEPREFIX"
    (
        flock 9
        if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
            # No Mono or Gecko: nothing here needs them, and there is no network to fetch them.
            WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i >/dev/null 2>&1 || true
            wineserver -w || true
        fi
        if [[ ! -f "$WINEPREFIX/.kestrin-desktops" ]]; then
            # The sequence test runs in a virtual desktop of its own. On the X
            # server's desktop every hide of a window waits for a window
            # manager, which Xvfb does not have; and the foreground it checks
            # is then its own desktop's.
            wine reg add 'HKCU\Software\Wine\AppDefaults\presence_test.exe\Explorer' /v Desktop /d KestrinTest /f \
                >/dev/null 2>&1
            wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v KestrinTest /d 1024x768 /f >/dev/null 2>&1
            # The server those started must be gone before a session starts its own.
            wineserver -w || true
            touch "$WINEPREFIX/.kestrin-desktops"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# Debian keeps wineserver out of PATH.
if ! command -v wineserver >/dev/null 2>&1 && [[ -x /usr/lib/wine/wineserver ]]; then
    PATH=$PATH:/usr/lib/wine
fi
