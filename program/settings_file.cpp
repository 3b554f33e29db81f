// The settings file: its place, its lines as pure functions over the text, and the thin layer
// that reads it and writes it atomically.
#include "program/settings_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace {
constexpr char kFileName[] = "wispra/wispra.conf";
constexpr char kNewFileHeader[] =
    "# Wispra's settings: one a line, as the options without their dashes (see wispra --help).\n";
constexpr size_t kQuotedBytes = 48;      // of a name or value quoted in a warning
constexpr mode_t kNewFolderMode = 0700;  // as the configuration base folder is made
constexpr mode_t kNewFileMode = 0666;    // before the umask

// One line of the file: the option's name and value, and where its comment starts.
struct SettingLine {
    std::string name;   // without dashes; "" for a blank line or a comment alone
    std::string value;  // what follows the name and its "=", trimmed
    bool valueGiven;    // an "=" or a value came after the name
    size_t comment;     // where "#" starts, or npos
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string Trimmed(const std::string& text) {
    size_t start = 0;
    size_t end = text.size();
    while (start < end && IsSpace(text[start])) ++start;
    while (end > start && IsSpace(text[end - 1])) --end;
    return text.substr(start, end - start);
}

SettingLine ReadLine(const std::string& line) {
    SettingLine read;
    read.comment = line.find('#');
    const std::string body = Trimmed(line.substr(0, read.comment));
    size_t nameEnd = 0;
    while (nameEnd < body.size() && !IsSpace(body[nameEnd]) && body[nameEnd] != '=') ++nameEnd;
    read.name = body.substr(0, nameEnd);
    while (read.name.rfind('-', 0) == 0) read.name.erase(0, 1);  // "--speed" as "speed"
    std::string rest = Trimmed(body.substr(nameEnd));
    read.valueGiven = !rest.empty();
    if (!rest.empty() && rest[0] == '=') rest = Trimmed(rest.substr(1));
    read.value = rest;
    return read;
}

std::string Quoted(const std::string& text) {
    char quoted[kQuotedBytes];
    QuoteArgument(text.c_str(), quoted, sizeof quoted);
    return std::string("'") + quoted + "'";
}

// Why `line` cannot be used, or "" when it was given to host and look.
std::string GiveLine(const SettingLine& line, HostOptions& host, LookOptions& look) {
    if (IsCommandLineOnly(line.name.c_str()))
        return Quoted(line.name) + " is an option of the command line, not of the settings file";
    std::string expected;
    const char* value = line.valueGiven ? line.value.c_str() : nullptr;
    switch (GiveLook(line.name.c_str(), value, host, look, expected)) {
        case LookGiven::kSet:
            return "";
        case LookGiven::kNeedsValue:
            return Quoted(line.name) + " needs a value: " + expected;
        case LookGiven::kTakesNoValue:
            return Quoted(line.name) + " takes no value";
        case LookGiven::kBadValue:
            return "bad value " + Quoted(line.value) + " for " + Quoted(line.name) + ": expected " +
                   expected;
        case LookGiven::kNotLook:
            break;
    }
    return "unknown setting " + Quoted(line.name);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Reads a regular file of at most kMaxSettingsFileBytes into `text`. "" when all went well;
// otherwise why not, with `absent` set when there is no file at all.
std::string ReadSmallFile(const std::string& path, std::string& text, bool& absent) {
    absent = false;
    // Non-blocking: a named pipe in its place must not stop the start.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        absent = errno == ENOENT || errno == ENOTDIR;  // no file, or no folder for it
        return std::strerror(errno);
    }
    struct stat about {};
    std::string why;
    if (fstat(fd, &about) != 0) {
        why = std::strerror(errno);
    } else if (!S_ISREG(about.st_mode)) {
        why = "not a regular file";
    } else if (static_cast<size_t>(about.st_size) > kMaxSettingsFileBytes) {
        why = "larger than 64 KiB";
    } else {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = read(fd, buffer, sizeof buffer)) > 0 && text.size() <= kMaxSettingsFileBytes)
            text.append(buffer, static_cast<size_t>(got));
        if (got < 0) why = std::strerror(errno);
        if (text.size() > kMaxSettingsFileBytes) why = "larger than 64 KiB";  // it grew
    }
    close(fd);
    return why;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes `folder` and those above it that are missing.
bool MakeFolders(const std::string& folder) {
    struct stat about {};
    if (stat(folder.c_str(), &about) == 0) {
        if (!S_ISDIR(about.st_mode)) errno = ENOTDIR;
        return S_ISDIR(about.st_mode);
    }
    const std::string parent = FolderOf(folder);
    if (parent != folder && !MakeFolders(parent)) return false;
    return mkdir(folder.c_str(), kNewFolderMode) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

bool SaveFailed(const std::string& path, const std::string& why) {
    std::fprintf(stderr, "wispra: cannot save the settings in %s: %s\n", path.c_str(), why.c_str());
    return false;
}

// The line that gives `row` its value in `current`, or "" for a flag that is off.
template <typename Row>
std::string LineFor(const Row& row, const SceneSettings& current) {
    const auto value = current.*row.field;
    if constexpr (std::is_same_v<Row, IntSetting>) {
        if (row.option.form == OptionForm::kFlag)
            return value == row.flagValue ? row.option.name : "";
    }
    return std::string(row.option.name) + " = " + SettingValueText(row, value);
}

template <typename Row>
bool DiffersFromDefault(const Row& row, const SceneSettings& current) {
    return current.*row.field != row.start;
}
}  // namespace

