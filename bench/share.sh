#!/usr/bin/env bash
# Slow-share benchmark (a report, not a test): the launcher and its programs on a drive served through a
# file system that waits a given time before every call (bench/delayfs.c, a FUSE pass-through), as on a
# busy school server. 51 programs: the even ones installed where the settings file says, the odd ones
# found through the candidate file, each with a picture file of its own. For each delay (0, 2 and 20 ms a
# call unless given) it prints the time from process start to the window drawn, and what the window takes
# on its own thread afterwards (bench/share_probe.cpp): a wheel notch, a screen reader's question and a
# full reader walk (milliseconds: medians of BENCH_SAMPLES, 5 unless set; "-" when it did not finish
# within BENCH_LIMIT seconds, 300 unless set), with the file-system calls of the whole run; and, as the
# floor Wine's own loading sets, the start of the bare window (tools/bare_window.cpp) from the same share.
#
# Usage: bench/share.sh BUILD_DIR [LAUNCHER_EXE [DELAY_MS...]]
# BUILD_DIR: a Windows build with share_probe.exe and bare_window.exe (build/win of scripts/test);
# LAUNCHER_EXE: the launcher to measure (BUILD_DIR's unless given), for comparing two builds.
# Needs fuse3 and libfuse3-dev (installed when missing) and /dev/fuse.
set -euo pipefail

