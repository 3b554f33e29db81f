// The data-file search: a pure lookup over folder names, and the thin layer that asks the file
// system, the process and the build where to look.
#include "program/data_files.h"

#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "host/host_state.h"

#if !defined(WISPRA_DATA_DIR) || !defined(WISPRA_DATA_FROM_BIN)
#error "WISPRA_DATA_DIR and WISPRA_DATA_FROM_BIN must be defined by the build"
#endif

namespace {
namespace fs = std::filesystem;

std::string WorkingFolder() {
    std::error_code error;
    const fs::path here = fs::current_path(error);
    return error ? std::string(".") : here.string();
}

// "/usr/local/bin/../share/wispra" as "/usr/local/share/wispra", without a trailing slash.
std::string Tidy(const fs::path& folder) {
    std::string text = folder.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}
}  // namespace

DataFileLookup LookUpDataFile(const std::string& name, const std::string& workingDir,
                              const std::vector<std::string>& folders,
                              const DataFileChecker& check) {
    DataFileLookup lookup;
    // True when `path` is usable; a file there that is not gets its reason recorded.
    const auto usable = [&](const std::string& path) {
        const DataFileCheck found = check(path);
        if (found.state == DataFileState::kUnusable)
            lookup.rejected.push_back(path + ": " + found.reason);
        return found.state == DataFileState::kUsable;
    };
    lookup.tried.push_back(workingDir);
    if (usable(name)) {
        lookup.path = name;
        return lookup;
    }
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        if (std::find(lookup.tried.begin(), lookup.tried.end(), folder) != lookup.tried.end())
            continue;
        lookup.tried.push_back(folder);
        const std::string path = folder == "/" ? "/" + name : folder + "/" + name;
        if (usable(path)) {
            lookup.path = path;
            return lookup;
        }
    }
    return lookup;
}

std::vector<std::string> InstalledDataFolders(const std::string& executableDir) {
    std::vector<std::string> folders;
    if (!executableDir.empty()) {
        folders.push_back(Tidy(executableDir));
        folders.push_back(Tidy(fs::path(executableDir) / WISPRA_DATA_FROM_BIN));
    }
    folders.push_back(Tidy(WISPRA_DATA_DIR));
    return folders;
}

std::string MissingFileMessage(const std::string& name, const DataFileLookup& lookup) {
    std::string message = lookup.rejected.empty() ? "wispra: " + name + " not found; looked in "
                                                  : "wispra: no usable " + name + "; looked in ";
    for (size_t i = 0; i < lookup.tried.size(); ++i) {
        if (i > 0) message += i + 1 == lookup.tried.size() ? " and " : ", ";
        message += lookup.tried[i];
    }
    return message;
}

std::string ExecutableFolder() {
    char target[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", target, sizeof target - 1);
    if (length <= 0) return "";
    return Tidy(fs::path(std::string(target, static_cast<size_t>(length))).parent_path());
}

bool LocateDataFile(const char* name, const DataFileChecker& check, std::string& path) {
    const DataFileLookup lookup = LookUpDataFile(name, WorkingFolder(), dataFolders, check);
    for (const std::string& rejected : lookup.rejected)
        std::fprintf(stderr, "wispra: %s\n", rejected.c_str());
    if (lookup.path.empty()) {
        std::fprintf(stderr, "%s\n", MissingFileMessage(name, lookup).c_str());
        return false;
    }
    path = lookup.path;
    return true;
}
