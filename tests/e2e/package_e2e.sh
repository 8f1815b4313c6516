#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Debian package as a packager builds it: `dpkg-buildpackage -us -uc -b`
# on a fresh checkout (the source files of this tree, committed into a git
# repository of their own) makes taiju-check_<version>+git<date>.<hash>_<arch>.deb
# that lintian accepts without error or warning; packed twice from the same
# build it gives the same bytes (a second compile would double the test's
# time; the compile itself is made path- and time-independent by
# dpkg-buildflags' -ffile-prefix-map and SOURCE_DATE_EPOCH). It depends on the libraries the programs link (computed), the
# Japanese font and recommends Qt's translations; its Installed-Size is its
# size; its tree is complete, stripped, and its programs run from it: root
# starting them writes nothing into it.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/install_lib.sh"
e2e_setup "${1:-}"
for tool in git dpkg-buildpackage dh fakeroot lintian dpkg-deb desktop-file-validate appstreamcli \
    man lexgrog file rsvg-convert compare; do
    command -v "$tool" >/dev/null || e2e_fail "tool '$tool' is missing"
done
build=$(inst_build_dir "$1")
source=$(realpath "$(dirname "$0")/../..")
# A fixed place inside the build folder, so that the compiler sees the same
# paths on every run (ccache, when the caller uses it, then serves them).
work="$build/package"
rm -rf "$work" && mkdir -p "$work/taiju-check" || e2e_fail "cannot make $work"
(cd "$source" && git ls-files -z -co --exclude-standard) |
    while IFS= read -r -d '' f; do [ -e "$source/$f" ] && printf '%s\0' "$f"; done |
    (cd "$source" && tar --null -T - -cf -) | tar -xf - -C "$work/taiju-check" ||
    e2e_fail "cannot copy the source"
epoch=$(git -C "$source" log -1 --format=%ct)
(cd "$work/taiju-check" && git init -q && git add -A &&
    GIT_COMMITTER_DATE="@$epoch" GIT_AUTHOR_DATE="@$epoch" git -c user.name=e2e \
        -c user.email=e2e@taiju-check.invalid commit -q -m snapshot) ||
    e2e_fail "cannot commit the copied source"

# build_package N [OPTION]: builds the package, keeps it as $BASE/N.deb and
# its log.
build_package() {
    (cd "$work/taiju-check" && DEB_BUILD_OPTIONS=parallel=2 dpkg-buildpackage -us -uc -b ${2:-}) \
        >"$BASE/build$1.log" 2>&1 || e2e_fail "dpkg-buildpackage failed: $(tail -n 15 "$BASE/build$1.log")"
    # The package, beside it the one of its debugging symbols (dh_strip's).
    local debs
    debs=$(find "$work" -maxdepth 1 -name 'taiju-check_*.deb')
    [ "$(echo "$debs" | grep -c .)" = 1 ] || e2e_fail "the build made not one package but: '$debs'"
    mv "$debs" "$BASE/$1.deb" && rm -f "$work"/*.deb
    deb_name=$(basename "$debs")
}
build_package 1
grep -q -- '-D_FORTIFY_SOURCE=2' "$BASE/build1.log" && grep -q -- '-Wl,-z,now' "$BASE/build1.log" ||
    e2e_fail "the build does not use Debian's hardening flags"
grep -q 'Building CXX object tests/' "$BASE/build1.log" && e2e_fail "the package build builds the tests"
grep -E 'warning: ' "$BASE/build1.log" && e2e_fail "the package build warns"
# Once more from the same build (-nc: no clean): install, strip, pack.
build_package 2 -nc
cmp -s "$BASE/1.deb" "$BASE/2.deb" || e2e_fail "two packings of one build differ"
deb="$BASE/1.deb"

version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
project=$(sed -n 's/^project([^ ]* VERSION \([^ ]*\) .*/\1/p' "$source/CMakeLists.txt")
hash=$(git -C "$work/taiju-check" log -1 --format=%h)
day=$(TZ=UTC0 date -d "@$epoch" +%Y%m%d)
[ "$version" = "$project+git$day.$hash" ] || e2e_fail "package version '$version', expected $project+git$day.$hash"
dpkg --compare-versions "$version" gt "$project" || e2e_fail "version $version does not upgrade $project"
[ "$deb_name" = "taiju-check_${version}_$arch.deb" ] || e2e_fail "package file name $deb_name"
dpkg-deb -c "$deb" | awk -v want="$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M')" \
    '$4" "$5 > want {bad=1} END {exit bad}' || e2e_fail "package entries dated after the last commit"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in 'fonts-ipafont-gothic | fonts-noto-cjk' libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 libc6; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || e2e_fail "Depends lacks $needed: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-translations-l10n ] ||
    e2e_fail "Recommends is '$(dpkg-deb -f "$deb" Recommends)', not qt6-translations-l10n"
owners=$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)
[ "$owners" = root/root ] || e2e_fail "package entries owned by '$owners', not root/root"

