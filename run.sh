#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillon Animator (a document path may follow).
source "$(dirname "$0")/tools/bootstrap.sh"
exec "$root/build/animator/app/quillon" "$@"
