#!/usr/bin/env bash
# Configures and builds Skirrow into build/ (set BUILD_DIR to change it; extra arguments go to cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja "$@" >/dev/null
cmake --build "$build_dir"
