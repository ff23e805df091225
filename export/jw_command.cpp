#include "export/jw_command.hpp"

#include "export/byte_files.hpp"
#include "export/jw_output.hpp"
#include "export/jw_warnings.hpp"
#include "base/failure.hpp"

namespace lw {
namespace {

JwPlacement placementOf(const JwParameters& parameters, double twipsPerPixelX)
{
    return {.baseX = parameters.baseX,
            .baseY = parameters.baseY,
            .scale = parameters.chosenScale,
            .twipsPerPixel = twipsPerPixelX};
}

// The command file's lines that made the placement, for a failure while the
// outline is written.
std::string origin(const std::string& inputPath, const JwParameters& p)
{
    if (p.baseLine == 0 && p.scaleLine == 0)
        return {};
    std::string text = ", from " + inputPath;
    if (p.baseLine != 0)
        text += ", line " + std::to_string(p.baseLine) + " (base point)";
    if (p.scaleLine != 0)
        text += ", line " + std::to_string(p.scaleLine) + " (scale)";
    return text;
}

} // namespace

JwParameters writeJw(std::string_view commandBytes, std::string_view commandName,
                     ByteSink& out, const CapturedOutline& outline, double twipsPerPixelX)
{
    JwParameters parameters;
    copyCommandFile(commandBytes, commandName, out, parameters);
    writeJwOutline(out, outline,
                   placementOf(parameters, twipsPerPixelX));
    return parameters;
}

std::string writeJwExport(const std::string& inputPath, const std::string& outputPath,
                          const CapturedOutline& outline, double twipsPerPixelX)
{
    InputFile input(inputPath);
    // Emptying the output would otherwise destroy the command file it copies.
    if (input.isSameFileAs(outputPath))
        throw Failure(FailureKind::PathFileAccess, outputPath + " (the output file is the command file)");
    const std::string bytes = input.readAll();
    OutputFile output(outputPath);
    JwParameters parameters;
    try {
        copyCommandFile(bytes, inputPath, output.stream(), parameters);
        try {
            writeJwOutline(output.stream(), outline, placementOf(parameters, twipsPerPixelX));
        } catch (const Failure& failure) {
            throw Failure(failure.kind(), outputPath + ", " + failure.where() + origin(inputPath, parameters));
        }
    } catch (const Failure&) {
        // The lines copied before the failure are what the export leaves.
        output.close();
        throw;
    }
    output.close();
    return jwWarning(bytes, inputPath, parameters);
}

} // namespace lw
