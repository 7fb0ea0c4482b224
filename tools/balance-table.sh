#!/usr/bin/env bash
# Prints the balance table of docs/BALANCE.md: for every room and skill level, BATTLES seeded
# battles (default 20, seeds 1..BATTLES) of the computer pilots on the game's rules, undrawn.
# Usage: tools/balance-table.sh [BUILD_DIR] [BATTLES]
set -euo pipefail
build=${1:-build}
battles=${2:-20}
tool="$build/bin/skirrow-tool"
echo "| room | skill | battles | team A won | lost | ties | time-outs | mean game seconds | A win rate |"
echo "|---|---|---|---|---|---|---|---|---|"
for skill in 0 1 2; do
  "$tool" battle --room all --skill "$skill" --battles "$battles" --seed 1 --draw none |
    awk -v skill="$skill" '$1 == "summary" {
      name = $3; gsub("_", " ", name)
      printf "| %d %s | %d | %d | %d | %d | %d | %d | %.0f | %.0f %% |\n",
             $2, name, skill, $4, $5, $6, $7, $8, $10, 100 * $5 / $4
    }'
done | sort -t'|' -k2,2 -k3,3n
