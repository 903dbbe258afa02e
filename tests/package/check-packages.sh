#!/usr/bin/env bash
# Builds the Debian packages from the build folder given and checks what they hold: file lists,
# control fields, lintian, the AppStream file, the desktop entry and the manuals.
# Usage: check-packages.sh BUILD_DIR
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

FURROW_BUILD_DIR="$build" "$source_dir/scripts/package.sh" >/dev/null
planner=$(ls "$build"/packages/furrow_*.deb)
server=$(ls "$build"/packages/furrow-sync-server_*.deb)
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT

# Each package holds exactly its own files, under /usr and nowhere else.
expect_files() {
    local deb=$1; shift
    local listing
    listing=$(dpkg-deb -c "$deb" | awk '{print $NF}')
    for file in "$@"; do
        grep -qx "./$file" <<<"$listing" || fail "$(basename "$deb") lacks $file"
    done
    grep -v '^\./usr/' <<<"$listing" | grep -v '^\./$' && fail "$(basename "$deb") installs outside /usr"
    return 0
}
app=org.furrow.Furrow
icons=()
for side in 16 22 24 32 48 64 128 256 512; do
    icons+=("usr/share/icons/hicolor/${side}x${side}/apps/$app.png")
done
expect_files "$planner" usr/bin/furrow "usr/share/applications/$app.desktop" \
    "usr/share/metainfo/$app.metainfo.xml" "usr/share/icons/hicolor/scalable/apps/$app.svg" \
    "${icons[@]}" usr/share/man/man1/furrow.1.gz usr/share/doc/furrow/copyright
expect_files "$server" usr/bin/furrow-sync-server \
    usr/lib/systemd/system/furrow-sync-server.service \
    usr/share/man/man8/furrow-sync-server.8.gz usr/share/doc/furrow-sync-server/copyright
dpkg-deb -c "$planner" | grep -q furrow-sync-server && fail "furrow carries the server"
dpkg-deb -c "$server" | grep -q 'bin/furrow$' && fail "furrow-sync-server carries the planner"

# Control fields: names, the project's version, dependencies found by dpkg-shlibdeps.
for deb in "$planner" "$server"; do
    [[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "$(basename "$deb") version"
    dpkg-deb -f "$deb" Depends | grep -q 'libc6 (>=' || fail "$(basename "$deb") Depends"
done
[[ $(dpkg-deb -f "$planner" Package) == furrow ]] || fail "planner package name"
[[ $(dpkg-deb -f "$server" Package) == furrow-sync-server ]] || fail "server package name"
dpkg-deb -f "$planner" Depends | grep -q 'libqt6widgets6' || fail "furrow Depends lacks Qt"
dpkg-deb -f "$server" Depends | grep -q 'libqt6widgets6' && fail "server depends on Qt Widgets"

# The server's maintainer scripts only reload systemd; nothing enables or starts the unit.
dpkg-deb -e "$server" "$unpacked/control"
grep -hE 'systemctl +(enable|start|restart)|deb-systemd' "$unpacked"/control/post* \
    && fail "a maintainer script starts or enables the service"

# What the packages install names no folder of the build machine.
dpkg-deb -x "$planner" "$unpacked/planner"
dpkg-deb -x "$server" "$unpacked/server"
grep -rlF -e "$source_dir" -e "$build" "$unpacked/planner" "$unpacked/server" \
    && fail "an installed file names the build machine's folders"
grep -q '^ExecStart=/usr/bin/furrow-sync-server ' \
    "$unpacked/server/usr/lib/systemd/system/furrow-sync-server.service" \
    || fail "the unit does not run the installed server"

# No lintian errors, and no warning beyond those kept on purpose (packaging/lintian-kept).
report=$(lintian --fail-on error --tag-display-limit 0 "$planner" "$server") || fail "lintian: $report"
kept=$(awk '!/^#/ && NF {print $1}' "$source_dir/packaging/lintian-kept")
new=$(awk '/^[EW]: / {print $3}' <<<"$report" | sort -u | grep -vxF "$kept" || true)
[[ -z "$new" ]] || fail "lintian warnings not kept on purpose: $new"
appstreamcli validate --no-net "$unpacked/planner/usr/share/metainfo/$app.metainfo.xml" \
    || fail "appstreamcli"
desktop-file-validate "$unpacked/planner/usr/share/applications/$app.desktop" \
    || fail "desktop-file-validate"
for page in "$unpacked"/planner/usr/share/man/man1/furrow.1.gz \
            "$unpacked"/server/usr/share/man/man8/furrow-sync-server.8.gz; do
    warnings=$(zcat "$page" | LC_ALL=C.UTF-8 groff -ww -man -z 2>&1)
    [[ -z "$warnings" ]] || fail "$(basename "$page"): $warnings"
done

((failures == 0)) && echo "packages: all checks passed"
exit $((failures > 0))
