#!/usr/bin/env bash
# A person who copies the same picture again expects it again: beside each clipboard manager
# (and none), one picture copied three times by a fresh xclip each time, and another three
# times by a Qt program that stays, a few seconds apart: six pictures, none twice more.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/managers_lib.sh"
source "$(dirname "$0")/repeats_lib.sh"

make_pictures 2
start_copiers qt5

thrice() {
    local n copy kind
    for n in 1 2; do
        kind=$([ "$n" = 1 ] && echo xclip || echo qt5)
        for copy in 1 2 3; do
            pace 3
            copy_with "$kind" "$E2E_TMP/picture$n.png"
            taken_as "$n" "$copy" "copy $copy of picture $n by $kind"
        done
    done
    expect_gallery "1 1 1 2 2 2"
}
beside_each thrice
echo "the same picture thrice: ok"
