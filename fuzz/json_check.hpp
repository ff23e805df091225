#pragma once
// A strict JSON check (RFC 8259): one value, nothing after it, strings of
// valid UTF-8 without raw control characters. For the fuzz targets, which
// cannot call an outside parser.

#include <cctype>
#include <cstddef>
#include <string_view>

namespace lw::fuzz {

class JsonCheck {
public:
    static bool valid(std::string_view text)
    {
        JsonCheck c{text};
        return c.value(0) && (c.skip(), c.at_ == text.size());
    }

private:
    explicit JsonCheck(std::string_view text) : s_(text) {}

    void skip()
    {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\n' || s_[at_] == '\r' || s_[at_] == '\t'))
            ++at_;
    }
    bool eat(char c)
    {
        skip();
        if (at_ < s_.size() && s_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool literal(std::string_view word)
    {
        if (s_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }
    bool digits()
    {
        std::size_t start = at_;
        while (at_ < s_.size() && s_[at_] >= '0' && s_[at_] <= '9')
            ++at_;
        return at_ > start;
    }
    bool number()
    {
        if (at_ < s_.size() && s_[at_] == '-')
            ++at_;
        if (at_ < s_.size() && s_[at_] == '0')
            ++at_;
        else if (!digits())
            return false;
        if (at_ < s_.size() && s_[at_] == '.' && (++at_, !digits()))
            return false;
        if (at_ < s_.size() && (s_[at_] == 'e' || s_[at_] == 'E')) {
            ++at_;
            if (at_ < s_.size() && (s_[at_] == '+' || s_[at_] == '-'))
                ++at_;
            return digits();
        }
        return true;
    }
    bool string()
    {
        ++at_; // the opening quote
        while (at_ < s_.size()) {
            const unsigned char c = static_cast<unsigned char>(s_[at_]);
            if (c == '"')
                return ++at_, true;
            if (c < 0x20)
                return false;
            if (c == '\\') {
                if (++at_ >= s_.size())
                    return false;
                const char e = s_[at_++];
                if (e == 'u') {
                    for (int k = 0; k < 4; ++k, ++at_)
                        if (at_ >= s_.size() || !std::isxdigit(static_cast<unsigned char>(s_[at_])))
                            return false;
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    return false;
                }
                continue;
            }
            if (c < 0x80) {
                ++at_;
                continue;
            }
            // UTF-8: the shortest form, no surrogates, at most U+10FFFF.
            const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
            if (length == 0 || c > 0xF4 || at_ + std::size_t(length) > s_.size())
                return false;
            char32_t code = c & (0x7F >> length);
            for (int k = 1; k < length; ++k) {
                const unsigned char t = static_cast<unsigned char>(s_[at_ + std::size_t(k)]);
                if ((t & 0xC0) != 0x80)
                    return false;
                code = (code << 6) | (t & 0x3F);
            }
            if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)))
                || (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
                return false;
            at_ += std::size_t(length);
        }
        return false;
    }
    bool value(int depth)
    {
        skip();
        if (at_ >= s_.size() || depth > 64)
            return false;
        const char c = s_[at_];
        if (c == '"')
            return string();
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++at_;
            if (eat(close))
                return true;
            do {
                if (c == '{') {
                    skip();
                    if (at_ >= s_.size() || s_[at_] != '"' || !string() || !eat(':'))
                        return false;
                }
                if (!value(depth + 1))
                    return false;
            } while (eat(','));
            return eat(close);
        }
        if (c == 't')
            return literal("true");
        if (c == 'f')
            return literal("false");
        if (c == 'n')
            return literal("null");
        return number();
    }

    std::string_view s_;
    std::size_t at_ = 0;
};

} // namespace lw::fuzz
