// The engine's clock and its time budget per move. Times are fractions of a day.
#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#endif
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tamblorwinboard/tamblorwinboard.h"

namespace {

// Reads a whole field as a real number; false when any of it is not part of one.
bool readReal(std::string_view field, double& value) {
    if (field.empty() || field.size() > 60) return false;
    for (char c : field)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E')) return false;
    char text[64];
    field.copy(text, field.size());
    text[field.size()] = '\0';
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end == text + field.size() && std::isfinite(value);
}

bool readInteger(std::string_view field, long& value) {
    if (field.empty() || field.size() > 18) return false;
    size_t i = field[0] == '+' || field[0] == '-' ? 1 : 0;
    if (i == field.size()) return false;
    long result = 0;
    for (; i < field.size(); ++i) {
        if (field[i] < '0' || field[i] > '9') return false;
        result = result * 10 + (field[i] - '0');
    }
    value = field[0] == '-' ? -result : result;
    return true;
}

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Cuts the last blank-separated field (and the blanks before it) off rest.
std::string_view takeLastField(std::string_view& rest) {
    while (!rest.empty() && isBlank(rest.back())) rest.remove_suffix(1);
    size_t start = rest.size();
    while (start > 0 && !isBlank(rest[start - 1])) --start;
    std::string_view field = rest.substr(start);
    rest = rest.substr(0, start);
    while (!rest.empty() && isBlank(rest.back())) rest.remove_suffix(1);
    return field;
}

}  // namespace

double timeOfDay() {
    // A steady clock: setting the wall clock or a change of summer time must not
    // stretch or shorten a move's thinking time.
#ifdef _WIN32
    // The performance counter, read directly: the C++ runtime of this toolchain has no
    // monotonic clock of its own on Windows.
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    const double seconds = static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
#else
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
#endif
    return std::fmod(seconds / 86400.0, 1.0);
}

double elapsedSinceStart(const EngineState& state) {
    double elapsed = timeOfDay() - state.searchStart;
    if (elapsed < -0.001) elapsed += 1.0;  // the day wrapped since the start
    return elapsed;
}

void setClock(EngineState& state, std::string_view centiseconds) {
    double value;
    if (!readReal(centiseconds, value)) return;
    value -= 30;  // a safety margin of 0.3 seconds
    if (value < 0) value = 0;
    state.clock = value / 8640000.0;
}

void parseLevel(EngineState& state, std::string_view rawLine) {
    size_t firstDigit = 0;
    while (firstDigit < rawLine.size() && !(rawLine[firstDigit] >= '0' && rawLine[firstDigit] <= '9')) ++firstDigit;
    std::string_view rest = rawLine.substr(firstDigit);

    double increment;
    state.increment = readReal(takeLastField(rest), increment) ? increment / 86400.0 : 0;

    std::string_view baseField = takeLastField(rest);
    char base[64];
    const size_t baseLength = std::min(baseField.size(), sizeof base - 1);
    baseField.copy(base, baseLength);
    bool minutesAndSeconds = false;
    for (size_t i = 0; i < baseLength; ++i)
        if (base[i] == ':') {
            base[i] = '.';
            minutesAndSeconds = true;
        }
    double minutes;
    if (readReal(std::string_view(base, baseLength), minutes)) {
        if (minutesAndSeconds) {
            const double whole = std::trunc(minutes);
            minutes = whole + (minutes - whole) * 1.6666666666666667;
        }
        state.clock = minutes / 1440.0;
    } else {
        state.clock = 5.0 / 1440.0;
    }

    long moves;
    state.movesPerControl = 0;
    if (readInteger(takeLastField(rest), moves) && moves > 0 && moves < 100000) {
        state.movesPerControl = static_cast<std::int32_t>(moves);
        state.increment = 0;
    }
}

void computeTimeBudget(EngineState& state) {
    double targetFraction = 1.0 / 40, maxFraction = 1.0 / 10;
    if (state.movesPerControl > 0) {
        const int m = state.movesPerControl;
        const int movesToGo = m - (((state.lastGameMove + 2) / 2) % m) + 2;
        targetFraction = 0.8 / movesToGo;
        maxFraction = 2.4 / movesToGo;
    }
    double usable = state.clock - second;
    if (usable < 0) usable = 0;
    state.targetTime = targetFraction * usable;
    state.maxTime = maxFraction * usable;
}

bool timeUp(const EngineState& state) {
    const double target = state.easyMove != nullMove ? state.targetTime / 2 : state.targetTime;
    return elapsedSinceStart(state) > target;
}

bool rootTimeUp(const EngineState& state, int score) {
    if (score <= state.previousScore - 15) return false;  // a falling score buys time
    return elapsedSinceStart(state) > state.targetTime;
}

void applyPonderHit(EngineState& state) {
    computeTimeBudget(state);
    state.hitElapsed = elapsedSinceStart(state);
    const bool longEnough = !state.iterationHasBest && state.hitElapsed > state.targetTime &&
                            state.searchDepth > 12 && state.researchCount == 0 &&
                            state.bestScore > state.previousScore - 15;
    const bool onlyMove = state.legalRootMoves == 1 && state.searchDepth > 9;
    if (longEnough || onlyMove) {
        state.stopSearch = 1;
        inputLine.clear();
        return;
    }
    // Half of the pondering time counts against this move; the search clock restarts.
    state.targetTime = std::max(state.targetTime - state.hitElapsed / 2, 0.0);
    state.maxTime = std::max(state.maxTime - state.hitElapsed / 2, 0.0);
    state.searchStart = timeOfDay();
}

void setDefaultClock(EngineState& state) {
    state.clock = 10.0 / 1440.0;
    state.increment = 5.0 * second;
    state.movesPerControl = 0;
}
