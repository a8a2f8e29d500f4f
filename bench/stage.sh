# Shared by the benchmarks: what they need installed, the pixel probe, the virtual display and Wine prefix
# of the end-to-end tests (tests/e2e/lib.sh, sourced first, with BUILD and HERE set), and the staging of the
# launcher with every program of the default catalogue installed, so that every tile shows its picture, and
# the bare window beside it, under drive T:.
# shellcheck shell=bash

bench_setup() {
    ensure_packages gcc libc6-dev libx11-dev "${WINE_PACKAGES[@]}"
    e2e_init
    cc -O2 -o "$E2E_TMP/pixelprobe" "$HERE/pixelprobe.c" -lX11
    e2e_start_display
    make_wine_prefix "$E2E_TMP/prefix"
    bench_stage
}

bench_stage() {
    folder=$(e2e_stage bench)
    root=$(dirname "$folder")
    # Each program and, where the collection has one, its help-video player.
    for program in "Animal Habitats/habitats" "Animal Habitats/Videos/habitatsvid" "Bridge Builder/bridges" \
        "Clock Tower/clock" "Clock Tower/Videos/clockvid" "Coin Counter/coins" "Colour Mixer/colour" \
        "Crossword Maker/crossword" "Dinosaur Dig/dinodig" "Dinosaur Dig/Videos/dinodigvid" "Fraction Pizza/pizza" \
        "Grammar Garden/grammar" "Handwriting Helper/handwrite" "Island Explorer/island" \
        "Island Explorer/Videos/islandvid" "Map Skills/mapskills" "Music Maker/music" "Number Bonds/bonds" \
        "Number Bonds/Videos/bondsvid" "Phonics Fair/phonics" "Phonics Fair/Videos/phonicsvid" "Planet Quest/planets" \
        "Poetry Studio/poetry" "Rainforest Rescue/rainforest" "Shape Shifter/shapes" "Spelling Bee/spelling" \
        "Story Builder/story" "Symmetry Studio/symmetry" "Table Trainer/tables" "Table Trainer/Videos/tablesvid" \
        "Time Traveller/timetravel" "Typing Trail/typing" "Weather Watch/weather" "Word Search/wordsearch" \
        "Zoo Keeper/zookeeper"; do
        e2e_install_program "$root" "$program.exe" "$BUILD/bare_window.exe"
    done
    cp "$BUILD/bare_window.exe" "$root/bare_window.exe"
}
