// SPDX-License-Identifier: MIT
#include "log/fields.h"

namespace taiju {
namespace {
bool blank(char16_t c) {
    return c == u' ' || c == u'\t';
}
bool lineEnd(char16_t c) {
    return c == u'\r' || c == u'\n';
}
} // namespace

std::u16string_view trimSpaces(std::u16string_view s) {
    while (!s.empty() && s.front() == u' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == u' ')
        s.remove_suffix(1);
    return s;
}

void FieldReader::endField() {
    if (pos_ >= text_.size())
        return;
    if (text_[pos_] == u',') {
        ++pos_;
    } else if (text_[pos_] == u'\r') {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == u'\n')
            ++pos_;
    } else if (text_[pos_] == u'\n') {
        ++pos_;
    }
}

std::optional<std::u16string> FieldReader::next() {
    if (pos_ >= text_.size())
        return std::nullopt;
    while (pos_ < text_.size() && blank(text_[pos_]))
        ++pos_;

    std::u16string value;
    if (pos_ < text_.size() && text_[pos_] == u'"') {
        std::size_t close = text_.find(u'"', pos_ + 1);
        if (close == std::u16string_view::npos)
            close = text_.size();
        value = text_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close < text_.size() ? close + 1 : close;
        while (pos_ < text_.size() && text_[pos_] != u',' && !lineEnd(text_[pos_]))
            ++pos_;
    } else {
        std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != u',' && !lineEnd(text_[pos_]))
            ++pos_;
        std::size_t end = pos_;
        while (end > start && blank(text_[end - 1]))
            --end;
        value = text_.substr(start, end - start);
    }
    endField();
    return value;
}

} // namespace taiju
