#pragma once
// The fonts of the windows: the family the layout names, and its stand-ins.

namespace taiju {

// Makes "ＭＳ Ｐゴシック" 9 pt the application's font, standing in for it with
// IPAPGothic or Noto Sans CJK JP where it is not installed.
void useWindowFonts();

} // namespace taiju
