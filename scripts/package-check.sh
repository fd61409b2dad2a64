#!/usr/bin/env bash
# Builds the Debian package from a release build and checks it as a user's machine would see it:
#   scripts/package-check.sh [build folder, build/release by default]
# 1. cpack makes tarvex_<version>_amd64.deb; lintian finds no error in it; the AppStream data
#    and the desktop entries pass their validators.
# 2. The package is installed with apt into a throw-away copy of this machine (an overlay over
#    / in a private mount namespace, entered with chroot: needs root, no container), where the
#    platform's triggers refresh the caches. There each program starts from /usr/bin and finds
#    its data, the desktop entries name icons that are installed, and the file types open the
#    right programs: .cog and .cgt Scrivane, .uni Lirrel, a file named models.dat Orvane and no
#    other .dat file.
# 3. apt removes it, and nothing of it is left: no file, no cache entry.
# Without root (or overlay mounts) step 2 and 3 look at the unpacked package instead.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
export QT_QPA_PLATFORM=offscreen

echo "== package"
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/tarvex_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tarvex_*_amd64.deb)
deb=$(realpath "$deb")
echo "$deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'

echo "== lintian"
# Errors fail the check; warnings are printed (the README lists those left and why).
lintian --fail-on error --no-tag-display-limit "$deb"

echo "== AppStream and desktop entries"
for f in "$build"/platform/*.metainfo.xml; do appstreamcli validate --no-net "$f"; done
for f in platform/linux/*.desktop; do desktop-file-validate "$f"; done

work=$(mktemp -d /tmp/tarvex-package.XXXXXX)
trap 'rm -rf "$work"' EXIT  # the mounts end with their namespace
samples=$work/samples
mkdir -p "$samples"
for name in x.cog x.cgt other.uni models.dat MODELS.DAT other.dat; do
  printf 'text\r\n' > "$samples/$name"
done
# Lirrel loads the table it is started with.
printf 'MSGS 1\r\n"HELLO" 0 "Hi"\r\nEND\r\n' > "$samples/jkstrings.uni"
expected="x.cog text/x-jk-cog tarvex-scrivane.desktop
x.cgt text/x-jk-cgt tarvex-scrivane.desktop
jkstrings.uni text/x-jk-uni tarvex-lirrel.desktop
other.uni text/x-jk-uni tarvex-lirrel.desktop
models.dat text/x-jk-dat tarvex-orvane.desktop
MODELS.DAT text/x-jk-dat tarvex-orvane.desktop"

# The checks run inside the installed system (or against the unpacked package: $1 is the root
# of what is looked at, and the environment points the desktop tools at it).
cat > "$work/inside.sh" <<'EOF'
set -euo pipefail
root=$1 samples=$2 expected=$3
fail=0
# The type as the desktop's file managers see it (globs, then contents) and the program that
# opens it (gio open uses the same).
type_of() { gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'; }
while read -r name type app; do
  got=$(type_of "$samples/$name")
  default=$(gio mime "$got" | sed -n 's/^Default application for .*: //p')
  echo "$name: $got, opened with $default"
  [ "$got" = "$type" ] && [ "$default" = "$app" ] || { echo "  expected $type, $app"; fail=1; }
done <<< "$expected"
got=$(type_of "$samples/other.dat")
echo "other.dat: $got"
case $got in text/x-jk-*) echo "  a .dat file not named models.dat must keep its own type"; fail=1 ;; esac
for entry in "$root"/usr/share/applications/tarvex-*.desktop; do
  icon=$(sed -n 's/^Icon=//p' "$entry")
  for size in 16x16 32x32 48x48 64x64 128x128 256x256 scalable; do
    ls "$root/usr/share/icons/hicolor/$size/apps/$icon".* >/dev/null 2>&1 || { echo "$entry: no $size icon $icon"; fail=1; }
  done
done
exit $fail
EOF

if [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
  echo "== install into a throw-away copy of this machine"
  mkdir -p "$work"/{upper,overlay,root}
  unshare -m --propagation private bash -s "$work" "$deb" "$expected" <<'EOF'
set -euo pipefail
work=$1 deb=$2 expected=$3 root=$1/root
mount -t overlay overlay -o "lowerdir=/,upperdir=$work/upper,workdir=$work/overlay" "$root"
mount --bind /proc "$root/proc"
mount --rbind /dev "$root/dev"
mount --rbind /sys "$root/sys"
mkdir -p "$root/tmp/check"
cp "$deb" "$work/inside.sh" "$root/tmp/check/"
cp -r "$work/samples" "$root/tmp/check/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root QT_QPA_PLATFORM=offscreen \
            XDG_DATA_HOME=/tmp/check/none XDG_CONFIG_HOME=/tmp/check/config "$@"; }
name=$(basename "$deb")
in_root apt-get install -y -q --no-install-recommends -o Dpkg::Use-Pty=0 "/tmp/check/$name" | tail -n 3
echo "-- each program starts from /usr/bin and finds its data"
for program in scrivane "lirrel /tmp/check/samples/jkstrings.uni" orvane tarvex-setup; do
  # shellcheck disable=SC2086 # the program and its argument
  in_root env TARVEX_QUIT_WHEN_IDLE=1 timeout 60 /usr/bin/$program 2>/dev/null ||
    { echo "$program did not start and end cleanly"; exit 1; }
  echo "$program: started"
done
if [ -x "$root/usr/bin/tarvex-cogcheck" ]; then
  # 0 or 1 (no error found, or one found); 2 would be a path it could not read.
  status=0
  in_root /usr/bin/tarvex-cogcheck /tmp/check/samples/x.cog >/dev/null || status=$?
  [ "$status" -le 1 ] || { echo "tarvex-cogcheck ended with $status"; exit 1; }
  echo "tarvex-cogcheck: ran"
fi
echo "-- file types"
in_root bash /tmp/check/inside.sh / /tmp/check/samples "$expected"
files=$(chroot "$root" dpkg-query -L tarvex)
echo "-- remove"
in_root apt-get remove -y -q -o Dpkg::Use-Pty=0 tarvex | tail -n 2
left=0
for f in $files; do
  [ -f "$root$f" ] && { echo "left behind: $f"; left=1; }
done
# The caches no longer know the types or the programs.
if grep -rl 'x-jk-\|tarvex' "$root"/usr/share/mime/{mime.cache,globs2,types} "$root"/usr/share/applications/mimeinfo.cache 2>/dev/null; then
  echo "a cache still names the tool set"; left=1
fi
# Nothing else of it anywhere but in the package manager's own logs and lists.
stray=$(cd "$work/upper" && find . -path ./var/log -prune -o -path ./var/lib/dpkg -prune -o -path ./var/lib/apt -prune \
        -o -path ./var/cache -prune -o -path ./tmp -prune -o -iname '*tarvex*' -print)
[ -z "$stray" ] || { echo "left behind: $stray"; left=1; }
exit $left
EOF
  echo "installed, checked and removed cleanly"
else
  echo "== not root: the unpacked package instead of an installation"
  dpkg-deb -x "$deb" "$work/root"
  update-mime-database "$work/root/usr/share/mime" >/dev/null
  update-desktop-database "$work/root/usr/share/applications"
  # The desktop lists a program only when it finds it on the path.
  PATH="$work/root/usr/bin:$PATH" XDG_DATA_DIRS="$work/root/usr/share:/usr/share" XDG_DATA_HOME="$work/none" \
    bash "$work/inside.sh" "$work/root" "$samples" "$expected"
fi
