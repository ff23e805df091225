#pragma once
// HarfBuzz, mapped on the first shaping rather than at every start: only
// vertical writing and shaping by choice need it, and loading it (with GLib, Graphite and PCRE
// beneath it) was a tenth of a cold command-line capture.
//
//   const lw::Shaper& hb = lw::shaper();   // throws when it cannot be loaded
//   hb_buffer_t* buffer = hb.buffer_create();

#include <hb.h>

namespace lw {

struct Shaper {
    decltype(&hb_blob_create_from_file) blob_create_from_file;
    decltype(&hb_blob_destroy) blob_destroy;
    decltype(&hb_face_create) face_create;
    decltype(&hb_face_destroy) face_destroy;
    decltype(&hb_font_create) font_create;
    decltype(&hb_font_destroy) font_destroy;
    decltype(&hb_buffer_create) buffer_create;
    decltype(&hb_buffer_destroy) buffer_destroy;
    decltype(&hb_buffer_add_utf32) buffer_add_utf32;
    decltype(&hb_buffer_set_direction) buffer_set_direction;
    decltype(&hb_buffer_set_script) buffer_set_script;
    decltype(&hb_buffer_set_language) buffer_set_language;
    decltype(&hb_buffer_get_glyph_infos) buffer_get_glyph_infos;
    decltype(&hb_language_from_string) language_from_string;
    decltype(&hb_shape) shape;
    decltype(&hb_buffer_get_glyph_positions) buffer_get_glyph_positions;
    decltype(&hb_buffer_guess_segment_properties) buffer_guess_segment_properties;
    decltype(&hb_feature_from_string) feature_from_string;
};

// Loaded once; a library missing or lacking a function is lw::Failure of
// kind BrokenInstallation, every time it is asked for.
const Shaper& shaper();

} // namespace lw
