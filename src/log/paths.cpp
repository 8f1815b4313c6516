// SPDX-License-Identifier: MIT
#include "log/paths.h"

namespace taiju {

std::u16string joinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (path.empty() || path.back() != u'\\')
        path.push_back(u'\\');
    path += name;
    return path;
}

bool holdsNul(std::u16string_view path) {
    return path.find(u'\0') != std::u16string_view::npos;
}

std::u16string itemFileName(std::u16string_view logName) {
    return u"k" + std::u16string(logName);
}

std::u16string quoted(std::u16string_view path) {
    return u"「" + std::u16string(path) + u"」";
}

} // namespace taiju
