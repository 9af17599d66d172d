#!/usr/bin/env bash
# Compares two folders of window pictures (from build/bin/screenshots) pixel for pixel.
# Exits nonzero and names every picture that differs or is in only one folder.
set -uo pipefail
if [ $# -ne 2 ] || [ ! -d "$1" ] || [ ! -d "$2" ]; then
    echo "usage: $0 <dir-a> <dir-b>" >&2
    exit 2
fi
a="$1"
b="$2"
bad=0
total=0
while IFS= read -r name; do
    total=$((total + 1))
    if [ ! -f "$a/$name" ]; then echo "only in $b: $name"; bad=$((bad + 1)); continue; fi
    if [ ! -f "$b/$name" ]; then echo "only in $a: $name"; bad=$((bad + 1)); continue; fi
    sa=$(identify -format '%wx%h' "$a/$name" 2>/dev/null)
    sb=$(identify -format '%wx%h' "$b/$name" 2>/dev/null)
    if [ -z "$sa" ] || [ "$sa" != "$sb" ]; then
        echo "differs: $name (size ${sa:-unreadable} vs ${sb:-unreadable})"
        bad=$((bad + 1))
        continue
    fi
    # compare prints the number of differing pixels on stderr.
    n=$(compare -metric AE "$a/$name" "$b/$name" null: 2>&1 >/dev/null)
    if [ "$n" != "0" ]; then
        echo "differs: $name ($n pixels)"
        bad=$((bad + 1))
    fi
done < <({ (cd "$a" && ls -1 -- *.png 2>/dev/null); (cd "$b" && ls -1 -- *.png 2>/dev/null); } | sort -u)
if [ "$total" -eq 0 ]; then
    echo "no pictures in $a or $b" >&2
    exit 2
fi
if [ "$bad" -ne 0 ]; then
    echo "$bad of $total pictures differ"
    exit 1
fi
echo "all $total pictures equal"
