// orvanta-decode INPUT: writes the SVG form of an enhanced or standard
// metafile to standard output. The metafile parsers are small C libraries that
// trust their input, so they run here, in a process of their own with capped
// memory and time, and the program only ever sees clean SVG or a failure.
#include "EmfConverter.h"
#include "MetafileCheck.h"
#include "WmfConverter.h"

#include <sys/resource.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr rlim_t kMemoryLimit = rlim_t(2) << 30;  // 2 GiB of address space
constexpr rlim_t kCpuSeconds = 30;
// Metafiles of plotted graphs are kilobytes to a few megabytes.
constexpr std::size_t kMaxInputBytes = std::size_t(128) << 20;

int fail(const std::string& reason)
{
    std::fprintf(stderr, "orvanta-decode: %s\n", reason.c_str());
    return 1;
}

void limitResources()
{
#if !defined(__SANITIZE_ADDRESS__)
    // An address-space cap; the sanitizer build reserves terabytes of shadow
    // memory up front and would not start under it.
    const rlimit memory{kMemoryLimit, kMemoryLimit};
    setrlimit(RLIMIT_AS, &memory);
#endif
    const rlimit cpu{kCpuSeconds, kCpuSeconds};
    setrlimit(RLIMIT_CPU, &cpu);
    // A crash in a parser is an expected outcome here, not worth a core file.
    const rlimit core{0, 0};
    setrlimit(RLIMIT_CORE, &core);
}

bool readWholeFile(const char* path, std::vector<unsigned char>& bytes, std::string& error)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        error = std::string("cannot open input: ") + std::strerror(errno);
        return false;
    }
    unsigned char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (bytes.size() + got > kMaxInputBytes) {
            std::fclose(file);
            error = "input too large";
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) {
        error = "cannot read input";
        return false;
    }
    return true;
}

// The libraries may print diagnostics to standard output, which must carry
// nothing but the SVG; send their output to standard error while they run.
class StdoutDiverted {
public:
    StdoutDiverted()
    {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        if (saved_ >= 0)
            dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    ~StdoutDiverted()
    {
        std::fflush(stdout);
        if (saved_ >= 0) {
            dup2(saved_, STDOUT_FILENO);
            close(saved_);
        }
    }
    StdoutDiverted(const StdoutDiverted&) = delete;
    StdoutDiverted& operator=(const StdoutDiverted&) = delete;

private:
    int saved_ = -1;
};

bool writeAll(const std::string& text)
{
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = write(STDOUT_FILENO, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    limitResources();
    if (argc != 2)
        return fail("usage: orvanta-decode INPUT");

    std::vector<unsigned char> bytes;
    std::string error;
    if (!readWholeFile(argv[1], bytes, error))
        return fail(error);

    const MetafileKind kind = detectMetafile(bytes.data(), bytes.size());
    if (kind == MetafileKind::Unknown)
        return fail("not an EMF or WMF file");
    error = kind == MetafileKind::Emf ? checkEmf(bytes.data(), bytes.size()) : checkWmf(bytes.data(), bytes.size());
    if (!error.empty())
        return fail(error);

    std::string svg;
    bool converted = false;
    {
        StdoutDiverted diverted;
        converted = kind == MetafileKind::Emf ? convertEmf(bytes.data(), bytes.size(), svg, error)
                                              : convertWmf(bytes.data(), bytes.size(), svg, error);
    }
    if (!converted)
        return fail(error);
    if (!writeAll(svg))
        return fail("cannot write output");
    return 0;
}
