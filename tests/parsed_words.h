// The command line of `words` after argv[0], parsed as the program parses its own. What points
// into the words (the values of given options, -display's, --output's) is not to be read after.
#pragma once

#include <string>
#include <vector>

#include "program/options.h"

inline ParsedOptions Parsed(std::vector<std::string> words) {
    words.insert(words.begin(), "wispra");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    ParsedOptions parsed = ParseOptions(static_cast<int>(words.size()), argv.data());
    parsed.given.clear();
    return parsed;
}
