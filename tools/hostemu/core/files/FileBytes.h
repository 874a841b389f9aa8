#pragma once
// Whole files as bytes. C stdio rather than a file stream: the stream's
// runtime calls are not all in Windows XP's msvcrt.dll.
#include <cstdio>
#include <string>

// hostemu's file names are UTF-8 (its command line is read as UTF-16). On
// Windows they are opened by their UTF-16 name, so that a Cyrillic folder or
// file works whatever the system's code page.
std::FILE* openFile(const std::string& name, const char* mode);
#ifdef _WIN32
std::wstring widePath(const std::string& name);
std::string fromWide(const std::wstring& text);
#endif

// A file read piece by piece, for logs too big to hold whole.
class PiecewiseFile {
  public:
    explicit PiecewiseFile(const std::string& name) : file_(openFile(name, "rb")) {}
    ~PiecewiseFile() {
        if (file_) std::fclose(file_);
    }
    PiecewiseFile(const PiecewiseFile&) = delete;
    PiecewiseFile& operator=(const PiecewiseFile&) = delete;
    // False if the file cannot be opened.
    explicit operator bool() const { return file_ != nullptr; }
    // Up to `size` bytes into `into`: fewer only at the file's end (or a read error).
    std::size_t read(char* into, std::size_t size) {
        return file_ ? std::fread(into, 1, size, file_) : 0;
    }

  private:
    std::FILE* file_;
};

// Reads a whole file as bytes; false if it cannot be opened.
bool readWholeFile(const std::string& name, std::string& out);

// Writes `bytes` as the whole file; false when it cannot be written entirely.
bool writeWholeFile(const std::string& name, const std::string& bytes);
