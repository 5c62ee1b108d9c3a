#!/usr/bin/env bash
# Runs the README's test command in a fresh Debian chroot, as on a new machine of that release,
# then installs the package built there and starts it. Root only.
#   scripts/test-in.sh RELEASE [LABEL...]      RELEASE: bookworm, trixie or forky
# With labels, only the plain build and the tests with one of those labels run (unit,
# integration, metafile, converter, e2e, desktop, wayland); without, everything.
# PICTAVO_TEST_BUILDS chooses the builds as for test.sh. The chroot is made anew from the
# archive that the machine's own apt sources name, and removed at the end; PICTAVO_CHROOT_KEEP=1
# keeps it (unmounted) for a look.
# The tests run in a network namespace of their own: their X servers and XWayland displays,
# and their cupsd, which listens on a socket only, are the chroot's alone.
set -euo pipefail
release=${1:-}
case $release in
bookworm | trixie) script=$release ;;
# testing has no script of its own; unstable's fits it.
forky) script=sid ;;
*) echo "usage: $0 bookworm|trixie|forky [LABEL...]" >&2; exit 2 ;;
esac
shift
[ "$(id -u)" -eq 0 ] || { echo "test-in.sh: run as root (it makes a chroot)" >&2; exit 2; }
src=$(cd "$(dirname "$0")/.." && pwd)
labels="$*"
builds=${PICTAVO_TEST_BUILDS:-}
[ -z "$labels" ] || builds=${builds:-plain}
command -v debootstrap >/dev/null || { apt-get update -q && apt-get install -y -q --no-install-recommends debootstrap; }

# The archive this machine installs from: the URI of its own release's suite.
archive() {
    local codename
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    if [ -f /etc/apt/sources.list ]; then
        awk -v s="$codename" '$1 == "deb" { sub(/\[[^]]*\] */, ""); if ($3 == s) { print $2; exit } }' \
            /etc/apt/sources.list
    fi
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        # deb822 stanzas: the URI of the one whose suites hold the release itself.
        awk -v s="$codename" 'BEGIN { RS = ""; FS = "\n" }
            { uri = ""; hit = 0
              for (i = 1; i <= NF; i++) {
                  if ($i ~ /^URIs:/) { split($i, u, /[ \t]+/); uri = u[2] }
                  if ($i ~ /^Suites:/) { n = split($i, w, /[ \t]+/); for (j = 2; j <= n; j++) if (w[j] == s) hit = 1 }
              }
              if (hit && uri != "") { print uri; exit } }' "$f"
    done
}
mirror=$(archive | head -n 1)
[ -n "$mirror" ] || { echo "test-in.sh: no Debian archive in this machine's apt sources" >&2; exit 1; }

started=$(date +%s)
phase() { echo "=== test-in.sh $release: $* ($(($(date +%s) - started)) s)"; }

