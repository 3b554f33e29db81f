// Where the program's data files (its two images) are found: the working directory first, then
// the folder of the running program, then the installed data folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

// What a search found: the path to open, or nothing and every folder looked in.
struct DataFileLookup {
    std::string path;                // "" when no folder holds the file
    std::vector<std::string> tried;  // the folders looked in, in order, each once
};

// Looks for `name` in `workingDir`, then in each of `folders`, skipping empty names and folders
// already looked in, and takes the first where `exists` holds. A file in the working directory
// is opened by its plain name, as it always was; elsewhere by folder/name.
DataFileLookup LookUpDataFile(const std::string& name, const std::string& workingDir,
                              const std::vector<std::string>& folders,
                              const std::function<bool(const std::string&)>& exists);

// The folders to try after the working directory for a program in `executableDir`: that folder,
// the data folder at its place relative to it in an installed tree (so that a tree installed
// under another prefix finds its files), and the data folder of the configured install prefix.
std::vector<std::string> InstalledDataFolders(const std::string& executableDir);

// One line for standard error (no newline) naming the file and every folder looked in.
std::string MissingFileMessage(const std::string& name, const DataFileLookup& lookup);

// The folder of the running program, from /proc/self/exe; "" when it cannot be read.
std::string ExecutableFolder();

// Looks `name` up in the working directory and the host's dataFolders. Found: sets `path` and
// returns true. Not found: one line on standard error, and false.
bool LocateDataFile(const char* name, std::string& path);
