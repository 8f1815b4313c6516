#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installed as a user installs it: `cmake --install` into a prefix gives a
# complete tree that the desktop accepts (launchers, icons, manual pages,
# AppStream description), with stripped programs; from a build that lacks a
# file it installs nothing. Root starts the installed program: the files an
# earlier version left beside the programs move into root's data folder,
# and nothing is written into the tree. Then a user who is not root and
# cannot write to that prefix starts it through its link in bin/: its
# settings file and the template go into the user's own data folder, one
# save arrives there byte for byte, and nothing is written in the prefix.
# The target `uninstall` leaves the prefix as it was before the install.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/install_lib.sh"
e2e_setup "${1:-}"
for tool in cmake desktop-file-validate appstreamcli man lexgrog file rsvg-convert compare \
    useradd setpriv xprop; do
    command -v "$tool" >/dev/null || e2e_fail "tool '$tool' is missing"
done
build=$(inst_build_dir "$1")
prefix="$BASE/prefix"
# A prefix in use: a folder and a launcher of something else stay.
mkdir -p "$prefix/share/applications" && echo other >"$prefix/share/applications/other.desktop"
empty=$(inst_snapshot "$prefix")

# A build without one of its files: the install stops before copying anything.
page="$build/packaging/man/en/taiju-view.1.gz"
mv "$page" "$page.hidden" || e2e_fail "cannot hide $page"
cmake --install "$build" --prefix "$prefix" >"$BASE/install.log" 2>&1
status=$?
mv "$page.hidden" "$page"
[ "$status" != 0 ] && grep -q "cmake --build $build" "$BASE/install.log" ||
    e2e_fail "an install with a file missing did not fail with what to build: $(tail -n 3 "$BASE/install.log")"
[ "$(inst_snapshot "$prefix")" = "$empty" ] || e2e_fail "the failed install copied something"

cmake --install "$build" --prefix "$prefix" >"$BASE/install.log" 2>&1 ||
    e2e_fail "cmake --install failed: $(tail -n 3 "$BASE/install.log")"
rm "$prefix/share/applications/other.desktop"
inst_check_tree "$prefix" "$build" "$prefix"
echo other >"$prefix/share/applications/other.desktop"
for p in taiju-check taiju-view; do
    [[ $(file -b "$prefix/lib/taiju-check/$p") == *", stripped"* ]] || e2e_fail "installed $p is not stripped"
done
installed=$(inst_snapshot "$prefix")

# Root starts the installed program where an earlier version, run as root,
# kept its settings (naming the programs' folder), log and item file beside
# the programs: they move into root's data folder, the settings now naming it.
programs="$prefix/lib/taiju-check"
root_data="$BASE/root-home/.local/share/taiju-check"
e2e_cp932 "$(e2e_windows_path "$programs")" >"$programs/ostrel" && printf '\r\n' >>"$programs/ostrel" &&
    e2e_cp932 "$LOG_NAME" >>"$programs/ostrel" && printf '\r\n' >>"$programs/ostrel" &&
    e2e_example_record "01-02-2025 10:00:00" "" >"$programs/$LOG_NAME" &&
    cp "$programs/$TEMPLATE_NAME" "$programs/k$LOG_NAME" || e2e_fail "cannot place the earlier files"
cp "$programs/$LOG_NAME" "$BASE/earlier.log"
HOME="$BASE/root-home" XDG_DATA_HOME='' e2e_launch "$prefix/bin/taiju-check"
e2e_expect_settings "$root_data/ostrel" "$root_data" "the earlier settings moved and pointed at the data folder"
e2e_expect_bytes "$root_data/$LOG_NAME" "$BASE/earlier.log" "the earlier log moved"
e2e_expect_bytes "$root_data/k$LOG_NAME" "$programs/$TEMPLATE_NAME" "the earlier item file moved"
kill "$APP_PID" && wait "$APP_PID" 2>/dev/null
# (The programs' folder changed only by the files moved out of it.)
unmoved() { inst_snapshot "$prefix" | grep -v '^lib/taiju-check d '; }
[ "$(unmoved)" = "$(grep -v '^lib/taiju-check d ' <<<"$installed")" ] || {
    diff <(echo "$installed") <(inst_snapshot "$prefix") >&2
    e2e_fail "root's program left or wrote files in the install"
}

