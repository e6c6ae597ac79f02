#include "scanner/PathManager.h"

#include "scanner/StrCol.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace Lex {

namespace {

int const pattern_flags = REG_EXTENDED | REG_NOSUB;
// Longest chain of symbolic links followed in one descent or lookup.
int const max_links = 40;
// First capacity tried for the current folder's path.
unsigned long const path_capacity = 4096;

bool ends_in_slash(std::string const& text)
{
    return !text.empty() && text.back() == '/';
}

bool current_folder(std::string& text)
{
    std::vector<char> buf(path_capacity);
    while (!SysCall::getcwd(buf.data(), buf.size(), nullptr)) {
        if (errno != ERANGE)
            return false;
        buf.resize(buf.size() * 2);
    }
    text = buf.data();
    return true;
}

// Drops empty and "." parts of an absolute path and one folder per "..".
std::string normalized(std::string const& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (std::string const& part : parts)
        result += "/" + part;
    return result.empty() ? "/" : result;
}

bool resolved(char const* path, std::string& text)
{
    char* real = ::realpath(path, nullptr);
    if (!real)
        return false;
    text = real;
    std::free(real);
    return true;
}

} // namespace

// ---------------------------------------------------------------- PathInfo

PathInfo::PathInfo(PathInfo const& other) : m_src(nullptr), m_dest(nullptr)
{
    src(other.m_src);
    dest(other.m_dest);
}

PathInfo& PathInfo::operator=(PathInfo const& other)
{
    if (this != &other) {
        char* text = StrCol::dup(other.m_src);
        delete[] m_src;
        m_src = text;
        dest(other.m_dest);
    }
    return *this;
}

PathInfo::~PathInfo()
{
    delete[] m_src;
    delete[] m_dest;
}

void PathInfo::src(char const* text)
{
    if (!text)
        return;
    char* copy = StrCol::dup(text);
    delete[] m_src;
    m_src = copy;
}

void PathInfo::dest(char const* text)
{
    char* copy = StrCol::dup(text);
    delete[] m_dest;
    m_dest = copy;
}

// ------------------------------------------------------------ PathIterator

PathIterator::PathIterator(char const* pattern)
    : m_position(0), m_pattern(pattern ? pattern : ".*", pattern_flags)
{
    if (!m_pattern.compiled()) {
        ErrorStream err;
        err.reset();
        m_pattern.comperror(err);
    }
}

void PathIterator::pattern(char const* pattern)
{
    m_pattern.compile(pattern ? pattern : ".*", pattern_flags);
}

// ------------------------------------------------------------- PathManager

// One folder of the current descent, to stop at link chains and loops.
struct PathManager::Chain {
    dev_t dev;
    ino_t ino;
    int links;
    Chain const* parent;
};

PathManager::PathManager(ErrorStream& err)
    : m_err(&err), m_paths(5, 5), m_protect(0, 5), m_files(5, 5), m_dirs(5, 5), m_infos(0, 5)
{
}

PathManager::~PathManager()
{
    for (int i = 0; i < m_protect.count(); ++i)
        delete m_protect[i];
    for (int i = 0; i < m_infos.count(); ++i)
        delete m_infos[i];
}

void PathManager::action(PathIterator&) {}

void PathManager::addPath(char const* src, char const* dest, bool recurse, bool keepInfo)
{
    if (!src) {
        if (dest) {
            char* text = addSeparator(dest);
            PathInfo entry;
            entry.dest(text);
            m_paths.append(entry);
            delete[] text;
        }
        return;
    }
    char* text = addSeparator(src);
    for (int i = m_paths.count() - 1; i >= 0; --i) {
        char const* known = m_paths[i].src();
        if (known && std::strncmp(text, known, std::strlen(known)) == 0) {
            delete[] text;
            return;
        }
    }
    PathInfo entry;
    entry.src(text);
    if (dest) {
        char* folder = addSeparator(dest);
        entry.dest(folder);
        delete[] folder;
    }
    m_paths.append(entry);
    delete[] text;

    Chain root{0, 0, 0, nullptr};
    FileInfo info{};
    if (SysCall::stat(src, info, nullptr)) {
        root.dev = info.st_dev;
        root.ino = info.st_ino;
    }
    traverse(src, recurse, keepInfo, &root);
}

void PathManager::traverse(char const* path, bool recurse, bool keepInfo, Chain const* chain)
{
    DIR* dir = SysCall::opendir(path, m_err);
    if (!dir) {
        *m_err << sev_error << "Couldn't open directory `" << path << "'." << Lex::endMessage;
        return;
    }
    std::string folder(path);
    if (!ends_in_slash(folder))
        folder += '/';
    while (char const* name = SysCall::readdir(dir, m_err)) {
        std::string full = folder + name;
        FileInfo info{};
        if (!SysCall::stat(full.c_str(), info, m_err))
            continue;
        if (keepInfo)
            m_infos.append(new FileInfo(info));
        if (!info.is_folder()) {
            addFile(Filename(full.c_str()));
            continue;
        }
        m_dirs.append(Filename(full.c_str()));
        if (!recurse)
            continue;
        // A link to a folder of the current descent would list it again
        // without end; long link chains are not followed either.
        std::string target;
        Chain next{info.st_dev, info.st_ino, chain->links + (SysCall::readlink(full.c_str(), target, nullptr) ? 1 : 0), chain};
        bool loop = false;
        for (Chain const* c = chain; c && !loop; c = c->parent)
            loop = c->dev == next.dev && c->ino == next.ino;
        if (!loop && next.links <= max_links)
            traverse(full.c_str(), recurse, keepInfo, &next);
    }
    SysCall::closedir(dir, m_err);
}

