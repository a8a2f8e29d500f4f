# Shared by scripts/run, scripts/test and scripts/fuzz: package installation, the Wine prefix and the fuzz
# harnesses.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64

# Installs the Debian packages that are missing (apt-get update only when something is missing).
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

BUILD_PACKAGES=(cmake ninja-build g++ googletest libbenchmark-dev clang-format g++-mingw-w64-x86-64-posix)
WINE_PACKAGES=(wine wine64 xvfb xdotool x11-utils imagemagick fonts-liberation)
# scripts/package (wixl, msibuild, msiinfo, msiextract, zip), and strings for its test (tests/e2e/test_package.sh).
PACKAGE_PACKAGES=(wixl msitools zip binutils)
# libFuzzer and its sanitizers come with clang's runtime libraries.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
FUZZ_HARNESSES=(settings discovery picture launcher)

# Builds the fuzz harnesses of tests/fuzz with clang in build/fuzz (the host build keeps g++ and GoogleTest).
build_fuzz_harnesses() {
    CC=clang CXX=clang++ cmake -S "$ROOT" -B "$ROOT/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE="-O1 -g" -DLAUNCHER_FUZZ=ON -DLAUNCHER_TESTS=OFF >/dev/null
    cmake --build "$ROOT/build/fuzz"
}

# Runs each harness over its corpus in tests/fuzz/corpus, then on new inputs, $1 seconds in all shared
# among the harnesses. New inputs are kept in build/fuzz/corpus/<harness>, an input that breaks a harness
# in build/fuzz/findings/. Fails at the first finding, with the harness's report.
run_fuzz_harnesses() {
    local seconds=$(($1 / ${#FUZZ_HARNESSES[@]})) harness log
    mkdir -p "$ROOT/build/fuzz/findings"
    for harness in "${FUZZ_HARNESSES[@]}"; do
        mkdir -p "$ROOT/build/fuzz/corpus/$harness"
        log="$ROOT/build/fuzz/$harness.log"
        if ! "$ROOT/build/fuzz/fuzz_$harness" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
            -artifact_prefix="$ROOT/build/fuzz/findings/$harness-" \
            "$ROOT/build/fuzz/corpus/$harness" "$ROOT/tests/fuzz/corpus/$harness" >"$log" 2>&1; then
            tail -n 40 "$log"
            echo "fuzz_$harness found an input that breaks it (build/fuzz/findings/)"
            return 1
        fi
        echo "$harness: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log"), corpus of" \
            "$(find "$ROOT/tests/fuzz/corpus/$harness" "$ROOT/build/fuzz/corpus/$harness" -type f | wc -l) inputs"
    done
}

# Creates a Wine prefix in $1 that never opens the crash debugger and keeps its wineserver alive.
make_wine_prefix() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LC_ALL=C
    mkdir -p "$WINEPREFIX"
    "$WINE64" wineboot -i >/dev/null 2>&1 || true
    "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f \
        >/dev/null 2>&1
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    # A server that stays for the whole run, with the prefix's services started under it with their output
    # sent nowhere. Were the services started by a test program instead, they would hold that program's
    # output pipe open long after it ended, and ctest would wait for them forever.
    "$WINESERVER" -w
    "$WINESERVER" -p
    "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

stop_wine_prefix() {
    [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k 2>/dev/null || true
}

configure_windows_build() {
    cmake -S "$ROOT" -B "$ROOT/build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" "$@" >/dev/null
}

# ---- Staging: the launcher with its data folder, and the demo suite ----

# The demo suite: programs of the built-in catalogue, "name|executable", each a copy of demo_program.exe.
# They are the first row of the default order after the web link, so a first run shows them at the top
# and the rest of the suite greyed below them.
DEMO_PROGRAMS=("Crossword Maker|crossword.exe" "Map Skills|mapskills.exe" "Island Explorer|island.exe"
    "Rainforest Rescue|rainforest.exe")

# Stages the demo suite beside a staged launcher. $1 the launcher's folder (a path of this shell), $2 the
# same folder as the launcher sees it, without its drive letter (it begins with a backslash), $3
# demo_program.exe, $4 the shipped "poss paths.xml". Each demo program goes to "<folder>\demo\<name>\"
# and the staged copy of "poss paths.xml" gets one more line for it: discovery reads every line with
# the program's name and the last one decides, so the demo copy is what it finds. The shipped file is
# written in the system's 8-bit code page with CR LF line ends, and so are the added lines.
stage_demo_suite() {
    local folder=$1 windows=$2 program=$3 shipped=$4
    case "$windows" in
    *"'"*)
        echo "The launcher's folder ($windows) holds an apostrophe, which a candidate path cannot hold." >&2
        return 1
        ;;
    esac
    local lines="" entry name exe
    for entry in "${DEMO_PROGRAMS[@]}"; do
        name=${entry%%|*}
        exe=${entry#*|}
        mkdir -p "$folder/demo/$name"
        cp "$program" "$folder/demo/$name/$exe"
        lines+="<program name='$name' p1='$windows\\demo\\$name\\$exe' />"$'\r\n'
    done
    local target="$folder/data/poss paths.xml"
    # Everything of the shipped file up to its closing line, the demo lines, then the closing line.
    grep -v -i '^</locations>' "$shipped" >"$target.new"
    if ! printf '%s' "$lines" | iconv -f UTF-8 -t CP1252 >>"$target.new"; then
        echo "The launcher's folder ($windows) has characters that code page 1252 cannot write." >&2
        rm -f "$target.new"
        return 1
    fi
    printf '</locations>\r\n' >>"$target.new"
    mv "$target.new" "$target"
}

# Stages launcher.exe and its data folder from build folder $1 into folder $2 afresh, keeping only a
# settings file (data/progdata.xml) that an earlier run left there: it holds the user's choices.
stage_launcher() {
    local build=$1 folder=$2
    mkdir -p "$folder/data"
    (
        shopt -s nullglob dotglob
        local entry
        for entry in "$folder"/*; do
            [ "$entry" = "$folder/data" ] || rm -rf -- "$entry"
        done
        for entry in "$folder/data"/*; do
            [ "$entry" = "$folder/data/progdata.xml" ] || rm -rf -- "$entry"
        done
    )
    cp "$build/launcher.exe" "$folder/"
    local file
    for file in "$build/data"/*; do
        [ "$(basename "$file")" = progdata.xml ] || cp -r "$file" "$folder/data/"
    done
}
