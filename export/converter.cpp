#include "export/converter.hpp"

#include "platform/process.hpp"

namespace lw {

void startConverter(const std::string& workFile, const std::string& outputPath)
{
    startDetached({"mfin", workFile, outputPath}, workFile);
}

} // namespace lw
