#include "base/OutputRecord.h"

#include "base/Directory.h"
#include "base/ErrorLog.h"
#include "base/File.h"
#include "base/TextFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

char const StateLine[] = "state ";
char const OptionsLine[] = "options ";
char const FileLine[] = "file ";

struct RecordState {
    Str folder;
    bool found = false;
    bool interrupted = false;
    Str recordedOptions;
    Str options;
    // Path below the folder → entered by this run.
    std::map<std::string, bool> files;
    // The record file is open for appending; this run writes into the
    // folder.
    bool begun = false;
    int fd = -1;
    bool failureShown = false;
    // An output could not be written: the run did not finish its work.
    bool writeFailed = false;
};

RecordState& State()
{
    static RecordState state;
    return state;
}

// The names in a folder, or null when it cannot be read.
std::unique_ptr<std::unordered_set<std::string>> ListFolder(Str const& path)
{
    Directory dir;
    if (!dir.Open(path))
        return nullptr;
    auto names = std::make_unique<std::unordered_set<std::string>>();
    // A folder that fails while it is read counts as unreadable: its files
    // are then asked for one by one.
    errno = 0;
    while (char const* name = dir.NextEntry())
        names->insert(name);
    if (errno != 0)
        return nullptr;
    return names;
}

Str RecordPath()
{
    return State().folder + "/" + OutputRecord::FileName;
}

// The path below the folder ('\' read as '/', repeated '/' as one); empty
// for a path outside it.
std::string Relative(char const* path)
{
    Str const& folder = State().folder;
    if (!path || folder.IsEmpty())
        return std::string();
    std::string text;
    for (char const* p = path; *p; ++p) {
        char c = *p == '\\' ? '/' : *p;
        if (c == '/' && !text.empty() && text.back() == '/')
            continue;
        text += c;
    }
    size_t n = folder.GetLength();
    if (text.size() <= n + 1 || text.compare(0, n, folder.GetBuffer()) != 0 || text[n] != '/')
        return std::string();
    return text.substr(n + 1);
}

// Writes data under the temporary name and renames it over path.
bool ReplaceFile(char const* path, char const* data, size_t n, mode_t mode)
{
    struct stat old;
    bool keepMode = ::stat(path, &old) == 0 && S_ISREG(old.st_mode);
    Str temporary = OutputRecord::TemporaryName(path);
    ::unlink(temporary);
    int fd = ::open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    bool ok = (!keepMode || ::fchmod(fd, old.st_mode & 07777) == 0) && File::WriteAll(fd, data, n);
    int error = errno;
    // Some file systems report a full disk only when the file is closed.
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary, path) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary);
        errno = error;
    }
    return ok;
}

void ReportRecordFailure()
{
    RecordState& state = State();
    if (state.failureShown)
        return;
    state.failureShown = true;
    Str text;
    text.Format("cannot write file %s: %s", RecordPath().GetBuffer(), strerror(errno));
    ErrorLog::OnError(text);
}

Str RecordText(bool complete)
{
    RecordState& state = State();
    Str text = StateLine;
    text += !complete ? "running\n" : state.writeFailed ? "failed\n" : "complete\n";
    text += OptionsLine + state.options + "\n";
    for (auto const& entry : state.files) {
        text += FileLine;
        text += entry.first.c_str();
        text += "\n";
    }
    return text;
}

// The first write into the folder in this run: the record says that a run
// is going on, and later entries are appended to it.
bool Begin()
{
    RecordState& state = State();
    if (state.begun)
        return true;
    if (state.folder.IsEmpty())
        return false;
    state.begun = true;
    Directory::CreateRecursive(state.folder);
    Str text = RecordText(false);
    Str path = RecordPath();
    if (!ReplaceFile(path, text.GetBuffer(), text.GetLength(), 0666)) {
        ReportRecordFailure();
        return false;
    }
    state.fd = ::open(path, O_WRONLY | O_APPEND | O_CLOEXEC);
    if (state.fd < 0)
        ReportRecordFailure();
    return state.fd >= 0;
}

void Append(std::string const& relative)
{
    RecordState& state = State();
    if (state.fd < 0)
        return;
    std::string line = FileLine + relative + "\n";
    if (!File::WriteAll(state.fd, line.data(), line.size()))
        ReportRecordFailure();
}

void RemoveOnDisk(Str const& path)
{
    ::unlink(path);
    ::unlink(OutputRecord::TemporaryName(path));
}

} // namespace

