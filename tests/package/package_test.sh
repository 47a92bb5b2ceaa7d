#!/usr/bin/env bash
# package_test.sh BUILD-FOLDER VERSION
#
# Makes the Debian package from the binaries already in BUILD-FOLDER (cpack
# only installs them into its staging folder, it compiles nothing), unpacks it
# into a temporary root as dpkg would lay it out, and checks what a user gets:
# the packaged programs run, the launcher and the metadata pass the desktop's
# own validators, the icons are there at their sizes, and the dependencies name
# the Qt and Boost runtime packages.
#
# A missing tool skips the test (exit 77), except when RK_REQUIRE_PACKAGE_TOOLS
# is set, as ./dev test sets it: there the tools are installed, and their
# absence is a fault.
set -euo pipefail

build=$1
version=$2
app_id=org.reelkeeper.Reelkeeper

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    if [ -n "${RK_REQUIRE_PACKAGE_TOOLS:-}" ]; then
      echo "FAIL: $tool is not installed" >&2
      exit 1
    fi
    echo "SKIP: $tool is not installed" >&2
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack" >&2
  exit 1
}
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: expected one .deb, got: ${debs[*]}" >&2; exit 1; }
deb=${debs[0]}
root=$work/root
dpkg-deb -x "$deb" "$root"

# The packaged programs, run from the unpacked root.
got=$("$root/usr/bin/reelkeeper" --version) || fail "reelkeeper --version exit status"
[ "$got" = "reelkeeper $version" ] || fail "reelkeeper --version printed '$got'"
help=$("$root/usr/bin/kmftool" --help) || fail "kmftool --help exit status"
grep -q '^usage: kmftool COMMAND' <<<"$help" || fail "kmftool --help printed '$help'"
for tool in rkseed rkcalc; do
  [ -x "$root/usr/bin/$tool" ] || fail "$tool is not in the package"
done

# The launcher and the metadata, as the desktop's validators see them.
desktop=$root/usr/share/applications/$app_id.desktop
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"
grep -qx "Exec=reelkeeper" "$desktop" || fail "the launcher does not start reelkeeper"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metadata's release is not $version"

# The icon the launcher names, at the sizes a desktop looks for.
icon=$(sed -n 's/^Icon=//p' "$desktop")
png_size() {  # width x height from the PNG's IHDR chunk
  od -An -tu1 -j16 -N8 "$1" | awk '{printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'
}
for size in 48 256; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
  if [ -f "$png" ]; then
    [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png")"
  else
    fail "no $png"
  fi
done
svg=$root/usr/share/icons/hicolor/scalable/apps/$icon.svg
grep -q '<svg ' "$svg" 2>/dev/null || fail "no scalable icon $svg"

# The dependencies: the Qt and Boost runtime packages, found from the binaries.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libboost-context qt6-qpa-plugins; do
  grep -q "$package" <<<"$depends" || fail "Depends lacks $package: $depends"
done

[ $failures -eq 0 ] || exit 1
echo "package test passed: $(basename "$deb")"
