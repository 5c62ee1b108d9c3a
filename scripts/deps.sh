#!/usr/bin/env bash
# Installs the Debian packages the build needs; with "package", also what makes the Debian
# package; with "test", also what the tests need. Root only.
set -euo pipefail
build=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libqt6svg6
       libgl-dev libxcb1-dev libxcb-xfixes0-dev libxcb-res0-dev libxcb-xinput-dev libwayland-dev libturbojpeg0-dev libemf2svg-dev libwmf-dev librsvg2-dev
       libcups2-dev libzstd-dev qt6-tools-dev qt6-l10n-tools)
# CPack finds the binaries with file and their dependencies with dpkg-shlibdeps.
package=(dpkg-dev file)
# The desktop's clipboard managers, screenshot tool and copying programs that the end-to-end
# tests run beside the program.
desktop=(xfce4-settings xfce4-screenshooter xfce4-clipman gpaste-2 diodon zeitgeist-core
         plasma-workspace parcellite copyq eog python3-gi gir1.2-gtk-3.0 gir1.2-gtk-4.0
         gir1.2-gdkpixbuf-2.0 python3-pyqt5 default-jdk libglib2.0-bin dbus-x11 x11-xserver-utils)
test=("${package[@]}" lintian desktop-file-utils appstream googletest libgtest-dev libbenchmark-dev xvfb openbox xclip xdotool x11-utils
      cups cups-bsd cups-client printer-driver-cups-pdf poppler-utils imagemagick
      libjpeg-turbo-progs procps fonts-dejavu-core clang-14 libclang-rt-14-dev
      sway xwayland wl-clipboard qt6-wayland grim weston jq kwin-wayland mutter wayland-utils dbus
      zlib1g-dev python3-gi gir1.2-gtk-3.0 qt6-translations-l10n python3 python3-pyatspi
      gir1.2-atspi-2.0 at-spi2-core)
pkgs=("${build[@]}")
case ${1:-} in
test) pkgs+=("${test[@]}" "${desktop[@]}") ;;
package) pkgs+=("${package[@]}") ;;
esac
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages (run as root to install): ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
