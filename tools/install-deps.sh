#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, test and run.
# Only what is missing is installed, so a ready machine pays nothing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git lld
    clang-format-14 clang-tidy-14
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    zlib1g-dev libminizip-dev libpng-dev libjpeg62-turbo-dev libtinyxml-dev
    libsdl2-dev libvorbis-dev libcairo2-dev libfreetype-dev
    fonts-linuxlibertine fonts-lato fonts-arphic-ukai
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
