#!/usr/bin/env bash
# Builds OpenSSL as static libraries for x86_64-w64-mingw32 from Debian's
# source package and caches the result outside the checkout. Prints the
# install prefix. Reuses the cache when it is already there.
set -euo pipefail

cache="${VELKIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velkin}"
prefix="$cache/openssl-mingw64"
if [ -f "$prefix/lib64/libssl.a" ] || [ -f "$prefix/lib/libssl.a" ]; then
    echo "$prefix"
    exit 0
fi

sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

# A deb-src entry for the running suite, in a file of its own.
src_list=/etc/apt/sources.list.d/velkin-deb-src.sources
if [ ! -f "$src_list" ]; then
    . /etc/os-release
    suite="${VERSION_CODENAME:-bookworm}"
    $sudo_cmd tee "$src_list" >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $suite-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    $sudo_cmd apt-get update -qq >&2
fi

work="$cache/openssl-src"
rm -rf "$work"
mkdir -p "$work"
(
    cd "$work"
    # The newest source listed is not always on the mirror yet: fall back
    # through the suites until one downloads.
    . /etc/os-release
    suite="${VERSION_CODENAME:-bookworm}"
    for want in openssl "openssl/$suite-updates" "openssl/$suite"; do
        rm -f openssl_*
        apt-get source -qq --download-only "$want" >&2 && break
    done
    ls openssl_*.dsc >/dev/null
    dpkg-source --no-check -x openssl_*.dsc src >/dev/null
    cd src
    ./Configure mingw64 --cross-compile-prefix=x86_64-w64-mingw32- \
        no-shared no-tests --prefix="$prefix.tmp" --libdir=lib >&2
    make -j"$(nproc)" build_libs >&2
    make install_dev >&2
)
rm -rf "$prefix"
mv "$prefix.tmp" "$prefix"
rm -rf "$work"
echo "$prefix"
