// Stands in for a started program where a script cannot: records its whole
// argv, argv[0] included, one "[arg]" line each, into $LW_PROBE_RECORD.
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    const char* record = std::getenv("LW_PROBE_RECORD");
    std::FILE* out = record ? std::fopen(record, "w") : nullptr;
    if (!out)
        return 1;
    for (int i = 0; i < argc; ++i)
        std::fprintf(out, "[%s]\n", argv[i]);
    return std::fclose(out) == 0 ? 0 : 1;
}
