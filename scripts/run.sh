#!/usr/bin/env bash
# Sets up the machine, builds, and starts Skirrow. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -x build/bin/skirrow ]; then
  exec build/bin/skirrow "$@"
fi
# The game program is not built yet: run the content author's tool instead.
exec build/bin/skirrow-tool "${@:---help}"
