# shellcheck shell=bash
# SPDX-License-Identifier: MIT
# Shared by the install and package tests: the installed tree as a desktop
# meets it. Source it after lib.sh.
#
#   inst_check_tree ROOT BUILD PREFIX
#   ROOT: the tree (P, or usr/ of an extracted package); PREFIX: where it is
#   meant to be (P, or /usr), which the launchers name.

APPSTREAM_ID=local.taiju_check.taiju_check

# inst_build_dir BINARY: the build folder of build/bin/taiju-check.
inst_build_dir() {
    realpath "$(dirname "$1")/.."
}

# inst_programs BUILD: the programs an install holds, one a line.
inst_programs() {
    printf '%s\n' taiju-check taiju-view
}

# inst_expected_files BUILD: every file and link an install holds, sorted.
inst_expected_files() {
    local p s
    {
        echo "lib/taiju-check/$TEMPLATE_NAME"
        echo "lib/taiju-check/installed-files"
        echo "share/icons/hicolor/scalable/apps/taiju-check.svg"
        echo "share/metainfo/$APPSTREAM_ID.metainfo.xml"
        echo "share/taiju-check/screenshots/taiju-check.png"
        echo "share/taiju-check/screenshots/taiju-view.png"
        for s in 16 32 48 128 256; do
            echo "share/icons/hicolor/${s}x$s/apps/taiju-check.png"
        done
        for p in $(inst_programs "$1"); do
            echo "bin/$p"
            echo "lib/taiju-check/$p"
            echo "share/applications/$p.desktop"
            echo "share/man/man1/$p.1.gz"
            echo "share/man/ja/man1/$p.1.gz"
        done
    } | LC_ALL=C sort
}

# inst_snapshot ROOT: names, kinds, sizes, modes, owners and times of
# everything below ROOT, to tell whether anything was written there.
inst_snapshot() {
    find "$1" -printf '%P %y %s %m %u %T@\n' | LC_ALL=C sort
}

# inst_desktop_key FILE KEY: the value of a key of the entry (KEY may name
# a localised key: Name[ja]).
inst_desktop_key() {
    awk -v key="$2=" 'index($0, key) == 1 {print substr($0, length(key) + 1); exit}' "$1"
}

# inst_rgba FILE X Y: the colour "r,g,b,a" of a pixel of a PNG file.
inst_rgba() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1,\2,\3,\4/p'
}

# inst_check_icons ROOT: five PNG sizes drawn as the window's icon (a clear
# corner, a red triangle, a white exclamation mark) and an SVG that renders
# like the largest PNG.
inst_check_icons() {
    local s png at x y want what got
    for s in 16 32 48 128 256; do
        png="$1/share/icons/hicolor/${s}x$s/apps/taiju-check.png"
        [[ $(file -b "$png") == "PNG image data, $s x $s, 8-bit/color RGBA"* ]] ||
            e2e_fail "icon ${s}x$s is not an RGBA PNG of that size: $(file -b "$png")"
        for at in "0 0 0,0,0,0 a transparent corner" \
            "$((s / 2)) $((s * 45 / 100)) 255,255,255,255 the exclamation mark" \
            "$((s / 2)) $((s * 85 / 100)) 255,0,0,255 the triangle"; do
            read -r x y want what <<<"$at"
            got=$(inst_rgba "$png" "$x" "$y")
            [ "$got" = "$want" ] || e2e_fail "icon ${s}x$s at $x,$y ($what) is '$got', expected $want"
        done
    done
    local svg="$1/share/icons/hicolor/scalable/apps/taiju-check.svg" differ
    rsvg-convert -w 256 -h 256 "$svg" -o "$BASE/svg.png" || e2e_fail "the SVG icon does not render"
    differ=$(compare -metric AE -fuzz 20% "$BASE/svg.png" \
        "$1/share/icons/hicolor/256x256/apps/taiju-check.png" null: 2>&1)
    [ "$differ" -le 64 ] 2>/dev/null ||
        e2e_fail "the SVG icon and the 256 pixel icon differ in '$differ' pixels"
}

