#!/usr/bin/env bash
# The stage's arm64 Debian root with Wine, built with mmdebstrap on first use and cached as a tar.zst under the
# user's cache folder, keyed by this script, the package list and the Debian mirror. Prints the archive's path
# on stdout and what it did on stderr. A cached archive whose checksum no longer matches is rebuilt.
# Needs root, and binfmt_misc registered for arm64 (run.sh does that), since the packages' scripts run arm64 code.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/tarnctx/arm64-root

debian_mirror() {
  apt-get indextargets --format '$(REPO_URI)' 'Codename: bookworm' 'Label: Debian' 'Identifier: Packages' \
    2>/dev/null | head -n 1 | grep . || echo http://deb.debian.org/debian/
}
mirror=$(debian_mirror)
key=$( (cd "$here" && cat root.sh root-packages; echo "$mirror") | sha256sum | cut -c1-16)
archive=$cache/root-$key.tar.zst
mkdir -p "$cache"
exec 9>"$cache/lock"
flock 9  # one build at a time; a second caller waits and then finds it ready

if [ -f "$archive" ] && [ -f "$archive.sha256" ]; then
  if (cd "$cache" && sha256sum --status -c "$(basename "$archive").sha256"); then
    echo "arm64 root: cached in $archive" >&2
    echo "$archive"
    exit 0
  fi
  echo "arm64 root: the cached $archive does not match its checksum: building it again" >&2
fi
partial=$cache/partial-$key.tar.zst
rm -f "$archive" "$archive.sha256" "$cache"/partial-*
command -v mmdebstrap >/dev/null ||
  { echo "arm64 root: mmdebstrap is missing: run tools/setup.sh" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "arm64 root: building it needs root" >&2; exit 1; }

start=$SECONDS
echo "arm64 root: building an arm64 Debian bookworm with Wine from $mirror (about 6 minutes, once)" >&2
log=$cache/build.log
mapfile -t packages < <(grep -v '^#' "$here/root-packages")
include=$(IFS=,; echo "${packages[*]}")
# The packages' own output goes to a log, shown only when the build failed.
if ! timeout -k 30 1800 mmdebstrap --mode=root --arch=arm64 --variant=minbase --include="$include" \
     --aptopt='Acquire::Retries "3"' bookworm "$partial" "$mirror" >"$log" 2>&1 </dev/null; then
  tail -n 30 "$log" >&2
  echo "arm64 root: mmdebstrap failed (log: $log); check the network and the mirror $mirror, then run again" >&2
  rm -f "$partial"
  exit 1
fi
# Written under another name and moved into place whole, so that an interrupted build leaves no archive.
mv "$partial" "$archive"
(cd "$cache" && sha256sum "$(basename "$archive")" >"$(basename "$archive").sha256")
rm -f "$log"
# Archives of earlier keys are of no further use.
find "$cache" -maxdepth 1 -name 'root-*.tar.zst*' ! -name "$(basename "$archive")*" -delete
echo "arm64 root: built in $((SECONDS - start)) s: $archive ($(du -m "$archive" | cut -f1) MB)" >&2
echo "$archive"
