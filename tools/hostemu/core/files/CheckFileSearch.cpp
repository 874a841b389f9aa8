#include "files/CheckFileSearch.h"

#include <cerrno>
#include <cstdio>

namespace {

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    return last == '\\' || last == '/' ? folder + name : folder + "\\" + name;
}

char folded(char c) {
    if (c == '/') return '\\';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Windows' names ignore case, and either slash separates.
bool sameFolder(std::string a, std::string b) {
    while (!a.empty() && (a.back() == '\\' || a.back() == '/')) a.pop_back();
    while (!b.empty() && (b.back() == '\\' || b.back() == '/')) b.pop_back();
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (folded(a[i]) != folded(b[i])) return false;
    }
    return true;
}

// A host's check is XML text: after a UTF-8 byte order mark and blanks its
// first character is '<'. A check saved as UTF-16, or some other file, is not.
bool startsLikeXml(const std::string& bytes) {
    std::size_t i = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return i < bytes.size() && bytes[i] == '<';
}

Msg problemKey(CheckFilePlace::Problem problem) {
    switch (problem) {
        case CheckFilePlace::Problem::Missing: return Msg::check_file_missing;
        case CheckFilePlace::Problem::Unreadable: return Msg::check_file_unreadable;
        case CheckFilePlace::Problem::NotXml: break;
    }
    return Msg::check_file_not_xml;
}

}  // namespace

FileRead readFileOrSayWhy(const std::string& path, std::string& bytes) {
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return errno == ENOENT ? FileRead::Missing : FileRead::Unreadable;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    return failed ? FileRead::Unreadable : FileRead::Read;
}

bool isRelativePath(const std::string& name) {
    if (name.empty()) return true;
    if (name[0] == '\\' || name[0] == '/') return false;
    return !(name.size() >= 2 && name[1] == ':');
}

CheckFileSearch findCheckFile(const std::string& name, const std::string& consoleFolder,
                              const std::string& tillFolder, const FileReader& read) {
    std::vector<std::string> places;
    if (isRelativePath(name)) {
        places.push_back(joined(consoleFolder, name));
        if (!sameFolder(consoleFolder, tillFolder)) places.push_back(joined(tillFolder, name));
    } else {
        places.push_back(name);
    }
    CheckFileSearch search;
    for (const std::string& path : places) {
        std::string bytes;
        const FileRead got = read(path, bytes);
        if (got == FileRead::Read && startsLikeXml(bytes)) {
            search.found = true;
            search.path = path;
            search.bytes = std::move(bytes);
            return search;
        }
        search.looked.push_back({path, got == FileRead::Missing ? CheckFilePlace::Problem::Missing
                                       : got == FileRead::Unreadable
                                           ? CheckFilePlace::Problem::Unreadable
                                           : CheckFilePlace::Problem::NotXml});
    }
    return search;
}

std::string checkFileComplaint(const std::string& name, const CheckFileSearch& search,
                               const Catalog& catalog) {
    std::string text = formatMessage(catalog, Msg::error_check_file, {{"file", name}}) + ":\n";
    for (const CheckFilePlace& place : search.looked) {
        text += formatMessage(
            catalog, Msg::check_file_place,
            {{"path", place.path}, {"problem", formatMessage(catalog, problemKey(place.problem))}});
    }
    return text;
}
