#pragma once
// Text written into a byte-stream file (a OutputFile of one-byte records) through a window of
// reserved room: numbers are formatted in place by std::to_chars, so the text never depends on the
// user's locale and no value costs a stream, a printf or an allocation.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

class OutputFile;

class TextWriter {
public:
    // Room reserved at a time; a single piece of text may be longer.
    static constexpr std::size_t WindowBytes = 64 * 1024;
    // Bytes one number takes at most (a double in shortest form, or a 64-bit integer).
    static constexpr std::size_t NumberBytes = 32;

    explicit TextWriter(OutputFile& file) : file_(file) {}
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    // At least `bytes` of room at the write position; write there and move on with `wrote`.
    char* room(std::size_t bytes) {
        if (static_cast<std::size_t>(end_ - at_) < bytes) {
            renew(bytes);
        }
        return at_;
    }
    void wrote(char* end) { at_ = end; }
    // The bytes written so far, kept or still in the window.
    std::int64_t written() const { return kept_ + (at_ - start_); }

    void text(std::string_view piece) {
        char* at = room(piece.size());
        std::memcpy(at, piece.data(), piece.size());
        wrote(at + piece.size());
    }
    void character(char c) {
        char* at = room(1);
        *at = c;
        wrote(at + 1);
    }
    void integer(std::int64_t value) {
        char* at = room(NumberBytes);
        wrote(std::to_chars(at, at + NumberBytes, value).ptr);
    }
    void hexadecimal(std::uint64_t value) { wrote(storeHexadecimal(room(NumberBytes), value)); }
    void number(double value) { wrote(storeNumber(room(NumberBytes), value)); }

    // Keeps what was written in the file; call before the file is closed.
    void flush();

    // The shortest decimal that reads back as `value`, with a point for the decimal separator; whole
    // numbers have no point. Returns the end; takes at most NumberBytes.
    static char* storeNumber(char* at, double value);
    // Upper-case hexadecimal digits, as a drawing's handles are written.
    static char* storeHexadecimal(char* at, std::uint64_t value);

private:
    void renew(std::size_t bytes);

    OutputFile& file_;
    char* start_ = nullptr; // the reserved window: written from start_ up to at_
    char* at_ = nullptr;
    char* end_ = nullptr;
    std::int64_t kept_ = 0; // the bytes of the windows before this one
};
