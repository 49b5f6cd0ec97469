#include "scenario/LineRead.h"

#include <istream>

namespace quibbix {

LineRead ReadScriptLine(std::istream& script, std::string& line) {
    line.clear();
    std::streambuf* in = script.rdbuf();
    if (in == nullptr || !script.good()) {
        return LineRead::End;
    }
    for (;;) {
        const int c = in->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            script.setstate(std::ios::eofbit);
            return line.empty() ? LineRead::End : LineRead::Line;
        }
        if (c == '\n') {
            return LineRead::Line;
        }
        if (line.size() == kMaxLineBytes) {
            return LineRead::TooLong;
        }
        line += static_cast<char>(c);
    }
}

}  // namespace quibbix
