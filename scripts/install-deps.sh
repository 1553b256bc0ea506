#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, and
# only what is missing. Then builds OpenSSL for MinGW once (cached).
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
    libgtest-dev googletest libbenchmark-dev libpugixml-dev libssl-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth x11-utils imagemagick
    python3 python3-aiosmtpd openssl dpkg-dev
    fp-utils nsis zip unzip
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cache="${VELKIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velkin}"
mkdir -p "$cache"
log="$cache/openssl-build.log"
if ! prefix="$("$(dirname "$0")/build-openssl-mingw.sh" 2>"$log")"; then
    echo "The OpenSSL build failed; the end of $log:" >&2
    tail -40 "$log" >&2
    exit 1
fi
echo "OpenSSL for MinGW: $prefix"
