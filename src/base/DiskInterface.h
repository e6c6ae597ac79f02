// What a run's change decisions ask of the file system: the status and the
// modification time of a file. The run asks the real disk; a test installs
// a disk of its own, which can answer times kept in memory, so that it
// neither waits nor backdates files.
#pragma once

#include "base/FileStat.h"
#include "scanner/SysCall.h"

class DiskInterface {
public:
    virtual ~DiskInterface() {}

    // The status of the file, links followed; false when it cannot be had,
    // reported to errors when given (as Lex::SysCall::stat reports).
    virtual bool Stat(char const* path, Lex::FileInfo& info, Lex::ErrorSink* errors) = 0;
    // The modification time of a file the run has open and read, whose
    // status is opened.
    virtual FileTimeNs ReadTime(char const* path, Lex::FileInfo const& opened) = 0;

    // The modification time of the file; false when it cannot be asked.
    bool GetMTime(char const* path, FileTimeNs& t);

    // The disk of the run: the real one unless another is installed.
    static DiskInterface& Get();
    // Installs disk (null: the real one again); answers the one it replaces.
    static DiskInterface* Install(DiskInterface* disk);
};

class RealDiskInterface : public DiskInterface {
public:
    bool Stat(char const* path, Lex::FileInfo& info, Lex::ErrorSink* errors) override;
    FileTimeNs ReadTime(char const* path, Lex::FileInfo const& opened) override;
};
