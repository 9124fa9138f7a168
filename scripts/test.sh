#!/usr/bin/env bash
# The project's test command: installs what the tests need, builds the default preset and
# runs every test. Works on a fresh Debian 12 machine of the project's kind.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
scripts/check-format.sh
ctest --preset default -j"$(nproc)"