# inst_check_tree ROOT BUILD PREFIX: the installed tree is complete and valid.
inst_check_tree() {
    local root=$1 build=$2 prefix=$3 expected actual p desktop names page locale heading
    expected=$(inst_expected_files "$build")
    actual=$(cd "$root" && find . -mindepth 1 ! -type d -printf '%P\n' | LC_ALL=C sort)
    if [ "$actual" != "$expected" ]; then
        diff <(echo "$expected") <(echo "$actual") >&2
        e2e_fail "the installed files are not the expected ones (< expected, > installed)"
    fi
    cmp -s "$root/lib/taiju-check/$TEMPLATE_NAME" "$build/bin/$TEMPLATE_NAME" ||
        e2e_fail "the installed template item file differs from the built one"
    for p in $(inst_programs "$build"); do
        [ "$(readlink "$root/bin/$p")" = "../lib/taiju-check/$p" ] ||
            e2e_fail "bin/$p is '$(readlink "$root/bin/$p")', not the link ../lib/taiju-check/$p"
        [ -x "$root/bin/$p" ] || e2e_fail "bin/$p does not lead to a program"

        desktop="$root/share/applications/$p.desktop"
        desktop-file-validate "$desktop" >&2 || e2e_fail "$p.desktop is not valid"
        case $p in
            taiju-check) names='Weight Check/体重チェック' ;;
            *) names='Weight Log/体重ログ' ;;
        esac
        [ "$(inst_desktop_key "$desktop" Name)/$(inst_desktop_key "$desktop" 'Name[ja]')" = "$names" ] ||
            e2e_fail "$p.desktop is not named $names (English/Japanese)"
        [ "$(inst_desktop_key "$desktop" Categories)" = 'Qt;Utility;' ] &&
            inst_desktop_key "$desktop" Keywords | grep -q 'BMI;' &&
            inst_desktop_key "$desktop" 'Keywords[ja]' | grep -q '体重;' ||
            e2e_fail "$p.desktop lacks the categories or the English and Japanese keywords"
        [ "$(inst_desktop_key "$desktop" Exec | cut -d' ' -f1)" = "$prefix/bin/$p" ] ||
            e2e_fail "$p.desktop does not start $prefix/bin/$p: $(inst_desktop_key "$desktop" Exec)"
        [ "$(inst_desktop_key "$desktop" StartupWMClass)" = "$p" ] ||
            e2e_fail "$p.desktop does not match the window class $p"
        [ -f "$root/share/icons/hicolor/256x256/apps/$(inst_desktop_key "$desktop" Icon).png" ] ||
            e2e_fail "the icon of $p.desktop is not installed"

        # man picks the English page under C and the Japanese one under
        # ja_JP.UTF-8 (compiled here, found through LOCPATH); each reads
        # without a warning.
        [ -d "$BASE/locales/ja_JP.UTF-8" ] || { mkdir -p "$BASE/locales" && localedef -i ja_JP -f UTF-8 "$BASE/locales/ja_JP.UTF-8"; } ||
            e2e_fail "cannot compile the locale ja_JP.UTF-8"
        for page in "C NAME" "ja_JP.UTF-8 名前"; do
            read -r locale heading <<<"$page"
            LOCPATH="$BASE/locales" LANG=$locale LC_ALL=$locale MANWIDTH=80 \
                MANPATH="$root/share/man" man --warnings "$p" >"$BASE/man.txt" 2>"$BASE/man.err"
            [ -s "$BASE/man.err" ] && e2e_fail "man $p under $locale warns: $(head -n 3 "$BASE/man.err")"
            grep -q "^$heading" "$BASE/man.txt" || e2e_fail "man $p under $locale shows no '$heading'"
        done
        for page in "$root/share/man/man1/$p.1.gz" "$root/share/man/ja/man1/$p.1.gz"; do
            lexgrog "$page" | grep -q "\"$p - " || e2e_fail "man page $page gives no whatis line"
        done
    done
    appstreamcli validate --no-net "$root/share/metainfo/$APPSTREAM_ID.metainfo.xml" >"$BASE/appstream.log" 2>&1 ||
        e2e_fail "AppStream refuses the metainfo: $(cat "$BASE/appstream.log")"
    inst_check_icons "$root"
    # The screenshots are the windows: Form1's size, and the viewer's.
    for p in "taiju-check.png 486 x 429" "taiju-view.png 900 x 640"; do
        [[ $(file -b "$root/share/taiju-check/screenshots/${p%% *}") == "PNG image data, ${p#* },"* ]] ||
            e2e_fail "screenshot ${p%% *} is not a PNG of ${p#* }"
    done
}