lintian --info --display-level '>=pedantic' "$deb" >"$BASE/lintian.log" 2>&1
grep -E '^[EW]: ' "$BASE/lintian.log" && e2e_fail "lintian reports errors or warnings"
echo "lintian: $(grep -c '^[IPX]: ' "$BASE/lintian.log") info tags:"
sed -n 's/^\([IPX]: [^ ]* [^ ]*\).*/  \1/p' "$BASE/lintian.log" | sort -u

root="$BASE/root"
dpkg-deb -x "$deb" "$root" || e2e_fail "dpkg-deb -x failed"
# Installed-Size: about a KiB for each folder and link, each file's size
# rounded up (dpkg counts a few KiB more or less than this).
size=$(find "$root" -mindepth 1 -printf '%y %s\n' |
    awk '$1 == "f" {s += int(($2 + 1023) / 1024); next} {s += 1} END {print s}')
declared=$(dpkg-deb -f "$deb" Installed-Size)
[ "$declared" -ge $((size - 4)) ] && [ "$declared" -le $((size + 4)) ] ||
    e2e_fail "Installed-Size $declared, the tree holds $size KiB"
# The copyright and changelog as Debian keeps them; the tree as installs make it.
[ -f "$root/usr/share/doc/taiju-check/copyright" ] && [ -f "$root/usr/share/doc/taiju-check/changelog.gz" ] ||
    e2e_fail "no copyright or changelog in usr/share/doc/taiju-check"
rm -r "$root/usr/share/doc"
inst_check_tree "$root/usr" "$build" /usr
# The target uninstall leaves a package's tree alone.
tree=$(inst_snapshot "$root")
PREFIX="$root/usr" cmake --build "$build" --target uninstall >"$BASE/uninstall.log" 2>&1 &&
    e2e_fail "uninstall accepted the package's tree"
grep -q 'apt remove taiju-check' "$BASE/uninstall.log" && [ "$(inst_snapshot "$root")" = "$tree" ] ||
    e2e_fail "uninstall touched the package's tree or did not say why: $(tail -n 3 "$BASE/uninstall.log")"
for p in taiju-check taiju-view; do
    [[ $(file -b "$root/usr/lib/taiju-check/$p") == *", stripped"* ]] ||
        e2e_fail "the packaged program $p is not stripped"
done
[ "$("$root/usr/bin/taiju-view" --version)" = "taiju-view $project" ] ||
    e2e_fail "taiju-view --version says '$("$root/usr/bin/taiju-view" --version)', not $project"

# Root starts the packaged program: it finds its folder through the link,
# and its files go into root's data folder, not into the tree.
before=$(inst_snapshot "$root")
export HOME="$BASE/root-home" XDG_DATA_HOME=
e2e_launch "$root/usr/bin/taiju-check"
e2e_expect_settings "$HOME/.local/share/taiju-check/ostrel" "$HOME/.local/share/taiju-check" \
    "settings file in root's data folder"
[ "$(inst_snapshot "$root")" = "$before" ] || {
    diff <(echo "$before") <(inst_snapshot "$root") >&2
    e2e_fail "root's program wrote into the packaged tree"
}

e2e_pass
