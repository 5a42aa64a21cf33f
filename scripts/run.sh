#!/usr/bin/env bash
# Builds Kartola, writes the demo cartridge and catalogue beside it, and starts
# the editor on the demo ROM image.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$BUILD_DIR/bin"
exec ./kartola demo.gbc "$@"
