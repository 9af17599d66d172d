#!/usr/bin/env bash
# Sets up, builds and runs every test (headless).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
dir="${BUILD_DIR:-$here/build}"
"$here/tools/setup.sh"
"$here/tools/build.sh" "$dir" "$@"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
