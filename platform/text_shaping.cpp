#include "platform/text_shaping.hpp"

#include <algorithm>
#include <cctype>
#include <string>

namespace lw {
namespace {

// The registered OpenType layout features, but for the numbered families
// below and "kern", which has its own choice.
constexpr std::string_view kRegistered[] = {
    "aalt", "abvf", "abvm", "abvs", "afrc", "akhn", "apkn", "blwf", "blwm", "blws", "c2pc", "c2sc", "calt",
    "case", "ccmp", "cfar", "chws", "cjct", "clig", "cpct", "cpsp", "cswh", "curs", "dist", "dlig", "dnom",
    "dtls", "expt", "falt", "fin2", "fin3", "fina", "flac", "frac", "fwid", "half", "haln", "halt", "hist",
    "hkna", "hlig", "hngl", "hojo", "hwid", "init", "isol", "ital", "jalt", "jp04", "jp78", "jp83", "jp90",
    "lfbd", "liga", "ljmo", "lnum", "locl", "ltra", "ltrm", "mark", "med2", "medi", "mgrk", "mkmk", "mset",
    "nalt", "nlck", "nukt", "numr", "onum", "opbd", "ordn", "ornm", "palt", "pcap", "pkna", "pnum", "pref",
    "pres", "pstf", "psts", "pwid", "qwid", "rand", "rclt", "rkrf", "rlig", "rphf", "rtbd", "rtla", "rtlm",
    "ruby", "rvrn", "salt", "sinf", "size", "smcp", "smpl", "ssty", "stch", "subs", "sups", "swsh", "titl",
    "tjmo", "tnam", "tnum", "trad", "twid", "unic", "valt", "vapk", "vatu", "vchw", "vert", "vhal", "vjmo",
    "vkna", "vkrn", "vpal", "vrt2", "vrtr", "zero"};

// "ss01".."ss20", "cv01".."cv99".
bool isNumbered(std::string_view tag)
{
    if (tag.size() != 4 || !std::isdigit(static_cast<unsigned char>(tag[2]))
        || !std::isdigit(static_cast<unsigned char>(tag[3])))
        return false;
    const int n = (tag[2] - '0') * 10 + (tag[3] - '0');
    if (tag.starts_with("ss"))
        return n >= 1 && n <= 20;
    if (tag.starts_with("cv"))
        return n >= 1;
    return false;
}

} // namespace

std::string featureTagRefusal(std::string_view tag)
{
    if (tag.empty())
        return "an empty feature tag";
    if (tag == "kern")
        return "kern is pair kerning, a choice of its own";
    if (isNumbered(tag) || std::find(std::begin(kRegistered), std::end(kRegistered), tag) != std::end(kRegistered))
        return {};
    return std::string(tag) + " is not an OpenType feature tag (four letters such as liga, palt, ss01)";
}

} // namespace lw
