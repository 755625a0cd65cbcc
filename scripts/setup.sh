#!/usr/bin/env bash
# Installs what the builds and tests need from Debian's packages. Quiet and
# quick when everything is already there; safe to run again at any time.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang-format clang libclang-rt-14-dev
  libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 fonts-wine
  # For machines whose kernel cannot run 32-bit code: the same sources for x86_64.
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64
  xvfb x11-apps xdotool imagemagick fonts-ipafont-gothic locales
  # A desk of several monitors: Xorg's dummy driver, arranged by xrandr.
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  # chmcmd, the compiler of the HTML Help file, and chmlib, which the tests read it with.
  fp-utils libchm-dev
  # The release archive's normaliser.
  strip-nondeterminism
)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes the code page (932) from LC_ALL's name, but the encoding of Unix
# file names from the real locale: without it, Japanese file names fail.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  $SUDO sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
