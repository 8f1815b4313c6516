// SPDX-License-Identifier: MIT
#pragma once
// Builds the code page 932 tables from Qt's "windows-31j" converter (ICU).
// The table generator (cp932_gen.cpp) runs it and writes the tables as the
// source that the programs are built with (src/text/cp932_tables.cpp); the
// tests run it again to compare that source with what the converter gives now.

#include "text/cp932_tables.h"

#include <string>

namespace taiju::platform::cp932 {

// The name of code page 932 for Qt's converter.
inline constexpr char kCodec[] = "windows-31j";

// Fills `t`; returns what went wrong (a Qt without the converter, or a
// converter that does not answer one character per code), or "" when the
// tables are complete.
std::string buildFromQt(Tables& t);

} // namespace taiju::platform::cp932
