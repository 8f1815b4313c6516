#!/usr/bin/env bash
# Installed as a user installs it: `cmake --install` into a prefix gives a
# complete tree that the desktop accepts (launchers, icons, manual pages,
# AppStream description). Then a user who is not root and cannot write to
# that prefix starts the installed program through its link in bin/: its
# settings file and the template go into the user's own data folder, one
# save arrives there byte for byte, and nothing is written in the prefix.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/install_lib.sh"
e2e_setup "${1:-}"
for tool in cmake desktop-file-validate appstreamcli man lexgrog file rsvg-convert compare \
    useradd setpriv xprop; do
    command -v "$tool" >/dev/null || e2e_fail "tool '$tool' is missing"
done
build=$(inst_build_dir "$1")
prefix="$BASE/prefix"
inst_keep_manifest "$build"
cmake --install "$build" --prefix "$prefix" >"$BASE/install.log" 2>&1
status=$?
inst_restore_manifest "$build"
[ "$status" = 0 ] || e2e_fail "cmake --install failed: $(tail -n 3 "$BASE/install.log")"
inst_check_tree "$prefix" "$build" "$prefix"

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

e2e_pass
