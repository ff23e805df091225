#include "platform/standard_streams.hpp"

#include <iostream>

namespace lw {

// Here the streams are std::cout and std::cerr: standard error's console
// rule is set on std::cerr.
std::ostream& standardOutput() { return std::cout; }

std::ostream& standardError() { return std::cerr; }

void writeStandardOutput(std::string_view bytes) { std::cout.write(bytes.data(), std::streamsize(bytes.size())); }

bool standardOutputStreamGood() { return std::cout.flush().good(); }

} // namespace lw
