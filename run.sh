#!/usr/bin/env bash
# Sets up, builds and starts the program.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/tools/setup.sh"
"$here/tools/build.sh" "$here/build"
exec "$here/build/bin/vorad"
