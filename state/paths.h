// Path pieces as text, and the few folder operations the programs need, on POSIX calls.
#pragma once

#include <string>
#include <string_view>

// The command-line program starts once per command. These calls keep it from linking the C++
// file-system library, whose locale set-up costs every start about a quarter of a millisecond.
// The pieces follow that library's rules, separator '/'.

// The last part: "a/b.oof" -> "b.oof".
std::string_view name_part(std::string_view path);

// The folder part: "a/b" -> "a", "/a" -> "/", "a" -> "".
std::string_view folder_part(std::string_view path);

// `folder` and `name` with one separator between them; `name` alone when `folder` is empty.
std::string join_path(std::string_view folder, std::string_view name);

// The last part's extension with its dot (".oof"); "" when it has none. A leading dot, as in
// ".meshlook", does not start one.
std::string_view extension_part(std::string_view path);

// The last part without its extension.
std::string_view stem_part(std::string_view path);

bool is_folder(const std::string& path);
bool is_regular_file(const std::string& path); // symlinks followed

// Makes `path` the working folder; false when it cannot.
bool change_folder(const std::string& path);

// Creates the folder and its missing parents; true when it is a folder afterwards.
bool make_folders(const std::string& path);

// The path from the root; a relative one is taken from the working folder.
std::string absolute_path(const std::string& path);
