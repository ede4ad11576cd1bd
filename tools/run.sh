#!/usr/bin/env bash
# Starts Tarvex: the command line's live view.
set -euo pipefail
cd "$(dirname "$0")/.."
exec build/bin/tarvex-cli watch
