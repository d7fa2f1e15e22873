// Which archive entries may be written into an output folder under their own names: a name
// that would leave the folder or collide with an earlier entry's is refused.
#pragma once

#include <map>
#include <string>

// Why name cannot be used as a file name inside a folder, or "" when it can.
std::string unsafe_name_reason(const std::string& name);

// Remembers the names handed out so far; names equal ignoring case collide, since archives
// come from a file system that ignores case and the program finds the first of them.
class NameClaims {
  public:
    // "" when name is free (it is then taken), else why it is refused.
    std::string claim(const std::string& name, const std::string& owner);

  private:
    std::map<std::string, std::string> owners_; // lower-case name -> first owner
};
