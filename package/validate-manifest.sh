#!/usr/bin/env bash
# Validates the built manifest against Windows' published schemas, kept beside the repository (the test
# skips, and says so, where they are absent).
# Usage: validate-manifest.sh MANIFEST.xml
set -euo pipefail
validate=$(cd "$(dirname "$0")/.." && pwd)/../shared/appx-schema/validate
if [ ! -x "$validate" ]; then
  echo "SKIPPED: no schema validator at $validate; the manifest was not checked against the schemas" >&2
  exit 77
fi
exec "$validate" "$1"
