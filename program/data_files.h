// Where the program's data files (its two images) are found: the working directory first, then
// the folder of the running program, then the installed data folder. A file that is there but
// cannot be used does not end the search: the next folder may hold a good one.
#pragma once

#include <functional>
#include <string>
#include <vector>

// What the check of one candidate path found.
enum class DataFileState { kAbsent, kUnusable, kUsable };
struct DataFileCheck {
    DataFileState state = DataFileState::kAbsent;
    std::string reason;  // kUnusable: why, e.g. "not a bitmap file (no BM signature)"
};
// Looks at one candidate path (reading it, if it likes) and says what it found there.
using DataFileChecker = std::function<DataFileCheck(const std::string& path)>;

// What a search found: the path to use, or nothing; every folder looked in, and every file found
// there that could not be used.
struct DataFileLookup {
    std::string path;                   // "" when no folder holds a usable file
    std::vector<std::string> tried;     // the folders looked in, in order, each once
    std::vector<std::string> rejected;  // "path: reason" for each unusable file, in order
};

// Looks for `name` in `workingDir`, then in each of `folders`, skipping empty names and folders
// already looked in, and takes the first path that `check` finds usable. A file in the working
// directory is checked and used by its plain name, as it always was; elsewhere by folder/name.
DataFileLookup LookUpDataFile(const std::string& name, const std::string& workingDir,
                              const std::vector<std::string>& folders,
                              const DataFileChecker& check);

// The folders to try after the working directory for a program in `executableDir`: that folder,
// the data folder at its place relative to it in an installed tree (so that a tree installed
// under another prefix finds its files), and the data folder of the configured install prefix.
std::vector<std::string> InstalledDataFolders(const std::string& executableDir);

// One line for standard error (no newline) naming the file and every folder looked in: "not found"
// when no folder holds it, "no usable" when the files found were all rejected.
std::string MissingFileMessage(const std::string& name, const DataFileLookup& lookup);

// The folder of the running program, from /proc/self/exe; "" when it cannot be read.
std::string ExecutableFolder();

// Looks `name` up in the working directory and the host's dataFolders with `check`. Each file
// found but rejected gets one line on standard error. Found: sets `path` and returns true. No
// usable file: one more line naming every folder tried, and false.
bool LocateDataFile(const char* name, const DataFileChecker& check, std::string& path);
