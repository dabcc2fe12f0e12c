// Normalised text: commands, moves and book lines are compared without blanks or
// control characters and in upper case, so "usermove e2e4" reads as USERMOVEE2E4.
#include "tamblorwinboard/tamblorwinboard.h"

LineText normaliseLine(std::string_view text) {
    LineText result;
    for (char c : text) {
        const unsigned char code = static_cast<unsigned char>(c);
        if (code <= 32) continue;
        result.append(code >= 'a' && code <= 'z' ? static_cast<char>(code - 32) : c);
    }
    return result;
}
