// The temporary files that writes killed before their rename left in a folder, and their removal.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <ctime>
#include <memory>
#include <vector>

#include "platform/file_write_internal.h"

namespace kmr::io {
namespace {

// The name the ISO images of earlier versions were made under.
constexpr std::string_view kOldImagePrefix = ".kmr-iso-";

bool isTempName(std::string_view name) {
    const std::size_t prefix = name.starts_with(kOldImagePrefix) ? kOldImagePrefix.size() : kTempFilePrefix.size();
    if (name.size() != prefix + kTempFileRandomChars || !name.starts_with(kTempFilePrefix)) return false;
    for (const char c : name.substr(prefix)) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

// A folder being read, closed however the reading ends (a list that cannot grow throws).
using OpenFolder = std::unique_ptr<DIR, int (*)(DIR*)>;

OpenFolder openFolder(const char* path) { return OpenFolder(::opendir(path), ::closedir); }

struct StaleCandidate {
    std::string name;
    dev_t dev;
    ino_t ino;
    std::time_t modified;
    bool held = false;
};

// Marks the candidates that some process holds open. False when no process could be inspected;
// `allInspected` is false when the descriptors of some process (another user's) could not be read.
bool markHeld(std::vector<StaleCandidate>& candidates, bool& allInspected) {
    const OpenFolder proc = openFolder("/proc");
    if (proc == nullptr) return false;
    allInspected = true;
    while (const dirent* p = ::readdir(proc.get())) {
        if (p->d_name[0] < '0' || p->d_name[0] > '9') continue;
        const std::string fdFolder = std::string("/proc/") + p->d_name + "/fd";
        const OpenFolder fds = openFolder(fdFolder.c_str());
        if (fds == nullptr) {
            if (errno != ENOENT) allInspected = false;  // a process that ended is no loss
            continue;
        }
        while (const dirent* f = ::readdir(fds.get())) {
            if (f->d_name[0] == '.') continue;
            struct stat st {};
            if (::fstatat(::dirfd(fds.get()), f->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
            for (auto& c : candidates) {
                if (c.dev == st.st_dev && c.ino == st.st_ino) c.held = true;
            }
        }
    }
    return true;
}

}  // namespace

void removeStaleTemporaries(const std::string& folder) {
    const OpenFolder dir = openFolder(folder.c_str());
    if (dir == nullptr) return;
    std::vector<StaleCandidate> candidates;
    while (const dirent* e = ::readdir(dir.get())) {
        if (!isTempName(e->d_name)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
        candidates.push_back({e->d_name, st.st_dev, st.st_ino, st.st_mtime});
    }
    bool allInspected = false;
    if (!candidates.empty() && markHeld(candidates, allInspected)) {
        const std::time_t now = std::time(nullptr);
        for (const auto& c : candidates) {
            if (c.held || (!allInspected && now - c.modified < 60)) continue;
            struct stat st {};
            // Still the same file: a name can be taken again between the look and the removal.
            if (::fstatat(::dirfd(dir.get()), c.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_ino == c.ino &&
                st.st_dev == c.dev) {
                ::unlinkat(::dirfd(dir.get()), c.name.c_str(), 0);
            }
        }
    }
}

}  // namespace kmr::io
