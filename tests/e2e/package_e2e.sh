#!/usr/bin/env bash
# The Debian package: `cpack -G DEB` in the build folder makes
# taiju-check_<version>_<arch>.deb, whose dependencies are the libraries the
# programs link (computed) plus the Japanese font and Qt's translations, all
# installed on this machine; it holds the install tree under /usr, owned by
# root; and its program, started through the extracted usr/bin link, shows
# its window and finds its folder through the link.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/install_lib.sh"
e2e_setup "${1:-}"
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli man lexgrog file \
    rsvg-convert compare; do
    command -v "$tool" >/dev/null || e2e_fail "tool '$tool' is missing"
done
build=$(inst_build_dir "$1")
inst_keep_manifest "$build"
(cd "$build" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$BASE/pkg") >"$BASE/cpack.log" 2>&1
status=$?
inst_restore_manifest "$build"
[ "$status" = 0 ] || e2e_fail "cpack failed: $(tail -n 5 "$BASE/cpack.log")"
debs=$(find "$BASE/pkg" -maxdepth 1 -name '*.deb')
[ "$(echo "$debs" | grep -c .)" = 1 ] || e2e_fail "cpack made not one package but: '$debs'"
deb=$debs

version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$arch" = "$(dpkg --print-architecture)" ] || e2e_fail "package architecture '$arch'"
[ "$(basename "$deb")" = "taiju-check_${version}_$arch.deb" ] || e2e_fail "package file name $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in fonts-ipafont-gothic qt6-translations-l10n libqt6core6 libqt6gui6 libqt6widgets6 libc6; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || e2e_fail "Depends lacks $needed: $depends"
done
while read -r dep; do
    dpkg-query -W -f='${Status}' "$dep" 2>/dev/null | grep -q 'install ok installed' ||
        e2e_fail "dependency $dep is not a package installed here"
done < <(tr ',' '\n' <<<"$depends" | sed 's/|.*//; s/(.*//; s/ //g' | grep .)
owners=$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)
[ "$owners" = root/root ] || e2e_fail "package entries owned by '$owners', not root/root"

root="$BASE/root"
dpkg-deb -x "$deb" "$root" || e2e_fail "dpkg-deb -x failed"
inst_check_tree "$root/usr" "$build" /usr
[[ $(file -b "$root/usr/lib/taiju-check/taiju-check") == *", stripped"* ]] ||
    e2e_fail "the packaged program is not stripped"

e2e_launch "$root/usr/bin/taiju-check"
# Root may write in the extracted programs' folder, so it serves as before;
# the settings file there names that folder, found through the link.
e2e_expect_settings "$root/usr/lib/taiju-check/ostrel" "$root/usr/lib/taiju-check" \
    "settings file beside the program"

e2e_pass
