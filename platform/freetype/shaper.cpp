#include "platform/freetype/shaper.hpp"

#include "base/failure.hpp"

#include <dlfcn.h>

#include <string>

namespace lw {
namespace {

struct Loaded {
    Shaper api{};
    std::string missing; // empty when every function was found
};

template <typename Function>
void find(void* library, const char* name, Function& slot, std::string& missing)
{
    slot = library ? reinterpret_cast<Function>(dlsym(library, name)) : nullptr;
    if (!slot && missing.empty())
        missing = name;
}

Loaded load()
{
    Loaded loaded;
    void* library = dlopen("libharfbuzz.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        loaded.missing = why ? why : "libharfbuzz.so.0";
        return loaded;
    }
    Shaper& a = loaded.api;
    std::string& m = loaded.missing;
    find(library, "hb_blob_create_from_file", a.blob_create_from_file, m);
    find(library, "hb_blob_destroy", a.blob_destroy, m);
    find(library, "hb_face_create", a.face_create, m);
    find(library, "hb_face_destroy", a.face_destroy, m);
    find(library, "hb_font_create", a.font_create, m);
    find(library, "hb_font_destroy", a.font_destroy, m);
    find(library, "hb_buffer_create", a.buffer_create, m);
    find(library, "hb_buffer_destroy", a.buffer_destroy, m);
    find(library, "hb_buffer_add_utf32", a.buffer_add_utf32, m);
    find(library, "hb_buffer_set_direction", a.buffer_set_direction, m);
    find(library, "hb_buffer_set_script", a.buffer_set_script, m);
    find(library, "hb_buffer_set_language", a.buffer_set_language, m);
    find(library, "hb_buffer_get_glyph_infos", a.buffer_get_glyph_infos, m);
    find(library, "hb_language_from_string", a.language_from_string, m);
    find(library, "hb_shape", a.shape, m);
    find(library, "hb_buffer_get_glyph_positions", a.buffer_get_glyph_positions, m);
    find(library, "hb_buffer_guess_segment_properties", a.buffer_guess_segment_properties, m);
    find(library, "hb_feature_from_string", a.feature_from_string, m);
    // The library stays mapped for the life of the program.
    return loaded;
}

} // namespace

const Shaper& shaper()
{
    static const Loaded loaded = load();
    if (!loaded.missing.empty())
        throw Failure(FailureKind::BrokenInstallation, "HarfBuzz, needed for vertical writing and shaping, could not be loaded (" +
                                                           loaded.missing + ")");
    return loaded.api;
}

} // namespace lw
