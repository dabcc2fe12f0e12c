// Reading protocol lines from standard input, blocking or by polling.
//
// Bytes are read one at a time from the operating system: a buffered stream could hold
// bytes that the waiting-input test no longer sees, and one byte per call never reads
// past the line feed that ends the current line.
#ifdef _WIN32
#include <windows.h>
#else
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "tamblorwinboard/tamblorwinboard.h"

LineText inputLine;
bool ponderEnabled = false;
Move ponderMove = nullMove;
bool inputClosed = false;
LongLineText longInputLine;

namespace {

#ifdef _WIN32

// How standard input is watched, decided once when it is first used:
//  pipe     PeekNamedPipe counts the bytes waiting (what WinBoard and the other GUIs give);
//  console  an Enter key among the pending input events means a whole line can be read;
//  file     a redirected file is always ready;
//  thread   where none of these tests works (PeekNamedPipe refuses some pipes, e.g. under
//           Wine), a reader thread blocks on ReadFile and hands the bytes over.
enum class InputKind { undecided, pipe, console, file, thread };

InputKind inputKind = InputKind::undecided;
HANDLE standardInput = INVALID_HANDLE_VALUE;

// The reader thread's hand-over: a ring of bytes read but not yet taken.
constexpr DWORD ringSize = 4096;
unsigned char ring[ringSize];
DWORD ringStart = 0, ringCount = 0;
bool readerEnded = false;  // ReadFile reported the end of input or an error
SRWLOCK ringLock = SRWLOCK_INIT;
CONDITION_VARIABLE ringChanged = CONDITION_VARIABLE_INIT;

DWORD WINAPI readInput(void*) {
    for (;;) {
        AcquireSRWLockExclusive(&ringLock);
        while (ringCount == ringSize) SleepConditionVariableSRW(&ringChanged, &ringLock, INFINITE, 0);
        // Only into the free run that starts at the ring's end, so no byte is overwritten.
        const DWORD end = (ringStart + ringCount) % ringSize;
        const DWORD room = end >= ringStart ? ringSize - end : ringStart - end;
        ReleaseSRWLockExclusive(&ringLock);

        DWORD got = 0;
        const bool ok = ReadFile(standardInput, ring + end, room, &got, nullptr) && got > 0;

        AcquireSRWLockExclusive(&ringLock);
        if (ok) ringCount += got;
        else readerEnded = true;
        ReleaseSRWLockExclusive(&ringLock);
        WakeAllConditionVariable(&ringChanged);
        if (!ok) return 0;
    }
}

void decideInputKind() {
    standardInput = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode, available;
    switch (GetFileType(standardInput)) {
        case FILE_TYPE_DISK:
            inputKind = InputKind::file;
            return;
        case FILE_TYPE_CHAR:
            if (GetConsoleMode(standardInput, &mode)) {
                inputKind = InputKind::console;
                return;
            }
            break;  // a character device that is no console, such as NUL
        case FILE_TYPE_PIPE:
            // A pipe whose writer has already gone is still a pipe: its read finds the end.
            if (PeekNamedPipe(standardInput, nullptr, 0, nullptr, &available, nullptr) ||
                GetLastError() == ERROR_BROKEN_PIPE) {
                inputKind = InputKind::pipe;
                return;
            }
            break;
    }
    inputKind = InputKind::thread;
    if (CreateThread(nullptr, 64 * 1024, readInput, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr) == nullptr)
        readerEnded = true;  // no way to read: the end of input
}

bool consoleLineWaiting() {
    INPUT_RECORD events[128];
    DWORD count = 0;
    if (!PeekConsoleInputA(standardInput, events, 128, &count)) return true;  // let the read report it
    // With more events pending than fit here, the read may wait for the Enter briefly.
    if (count == 128) return true;
    for (DWORD i = 0; i < count; ++i) {
        const KEY_EVENT_RECORD& key = events[i].Event.KeyEvent;
        if (events[i].EventType == KEY_EVENT && key.bKeyDown && key.uChar.AsciiChar == '\r') return true;
    }
    return false;
}

bool bytesWaiting() {
    if (inputKind == InputKind::undecided) decideInputKind();
    switch (inputKind) {
        case InputKind::pipe: {
            DWORD available = 0;
            // A failed peek is a broken pipe: the read then finds the end of input.
            return !PeekNamedPipe(standardInput, nullptr, 0, nullptr, &available, nullptr) || available > 0;
        }
        case InputKind::console:
            return consoleLineWaiting();
        case InputKind::thread: {
            AcquireSRWLockShared(&ringLock);
            const bool waiting = ringCount > 0 || readerEnded;
            ReleaseSRWLockShared(&ringLock);
            return waiting;
        }
        default:
            return true;
    }
}

// One byte, or -1 at the end of input (or on an error that will not go away).
int readByte() {
    if (inputKind == InputKind::undecided) decideInputKind();
    if (inputKind != InputKind::thread) {
        unsigned char byte;
        DWORD got = 0;
        return ReadFile(standardInput, &byte, 1, &got, nullptr) && got == 1 ? byte : -1;
    }
    AcquireSRWLockExclusive(&ringLock);
    while (ringCount == 0 && !readerEnded) SleepConditionVariableSRW(&ringChanged, &ringLock, INFINITE, 0);
    int byte = -1;
    const bool wasFull = ringCount == ringSize;
    if (ringCount > 0) {
        byte = ring[ringStart];
        ringStart = (ringStart + 1) % ringSize;
        --ringCount;
    }
    ReleaseSRWLockExclusive(&ringLock);
    if (wasFull) WakeAllConditionVariable(&ringChanged);  // the reader waits for room
    return byte;
}

#else

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

#endif

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
    // A line ended by CR LF (as Windows GUIs may send them) is the same line without the CR.
    if (!line.empty() && line.chars[line.length - 1] == '\r') line.chars[--line.length] = '\0';
    return !line.empty();
}

}  // namespace

bool inputAvailable(bool poll) { return readPendingLine(poll, inputLine, inputLineLimit); }

bool longInputAvailable(bool poll) { return readPendingLine(poll, longInputLine, longInputLineLimit); }
