// What the open-file dialog knows of files, apart from its window: the filter list of the
// record, wildcard patterns, the listing of a folder, typed names and the copy of the result
// into the caller's buffers. Names on disk are UTF-8; the dialog shows and returns them in the
// 8-bit code page, and a name that the code page cannot hold is shown with '?' but cannot be
// chosen.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Dialogs.h"

namespace zo::plat {

struct FileFilter {
    std::string text;                   // "Pictures(*.bmp,*.ico)"
    std::vector<std::string> patterns;  // "*.bmp", "*.ico"
};

// The (text, patterns) pairs of a list of NUL-ended strings that ends with an empty one; a
// text without its patterns is dropped. No more than maxBytes are read.
std::vector<FileFilter> ParseFilterList(const char* list, std::size_t maxBytes = 65536);
// Patterns separated by ';' with blanks around them dropped.
std::vector<std::string> SplitPatterns(std::string_view text);
// '*' any run, '?' one character, without regard to case; "*.*" matches every name, also one
// without a dot.
bool MatchesPattern(std::string_view name, std::string_view pattern);
bool HasWildcards(std::string_view text);

struct FolderEntry {
    std::string name;   // on disk (UTF-8)
    std::string shown;  // in the code page
    bool folder = false;
    bool representable = true;  // the code page holds the name exactly
};
struct FolderListing {
    bool ok = false;
    std::vector<FolderEntry> entries;  // ".." (but at the root), then folders, then files
};
// The sub-folders and the files matching one of the patterns, each group sorted without regard
// to case; names starting with '.' are left out. ok is false when the folder cannot be read.
FolderListing ListFolder(const std::filesystem::path& folder,
                         const std::vector<std::string>& patterns);

// A typed name (in the code page), absolute or relative to folder, as a normal path.
std::filesystem::path ResolveTyped(const std::filesystem::path& folder, std::string_view typed);
// The path in the code page; false when the code page cannot hold it exactly.
bool PathToAnsi(const std::filesystem::path& path, std::string* ansi);

// Copies a chosen path (in the code page) into the record: lpstrFile, nFileOffset,
// nFileExtension and lpstrFileTitle (cut to fit). Returns 0, or FNERR_BUFFERTOOSMALL when the
// path and its NUL do not fit in nMaxFile (the size needed then goes into the first two bytes).
DWORD CopyChosenPath(OPENFILENAMEA& ofn, const std::string& ansiPath);

}  // namespace zo::plat