void PathManager::addFile(Filename const& file)
{
    for (int i = 0; i < m_files.count(); ++i)
        if (m_files[i] == file)
            return;
    m_files.append(file);
}

char const* PathManager::iterate(PathIterator& it) const
{
    for (int i = it.m_position; i < m_files.count(); ++i) {
        if (it.m_pattern.match(m_files[i].name(), 0)) {
            it.m_file = m_files[i];
            it.m_position = i + 1;
            return m_files[i].name();
        }
    }
    it.m_position = 0;
    return nullptr;
}

char const* PathManager::iterate_dirs(PathIterator& it) const
{
    for (int i = it.m_position; i < m_dirs.count(); ++i) {
        if (it.m_pattern.match(m_dirs[i].name(), 0)) {
            it.m_file = m_dirs[i];
            it.m_position = i + 1;
            return m_dirs[i].name();
        }
    }
    it.m_position = 0;
    return nullptr;
}

FileInfo const* PathManager::iterate(FileInfoIterator& it) const
{
    if (it.m_position < m_infos.count()) {
        it.m_info = m_infos[it.m_position++];
        return it.m_info;
    }
    it.m_position = 0;
    return nullptr;
}

void PathManager::glob(char const* pattern)
{
    PathIterator it(pattern);
    while (iterate(it))
        action(it);
}

void PathManager::setDest(char const* src, char const* dest)
{
    if (!src)
        return;
    for (int i = m_paths.count() - 1; i >= 0; --i) {
        char const* known = m_paths[i].src();
        if (known && std::strcmp(known, src) == 0) {
            char* text = addSeparator(dest);
            m_paths[i].dest(text);
            delete[] text;
            return;
        }
    }
}

void PathManager::protect(char const* pattern)
{
    if (pattern)
        m_protect.append(new RegComp(pattern, pattern_flags));
}

bool PathManager::isProtected(char const* file) const
{
    if (!file)
        return false;
    for (int i = m_protect.count() - 1; i >= 0; --i)
        if (m_protect[i]->match(file, 0))
            return true;
    return !isBelow(file);
}

bool PathManager::isBelow(char const* file) const
{
    return inPath(file, nullptr);
}

bool PathManager::inPath(char const* file, Filename* out) const
{
    if (!file)
        return false;
    std::string current(file);
    for (int links = 0;; ++links) {
        for (int i = 0; i < m_paths.count(); ++i) {
            char const* src = m_paths[i].src();
            if (src && isBelow(current.c_str(), src)) {
                if (out)
                    out->name(current.c_str());
                return true;
            }
        }
        std::string target;
        if (links == max_links || !SysCall::readlink(current.c_str(), target, nullptr))
            return false;
        current = SysCall::linkedPath(current, target);
    }
}

bool PathManager::isBelow(char const* file, char const* folder) const
{
    if (!file || !folder)
        return false;
    std::string fileText;
    if (!resolved(file, fileText)) {
        std::string joined;
        if (file[0] == '/') {
            joined = file;
        } else {
            if (!current_folder(joined))
                return false;
            joined += '/';
            joined += file;
        }
        fileText = normalized(joined);
    }
    std::string folderText;
    if (!resolved(folder, folderText))
        return false;
    if (ends_in_slash(folderText))
        folderText.pop_back();
    // The folder must end where a folder of the file ends: /a/bc is not in /a/b.
    return fileText.compare(0, folderText.size(), folderText) == 0
        && (fileText.size() == folderText.size() || fileText[folderText.size()] == '/');
}

char* PathManager::addSeparator(char const* text) const
{
    if (!text)
        return nullptr;
    size_t len = std::strlen(text);
    bool slash = len > 0 && text[len - 1] == '/';
    char* copy = new char[len + (slash ? 1 : 2)];
    std::memcpy(copy, text, len);
    if (!slash)
        copy[len++] = '/';
    copy[len] = '\0';
    return copy;
}

void PathManager::join(PathManager& other)
{
    int paths = other.m_paths.count();
    for (int i = 0; i < paths; ++i) {
        // Copies: addPath may grow this manager's list, which may be other's.
        PathInfo entry(other.m_paths[i]);
        addPath(entry.src(), entry.dest(), true, false);
    }
    int patterns = other.m_protect.count();
    for (int i = 0; i < patterns; ++i)
        m_protect.append(new RegComp(*other.m_protect[i]));
}

void PathManager::configure(Config const& config)
{
    std::string src, dest;
    bool hasSrc = false, hasDest = false;
    for (Config::Option const& option : config.options()) {
        if (option.args.size() != 1)
            continue;
        std::string const& arg = option.args[0];
        if (option.name == "-w") {
            protect(arg.c_str());
        } else if (option.name == "-p") {
            if (hasSrc) {
                addPath(src.c_str(), hasDest ? dest.c_str() : nullptr, true, false);
                hasDest = false;
            }
            src = arg;
            hasSrc = true;
        } else if (option.name == "-d") {
            if (hasDest) {
                addPath(hasSrc ? src.c_str() : nullptr, dest.c_str(), true, false);
                hasSrc = false;
            }
            dest = arg;
            hasDest = true;
        }
    }
    if (hasSrc || hasDest)
        addPath(hasSrc ? src.c_str() : nullptr, hasDest ? dest.c_str() : nullptr, true, false);
}

} // namespace Lex
