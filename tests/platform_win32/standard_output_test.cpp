#include "platform/process.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace {

// Standard output sent to `target` for one case, and back again after.
class StandardOutputTo {
public:
    explicit StandardOutputTo(const std::wstring& target)
    {
        std::fflush(stdout);
        saved_ = _dup(1);
        const int fd = _wopen(target.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC, _S_IREAD | _S_IWRITE);
        moved_ = fd >= 0 && _dup2(fd, 1) == 0;
        if (fd >= 0)
            _close(fd);
        // As the C runtime leaves a character device: no buffer.
        std::setvbuf(stdout, nullptr, _IONBF, 0);
    }
    ~StandardOutputTo()
    {
        std::fflush(stdout);
        _dup2(saved_, 1);
        _close(saved_);
        std::setvbuf(stdout, nullptr, _IOFBF, 4096);
    }
    bool moved() const { return moved_; }

private:
    int saved_ = -1;
    bool moved_ = false;
};

std::wstring temporaryFile()
{
    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"lwo", 0, path);
    return path;
}

std::string readAll(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

// A character device gets a buffer, so a capture's text is not handed over a
// few bytes a call; a file keeps what the runtime chose; the bytes are the
// same either way (CR LF unless binary was asked for).
TEST(StandardOutput, BuffersOnlyACharacterDeviceAndKeepsTheBytes)
{
    const std::string sample = "{\"points\": [[1, 2]]}\n\xE7\xB7\xA8\xE9\x9B\x86\n";
    struct Case {
        const char* name;
        bool device; // NUL, else a file read back
        bool binary;
        bool buffered;
        std::string bytes; // in the file
    };
    const Case cases[] = {
        {"null device", true, false, true, ""},
        {"null device, binary", true, true, true, ""},
        {"file", false, false, false, "{\"points\": [[1, 2]]}\r\n\xE7\xB7\xA8\xE9\x9B\x86\r\n"},
        {"file, binary", false, true, false, sample},
    };
    for (const Case& c : cases) {
        const std::wstring target = c.device ? L"NUL" : temporaryFile();
        bool moved = false;
        bool unbuffered = true;
        int size = 0;
        {
            StandardOutputTo to(target);
            moved = to.moved();
            lw::bufferedStandardOutput();
            if (c.binary)
                lw::binaryStandardOutput();
            unbuffered = (stdout->_flag & _IONBF) != 0;
            size = stdout->_bufsiz;
            std::fputs(sample.c_str(), stdout);
        }
        ASSERT_TRUE(moved) << c.name;
        EXPECT_EQ(!unbuffered, c.buffered) << c.name;
        if (c.buffered) {
            EXPECT_GE(size, 1 << 16) << c.name;
        }
        if (!c.device) {
            EXPECT_EQ(readAll(target), c.bytes) << c.name;
            DeleteFileW(target.c_str());
        }
    }
}
