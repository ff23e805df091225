#pragma once
// Collects whole text lines and hands them to a sink in large pieces, so a
// writer never leaves half a line behind when it stops with a failure.

#include "base/byte_sink.hpp"

#include <string>
#include <string_view>

namespace lw {

class LineSink {
public:
    explicit LineSink(ByteSink& out) : out_(out) { buffer_.reserve(kChunk + 256); }
    LineSink(const LineSink&) = delete;
    LineSink& operator=(const LineSink&) = delete;
    // Whatever was completed reaches the sink, also when a failure unwinds;
    // a sink that throws must not end the program from here.
    ~LineSink()
    {
        try {
            flush();
        } catch (...) {
        }
    }

    // The pending text; append a whole line to it, then call endLine().
    std::string& text() { return buffer_; }
    void endLine()
    {
        buffer_ += "\r\n";
        if (buffer_.size() >= kChunk)
            flush();
    }
    void line(std::string_view content)
    {
        // A long line goes to the sink as it is rather than through a copy;
        // its end follows with the next piece, or at the latest when this
        // sink goes, so the line is still never left half.
        if (content.size() >= kChunk) {
            flush();
            out_.write(content);
            buffer_ += "\r\n";
            return;
        }
        buffer_ += content;
        endLine();
    }
    void flush()
    {
        if (!buffer_.empty())
            out_.write(buffer_);
        buffer_.clear();
    }

private:
    static constexpr std::size_t kChunk = 64 * 1024;
    ByteSink& out_;
    std::string buffer_;
};

} // namespace lw
