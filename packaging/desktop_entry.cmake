# SPDX-License-Identifier: MIT
# Run at install time for one launcher: writes the entry with the full path
# of the installed link in Exec, then installs it. Set before including:
# TAIJU_PROGRAM, TAIJU_ENTRY_SOURCE (the entry as kept in packaging/) and
# TAIJU_ENTRY_BUILT (where to write the finished entry).
#
# The full path because ~/.local/bin is often not on the desktop session's
# PATH right after a first install there.

set(exec "${CMAKE_INSTALL_PREFIX}/bin/${TAIJU_PROGRAM}")
# The desktop entry's quoting: a path with other characters than these is
# put in double quotes with " ` $ \ escaped by a backslash; then every
# backslash is doubled as the value's own escape; "%" is written "%%".
if(exec MATCHES "[^-A-Za-z0-9/._+]")
  string(REGEX REPLACE "([\"`$\\])" "\\\\\\1" exec "${exec}")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
string(REPLACE "%" "%%" exec "${exec}")

file(READ "${TAIJU_ENTRY_SOURCE}" entry)
string(REPLACE "\nExec=${TAIJU_PROGRAM}" "\nExec=${exec}" entry "${entry}")
file(WRITE "${TAIJU_ENTRY_BUILT}" "${entry}")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE
     FILES "${TAIJU_ENTRY_BUILT}")
