// Sending protocol lines, the traffic log and the start-up handshake.
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#endif
#include <cstdio>

#include "tamblorwinboard/tamblorwinboard.h"

namespace {

// The traffic log is a facility that nothing opens; logLine writes only when both
// logEnabled is set and a file has been opened here.
std::FILE* logFile = nullptr;

#ifdef _WIN32
// WriteFile on the handle itself: no C runtime buffer and no text mode, so a line goes
// out at once and ends with a bare line feed, as on Linux (Windows GUIs take both endings).
int writeAll(const char* data, size_t size) {
    const HANDLE standardOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(standardOutput, data, static_cast<DWORD>(size), &written, nullptr) || written == 0) {
            const DWORD error = GetLastError();
            return error != 0 ? static_cast<int>(error) : -1;
        }
        data += written;
        size -= written;
    }
    return 0;
}
#else
int writeAll(const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = write(1, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return errno != 0 ? errno : -1;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return 0;
}
#endif

}  // namespace

void logLine(EngineState& state, std::string_view prefix, std::string_view text) {
    if (!state.logEnabled || logFile == nullptr) return;
    int failed = std::fprintf(logFile, "%.*s%.*s\n", static_cast<int>(prefix.size()), prefix.data(),
                              static_cast<int>(text.size()), text.data()) < 0;
    state.ioResult = failed ? -1 : 0;
}

void sendLine(EngineState& state, std::string_view text) {
    if (!state.outputEnabled) return;
    text = text.substr(0, outputLineLimit);
    if (!text.empty()) {
        // One write per line: the line and its line feed reach the GUI together.
        char buffer[outputLineLimit + 1];
        text.copy(buffer, text.size());
        buffer[text.size()] = '\n';
        state.ioResult = writeAll(buffer, text.size() + 1);
    }
    logLine(state, "Out: ", text);
}

void handshake(EngineState& state) {
    static constexpr std::string_view features[] = {
        "feature done=0",       "feature myname=\"Tamblor 0.35k\"",
        "feature san=0",        "feature usermove=1",
        "feature analyze=0",    "feature setboard=1",
        "feature reuse=1",      "feature sigterm=0",
        "feature sigint=0",     "feature done=1",
    };
    for (;;) {
        while (!inputAvailable(false)) {
        }
        LineText line = normaliseLine(inputLine);
        inputLine.clear();
        if (line.startsWith("PROTOVER")) break;
        // Without a GUI there is nobody to greet; the command loop then reads "quit".
        if (inputClosed) return;
    }
    for (std::string_view feature : features) sendLine(state, feature);
}
