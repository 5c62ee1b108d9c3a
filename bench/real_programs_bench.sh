#!/usr/bin/env bash
# The desktop's real copying programs beside Pictavo, each in a fresh profile as a new user
# would run it: how many of its copies the gallery shows once, twice or more, never, and the
# median time from its copy (the clipboard's change of owner) to the thumbnail shown, against
# a Qt program's copy of a picture of the same size in the same setting (cliptool), timed
# alongside. A double or a loss is reported, not failed on. Installs nothing: a program that
# is not here is a line that says so.
#   gnome-screenshot -c, 3 screenshots, beside Xfce's settings daemon and with no manager;
#   spectacle -b -f -c, 3 screenshots of a busy 3840x2160 screen (an X server of its own);
#   a Win32 program under Wine copying 20 distinct CF_DIB pictures a second apart;
#   Firefox ESR and Chromium (Copy Image), LibreOffice Draw and GIMP (Ctrl+C), one copy each,
#   and, for those four, every image type they offer read back with xclip: time and exactness.
# usage: real_programs_bench.sh PICTAVO TOOLS   (TOOLS: the folder with selection_probe and
# cliptool). ROWS_RUN narrows a run (default: all); LOGS=DIR keeps each round's capture log.
PICTAVO_BIN=${1:?installed pictavo}
tools=${2:?folder with selection_probe and cliptool}
export PICTAVO_BIN SELECTION_PROBE=$tools/selection_probe
CLIPTOOL=$tools/cliptool
e2e=$(cd "$(dirname "$0")/../tests/e2e" && pwd)
source "$e2e/lib.sh"
source "$e2e/managers_lib.sh"
source "$(dirname "$0")/rounds_lib.sh"
source "$(dirname "$0")/real_programs_lib.sh"
source "$(dirname "$0")/real_programs_gui.sh"
REPEAT_ROWS=()

ROWS_RUN=${ROWS_RUN:-gnome-screenshot spectacle wine firefox chromium draw gimp}
# What each look at the clipboard found and decided: the evidence for a double or a loss.
export QT_LOGGING_RULES=pictavo.capture.debug=true
[ -z "${LOGS:-}" ] || mkdir -p "$LOGS"

make_pictures 40
start_owner_clock
started=$(now)
for row in $ROWS_RUN; do
    case $row in
    gnome-screenshot) gnome_screenshot_rows ;;
    spectacle) spectacle_row ;;
    wine) wine_row ;;
    firefox | chromium | draw | gimp) gui_row "$row" ;;
    *) echo "no row $row" >&2 ;;
    esac
done

echo "Real programs beside Pictavo, each in a fresh profile: of its copies, how many the gallery" \
    "shows once, twice or more (doubled), never (lost); entries of another colour (other); median" \
    "time from the copy (the clipboard's change of owner) to its thumbnail shown, against a Qt" \
    "program's copy of a picture of the same size in the same setting (ratio)."
print_rows
if [ ${#REPEAT_ROWS[@]} -gt 0 ]; then
    echo "Repeats, each sequence in a fresh gallery, 3 s apart (Wine: 6 s): the program's picture" \
        "copied three times (same x3); the program's and a fresh xclip's in turn (P xclip P x P), or the" \
        "Win32 program's two pictures in turn (A B A B A): copies shown (taken), shown once more than" \
        "copied (doubled), not shown (lost)."
    repeat_header program beside
    echo
    printf '%s\n' "${REPEAT_ROWS[@]}"
fi
[ ${#TYPE_ROWS[@]} -eq 0 ] || {
    echo "Image types offered (a busy 1920x1080 picture), read with xclip, time to the last byte:"
    printf '%s\n' "${TYPE_ROWS[@]}"
}
echo "($((($(now) - started) / 1000000000)) s)"
