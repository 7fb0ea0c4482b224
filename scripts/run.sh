#!/usr/bin/env bash
# Sets up the machine, builds, and starts Skirrow. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${SKIRROW_SCRIPT:-}" ]; then
  echo "run: no display here, so Skirrow runs headless until stopped (Ctrl-C); set" >&2
  echo "run: SKIRROW_SCRIPT to drive it (see src/host/README.md)" >&2
fi
exec build/bin/skirrow "$@"
