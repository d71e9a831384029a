#!/usr/bin/env bash
# Configures and builds the given presets (default: all three).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native win64 product)
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
