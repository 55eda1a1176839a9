#!/usr/bin/env bash
# Configures and builds the host tree (which builds the Windows tree and boots
# the Wine template prefixes).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset host >/dev/null
cmake --build --preset host
