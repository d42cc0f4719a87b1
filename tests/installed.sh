#!/bin/sh
# The installed program: `cmake --install` into a temporary DESTDIR, the desktop
# files validated, the program's windows run from the installed bin/ folder as a
# user who cannot write there, the start-up run to the main window, and, in CI as
# root on a machine without Qorvel3D installed, the Debian package installed with
# dpkg, started and removed again, leaving the user's plan tables in place.
# Everything that user reads is copied into a work folder of its own: the checkout
# may lie where it cannot look (/root, a private temporary folder).
# usage: installed.sh BUILD-DIR TEST-PROGRAM PROBE-PROGRAM
set -eu
build=$1 testprogram=$2 probe=$3
source=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
chmod 755 "$work"
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen

# As root, the checks that need a read-only folder run as nobody.
asuser=""
if [ "$(id -u)" -eq 0 ]; then
    asuser="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi
home="$work/home"
mkdir -p "$home"
[ -z "$asuser" ] || chown 65534:65534 "$home"
export QORVEL3D_TESTHOME="$home"
# The producer texts the windows must show, as plain UTF-8.
export QORVEL3D_EXPECTED="$work/expected"
mkdir "$QORVEL3D_EXPECTED"
cp "$source/data/flash.txt" "$source/data/about.txt" "$QORVEL3D_EXPECTED/"
chmod -R a+rX "$QORVEL3D_EXPECTED"

# Starts a program on Qt's minimal platform, which saves each painted window as
# outputNNNN.png in the working directory, and waits until a window other than
# the first (the splash) was painted and the program still runs: the main window
# is up. usage: reachesmainwindow NAME PROGRAM
reachesmainwindow() {
    what=$1 program=$2
    shots=$(mktemp -d "$work/shots.XXXXXX")
    chmod 777 "$shots"
    (cd "$shots" && HOME="$home" QT_QPA_PLATFORM=minimal QT_DEBUG_BACKINGSTORE=1 exec $asuser "$program") >/dev/null 2>&1 &
    pid=$!
    tries=0
    while :; do
        kill -0 "$pid" 2>/dev/null || fail "$what ended before its main window showed"
        first="" other=""
        for shot in "$shots"/output*.png; do
            [ -s "$shot" ] || continue
            size=$(od -An -tu1 -j16 -N8 "$shot" | tr -s ' ')
            # shellcheck disable=SC2086
            set -- $size
            [ "$#" -eq 8 ] || continue # a picture still being written
            [ -n "$first" ] || first=$size
            [ "$size" = "$first" ] || other=$size
        done
        [ -z "$other" ] || break
        tries=$((tries + 1))
        [ "$tries" -lt 300 ] || { kill "$pid"; fail "$what showed no main window within 60 s"; }
        sleep 0.2
    done
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

echo "== cmake --install with DESTDIR"
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
prefix="$work/root/usr"
for f in bin/qorvel3d bin/qorvel3d-replay bin/qorvel3d-auxtext share/qorvel3d/附属/flash.txt \
    share/qorvel3d/附属/about.txt share/qorvel3d/图片/flash.jpg share/qorvel3d/sample-history.txt \
    share/qorvel3d/软件演示.html share/qorvel3d/软件演示/main-plan.png \
    share/applications/qorvel3d.desktop share/applications/qorvel3d-replay.desktop \
    share/icons/hicolor/48x48/apps/qorvel3d.png share/icons/hicolor/128x128/apps/qorvel3d.png \
    share/icons/hicolor/256x256/apps/qorvel3d.png share/metainfo/example.qorvel3d.qorvel3d.metainfo.xml \
    share/man/man1/qorvel3d.1.gz share/doc/qorvel3d/copyright; do
    [ -e "$prefix/$f" ] || fail "not installed: $f"
done
[ ! -e "$prefix/bin/附属" ] || fail "data beside the installed programs"

echo "== desktop entries and AppStream record"
desktop-file-validate "$prefix"/share/applications/*.desktop
appstreamcli validate --no-net "$prefix/share/metainfo/example.qorvel3d.qorvel3d.metainfo.xml"

echo "== the windows, run from the installed bin/"
chmod -R a+w "$prefix/share/qorvel3d/附属"
cp "$testprogram" "$prefix/bin/test_installed"
cp "$probe" "$prefix/bin/qorvel3d-startupprobe"
cd "$work"
HOME="$home" $asuser "$prefix/bin/test_installed" || fail "the installed windows"

echo "== the start-up, from another working directory"
out=$(HOME="$home" timeout 60 $asuser "$prefix/bin/qorvel3d-startupprobe") || fail "the start-up did not reach the main window"
echo "$out" | grep -qx "apppath: $prefix/bin/" || fail "apppath: $out"
reachesmainwindow "the installed qorvel3d" "$prefix/bin/qorvel3d"

# Installing a package changes the machine: only where CI says it may.
if [ -z "${CI:-}" ] || [ "$(id -u)" -ne 0 ] || ! command -v dpkg >/dev/null; then
    echo "== the Debian package: skipped (needs CI set, root and dpkg)"
    echo "all installed checks passed"
    exit 0
fi
if dpkg -s qorvel3d >/dev/null 2>&1; then
    echo "== the Debian package: skipped (qorvel3d is installed on this machine already)"
    exit 0
fi
echo "== the Debian package, installed with dpkg"
cmake --build "$build" --target package >/dev/null
deb=$(ls "$build"/qorvel3d_*.deb)
removepackage() { dpkg -r qorvel3d >/dev/null 2>&1 || true; cleanup; }
trap removepackage EXIT
dpkg -i "$deb" >/dev/null || fail "dpkg -i $deb"
[ -x /usr/bin/qorvel3d ] && [ -e /usr/share/qorvel3d/附属/flash.txt ] || fail "the package's files"
HOME="$home" $asuser /usr/bin/qorvel3d-replay --text /usr/share/qorvel3d/sample-history.txt | grep -q '【开奖历史】3000期' \
    || fail "the packaged replay"
reachesmainwindow "the packaged qorvel3d" /usr/bin/qorvel3d
table="$home/Documents/Qorvel3D/固定投资计划表.txt"
[ -e "$table" ] || fail "no plan table of the user's from the windows' test"
dpkg -r qorvel3d >/dev/null || fail "dpkg -r"
[ ! -e /usr/bin/qorvel3d ] || fail "the program stayed after dpkg -r"
[ -e "$table" ] || fail "removing the package took the user's plan table"
echo "all installed checks passed"
