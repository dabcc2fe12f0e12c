// Loading the two book tables. Every line is read byte by byte into fixed buffers, so
// no file, however long its lines or strange its bytes, can write past a table.
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

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
// then the folder the books were installed to: on Windows the one that holds the program.
void loadBook(EngineState& state) {
    static constexpr const char* names[2] = {"tamblorwhite.doc", "tamblorblack.doc"};
    BookTable* const tables[2] = {&whiteBook, &blackBook};
#ifdef _WIN32
    char folder[MAX_PATH + 1] = "";
    const DWORD length = GetModuleFileNameA(nullptr, folder, MAX_PATH);
    char* lastSeparator = std::strrchr(folder, '\\');
    // The program's full path, cut after its folder; without a usable path, no second place.
    if (length == 0 || length >= MAX_PATH || lastSeparator == nullptr) folder[0] = '\0';
    else lastSeparator[1] = '\0';
#else
#ifndef TAMBLOR_INSTALLED_BOOK_DIR
#define TAMBLOR_INSTALLED_BOOK_DIR "/usr/share/games/tamblor"
#endif
    const char folder[] = TAMBLOR_INSTALLED_BOOK_DIR "/";
#endif
    for (int i = 0; i < 2; ++i) {
        if (loadBookTable(*tables[i], names[i], state) || folder[0] == '\0') continue;
        char path[sizeof folder + 20];
        if (std::strlen(folder) + std::strlen(names[i]) >= sizeof path) continue;
        std::strcpy(path, folder);
        std::strcat(path, names[i]);
        loadBookTable(*tables[i], path, state);
    }
}
