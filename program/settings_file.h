// The settings file, for the callers that pass no options (a screen locker runs its saver with
// none): one setting a line, as the look's options without their dashes ("speed = 2",
// "no-stars"), "#" starting a comment. Read before the command line, which wins; written only at
// the end of a run with --save, keeping the file's comments and the lines it does not change.
#pragma once

#include <string>
#include <vector>

#include "host/host_options.h"
#include "program/options.h"
#include "scene/settings.h"

constexpr size_t kMaxSettingsFileBytes = 64 * 1024;  // a larger file is not read

// The user's settings file: $XDG_CONFIG_HOME/wispra/wispra.conf, or ~/.config/wispra/wispra.conf
// when the variable is unset, empty or not an absolute path; "" without HOME either.
std::string UserSettingsPath(const char* xdgConfigHome, const char* home);

// Gives `host` and `look` every line of `text` (the file `name`) that it can use. Pure. Each line
// it cannot use adds one warning to `warnings` ("wispra: NAME:LINE: why; line skipped").
void ApplySettingsText(const std::string& text, const std::string& name, HostOptions& host,
                       LookOptions& look, std::vector<std::string>& warnings);

// Reads the file at `path` into `host` and `look`, with its warnings on standard error. A file that
// is not there is passed over in silence unless `named` (given with --config); one that is not a
// regular file, is larger than 64 KiB or cannot be read gets one warning and is not read.
void ReadSettingsFile(const std::string& path, bool named, HostOptions& host, LookOptions& look);

// `text` with each setting that has an option set to its value in `current`: a setting's lines
// rewritten in place (a flag's line kept, or removed once the flag is off), new lines at the end
// for the settings that differ from their defaults; comments and every other line as they were.
// Pure.
std::string UpdatedSettingsText(const std::string& text, const SceneSettings& current);

// Writes the settings of `current` into the file at `path` as UpdatedSettingsText makes them of
// what it holds now, creating its folder where needed. Atomic: a temporary file in the same folder
// is written, flushed and renamed over it, so that a crash or a full disk leaves the old file
// whole. False, with one line on standard error, when it cannot.
bool SaveSettingsFile(const std::string& path, const SceneSettings& current);
