#!/bin/sh
# Checks a built Debian package as a distribution would: lintian must report no error and no
# warning (information tags are listed; each one left has its reason in docs/developing.md), and
# the AppStream metadata it carries must validate. Exits 1 on any failure.
# Usage: check_package.sh [--lintian-if-installed] <.deb file, or the folder that holds one>
set -u
lintian_needed=yes
if [ "${1:-}" = "--lintian-if-installed" ]; then
    lintian_needed=no
    shift
fi
deb=${1:?usage: check_package.sh [--lintian-if-installed] <.deb or folder>}
if [ -d "$deb" ]; then
    set -- "$deb"/*.deb
    if [ "$#" -ne 1 ] || [ ! -f "$1" ]; then
        echo "check_package: expected one .deb in $deb, found: $*" >&2
        exit 1
    fi
    deb=$1
fi
status=0

if command -v lintian >/dev/null 2>&1; then
    # As root lintian warns that it is root; that is about the machine, not the package.
    if lintian --display-info --fail-on error,warning "$deb"; then
        echo "check_package: lintian: no error and no warning"
    else
        echo "check_package: lintian reported errors or warnings (above)" >&2
        status=1
    fi
elif [ "$lintian_needed" = yes ]; then
    echo "check_package: lintian is not installed (Debian package lintian; make package installs it)" >&2
    status=1
else
    echo "check_package: lintian is not installed, so it was not run (make package installs it)"
fi

if ! command -v appstreamcli >/dev/null 2>&1; then
    echo "check_package: appstreamcli is not installed (Debian package appstream)" >&2
    exit 1
fi
unpacked=$(mktemp -d)
dpkg-deb -x "$deb" "$unpacked"
set -- "$unpacked"/usr/share/metainfo/*.metainfo.xml
if [ "$#" -ne 1 ] || [ ! -f "$1" ]; then
    echo "check_package: the package holds no single metainfo file in /usr/share/metainfo" >&2
    status=1
elif ! appstreamcli validate --no-net "$1"; then
    echo "check_package: the AppStream metadata is not valid" >&2
    status=1
fi
rm -rf "$unpacked"
exit "$status"
