// Writes the code page 932 tables as C++ source, at build time: what every
// byte and two-byte code decodes to and the code every character is written
// as, taken from Qt's "windows-31j" converter (cp932_qt.cpp). The programs
// are built with that source and convert without loading the converter.
//
// Usage: taiju-cp932-gen OUTPUT.cpp
// Fails, and writes nothing, on a Qt without the converter.

#include "cp932gen/cp932_qt.h"

#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <memory>
#include <string>

namespace {

using taiju::platform::cp932::Tables;

// One table as a braced list, 32 numbers a line; zero as "0".
template <class T, std::size_t N>
void writeTable(std::string& out, const char* what, const T (&values)[N]) {
    out += "    // ";
    out += what;
    out += "\n    {\n";
    for (std::size_t i = 0; i < N; ++i) {
        if (i % 32 == 0)
            out += "        ";
        char number[16];
        std::snprintf(number, sizeof number, values[i] ? "0x%X," : "0,",
                      static_cast<unsigned>(values[i]));
        out += number;
        out += i % 32 == 31 || i + 1 == N ? "\n" : "";
    }
    out += "    },\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    auto tables = std::make_unique<Tables>();
    const std::string error = taiju::platform::cp932::buildFromQt(*tables);
    if (!error.empty()) {
        std::fprintf(stderr,
                     "taiju-cp932-gen: %s.\n"
                     "The code page 932 (Shift_JIS) tables cannot be generated: build with a Qt 6 "
                     "whose Core has ICU (Debian's libqt6core6 has it).\n",
                     error.c_str());
        return 1;
    }

    std::string out;
    out.reserve(1 << 20);
    out += "// Generated at build time by taiju-cp932-gen from Qt's \"windows-31j\" converter.\n"
           "// Do not edit: every build writes it anew.\n\n"
           "#include \"text/cp932_tables.h\"\n\n"
           "namespace taiju::platform::cp932 {\n\n"
           "const Tables kTables = {\n";
    writeTable(out, "single bytes", tables->single);
    writeTable(out, "two-byte codes from 81 00", tables->pair);
    writeTable(out, "characters to codes", tables->code);
    out += "};\n\n} // namespace taiju::platform::cp932\n";

    const QString path = QString::fromLocal8Bit(argv[1]);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(out.data(), static_cast<qint64>(out.size())) !=
            static_cast<qint64>(out.size()) ||
        !file.commit()) {
        std::fprintf(stderr, "taiju-cp932-gen: cannot write %s: %s\n", argv[1],
                     qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
