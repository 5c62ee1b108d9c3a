#!/usr/bin/env bash
# Installs the Debian packages the build needs; with "package", also what makes the Debian
# package; with "test", also what the tests need. Root only. Debian 12 (bookworm), 13
# (trixie) and testing; the names that differ are chosen by the release in /etc/os-release.
set -euo pipefail
# shellcheck source=/dev/null
. /etc/os-release
release=${VERSION_CODENAME:-}
case $release in
bookworm)
    # Qt's SVG image plugin is part of libqt6svg6 here.
    svg_plugins=()
    clang=14
    # Clipboard managers that the release still ships.
    managers=(parcellite) ;;
trixie)
    svg_plugins=(qt6-svg-plugins)
    clang=19
    managers=() ;;
*)
    # Testing and unstable: the release's own clang, whichever that is now.
    svg_plugins=(qt6-svg-plugins)
    clang=
    managers=() ;;
esac

build=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 "${svg_plugins[@]}"
       libgl-dev libxcb1-dev libxcb-xfixes0-dev libxcb-res0-dev libxcb-xinput-dev libwayland-dev libturbojpeg0-dev libemf2svg-dev libwmf-dev librsvg2-dev
       libcups2-dev libzstd-dev qt6-tools-dev qt6-l10n-tools)
# CPack finds the binaries with file and their dependencies with dpkg-shlibdeps.
package=(dpkg-dev file)
# The desktop's clipboard managers, screenshot tool and copying programs that the end-to-end
# tests run beside the program.
desktop=(xfce4-settings xfce4-screenshooter xfce4-clipman gpaste-2 diodon zeitgeist-core
         plasma-workspace "${managers[@]}" copyq eog python3-gi gir1.2-gtk-3.0 gir1.2-gtk-4.0
         gir1.2-gdkpixbuf-2.0 python3-pyqt5 default-jdk libglib2.0-bin dbus-x11 x11-xserver-utils)
test=("${package[@]}" lintian desktop-file-utils appstream googletest libgtest-dev libbenchmark-dev xvfb openbox xclip xdotool x11-utils
      cups cups-bsd cups-client printer-driver-cups-pdf poppler-utils imagemagick
      libjpeg-turbo-progs procps fonts-dejavu-core
      sway xwayland wl-clipboard qt6-wayland grim weston jq kwin-wayland mutter wayland-utils dbus
      zlib1g-dev python3-gi gir1.2-gtk-3.0 qt6-translations-l10n python3 python3-pyatspi
      gir1.2-atspi-2.0 at-spi2-core)
pkgs=("${build[@]}")
# The desktop's programs serve only the end-to-end tests beside them: a run limited to other
# labels (test.sh's PICTAVO_TEST_LABELS) goes without.
if [ -n "${PICTAVO_TEST_LABELS:-}" ] && ! grep -qwE 'e2e|desktop' <<<"$PICTAVO_TEST_LABELS"; then
    desktop=()
fi
case ${1:-} in
test) pkgs+=("${test[@]}" "${desktop[@]}") ;;
package) pkgs+=("${package[@]}") ;;
esac

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }
# The fuzzer's clang, with its runtime (libFuzzer and the sanitizers).
clang_packages() { pkgs+=("clang-$clang" "libclang-rt-$clang-dev"); }
updated=
update() {
    [ -z "$updated" ] || return 0
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    updated=1
}

if [ "${1:-}" = test ]; then
    if [ -z "$clang" ]; then
        # The version that the release's clang stands for; once installed, that one.
        clang=$(dpkg-query -W -f='${Depends}' clang 2>/dev/null | grep -o 'clang-[0-9]\+' | head -n 1 | cut -d- -f2 || true)
        if [ -z "$clang" ] && [ "$(id -u)" -eq 0 ]; then
            update
            clang=$(apt-cache depends clang 2>/dev/null | grep -o 'clang-[0-9]\+' | head -n 1 | cut -d- -f2 || true)
        fi
        [ -n "$clang" ] || { echo "deps.sh: cannot tell which clang this release ships" >&2; exit 1; }
        pkgs+=(clang)
    fi
    clang_packages
fi

missing=()
for p in "${pkgs[@]}"; do
    installed "$p" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages (run as root to install): ${missing[*]}" >&2
    exit 1
fi
update
apt-get install -y -q --no-install-recommends "${missing[@]}"
