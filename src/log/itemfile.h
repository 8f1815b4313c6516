// SPDX-License-Identifier: MIT
#pragma once
// The item file: the column declarations of a log file, read and written in
// the format of the viewer program.

#include "log/item_decl.h"

#include <string>
#include <string_view>
#include <vector>

namespace taiju {

// The template item file in the application directory, copied into place
// when a log's own item file is missing or unusable.
inline constexpr char16_t kTemplateItemFile[] = u"k体重変化.___";

inline constexpr char16_t kHeaderMessage[] =
    u"vexoｶﾙｸﾌｧｲﾙでないか、項目設定を記述したﾌｧｲﾙが不良です";
inline constexpr char16_t kHeaderTitle[] = u"項目ﾌｧｲﾙ読込エラー";
inline constexpr char16_t kLengthMessage[] = u"2560文字より長くvexoカルクﾌｧｲﾙでありません.";
inline constexpr char16_t kLengthTitle[] = u"ﾌｧｲﾙ長エラー";
inline constexpr char16_t kDiskErrorMessage[] = u"不適切なﾌｧｲﾙを指定しました。";
inline constexpr char16_t kDiskErrorTitle[] = u"ディスクエラー";

// The item file of a log file given without its drive (`n`, e.g.
// \data\体重変化.txt) and its drive letter: "k" before the log's name.
std::u16string itemFilePath(std::u16string_view n, std::u16string_view drive);

enum class ItemRead {
    Ok,
    ReadFailure,    // the text ended early, or more than 101 items
    HeaderRejected, // not an item file
    TooLong,        // widths add up to more than 256 × jmaxrec − 2
};

// Reads the declarations from the item file's text into `state`. On a failure
// the state is left as far as the read got.
// The record-length limit, in 256-byte units, that start-up sets for the
// item file reader.
inline constexpr double kMaxRecordUnits = 10;

ItemRead readItemFile(std::u16string_view text, double jmaxrec, ItemDeclarations& state);

// The lines of the item file that declares `state` (without line ends). A
// state of more than 101 items, which only a failed read leaves, is written
// as its first 101 items so that the file stays readable.
std::vector<std::u16string> itemFileLines(const ItemDeclarations& state);

// A number as the item file writes it: " 7", " 10.25", "-3".
std::u16string numberText(double value);

} // namespace taiju
