#!/bin/sh
# Installs the Debian packages that Pitlorex needs and that are not installed yet.
# Usage: tools/install-deps.sh play|package|test   (package adds the packaging tools; test
# brings those and the test rigs' packages)
# Works as root, or as a normal user through sudo. Downloads nothing but Debian packages.
set -eu

# To build and play: compiler and build tools, the game library, the font rasteriser, the PNG
# library the data builder writes pictures with, the MIDI patch set the tunes play through,
# xmessage for error boxes, the fonts the game copies, Xlib for the window's properties and
# RandR for the monitors.
play_packages="g++ make cmake pkg-config liballegro4-dev libfreetype-dev libpng-dev freepats
x11-utils fonts-bebas-neue fonts-yanone-kaffeesatz libx11-dev libxrandr-dev"
# To test: GoogleTest, a font with kerning for the font tests, a virtual X server, X input
# synthesis, the cursor the X server shows (XFixes), screenshots, clang for the fuzzer, an
# X server with two monitors (Xorg's dummy driver, xrandr) under a window manager (openbox), and
# a Wayland desktop with its X server to end under the game (weston, Xwayland), and GNOME's
# window manager in X11 mode, which composites (mutter, with the session bus it needs).
test_packages="libgtest-dev fonts-dejavu-core xvfb xdotool imagemagick libx11-dev libxtst-dev libxfixes-dev clang
libclang-rt-dev xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils openbox wmctrl
weston xwayland mutter dbus"
# To build the Debian package: dpkg-shlibdeps for its dependencies, file to find its programs;
# to test it: lintian and the menu entry's and the metadata's validators.
package_packages="dpkg-dev file"
package_test_packages="lintian desktop-file-utils appstream"

wanted=$play_packages
[ "${1:-play}" = package ] && wanted="$play_packages $package_packages"
[ "${1:-play}" = test ] && wanted="$play_packages $test_packages $package_packages $package_test_packages"

missing=""
for p in $wanted; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