BUILD=$(cd "${1:?usage: share.sh BUILD_DIR [LAUNCHER_EXE [DELAY_MS...]]}" && pwd)
LAUNCHER=$(realpath "${2:-$BUILD/launcher.exe}")
shift $(($# > 1 ? 2 : 1))
DELAYS=("$@")
[ ${#DELAYS[@]} -gt 0 ] || DELAYS=(0 2 20)
LIMIT=${BENCH_LIMIT:-300}
HERE=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/e2e/lib.sh
. "$HERE/../tests/e2e/lib.sh"

ensure_packages gcc libc6-dev libx11-dev fuse3 libfuse3-dev pkg-config "${WINE_PACKAGES[@]}"
e2e_init
MOUNT=""
unmount() { [ -z "$MOUNT" ] || fusermount3 -u "$MOUNT" 2>/dev/null || true; MOUNT=""; }
trap 'unmount; e2e_cleanup' EXIT
cc -O2 -o "$E2E_TMP/pixelprobe" "$HERE/pixelprobe.c" -lX11
cc -O2 -o "$E2E_TMP/delayfs" "$HERE/delayfs.c" $(pkg-config fuse3 --cflags --libs)
e2e_start_display
make_wine_prefix "$E2E_TMP/prefix"

# The share: the launcher, its data folder with 51 pictures, the settings file and the candidate file.
src="$E2E_TMP/share"
folder="$src/Tessaly Launcher"
mkdir -p "$folder/data"
cp "$LAUNCHER" "$folder/launcher.exe"
cp "$BUILD/data/poss vid paths.xml" "$folder/data/"
pictures=("$BUILD"/data/*.bmp)
{
    printf "<programs>\r\n<options showall='True' />\r\n<order "
    for id in $(seq 0 50); do printf "p%d='%d' " "$id" "$id"; done
    printf "/>\r\n"
    for id in $(seq 0 50); do
        name="Program $id"
        cp "${pictures[$((id % ${#pictures[@]}))]}" "$folder/data/p$id.bmp"
        video=""
        if [ $((id % 4)) -eq 0 ]; then
            video="videopath='T:\\Program Files\\Tessaly\\$name\\video.exe ' "
        fi
        if [ $((id % 2)) -eq 0 ]; then
            mkdir -p "$src/Program Files/Tessaly/$name"
            cp "$BUILD/bare_window.exe" "$src/Program Files/Tessaly/$name/p$id.exe"
            [ -z "$video" ] || cp "$BUILD/bare_window.exe" "$src/Program Files/Tessaly/$name/video.exe"
        else
            mkdir -p "$src/Apps/Tessaly/$name"
            cp "$BUILD/bare_window.exe" "$src/Apps/Tessaly/$name/p$id.exe"
        fi
        printf "<program name='%s' path='T:\\\\Program Files\\\\Tessaly\\\\%s\\\\p%d.exe' show='T' " "$name" "$name" "$id"
        printf "picpath='T:\\\\Tessaly Launcher\\\\data\\\\p%d.bmp ' desc='About %s ' %s/>\r\n" "$id" "$name" "$video"
    done
    printf "</programs>\r\n"
} >"$folder/data/progdata.xml"
for id in $(seq 1 2 50); do
    printf "<program name='Program %d' p1='\\\\Program Files (x86)\\\\Tessaly\\\\Program %d\\\\p%d.exe' p2='\\\\Apps\\\\Tessaly\\\\Program %d\\\\p%d.exe' />\r\n" \
        "$id" "$id" "$id" "$id" "$id"
done >"$folder/data/poss paths.xml"
cp "$folder/data/progdata.xml" "$E2E_TMP/progdata.xml"

cp "$BUILD/bare_window.exe" "$src/bare_window.exe"

# One start of the bare window on the share, the floor that Wine's own loading sets: prints its drawn ms.
bare_start() {
    local line drawn pid
    line=$("$E2E_TMP/pixelprobe" 400 30 000080 $((LIMIT * 1000)) -- "$WINE64" 'T:\bare_window.exe')
    read -r _ drawn pid <<<"$line"
    kill "$pid" 2>/dev/null || true
    e2e_wait_exit "$pid" 20 || true
    sleep 0.5
    printf '%s\n' "$drawn"
}

# One run at a delay: prints "bare start wheel question walk calls".
run_at() {
    local delay=$1 line drawn pid probe calls bare
    cp "$E2E_TMP/progdata.xml" "$folder/data/progdata.xml"
    MOUNT="$E2E_TMP/mnt-$delay"
    mkdir -p "$MOUNT"
    "$E2E_TMP/delayfs" "$src" "$MOUNT" "$delay" -o attr_timeout=0,entry_timeout=0,negative_timeout=0
    ln -sfn "$MOUNT" "$WINEPREFIX/dosdevices/t:"
    bare=$(bare_start)
    # The window drawn: its title bar navy.
    line=$("$E2E_TMP/pixelprobe" 400 30 000080 $((LIMIT * 1000)) -- "$WINE64" 'T:\Tessaly Launcher\launcher.exe')
    read -r _ drawn pid <<<"$line"
    sleep 2
    probe=$(timeout "$LIMIT" "$WINE64" "$BUILD/share_probe.exe" "${BENCH_SAMPLES:-5}" 2>/dev/null || true)
    kill "$pid" 2>/dev/null || true
    e2e_wait_exit "$pid" 20 || true
    sleep 0.5
    unmount
    sleep 0.5
    calls=$(awk '{s = 0; for (i = 2; i <= NF; i += 2) s += $i; print s}' "$E2E_TMP/delayfs-calls.txt" 2>/dev/null || echo -)
    rm -f "$E2E_TMP/delayfs-calls.txt"
    read -r wheel question walk <<<"${probe:-- - -}"
    printf '%s %s %s %s %s %s\n' "$bare" "$drawn" "${wheel:--}" "${question:--}" "${walk:--}" "$calls"
}

echo "launcher: $LAUNCHER"
echo "51 programs (25 found through the candidate file), one picture file each; times in ms"
printf '%-9s %10s %9s %9s %9s %9s %9s\n' "delay" "bare start" "start" "wheel" "question" "walk" "fs calls"
for delay in "${DELAYS[@]}"; do
    read -r bare start wheel question walk calls <<<"$(run_at "$delay")"
    printf '%-9s %10s %9s %9s %9s %9s %9s\n' "$delay ms" "$bare" "$start" "$wheel" "$question" "$walk" "$calls"
done
