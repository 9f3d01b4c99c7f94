#!/bin/sh
# The build stops on a catalogue of the page's words that another language
# could not be shown from: each fault is made once, in a copy of uk.txt.
set -u
tool=$1 words=$2 page=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$tool" "$words" "$page" "$tmp/page" "$tmp/words.js" || { echo "the catalogues as they stand are refused"; exit 1; }
failed=0
check() { # what, a sed script for uk.txt, what the tool must name
    rm -rf "$tmp/words"
    cp -r "$words" "$tmp/words"
    sed -i "$2" "$tmp/words/uk.txt"
    if said=$("$tool" "$tmp/words" "$page" "$tmp/page" "$tmp/words.js" 2>&1); then
        echo "not stopped: $1"
        failed=1
    elif ! printf '%s' "$said" | grep -qF "$3"; then
        echo "$1, but the tool said: $said"
        failed=1
    fi
}
check "a missing key" '/^bar.help = /d' 'lacks bar.help'
check "a stray key" '$a stray.key = x' 'stray.key'
check "other placeholders" 's/{known}/{knwn}/' '{knwn}'
check "a missing plural form" '/^picture.roads.few = /d' 'picture.roads.few'
exit $failed
