// Byte sources over a file descriptor.
#pragma once

#include "scanner/Source.h"

namespace Lex {

// Reads a descriptor it does not own; the descriptor stays open.
class FdSource : public Source {
public:
    explicit FdSource(int fd = -1) : m_fd(fd) {}
    ~FdSource() override {}

    // Negative on a read error or a negative count.
    int read(char* buffer, int count) override;
    // The file size, -1 when the descriptor's status cannot be read.
    long size() override;

    int fd() const { return m_fd; }
    virtual void fd(int fd) { m_fd = fd; }

protected:
    int m_fd;
};

// Owns its descriptor: closes it when deleted or when given another one.
class FileSource : public FdSource {
public:
    explicit FileSource(int fd = -1) : FdSource(fd) {}
    ~FileSource() override;

    void fd(int fd) override;
    using FdSource::fd;

private:
    FileSource(FileSource const&) = delete;
    FileSource& operator=(FileSource const&) = delete;
};

} // namespace Lex
