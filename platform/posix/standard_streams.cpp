#include "platform/standard_streams.hpp"

#include <cstdio>
#include <ext/stdio_sync_filebuf.h>

namespace lw {
namespace {

bool outputMade = false;

} // namespace

// The buffers std::cout and std::cerr have while synchronised with C's
// streams, the default.
std::ostream& standardOutput()
{
    static __gnu_cxx::stdio_sync_filebuf<char> buffer(stdout);
    static std::ostream stream(&buffer);
    outputMade = true;
    return stream;
}

std::ostream& standardError()
{
    static __gnu_cxx::stdio_sync_filebuf<char> buffer(stderr);
    static std::ostream stream(&buffer);
    static const bool likeCerr = [] {
        stream.tie(&standardOutput());
        stream.setf(std::ios_base::unitbuf);
        return true;
    }();
    (void)likeCerr;
    return stream;
}

// The stream holds nothing of its own: these bytes and its keep their order.
void writeStandardOutput(std::string_view bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

bool standardOutputStreamGood()
{
    return !outputMade || standardOutput().flush().good();
}

} // namespace lw
