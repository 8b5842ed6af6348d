#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
source "$(dirname "$0")/tools/bootstrap.sh"
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
