#pragma once
// A string of fixed capacity that cuts silently: protocol lines, move texts and
// book lines all have a maximum length, and nothing may allocate once play starts.
#include <string_view>

template <int Capacity>
struct BoundedText {
    char chars[Capacity + 1] = {};
    int length = 0;

    static constexpr int capacity = Capacity;

    BoundedText() = default;
    BoundedText(std::string_view text) { assign(text); }

    void clear() { length = 0; chars[0] = '\0'; }
    void assign(std::string_view text) {
        clear();
        append(text);
    }
    void append(char c) {
        if (length < Capacity) {
            chars[length++] = c;
            chars[length] = '\0';
        }
    }
    void append(std::string_view text) {
        for (char c : text) append(c);
    }
    bool empty() const { return length == 0; }
    std::string_view view() const { return std::string_view(chars, static_cast<size_t>(length)); }
    operator std::string_view() const { return view(); }
    char operator[](int i) const { return chars[i]; }
    // Characters first..last counted from 1, as the command table names them.
    std::string_view slice(int first, int last) const {
        if (first > length) return {};
        int end = last < length ? last : length;
        return std::string_view(chars + first - 1, static_cast<size_t>(end - first + 1));
    }
    bool startsWith(std::string_view prefix) const { return view().substr(0, prefix.size()) == prefix; }
};

using LineText = BoundedText<255>;   // normalised or raw text of one line
using MoveText = BoundedText<5>;     // "e7e8q"
