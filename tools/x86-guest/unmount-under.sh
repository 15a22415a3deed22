#!/usr/bin/env bash
# Unmounts everything mounted under a folder, innermost first; fails if anything stays mounted, so that no
# caller removes the folder while the host's /dev or /proc is still bound inside it.
set -uo pipefail
root=$(realpath -m "$1")
mounted() { awk -v root="$root/" 'index($2 "/", root) == 1 { print $2 }' /proc/self/mounts | sort -r; }
for point in $(mounted); do umount "$point" 2>/dev/null || umount -l "$point"; done
left=$(mounted)
[ -z "$left" ] || { echo "still mounted under $root: $left" >&2; exit 1; }
