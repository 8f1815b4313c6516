# shellcheck shell=bash
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

# inst_keep_manifest BUILD / inst_restore_manifest BUILD: every install,
# cpack's too, rewrites BUILD/install_manifest.txt, which a user needs to
# uninstall their own install: the tests put it back as it was.
inst_keep_manifest() {
    rm -f "$BASE/manifest.kept"
    [ -f "$1/install_manifest.txt" ] && cp -p "$1/install_manifest.txt" "$BASE/manifest.kept"
    return 0
}
inst_restore_manifest() {
    if [ -f "$BASE/manifest.kept" ]; then
        cp -p "$BASE/manifest.kept" "$1/install_manifest.txt"
    else
        rm -f "$1/install_manifest.txt"
    fi
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
        echo "share/icons/hicolor/scalable/apps/taiju-check.svg"
        echo "share/metainfo/$APPSTREAM_ID.metainfo.xml"
        for s in 16 32 48 128 256; do
            echo "share/icons/hicolor/${s}x$s/apps/taiju-check.png"
        done
        for p in $(inst_programs "$1"); do
            echo "bin/$p"
            echo "lib/taiju-check/$p"
            echo "share/applications/$p.desktop"
            echo "share/man/man1/$p.1.gz"
        done
    } | LC_ALL=C sort
}

# inst_snapshot ROOT: names, kinds, sizes, modes, owners and times of
# everything below ROOT, to tell whether anything was written there.
inst_snapshot() {
    find "$1" -printf '%P %y %s %m %u %T@\n' | LC_ALL=C sort
}

# inst_desktop_key FILE KEY: the value of an unlocalised key of the entry.
inst_desktop_key() {
    sed -n "s/^$2=//p" "$1" | head -n 1
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
    local root=$1 build=$2 prefix=$3 expected actual p desktop name page warnings
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
        case $p in taiju-check) name='体重チェック' ;; *) name='体重ログ' ;; esac
        [ "$(inst_desktop_key "$desktop" Name)" = "$name" ] || e2e_fail "$p.desktop is not named $name"
        [ "$(inst_desktop_key "$desktop" Exec | cut -d' ' -f1)" = "$prefix/bin/$p" ] ||
            e2e_fail "$p.desktop does not start $prefix/bin/$p: $(inst_desktop_key "$desktop" Exec)"
        [ "$(inst_desktop_key "$desktop" StartupWMClass)" = "$p" ] ||
            e2e_fail "$p.desktop does not match the window class $p"
        [ -f "$root/share/icons/hicolor/256x256/apps/$(inst_desktop_key "$desktop" Icon).png" ] ||
            e2e_fail "the icon of $p.desktop is not installed"

        page="$root/share/man/man1/$p.1.gz"
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
        [ -z "$warnings" ] || e2e_fail "man page $p.1 renders with warnings: $warnings"
        lexgrog "$page" | grep -q "\"$p - " || e2e_fail "man page $p.1 gives no whatis line"
    done
    appstreamcli validate --no-net "$root/share/metainfo/$APPSTREAM_ID.metainfo.xml" >"$BASE/appstream.log" 2>&1 ||
        e2e_fail "AppStream refuses the metainfo: $(cat "$BASE/appstream.log")"
    inst_check_icons "$root"
}