std::string UserSettingsPath(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
        return std::string(xdgConfigHome) + "/" + kFileName;
    if (home == nullptr || home[0] == '\0') return "";
    return std::string(home) + "/.config/" + kFileName;
}

void ApplySettingsText(const std::string& text, const std::string& name, HostOptions& host,
                       LookOptions& look, std::vector<std::string>& warnings) {
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t number = 1; number <= lines.size(); ++number) {
        const SettingLine line = ReadLine(lines[number - 1]);
        if (line.name.empty() && !line.valueGiven) continue;
        const std::string why = GiveLine(line, host, look);
        if (!why.empty()) {
            warnings.push_back("wispra: " + name + ":" + std::to_string(number) + ": " + why +
                               "; line skipped");
        }
    }
}

void ReadSettingsFile(const std::string& path, bool named, HostOptions& host, LookOptions& look) {
    std::string text;
    bool absent = false;
    const std::string why = ReadSmallFile(path, text, absent);
    if (!why.empty()) {
        if (!absent || named)
            std::fprintf(stderr, "wispra: %s: %s; settings not read\n", path.c_str(), why.c_str());
        return;
    }
    std::vector<std::string> warnings;
    ApplySettingsText(text, path, host, look, warnings);
    for (const std::string& warning : warnings) std::fprintf(stderr, "%s\n", warning.c_str());
}

std::string UpdatedSettingsText(const std::string& text, const SceneSettings& current) {
    std::string updated = text.empty() ? kNewFileHeader : "";
    std::vector<std::string> seen;  // the options that have a line already
    // A line of `row`'s option becomes its line now, keeping its comment; a flag's stays as it
    // was while the flag is on and goes once it is off.
    auto rewrite = [&](const auto& row, const SettingLine& read, const std::string& line) {
        if (row.option.name == nullptr || read.name != row.option.name) return false;
        seen.push_back(read.name);
        const std::string given = LineFor(row, current);
        if (given.empty()) return true;
        if (given == row.option.name) {
            updated += line + "\n";
        } else {
            const bool commented = read.comment != std::string::npos;
            updated += given + (commented ? "  " + line.substr(read.comment) : "") + "\n";
        }
        return true;
    };
    for (const std::string& line : SplitLines(text)) {
        const SettingLine read = ReadLine(line);
        bool done = false;
        for (const FloatSetting& row : FloatSettings()) done = done || rewrite(row, read, line);
        for (const IntSetting& row : IntSettings()) done = done || rewrite(row, read, line);
        if (!done) updated += line + "\n";
    }
    auto append = [&](const auto& row) {
        if (row.option.name == nullptr || !DiffersFromDefault(row, current)) return;
        for (const std::string& name : seen) {
            if (name == row.option.name) return;
        }
        const std::string line = LineFor(row, current);
        if (!line.empty()) updated += line + "\n";
    };
    for (const FloatSetting& row : FloatSettings()) append(row);
    for (const IntSetting& row : IntSettings()) append(row);
    return updated;
}

bool SaveSettingsFile(const std::string& path, const SceneSettings& current) {
    // A link (as dotfile managers make) keeps pointing at the file, which is written where it is.
    char resolved[PATH_MAX];
    const std::string target = realpath(path.c_str(), resolved) != nullptr ? resolved : path;
    std::string text;
    bool absent = false;
    const std::string why = ReadSmallFile(target, text, absent);
    if (!why.empty() && !absent) return SaveFailed(path, why);
    const std::string folder = FolderOf(target);
    if (!MakeFolders(folder)) return SaveFailed(path, std::strerror(errno));

    std::string temporary = folder + "/.wispra.conf.XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) return SaveFailed(path, std::strerror(errno));
    struct stat about {};
    mode_t mode = kNewFileMode;
    if (!absent && stat(target.c_str(), &about) == 0) {
        mode = about.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode &= ~mask;
    }
    std::string failure;
    if (!WriteAll(fd, UpdatedSettingsText(text, current)) || fchmod(fd, mode) != 0 ||
        fsync(fd) != 0)
        failure = std::strerror(errno);
    if (close(fd) != 0 && failure.empty()) failure = std::strerror(errno);
    if (failure.empty() && rename(temporary.c_str(), target.c_str()) != 0)
        failure = std::strerror(errno);
    if (failure.empty()) return true;
    unlink(temporary.c_str());
    return SaveFailed(path, failure);
}
