// Reading protocol lines from standard input, blocking or by polling.
//
// Bytes are read one at a time with read(2) on the descriptor: a buffered stream
// could hold bytes that poll() no longer sees, and one byte per call never reads
// past the line feed that ends the current line.
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "tamblorwinboard/tamblorwinboard.h"

LineText inputLine;
bool ponderEnabled = false;
Move ponderMove = nullMove;
bool inputClosed = false;
LongLineText longInputLine;

namespace {

constexpr int standardInput = 0;

bool bytesWaiting() {
    pollfd request{standardInput, POLLIN, 0};
    int ready;
    do ready = poll(&request, 1, 0);
    while (ready < 0 && errno == EINTR);
    // A closed pipe reports POLLHUP: the read below then finds the end of input.
    return ready > 0 && (request.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

// One byte, or -1 at the end of input (or on an error that will not go away).
int readByte() {
    unsigned char byte;
    for (;;) {
        ssize_t n = read(standardInput, &byte, 1);
        if (n == 1) return byte;
        if (n < 0 && errno == EINTR) continue;
        return -1;
    }
}

}  // namespace

namespace {

template <int Capacity>
bool readPendingLine(bool poll, BoundedText<Capacity>& line, int limit) {
    if (!line.empty()) return true;
    // Once the GUI has gone, every read is a "quit": the engine must end, not spin.
    if (inputClosed) {
        line.assign("quit");
        return true;
    }
    if (poll && !bytesWaiting()) return false;
    for (;;) {
        int byte = readByte();
        if (byte < 0) {
            inputClosed = true;
            // A last line without its line feed still counts; "quit" follows it.
            if (line.empty()) line.assign("quit");
            return true;
        }
        if (byte == '\n') break;
        if (line.length < limit) line.append(static_cast<char>(byte));
    }
    return !line.empty();
}

}  // namespace

bool inputAvailable(bool poll) { return readPendingLine(poll, inputLine, inputLineLimit); }

bool longInputAvailable(bool poll) { return readPendingLine(poll, longInputLine, longInputLineLimit); }
