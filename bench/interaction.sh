#!/usr/bin/env bash
# Interaction benchmark (a report, not a test): what the launcher costs at rest and for each thing a user
# does, against bare_window.exe doing the same (it repaints the cells a move changes and its grid on a
# wheel notch), as launcher/bare ratios from one run that takes the two programs in turn, under one Xvfb
# and one persistent wineserver:
#   start to drawn (ms, 96 dpi, warm);
#   at rest after a tooltip: CPU (ms) and context switches (wake-ups) over IDLE_SECONDS after the pointer
#   rested on the exit button until its tip showed and then left it;
#   CPU per pointer move across tiles and inside one tile (ms);
#   CPU per wheel notch, its repaint (ms);
#   private memory (anonymous resident kB) after one and after five full scrolls, at 96, 144 and 192 dpi.
#
# Usage: bench/interaction.sh BUILD_DIR [RUNS] (BUILD_DIR a Release build, build/win). BARE names another
# bare_window.exe (to measure an older launcher against the same yardstick); IDLE_SECONDS (20) the rest.
set -euo pipefail

BUILD=$(cd "${1:?usage: interaction.sh BUILD_DIR [RUNS]}" && pwd)
RUNS=${2:-1}
IDLE_SECONDS=${IDLE_SECONDS:-20}
HERE=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/e2e/lib.sh
. "$HERE/../tests/e2e/lib.sh"

# The launcher with every program of the default catalogue installed, and the bare window (bench/stage.sh).
# shellcheck source=bench/stage.sh
. "$HERE/stage.sh"
bench_setup
[ -z "${BARE:-}" ] || cp "$BARE" "$root/bare_window.exe"

