// Whole-file reading and safe whole-file writing. Paths are in the system's
// own form, not GBK text (see pathToText in platform/text.h): the bytes as
// given on POSIX, UTF-8 on Windows (used as UTF-16). Errors come back as the
// system's own text, in GBK, ready for a message box.
#pragma once

#include <cstddef>
#include <string>

namespace orlo {

// Reads at most maxBytes from the start of the file into bytes (the file may
// be longer; the caller checks). Returns false with the system's message.
bool readFilePrefix(const std::string& path, std::size_t maxBytes, std::string& bytes,
                    std::string& error);

// Size of the file in bytes, or -1 (with the system's message) when it cannot
// be opened.
long long fileSize(const std::string& path, std::string& error);

// Writes bytes to a new file in the same folder, flushes it to the disk, then
// puts it in place of path. When any step fails the old file is left as it
// was, the temporary file is removed, and the system's message is returned.
// When path is a symbolic link, the file it leads to is replaced (the new
// file is made beside that one) and the link stays.
bool writeFileSafely(const std::string& path, const std::string& bytes, std::string& error);

// True when both paths name one existing file, whichever way they reach it
// (another spelling of the folder, a symbolic or hard link). False when
// either does not exist.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace orlo
