// SPDX-License-Identifier: MIT
#include "log/itemfile.h"

#include "eval/number.h"
#include "log/fields.h"
#include "log/paths.h"
#include "log/rinstr.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace taiju {

std::u16string itemFilePath(std::u16string_view n, std::u16string_view drive) {
    std::size_t p = rinstr(n, u"\\");
    std::u16string path(drive);
    path += u':';
    path += n.substr(0, p);
    path += itemFileName(n.substr(p));
    return path;
}

namespace {
constexpr std::size_t kMaxItem = 100; // jalign holds items 0 to 100

std::u16string_view from(std::u16string_view s, std::size_t pos, std::size_t count) {
    return pos >= s.size() ? std::u16string_view() : s.substr(pos, count);
}
} // namespace

ItemRead readItemFile(std::u16string_view text, double jmaxrec, ItemDeclarations& st) {
    FieldReader in(text);
    std::u16string header[4];
    for (auto& f : header) {
        auto field = in.next();
        if (!field)
            return ItemRead::ReadFailure;
        f = *field;
    }
    st.jcount = leadingNumber(header[3]);
    if (st.jcount < 0 || header[0].find(u'\'') != 5 || leadingNumber(header[0]) < 100)
        return ItemRead::HeaderRejected;

    for (std::size_t i = 0; static_cast<double>(i) <= st.jcount; ++i) {
        auto name = in.next();
        if (!name)
            return ItemRead::ReadFailure;
        st.jname[i] = *name;
        if (i > kMaxItem)
            return ItemRead::ReadFailure;
        auto flag = in.next();
        if (!flag)
            return ItemRead::ReadFailure;
        st.jalign[i] = *flag;
        st.jname[i] = std::u16string(from(st.jname[i], 6, 248));
    }

    st.jrec = 1;
    st.jrecw = 1;
    double sum = 0;
    for (std::size_t i = 1; i <= 255; ++i)
        st.jwidth[i] = 0;
    for (std::size_t i = 0; static_cast<double>(i) <= st.jcount; ++i) {
        auto field = in.next();
        if (!field)
            return ItemRead::ReadFailure;
        double w = leadingNumber(from(*field, 6, 5));
        st.jwidth[i] = w;
        st.jwidth2[i] = w;
        sum += w;
        if (sum > 256 * st.jrecw - 2)
            st.jrecw += 1;
    }
    if (!(sum <= 256 * jmaxrec - 2)) // also refuses a sum that is not a number
        return ItemRead::TooLong;
    st.jrec = st.jrecw;
    return ItemRead::Ok;
}

std::u16string numberText(double value) {
    char buf[64];
    std::to_chars_result res;
    if (std::fabs(value) < 1e15)
        res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    else
        res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string digits(buf, res.ptr);
    if (!digits.empty() && digits[0] == '-')
        digits.erase(0, 1);
    std::u16string out(1, value < 0 ? u'-' : u' ');
    out.append(digits.begin(), digits.end());
    return out;
}

std::vector<std::u16string> itemFileLines(const ItemDeclarations& st) {
    const double last = std::min(st.jcount, static_cast<double>(kMaxItem));
    auto fourDigits = [](double n) {
        std::u16string t = numberText(n);
        return t.substr(t.size() - 4);
    };
    std::vector<std::u16string> lines;
    lines.push_back(u"100  '" + numberText(0) + u",,," + numberText(last));
    for (std::size_t i = 0; static_cast<double>(i) <= last; ++i)
        lines.push_back(fourDigits(1000.0 + i) + u" '" + st.jname[i] + u"," + st.jalign[i]);
    for (std::size_t i = 0; static_cast<double>(i) <= last; ++i)
        lines.push_back(fourDigits(2000.0 + i) + u" '" + numberText(st.jwidth[i]));
    return lines;
}

} // namespace taiju
