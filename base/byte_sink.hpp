#pragma once
// Where a writer's bytes go: a string, a C stream (standard output), or a
// file (OutputFile). Bytes pass as they are, never translated; numbers are
// the writers' own text (std::to_chars), so there is no number insertion to
// call by mistake. Not std::ostream: with it the command line would link and
// set up the standard streams and the locale, a few per cent of a start.
//
//   out << "<svg" << ' ';  out.write(bytes);    // in a writer
//   lw::StringSink out;  writeSvg(out, outline, mm);
//   EXPECT_EQ(out.text(), expected);             // in a test
//
// A destination that fails keeps its error where its owner reads it at the
// end (OutputFile::close, the C stream's ferror), as a full disk must be
// reported, never taken for success.

#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

namespace lw {

class ByteSink {
public:
    ByteSink() = default;
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;
    virtual ~ByteSink() = default;

    virtual void write(std::string_view bytes) = 0;
    // Passes on what the sink holds back, if it holds any.
    virtual void flush() {}

    void put(char c) { write(std::string_view(&c, 1)); }
    ByteSink& operator<<(std::string_view bytes)
    {
        write(bytes);
        return *this;
    }
    ByteSink& operator<<(char c)
    {
        put(c);
        return *this;
    }
    // A number has a form of its own in each file: it is formatted first.
    template <typename T>
        requires std::is_arithmetic_v<T>
    ByteSink& operator<<(T) = delete;
};

// Every byte kept in a string, as tests and fixed texts want it.
class StringSink final : public ByteSink {
public:
    void write(std::string_view bytes) override { text_ += bytes; }
    std::string& text() { return text_; }

private:
    std::string text_;
};

// Bytes handed to a C stream as they come; the stream's own buffer holds
// them, and its error indicator (ferror, fflush) says whether they arrived.
class CStreamSink final : public ByteSink {
public:
    explicit CStreamSink(std::FILE* stream) : stream_(stream) {}
    void write(std::string_view bytes) override { std::fwrite(bytes.data(), 1, bytes.size(), stream_); }
    void flush() override { std::fflush(stream_); }

private:
    std::FILE* stream_;
};

} // namespace lw
