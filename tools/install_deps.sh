#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12 / Ubuntu.
# Only asks apt when something is missing.
set -eu
packages=(
  g++ cmake ninja-build pkg-config
  libx11-dev libxext-dev libegl-dev libgl-dev libglu1-mesa-dev libegl-mesa0 libgl1-mesa-dri
  libfontconfig-dev libfreetype-dev fonts-liberation
  xvfb xauth libxtst-dev libgtest-dev libbenchmark-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
