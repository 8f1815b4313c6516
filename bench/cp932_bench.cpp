// SPDX-License-Identifier: MIT
// Code page 932 conversion side by side with iconv on the same file: a log of
// 100,000 records of 256 bytes (25.6 MB), decoded and encoded back; and the
// cost of the first conversion of a run (the tables are compiled in).
//
//   cp932-bench [RECORDS]

#include "text/encoding.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <class F> double medianMs(int runs, F f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        f();
        t.push_back(msSince(start));
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// Records as the tool writes them: five numbers, a date stamp and a comment
// of Japanese text, half-width katakana and ASCII, blank-filled to 254 bytes.
std::string makeLog(long records) {
    const char16_t* comments[] = {u"朝食前に測定",       u"ｳｫｰｷﾝｸﾞ 30分",       u"walk", u"",
                                  u"体重が少し増えた～", u"①夕食後　髙橋さんと"};
    std::string log;
    log.reserve(static_cast<std::size_t>(records) * 256);
    for (long i = 0; i < records; ++i) {
        char numbers[80];
        std::snprintf(numbers, sizeof numbers, "%6s%10.1f%10.2f%10.3f%10.3f%10.3f", "",
                      50 + i % 400 / 10.0, 1.5 + i % 50 / 100.0, 59.895, 9.358, 24.059);
        std::string record = numbers;
        record += "05-01-2003 07:30:00 ";
        std::string comment = taiju::platform::encodeCp932(comments[i % 6]);
        comment.resize(40, ' ');
        record += comment;
        record.resize(254, ' ');
        record += "\r\n";
        log += record;
    }
    return log;
}

double iconvMs(const std::string& from, const std::string& to, const std::string& file) {
    const std::string command = "iconv -f " + from + " -t " + to + " '" + file + "' -o /dev/null";
    return medianMs(5, [&] {
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "cp932-bench: '%s' failed\n", command.c_str());
            std::exit(1);
        }
    });
}

} // namespace

int main(int argc, char** argv) {
    // First use in this process: what the settings file costs at start-up.
    auto start = Clock::now();
    const std::u16string settings =
        taiju::platform::decodeCp932("Z:\\opt\\taiju\r\n\x91\xcc\x8f\x64\x95\xcf\x89\xbb.txt\r\n");
    const double firstDecode = msSince(start);
    start = Clock::now();
    const std::string written = taiju::platform::encodeCp932(settings);
    const double firstEncode = msSince(start);
    std::printf("first use: the first decoding (the settings file) in %.2f ms, the first "
                "encoding in %.2f ms\n",
                firstDecode, firstEncode);

    const long records = argc > 1 ? std::atol(argv[1]) : 100000;
    const std::string log = makeLog(records);
    QTemporaryDir dir;
    const std::string logFile = (dir.path() + QStringLiteral("/log.txt")).toStdString();
    const std::string textFile = (dir.path() + QStringLiteral("/log-utf8.txt")).toStdString();
    std::ofstream(logFile, std::ios::binary) << log;

    std::u16string text;
    const double decode = medianMs(5, [&] { text = taiju::platform::decodeCp932(log); });
    {
        const QString q = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
        std::ofstream(textFile, std::ios::binary) << q.toStdString();
    }
    std::string back;
    const double encode = medianMs(5, [&] { back = taiju::platform::encodeCp932(text); });
    if (back != log) {
        std::fprintf(stderr, "cp932-bench: the log did not come back byte for byte\n");
        return 1;
    }
    const double iconvDecode = iconvMs("CP932", "UTF-8", logFile);
    const double iconvEncode = iconvMs("UTF-8", "CP932", textFile);

    const double mb = static_cast<double>(log.size()) / 1e6;
    std::printf("log of %ld records, %.1f MB (median of 5 runs each)\n", records, mb);
    std::printf("decode: decodeCp932 %7.1f ms (%6.0f MB/s)  iconv CP932->UTF-8 %7.1f ms (%6.0f "
                "MB/s)  ratio %.2f (target at most 2)\n",
                decode, mb / decode * 1000, iconvDecode, mb / iconvDecode * 1000,
                decode / iconvDecode);
    std::printf("encode: encodeCp932 %7.1f ms (%6.0f MB/s)  iconv UTF-8->CP932 %7.1f ms (%6.0f "
                "MB/s)  ratio %.2f\n",
                encode, mb / encode * 1000, iconvEncode, mb / iconvEncode * 1000,
                encode / iconvEncode);
    return written.size() == 26 ? 0 : 1;
}
