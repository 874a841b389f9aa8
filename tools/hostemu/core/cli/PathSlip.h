#pragma once
// A path with blanks typed without double quotes reaches hostemu as several
// words: cmd.exe splits at each blank. These put such a path back together so
// that the complaint can show it quoted, instead of naming a command that does
// not exist or a folder that is only the path's tail.
#include <functional>
#include <string>
#include <vector>

// --dll's value is argv[value]. When it does not end in ".dll" and a later
// word does (C:\Program Files\POS\brisvane.dll split in two), the words from
// the value to that one joined by blanks; "" otherwise.
std::string splitDllPath(const std::vector<std::string>& argv, std::size_t value);

// words[1] is no command but a later word is, and words[0] is a folder that
// does not exist or the words before that command joined by blanks name one
// (C:\POS Data config check.xml): that joined path; "" otherwise.
std::string splitFolder(const std::vector<std::string>& words,
                        const std::function<bool(const std::string& word)>& isCommand,
                        const std::function<bool(const std::string& path)>& folderExists);