TICK=$(getconf CLK_TCK)
# CPU time of a process so far (user and system, all its threads), in ms.
cpu_ms() { awk -v tick="$TICK" '{printf "%.0f\n", ($14 + $15) * 1000 / tick}' "/proc/$1/stat"; }
# Context switches of all its threads so far: each is a wake-up or a preemption.
switches() { cat "/proc/$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {s += $2} END {print s}'; }
private_kb() { awk '/^RssAnon:/ {print $2}' "/proc/$1/status"; }

# The screen's resolution for the programs started from now on.
set_dpi() {
    "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w
    "$WINESERVER" -p
    "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# Runs xdotool's commands $@ and prints the CPU that process $1 spent meanwhile and in the half second after.
cpu_during() {
    local pid=$1 before
    shift
    before=$(cpu_ms "$pid")
    xdotool "$@"
    sleep 0.5
    echo $(($(cpu_ms "$pid") - before))
}

# Where things are on the screen of program $1 (launcher or bare) at $2 dpi, device pixels: the first
# and second tile (or cell), the exit button, a place with no tip on the title bar, the tile area.
points() {
    local f=$(($2 * 100 / 96))
    if [ "$1" = launcher ]; then
        echo "$((104 * f / 100)) $((132 * f / 100)) $((284 * f / 100)) $((1024 - 31 * f / 100)) $((30 * f / 100))"
    else
        echo "90 122 270 993 30"
    fi
}

# One program, started and measured: prints "name dpi measure value" lines. $1 launcher or bare, $2 dpi,
# $3 the drawn colour at the watched point (96 dpi only), then the command.
measure() {
    local name=$1 dpi=$2 colour=$3 pid line
    shift 3
    read -r x1 y x2 exitx exity <<<"$(points "$name" "$dpi")"
    if [ "$dpi" = 96 ]; then
        line=$("$E2E_TMP/pixelprobe" "$x1" "$y" "$colour" 20000 -- "$@")
        read -r _ drawn pid <<<"$line"
        echo "$name $dpi start_to_drawn_ms $drawn"
    else
        "$@" >/dev/null 2>&1 &
        pid=$!
    fi
    sleep 3
    if [ "$dpi" = 96 ]; then
        # The exit button's tip shows, then the pointer goes to the title bar, where nothing has a tip.
        xdotool mousemove "$exitx" "$exity" sleep 0.2 mousemove $((exitx - 1)) "$exity"
        sleep 2
        xdotool mousemove 400 "$exity"
        sleep 1
        local c0 s0
        c0=$(cpu_ms "$pid")
        s0=$(switches "$pid")
        sleep "$IDLE_SECONDS"
        echo "$name $dpi rest_cpu_ms $(($(cpu_ms "$pid") - c0))"
        echo "$name $dpi rest_wakeups $(($(switches "$pid") - s0))"
        local across=() inside=() i
        for i in $(seq 1 100); do
            across+=(mousemove "$x1" "$y" sleep 0.02 mousemove "$x2" "$y" sleep 0.02)
            inside+=(mousemove "$x1" "$y" sleep 0.02 mousemove $((x1 + 4)) $((y + 4)) sleep 0.02)
        done
        echo "$name $dpi move_across_cpu_ms $(cpu_during "$pid" "${across[@]}" | awk '{printf "%.3f", $1 / 200}')"
        echo "$name $dpi move_inside_cpu_ms $(cpu_during "$pid" "${inside[@]}" | awk '{printf "%.3f", $1 / 200}')"
    fi
    xdotool mousemove 500 400
    local notches=() i
    for i in $(seq 1 20); do
        notches+=(click 5 sleep 0.1 click 4 sleep 0.1)
    done
    echo "$name $dpi notch_cpu_ms $(cpu_during "$pid" "${notches[@]}" | awk '{printf "%.2f", $1 / 40}')"
    # Full scrolls: to the end of the grid and back.
    local scroll=() first
    for i in $(seq 1 15); do scroll+=(click 5 sleep 0.03); done
    for i in $(seq 1 15); do scroll+=(click 4 sleep 0.03); done
    for i in 1 2 3 4 5; do
        xdotool "${scroll[@]}"
        sleep 0.5
        [ "$i" = 1 ] && first=$(private_kb "$pid")
    done
    echo "$name $dpi private_kb_after_1_scroll $first"
    echo "$name $dpi private_kb_growth_1_to_5 $(($(private_kb "$pid") - first))"
    kill "$pid" 2>/dev/null || true
    e2e_wait_exit "$pid" 10 || true
    sleep 0.5
}

# The colour the watched point settles to, from a first start that also writes the settings file and
# warms every cache (as bench/startup.sh).
settle_colour() {
    local x=$1 y=$2 pid colour
    shift 2
    "$@" >/dev/null 2>&1 &
    pid=$!
    sleep 4
    colour=$(e2e_pixel "$x" "$y" | awk -F, '{printf "%02x%02x%02x", $1, $2, $3}')
    kill "$pid" 2>/dev/null || true
    e2e_wait_exit "$pid" 10 || true
    sleep 0.3
    echo "$colour"
}

launcher_cmd=("$WINE64" 'T:\Tessaly Launcher\launcher.exe')
bare_cmd=("$WINE64" 'T:\bare_window.exe')
results="$E2E_TMP/results.txt"
: >"$results"
for dpi in 96 144 192; do
    set_dpi "$dpi"
    launcher_colour=000000
    bare_colour=000000
    if [ "$dpi" = 96 ]; then
        launcher_colour=$(settle_colour 104 132 "${launcher_cmd[@]}")
        bare_colour=$(settle_colour 90 122 "${bare_cmd[@]}")
    fi
    for _ in $(seq 1 "$RUNS"); do
        measure launcher "$dpi" "$launcher_colour" "${launcher_cmd[@]}" >>"$results"
        measure bare "$dpi" "$bare_colour" "${bare_cmd[@]}" >>"$results"
    done
done

# The median of each measure for each program, side by side, with the ratio.
echo "runs: $RUNS each, taken in turn; rest over $IDLE_SECONDS s; $(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg)"
printf '%-28s %5s %12s %12s %8s\n' measure dpi launcher bare ratio
awk '{k = $3 " " $2; v[$1 " " k] = v[$1 " " k] " " $4; keys[k] = 1}
    function median(list,   n, a, i, j, t) {
        n = split(list, a, " ")
        for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] + 0 < a[i] + 0) { t = a[i]; a[i] = a[j]; a[j] = t }
        return a[int((n + 1) / 2)]
    }
    END {
        for (k in keys) {
            split(k, p, " ")
            l = median(v["launcher " k]); b = median(v["bare " k])
            printf "%-28s %5s %12s %12s %8s\n", p[1], p[2], l, b, (b + 0 != 0 ? sprintf("%.2f", l / b) : "-")
        }
    }' "$results" | sort -k2,2n -k1,1
