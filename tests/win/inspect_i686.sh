#!/usr/bin/env bash
# The shipped program as a file: PE32 for i386, GUI subsystem, no MinGW
# runtime DLL among its imports, the icon group present.
set -euo pipefail
exe=$1
fail() { echo "FAIL: $*"; exit 1; }
info=$(file -b "$exe")
echo "$info"
case "$info" in *"PE32 executable"*"(GUI)"*"Intel 80386"*|*"PE32 executable (GUI) Intel i386"*) ;; *) fail "not a PE32 i386 GUI program: $info" ;; esac
headers=$(i686-w64-mingw32-objdump -p "$exe")
grep -q 'Magic[[:space:]]*010b' <<<"$headers" || fail "optional header is not PE32"
grep -q 'Subsystem[[:space:]]*00000002' <<<"$headers" || fail "subsystem is not GUI"
imports=$(grep 'DLL Name:' <<<"$headers" | awk '{print tolower($3)}' | sort -u)
echo "imports:" $imports
if grep -qE 'libgcc|libstdc|libwinpthread|mingw' <<<"$imports"; then fail "imports a MinGW runtime DLL"; fi
rsrc=$(mktemp)
trap 'rm -f "$rsrc"' EXIT
i686-w64-mingw32-objcopy -O binary -j .rsrc "$exe" "$rsrc"
# The icon group's name is stored in UTF-16 in the resource directory.
needle=$(printf 'DEFAULT_ICON' | iconv -t UTF-16LE | xxd -p | tr -d '\n')
xxd -p "$rsrc" | tr -d '\n' | grep -qi "$needle" || fail "no DEFAULT_ICON resource"
echo "ok: PE32 i386 GUI program, static runtime, icon group present"

# The skin engine it carries: a PE32 i386 library of exactly 88576 bytes with
# 23 undecorated SkinH_ exports, stored byte for byte inside the program.
image=${2:-}
if [ -n "$image" ]; then
    [ "$(stat -c %s "$image")" = 88576 ] || fail "engine image is not 88576 bytes"
    dll=$(mktemp --suffix=.dll)
    cp "$image" "$dll"
    i686-w64-mingw32-objdump -f "$dll" | grep -q 'file format pei-i386' || fail "engine is not PE32 i386"
    exports=$(i686-w64-mingw32-objdump -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[ \t]*\[/{print $NF} t&&/^$/{t=0}')
    rm -f "$dll"
    [ "$(grep -c '^SkinH_' <<<"$exports")" = 23 ] || fail "engine does not export 23 SkinH_ functions: $exports"
    grep -qv '@' <<<"$exports" || fail "decorated export names"
    grep -qx 'SkinH_AttachEx' <<<"$exports" || fail "no SkinH_AttachEx"
    python3 -c "import sys; sys.exit(0 if open(sys.argv[2],'rb').read() in open(sys.argv[1],'rb').read() else 1)" "$exe" "$image" \
        || fail "the engine image is not inside the program"
    echo "ok: engine PE32 i386, 88576 bytes, 23 SkinH_ exports, embedded"
fi
