// Entry names checked before they become file names.
#include "cli/entry_names.h"

#include <algorithm>

std::string unsafe_name_reason(const std::string& name) {
    if (name.empty())
        return "has no name";
    if (name == "." || name == "..")
        return "names a folder, not a file";
    if (name.find_first_of("/\\") != std::string::npos)
        return name[0] == '/' ? "is an absolute path" : "contains a folder separator";
    if (std::any_of(name.begin(), name.end(), [](unsigned char c) { return c < 0x20; }))
        return "contains a control character";
    return "";
}

std::string NameClaims::claim(const std::string& name, const std::string& owner) {
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    auto [it, inserted] = owners_.emplace(key, owner);
    return inserted ? "" : "collides with " + it->second;
}
