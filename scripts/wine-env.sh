# Sourced by scripts/test, scripts/run and the benchmarks: a private Wine
# prefix under build/, a free Xvfb display, the Chinese locale, and a browser
# stand-in that logs the addresses it is asked to open. Nothing touches the
# user's own prefix or display.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export WINEPREFIX="${QUORVEL_WINEPREFIX:-$here/build/wineprefix}"
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=-all
# No .NET or Gecko installers.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Code page 936 for the Wine processes.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export QUORVEL_BROWSER_LOG="$here/build/browser.log"
quorvel_xvfb_pid=""

wine_env_start() {
    local own_display="${1:-yes}"
    mkdir -p "$here/build"
    "$WINESERVER" -k >/dev/null 2>&1 || true
    if [ "$own_display" = yes ] || [ -z "${DISPLAY:-}" ]; then
        local n=90
        while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        quorvel_xvfb_pid=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    fi
    # A fault test that was cut short may have left the system directory immutable.
    chattr -i "$WINEPREFIX/drive_c/windows/system32" "$WINEPREFIX/drive_c/windows/system32/velmora.skn" \
        "$WINEPREFIX/drive_c/windows/system32/velmora.dll" >/dev/null 2>&1 || true
    local fresh=no
    [ -f "$WINEPREFIX/system.reg" ] || fresh=yes
    # The server first, and a first process whose output goes nowhere: Wine's
    # helper processes inherit its output and would hold a pipe open.
    "$WINESERVER" -p
    if [ $fresh = yes ]; then
        "$WINELOADER" wineboot -i >/dev/null 2>&1 </dev/null
    else
        "$WINELOADER" wineboot >/dev/null 2>&1 </dev/null
    fi
    cat >"$here/build/browser-stand-in.sh" <<EOS
#!/bin/sh
printf '%s\n' "\$1" >> "$QUORVEL_BROWSER_LOG"
EOS
    chmod +x "$here/build/browser-stand-in.sh"
    if [ $fresh = yes ] || [ ! -f "$WINEPREFIX/.quorvel-configured" ]; then
        # Wine draws captions and frames itself when no window manager manages them.
        "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        "$WINELOADER" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d "$here/build/browser-stand-in.sh" /f >/dev/null 2>&1
        touch "$WINEPREFIX/.quorvel-configured"
    fi
    # One more process with its output sent nowhere, so the service processes
    # it leaves running never hold a test runner's pipe.
    "$WINELOADER" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

wine_env_stop() {
    chattr -i "$WINEPREFIX/drive_c/windows/system32" "$WINEPREFIX/drive_c/windows/system32/velmora.skn" \
        "$WINEPREFIX/drive_c/windows/system32/velmora.dll" >/dev/null 2>&1 || true
    "$WINESERVER" -k >/dev/null 2>&1 || true
    if [ -n "$quorvel_xvfb_pid" ]; then
        kill "$quorvel_xvfb_pid" 2>/dev/null || true
        wait "$quorvel_xvfb_pid" 2>/dev/null || true
        quorvel_xvfb_pid=""
    fi
}