# A user of the machine, with a home of their own.
user=taiju-e2e
id -u "$user" >/dev/null 2>&1 ||
    useradd --system --no-create-home --shell /usr/sbin/nologin "$user" ||
    e2e_fail "cannot create the user $user"
chmod 755 "$BASE"
home="$BASE/home"
mkdir -p "$home/run" && chmod 700 "$home/run" && chown -R "$user:" "$home" ||
    e2e_fail "cannot make the home of $user"
# Run as that user with a plain session: setpriv and env each become the
# next program, so that the program keeps the pid the test started.
as_user=(setpriv --reuid="$user" --regid="$(id -g "$user")" --init-groups
    env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin LANG="${LANG:-C.UTF-8}"
    DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$home/run"
    DBUS_SESSION_BUS_ADDRESS="unix:path=$home/run/no-bus")
"${as_user[@]}" test -w "$prefix/lib/taiju-check" && e2e_fail "$user may write to the install"

before=$(inst_snapshot "$prefix")
data="$home/.local/share/taiju-check"
e2e_launch "${as_user[@]}" "$prefix/bin/taiju-check"
# The desktop ties the window to its launcher (and icon) by its class.
class=$(x xprop -id "$WIN" WM_CLASS)
[ "$class" = 'WM_CLASS(STRING) = "taiju-check", "taiju-check"' ] ||
    e2e_fail "window class is '$class', not the launcher's StartupWMClass taiju-check"

# Start-up: the data folder, the user's alone, with the settings file naming
# it in the Windows form and the template copied from the install.
[ "$(stat -c '%U %a' "$data" 2>/dev/null)" = "$user 700" ] ||
    e2e_fail "data folder $data: '$(stat -c '%U %a' "$data" 2>&1)', expected '$user 700'"
e2e_expect_settings "$data/ostrel" "$data" "settings file in the data folder"
e2e_expect_bytes "$data/$TEMPLATE_NAME" "$prefix/lib/taiju-check/$TEMPLATE_NAME" "template in the data folder"

# One save: the record arrives in the data folder.
e2e_evaluate_example
e2e_click Command2
log="$data/$LOG_NAME"
e2e_wait_size "$log" 256 "log file after the save"
stamp=$(dd if="$log" bs=1 skip=56 count=19 2>/dev/null)
[[ $stamp =~ ^[0-9]{2}-[0-9]{2}-[0-9]{4}\ [0-9]{2}:[0-9]{2}:[0-9]{2}$ ]] ||
    e2e_fail "date column holds '$stamp', not MM-DD-YYYY HH:MM:SS"
e2e_example_record "$stamp" "" >"$BASE/record.expected"
e2e_expect_bytes "$log" "$BASE/record.expected" "the record in the data folder"
e2e_expect_bytes "$data/k$LOG_NAME" "$data/$TEMPLATE_NAME" "item file provisioned in the data folder"
others=$(find "$home/.local" ! -user "$user")
[ -z "$others" ] || e2e_fail "files in the data folder not owned by $user: $others"
[ "$(inst_snapshot "$prefix")" = "$before" ] || {
    diff <(echo "$before") <(inst_snapshot "$prefix") >&2
    e2e_fail "something was written in the install prefix"
}

# Uninstall: the prefix is as it was.
kill "$APP_PID" && wait "$APP_PID" 2>/dev/null
PREFIX="$prefix" cmake --build "$build" --target uninstall >"$BASE/uninstall.log" 2>&1 ||
    e2e_fail "uninstall failed: $(tail -n 3 "$BASE/uninstall.log")"
# (Times aside: a folder's changes with every file added and removed.)
untimed() { sed 's/ [^ ]*$//'; }
[ "$(inst_snapshot "$prefix" | untimed)" = "$(untimed <<<"$empty")" ] || {
    diff <(echo "$empty") <(inst_snapshot "$prefix") >&2
    e2e_fail "uninstall did not leave the prefix as it was"
}

e2e_pass
