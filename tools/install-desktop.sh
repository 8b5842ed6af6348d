#!/usr/bin/env bash
# Installs the built suite for the current user, without root: quillon (with English.ini) and
# vesk into PREFIX/bin, quillon's desktop entry, the MIME type of *.mech and the icon under
# PREFIX/share; then refreshes the MIME and desktop databases, so that the desktop (xdg-open)
# starts quillon for a *.mech document. PREFIX is the first argument, ~/.local by default; the
# build is build/ of the source tree, or SUITE_BUILD_DIR when set.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
prefix=$(realpath -m "${1:-$HOME/.local}")
# xdg-open takes the program from Exec up to the first blank, quotes and all.
case "$prefix" in
  *[[:space:]\"\'\\]*) echo "install-desktop.sh: the prefix must hold no blanks or quotes: $prefix" >&2; exit 2 ;;
esac
cmake --install "${SUITE_BUILD_DIR:-$root/build}" --prefix "$prefix"
# The entry names the installed program by its full path: PREFIX/bin need not be on the PATH
# of whatever starts the document.
sed -i "s|^Exec=quillon |Exec=$prefix/bin/quillon |" "$prefix/share/applications/quillon.desktop"
update-mime-database "$prefix/share/mime"
update-desktop-database "$prefix/share/applications"
# The animator is the default program of its documents, also where another claims the type.
xdg-mime default quillon.desktop application/x-quillon-mech