dir=$(mktemp -d "/var/tmp/pictavo-$release.XXXXXX")
# The root of the chroot: its users (lp for the printing filters, nobody) go through it.
chmod 755 "$dir"
mounts=()
mount_in() { # mount_in TARGET MOUNT-ARGS...: mounts and remembers it, kept out of the host's mounts
    local target=$dir/$1
    shift
    mkdir -p "$target"
    mount "$@" "$target"
    mounts=("$target" "${mounts[@]}")
    mount --make-private "$target"
}
cleanup() {
    local status=$? pid
    set +e
    # Whatever still runs inside the chroot (a cupsd, for one) was started by this script.
    inside() {
        local p
        for p in /proc/[0-9]*; do
            [ "$(readlink "$p/root" 2>/dev/null)" != "$dir" ] || echo "${p#/proc/}"
        done
    }
    for pid in $(inside); do kill "$pid" 2>/dev/null; done
    for _ in $(seq 100); do [ -z "$(inside)" ] && break; sleep 0.1; done
    local target
    for target in "${mounts[@]}"; do
        umount "$target" 2>/dev/null || { sleep 1; umount "$target" 2>/dev/null; } || umount -l "$target" ||
            echo "test-in.sh: could not unmount $target" >&2
    done
    if grep -q " $dir/" /proc/mounts; then
        echo "test-in.sh: $dir still has mounts; left in place" >&2
    elif [ "${PICTAVO_CHROOT_KEEP:-}" = 1 ]; then
        echo "test-in.sh: the chroot is kept in $dir"
    else
        rm -rf "$dir"
    fi
    phase "ended with status $status"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

phase "debootstrap into $dir"
debootstrap --variant=minbase "$release" "$dir" "$mirror" "/usr/share/debootstrap/scripts/$script" \
    >"$dir.debootstrap.log" 2>&1 || { tail -n 30 "$dir.debootstrap.log" >&2; rm -f "$dir.debootstrap.log"; exit 1; }
rm -f "$dir.debootstrap.log"
components=main
{
    echo "deb $mirror $release $components"
    [ "$release" = forky ] || echo "deb $mirror $release-updates $components"
} >"$dir/etc/apt/sources.list"
cat >"$dir/etc/apt/apt.conf.d/90pictavo-test" <<'CONF'
// testing's Release files (and a frozen mirror's) can be past their Valid-Until.
Acquire::Check-Valid-Until "false";
Acquire::Languages "none";
Acquire::IndexTargets::deb::DEP-11 { DefaultEnabled "false"; };
CONF
# Packages start no services here: the tests start their own.
printf '#!/bin/sh\nexit 101\n' >"$dir/usr/sbin/policy-rc.d"
chmod 755 "$dir/usr/sbin/policy-rc.d"
cp /etc/resolv.conf "$dir/etc/resolv.conf" 2>/dev/null || true

mount_in proc -t proc proc
mount_in sys -t sysfs sysfs
mount_in dev --bind /dev
mount_in dev/pts --bind /dev/pts
mount_in dev/shm -t tmpfs -o mode=1777,nosuid,nodev tmpfs
mount_in run -t tmpfs -o mode=755,nosuid,nodev tmpfs

# A clean clone, as CI checks it out, with the shared folder beside it.
mkdir -p "$dir/root/src"
git clone -q "$src" "$dir/root/src/pictavo"
[ ! -d "$src/../shared" ] || cp -r "$src/../shared" "$dir/root/src/shared"

in_chroot() {
    chroot "$dir" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" DEBIAN_FRONTEND=noninteractive \
        CUPS_SERVER=/run/cups/cups.sock "$@"
}
# Without a network: lo only, and nothing of the host's displays or services.
offline() {
    unshare -n -- sh -c 'ip link set lo up 2>/dev/null || true; exec "$@"' sh \
        chroot "$dir" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" CUPS_SERVER=/run/cups/cups.sock "$@"
}

phase "the packages for the build and the tests"
in_chroot PICTAVO_TEST_LABELS="$labels" bash -c 'apt-get update -q >/dev/null && cd /root/src/pictavo && bash scripts/deps.sh test' \
    >"$dir/root/deps.log" 2>&1 || { tail -n 40 "$dir/root/deps.log" >&2; exit 1; }
grep -E '^(Need to get|After this operation|[0-9]+ upgraded)' "$dir/root/deps.log" || true
# CUPS on its socket only: no port for the host to share.
sed -i -E '/^[[:space:]]*(Listen|Port)[[:space:]]/d; 1i Listen /run/cups/cups.sock' "$dir/etc/cups/cupsd.conf"
sed -i -E 's/^[[:space:]]*Browsing[[:space:]].*/Browsing No/' "$dir/etc/cups/cupsd.conf"
echo "ServerName /run/cups/cups.sock" >"$dir/etc/cups/client.conf"
[ -s "$dir/etc/machine-id" ] || in_chroot dbus-uuidgen --ensure=/etc/machine-id

phase "the README's test command${labels:+ (labels: $labels)}${builds:+ (builds: $builds)}"
status=0
offline /usr/bin/env PICTAVO_TEST_BUILDS="$builds" PICTAVO_TEST_LABELS="$labels" \
    bash -c 'cd /root/src/pictavo && bash scripts/test.sh' || status=$?
echo "test-in.sh $release: test.sh exited with $status"

phase "installing the package built there, and starting it"
deb=$(cd "$dir/root/src/pictavo/build" 2>/dev/null && ls pictavo_*.deb 2>/dev/null | head -n 1 || true)
if [ -z "$deb" ]; then
    echo "FAIL: no package was built" >&2
    status=1
elif ! in_chroot bash -c "cd /root/src/pictavo/build && apt-get install -y -q ./$deb" >"$dir/root/install.log" 2>&1; then
    tail -n 20 "$dir/root/install.log" >&2
    echo "FAIL: the package does not install" >&2
    status=1
else
    cat >"$dir/root/start-check.sh" <<'CHECK'
set -u
pictavo --version || exit 1
export XDG_RUNTIME_DIR=$(mktemp -d) DISPLAY=:9
Xvfb :9 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 300); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
pictavo >"$XDG_RUNTIME_DIR/err" 2>&1 &
pid=$!
# Started: its window is mapped, and it still runs.
shown=
for _ in $(seq 300); do
    if xwininfo -root -tree 2>/dev/null | grep -qi '"pictavo"'; then shown=1; break; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
alive=$(kill -0 "$pid" 2>/dev/null && echo 1)
kill "$pid" "$xvfb" 2>/dev/null
wait "$pid" 2>/dev/null
[ -n "$shown" ] && [ -n "$alive" ] && { echo "pictavo started: its window is shown"; exit 0; }
echo "pictavo did not show its window:"; cat "$XDG_RUNTIME_DIR/err"; exit 1
CHECK
    offline bash /root/start-check.sh || { echo "FAIL: the installed package does not start" >&2; status=1; }
fi
exit "$status"
