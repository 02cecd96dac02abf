#!/usr/bin/env bash
# Builds the Debian package from a build folder (cpack -G DEB) and checks it: it holds the panel, the
# virtual instrument, the help document, the desktop entry and the icon, and its Depends field names
# exactly the packages that own the libraries its programs link, no fewer and no more.
# Usage: check_debian_package.sh <build folder> <scratch folder>. Exit 77 (skipped) without the tools.
set -euo pipefail
build=$1
scratch=$2

for tool in cpack dpkg dpkg-deb readelf ldd; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    fail "cpack could not build the package"
fi
debs=("$scratch"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package, found: ${debs[*]}"
deb=${debs[0]}
echo "package: $(basename "$deb")"

# The files a desktop installation needs.
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/orx-panel ./usr/bin/orx-sim ./usr/share/orx-panel/orx_help.pdf \
    ./usr/share/applications/orx-panel.desktop ./usr/share/icons/hicolor/scalable/apps/orx-panel.svg; do
    grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
root="$scratch/root"
dpkg-deb -x "$deb" "$root"
entry="$root/usr/share/applications/orx-panel.desktop"
grep -qx 'Exec=orx-panel' "$entry" || fail "the desktop entry does not start orx-panel"
grep -qx 'Icon=orx-panel' "$entry" || fail "the desktop entry does not name the icon"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "the desktop entry is not valid"
fi
head -c 5 "$root/usr/share/orx-panel/orx_help.pdf" | grep -q '%PDF-' || fail "the help document is no PDF"

# The package that owns a library file; usr-merged systems register some under /lib, some under /usr/lib.
owner() {
    local path=$1 real alt
    real=$(readlink -f "$path")
    for candidate in "$path" "$real" "${path#/usr}" "/usr${path}" "${real#/usr}" "/usr${real}"; do
        if alt=$(dpkg -S "$candidate" 2>/dev/null); then
            echo "${alt%%:*}"
            return 0
        fi
    done
    return 1
}

declared=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/(.*)//; s/[[:space:]]//g' | grep -v '^$' | sort -u)
needed=""
for program in "$root"/usr/bin/*; do
    readelf -h "$program" >/dev/null 2>&1 || continue
    resolved=$(ldd "$program")
    for library in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        path=$(awk -v lib="$library" '$1 == lib && $2 == "=>" {print $3}' <<<"$resolved")
        [ -n "$path" ] && [ "$path" != "not" ] || fail "$(basename "$program") links $library, which is not installed here"
        package=$(owner "$path") || fail "no installed package owns $path ($library)"
        needed+="$package"$'\n'
    done
done
needed=$(grep -v '^$' <<<"$needed" | sort -u)
if [ "$declared" != "$needed" ]; then
    echo "declared: $(echo $declared)" >&2
    echo "linked:   $(echo $needed)" >&2
    missing=$(comm -13 <(echo "$declared") <(echo "$needed"))
    extra=$(comm -23 <(echo "$declared") <(echo "$needed"))
    [ -z "$missing" ] || echo "not declared: $(echo $missing)" >&2
    [ -z "$extra" ] || echo "declared but not linked: $(echo $extra)" >&2
    fail "the declared dependencies do not match the linked libraries"
fi
echo "depends: $(echo $declared)"
echo "package OK"
