// Shared plumbing of the fuzz targets: the bytes of one input are written to
// a module file and scanned the way the composition driver scans modules.
#pragma once

#include "scanner/CScanner.h"
#include "scanner/ErrorStream.h"
#include "scanner/FdSource.h"
#include "scanner/FileUnit.h"
#include "scanner/Token.h"

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fuzz {

// One private folder per process for the module files.
inline std::string const& WorkFolder()
{
    static std::string folder = [] {
        char const* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/mosa-fuzz-XXXXXX";
        if (!::mkdtemp(&pattern[0]))
            std::abort();
        return pattern;
    }();
    return folder;
}

// Writes the input to <folder>/<name> and returns its path.
inline std::string WriteModule(char const* name, uint8_t const* data, size_t size)
{
    std::string path = WorkFolder() + "/" + name;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        std::abort();
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0)
            std::abort();
        done += size_t(n);
    }
    ::close(fd);
    return path;
}

// Scans the module file at path into unit with a scanner configured as the
// driver configures its own (all keyword sets on, wildcards off).
inline void ScanModule(std::string const& path, Lex::FileUnit& unit, Lex::ErrorStream& errors)
{
    Lex::CScanner scanner(errors);
    scanner.aspect_keywords(true);
    unit.name(path.c_str());
    Lex::FileSource source;
    source.fd(::open(path.c_str(), O_RDONLY));
    scanner.fill_unit(source, unit);
}

// Aborts unless the unit's tokens are linked consistently in both directions
// and each carries a text.
inline void CheckTokenList(Lex::Unit const& unit)
{
    Lex::Token* prev = nullptr;
    for (Lex::Token* t = unit.first(); t; t = t->next()) {
        if (t->prev() != prev || !t->text || !t->text->text)
            std::abort();
        prev = t;
    }
    if (prev != unit.last())
        std::abort();
}

} // namespace fuzz
