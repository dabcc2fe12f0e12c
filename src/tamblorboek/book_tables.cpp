// Loading the two book tables. Every line is read byte by byte into fixed buffers, so
// no file, however long its lines or strange its bytes, can write past a table.
#include <cstdio>

#include "tamblorboek/tamblorboek.h"
#include "tamblorwinboard/tamblorwinboard.h"

BookTable whiteBook;
BookTable blackBook;

namespace {

constexpr int lineReadLimit = 255;

// The next line's first 255 bytes, the rest of it skipped; false at the end of the file.
bool readLine(std::FILE* file, LineText& line) {
    line.clear();
    int c = std::getc(file);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        if (line.length < lineReadLimit) line.append(static_cast<char>(c));
        c = std::getc(file);
    }
    return true;
}

}  // namespace

bool loadBookTable(BookTable& table, const char* fileName, EngineState& state) {
    for (BookLine& entry : table.entries) entry.clear();
    table.count = 0;
    std::FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        state.ioResult = -1;
        return false;
    }
    LineText line;
    while (table.count < bookCapacity && readLine(file, line)) {
        const LineText normalised = normaliseLine(line.view().substr(0, bookLineLength));
        std::string_view text = normalised.view();
        text = text.substr(0, text.find('\\'));  // a backslash starts a comment
        if (text.empty() || text.front() == '@') continue;
        table.entries[table.count++].assign(text);
    }
    state.ioResult = std::ferror(file) ? -1 : 0;
    std::fclose(file);
    return true;
}

// The working directory first, so that a GUI can hand the engine books of its own;
// then the folder the books were installed to.
void loadBook(EngineState& state) {
#ifndef TAMBLOR_INSTALLED_BOOK_DIR
#define TAMBLOR_INSTALLED_BOOK_DIR "/usr/share/games/tamblor"
#endif
    if (!loadBookTable(whiteBook, "tamblorwhite.doc", state))
        loadBookTable(whiteBook, TAMBLOR_INSTALLED_BOOK_DIR "/tamblorwhite.doc", state);
    if (!loadBookTable(blackBook, "tamblorblack.doc", state))
        loadBookTable(blackBook, TAMBLOR_INSTALLED_BOOK_DIR "/tamblorblack.doc", state);
}
