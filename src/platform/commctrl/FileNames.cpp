// Filters, patterns, folder listings and result copying of the open-file dialog.
#include "platform/commctrl/FileNames.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <system_error>

#include "platform/Text.h"

namespace zo::plat {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

}  // namespace

std::vector<FileFilter> ParseFilterList(const char* list, std::size_t maxBytes) {
    std::vector<FileFilter> out;
    if (list == nullptr) return out;
    std::size_t at = 0;
    auto next = [&](std::string* s) {
        const std::size_t n = strnlen(list + at, maxBytes - std::min(at, maxBytes));
        if (at + n >= maxBytes) return false;  // no NUL within the limit
        s->assign(list + at, n);
        at += n + 1;
        return true;
    };
    std::string text, patterns;
    while (next(&text) && !text.empty() && next(&patterns) && !patterns.empty())
        out.push_back(FileFilter{text, SplitPatterns(patterns)});
    return out;
}

std::vector<std::string> SplitPatterns(std::string_view text) {
    std::vector<std::string> out;
    while (!text.empty()) {
        const std::size_t semi = text.find(';');
        const std::string_view one = Trim(text.substr(0, semi));
        if (!one.empty()) out.emplace_back(one);
        if (semi == std::string_view::npos) break;
        text.remove_prefix(semi + 1);
    }
    return out;
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*" || pattern == "*") return true;
    // Greedy match with one back-track point for the last '*'.
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool HasWildcards(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

FolderListing ListFolder(const std::filesystem::path& folder,
                         const std::vector<std::string>& patterns) {
    namespace fs = std::filesystem;
    FolderListing out;
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::none, ec);
    if (ec) return out;
    std::vector<FolderEntry> folders, files;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) return out;
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        FolderEntry e;
        e.name = name;
        e.shown = Utf8ToAnsi(name);
        e.representable = AnsiToUtf8(e.shown) == name;
        std::error_code typeError;
        e.folder = it->is_directory(typeError);
        if (e.folder) {
            folders.push_back(std::move(e));
        } else if (std::any_of(patterns.begin(), patterns.end(),
                               [&](const std::string& p) { return MatchesPattern(e.shown, p); })) {
            files.push_back(std::move(e));
        }
    }
    auto byName = [](const FolderEntry& a, const FolderEntry& b) {
        return LessNoCase(a.shown, b.shown);
    };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    if (folder.has_relative_path()) out.entries.push_back(FolderEntry{"..", "..", true, true});
    out.entries.insert(out.entries.end(), folders.begin(), folders.end());
    out.entries.insert(out.entries.end(), files.begin(), files.end());
    out.ok = true;
    return out;
}

std::filesystem::path ResolveTyped(const std::filesystem::path& folder, std::string_view typed) {
    const std::filesystem::path p(AnsiToUtf8(Trim(typed)));
    return (p.is_absolute() ? p : folder / p).lexically_normal();
}

bool PathToAnsi(const std::filesystem::path& path, std::string* ansi) {
    const std::string utf8 = path.string();
    *ansi = Utf8ToAnsi(utf8);
    return AnsiToUtf8(*ansi) == utf8;
}

DWORD CopyChosenPath(OPENFILENAMEA& ofn, const std::string& ansiPath) {
    const std::size_t need = ansiPath.size() + 1;
    if (ofn.lpstrFile == nullptr || need > ofn.nMaxFile || need > 0xFFFF) {
        if (ofn.lpstrFile != nullptr && ofn.nMaxFile >= 2) {
            const auto n = static_cast<WORD>(std::min<std::size_t>(need, 0xFFFF));
            std::memcpy(ofn.lpstrFile, &n, sizeof n);
        }
        return FNERR_BUFFERTOOSMALL;
    }
    std::memcpy(ofn.lpstrFile, ansiPath.c_str(), need);
    const std::size_t slash = ansiPath.find_last_of('/');
    const std::size_t offset = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = ansiPath.find_last_of('.');
    ofn.nFileOffset = static_cast<WORD>(offset);
    ofn.nFileExtension =
        static_cast<WORD>(dot == std::string::npos || dot < offset ? ansiPath.size() : dot + 1);
    if (ofn.lpstrFileTitle != nullptr && ofn.nMaxFileTitle > 0) {
        const std::string title = ansiPath.substr(offset);
        const std::size_t n = std::min<std::size_t>(title.size(), ofn.nMaxFileTitle - 1);
        std::memcpy(ofn.lpstrFileTitle, title.data(), n);
        ofn.lpstrFileTitle[n] = '\0';
    }
    return 0;
}

}  // namespace zo::plat