void OutputRecord::Open(Str const& folder)
{
    RecordState& state = State();
    if (folder == state.folder)
        return;
    Finish();
    Str options = state.options;
    state = RecordState();
    state.options = options;
    state.folder = folder;
    if (folder.IsEmpty())
        return;
    Str text;
    if (!TextFile::GetFileContent(RecordPath(), text))
        return;
    char const* p = text.GetBuffer();
    char const* end = p + text.GetLength();
    while (p < end) {
        char const* eol = static_cast<char const*>(memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!eol)
            break;
        std::string line(p, static_cast<size_t>(eol - p));
        p = eol + 1;
        if (line.compare(0, strlen(StateLine), StateLine) == 0) {
            state.found = true;
            state.interrupted = line.substr(strlen(StateLine)) != "complete";
        } else if (line.compare(0, strlen(OptionsLine), OptionsLine) == 0) {
            state.recordedOptions = line.substr(strlen(OptionsLine)).c_str();
        } else if (line.compare(0, strlen(FileLine), FileLine) == 0 && line.size() > strlen(FileLine)) {
            std::string relative = line.substr(strlen(FileLine));
            // Only names below the folder are taken: an edited record
            // cannot make the clean-up reach outside.
            if (relative[0] != '/' && ("/" + relative + "/").find("/../") == std::string::npos)
                state.files[relative] = false;
        }
    }
}

Str const& OutputRecord::GetFolder()
{
    return State().folder;
}

bool OutputRecord::Found()
{
    return State().found;
}

bool OutputRecord::WasInterrupted()
{
    return State().found && State().interrupted;
}

Str const& OutputRecord::GetRecordedOptions()
{
    return State().recordedOptions;
}

void OutputRecord::SetOptions(Str const& options)
{
    State().options = options;
}

void OutputRecord::Add(char const* path)
{
    std::string relative = Relative(path);
    if (relative.empty() || relative == FileName)
        return;
    RecordState& state = State();
    auto found = state.files.find(relative);
    bool added = found == state.files.end();
    state.files[relative] = true;
    if (!state.begun)
        Begin();
    else if (added)
        Append(relative);
}

bool OutputRecord::Contains(char const* path)
{
    std::string relative = Relative(path);
    return !relative.empty() && State().files.count(relative) > 0;
}

bool OutputRecord::IsFromThisRun(char const* path)
{
    std::string relative = Relative(path);
    auto found = State().files.find(relative);
    return found != State().files.end() && found->second;
}

bool OutputRecord::Write(char const* path, char const* data, size_t n, mode_t mode)
{
    Add(path);
    if (ReplaceFile(path, data, n, mode))
        return true;
    State().writeFailed = true;
    return false;
}

Str OutputRecord::TemporaryName(char const* path)
{
    Str text(path);
    long separator = File::LastSeparator(text);
    Str folder = separator >= 0 ? text.Left(static_cast<size_t>(separator) + 1) : Str();
    return folder + "." + (text.GetBuffer() + (separator + 1)) + ".mosa-new";
}

bool OutputRecord::Remove(char const* path)
{
    std::string relative = Relative(path);
    RecordState& state = State();
    auto found = state.files.find(relative);
    if (relative.empty() || found == state.files.end())
        return false;
    Begin();
    state.files.erase(found);
    RemoveOnDisk(path);
    return true;
}

void OutputRecord::RemoveAllButThisRun()
{
    StringArray paths;
    GetFilesNotFromThisRun(paths);
    for (int i = 0; i < paths.GetCount(); ++i)
        Remove(paths[i]);
}

void OutputRecord::GetFilesNotFromThisRun(StringArray& paths)
{
    RecordState& state = State();
    for (auto const& entry : state.files)
        if (!entry.second)
            paths.Add(state.folder + "/" + entry.first.c_str());
}

bool OutputRecord::Finish()
{
    RecordState& state = State();
    if (!state.begun)
        return true;
    state.begun = false;
    if (state.fd >= 0) {
        ::close(state.fd);
        state.fd = -1;
    }
    // Files removed since they were entered (by the user, or by a step of
    // the run) are no longer the tool's to remove. Each folder is read once
    // instead of asking for every file; a file of a folder that cannot be
    // read is asked for by itself.
    std::map<std::string, std::unique_ptr<std::unordered_set<std::string>>> listings;
    for (auto entry = state.files.begin(); entry != state.files.end();) {
        std::string const& name = entry->first;
        size_t slash = name.rfind('/');
        std::string folder = slash == std::string::npos ? std::string() : name.substr(0, slash);
        auto found = listings.find(folder);
        if (found == listings.end()) {
            Str path = folder.empty() ? state.folder : state.folder + "/" + folder.c_str();
            found = listings.emplace(folder, ListFolder(path)).first;
        }
        bool gone;
        if (found->second) {
            // npos + 1 is 0: a name without a folder is looked up whole.
            gone = found->second->count(name.substr(slash + 1)) == 0;
        } else {
            struct stat record;
            Str path = state.folder + "/" + name.c_str();
            gone = ::lstat(path, &record) != 0 && errno == ENOENT;
        }
        if (gone)
            entry = state.files.erase(entry);
        else
            ++entry;
    }
    Str text = RecordText(true);
    if (!ReplaceFile(RecordPath(), text.GetBuffer(), text.GetLength(), 0666)) {
        ReportRecordFailure();
        return false;
    }
    return true;
}

void OutputRecord::Reset()
{
    RecordState& state = State();
    if (state.fd >= 0)
        ::close(state.fd);
    state = RecordState();
}
