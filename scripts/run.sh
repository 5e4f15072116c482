#!/usr/bin/env bash
# Installs what is missing, builds, and runs the tool.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/quarvel "$@"
