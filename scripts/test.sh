#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh "$@"
export SKIRROW_HOST=headless
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j"$(nproc)"
