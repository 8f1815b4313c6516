// SPDX-License-Identifier: MIT
#pragma once
// The state the window keeps for as long as it lives.

#include "log/item_decl.h"

#include <string>

namespace taiju {

struct FormState : ItemDeclarations {
    std::u16string strFOLDER; // folder of the log file, Windows form
    std::u16string strFILE;   // file name of the log file
    double jmaxrec = 0;       // largest record length accepted, in 256-byte units
};

} // namespace taiju
