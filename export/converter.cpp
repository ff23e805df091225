#include "export/converter.hpp"

#include "base/failure.hpp"
#include "platform/process.hpp"

namespace lw {

namespace {

constexpr const char* kConverter = "mfin";

} // namespace

bool converterFound() { return programFound(kConverter); }

void startConverter(const std::string& workFile, const std::string& outputPath)
{
    try {
        startDetached({kConverter, workFile, outputPath}, workFile);
    } catch (const Failure& failure) {
        // "mfin" alone says nothing to a user who never heard of it.
        if (failure.kind() != FailureKind::FileNotFound)
            throw;
        throw Failure(FailureKind::FileNotFound,
                      failure.where() + " (the converter that turns the WIT work file into the output file; not "
                                        "found on PATH nor where the system looks for programs)");
    }
}

} // namespace lw
