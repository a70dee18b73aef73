// Program files (".qv3": one program image) and function files (".hanshu":
// a 2-byte check and one section block). Reading verifies lengths and check
// values before anything is replaced; a damaged file loads nothing and the
// user is told. Saving never destroys the previous file. Messages go through
// the shell; the main window does the rest (title, list, modified flag).
// readProgramFile and readFunctionFile make the one decision whether a file
// loads; Open, Import, the function lists and the tarn commands all use it.
#pragma once

#include <string>

#include "model/image.h"
#include "model/program.h"

namespace orlo {

constexpr const char* kProgramExtension = ".qv3";
constexpr const char* kFunctionExtension = ".hanshu";
constexpr std::uint32_t kMaxMainPartFileBytes = 2000000;

// True when path ends with extension exactly (letter case included).
bool endsWith(const std::string& path, const std::string& extension);

// What reading a file decided.
enum class FileVerdict {
    Loaded,          // verified: bytes hold the image, or the whole function file
    WrongExtension,  // the path does not end with the reader's extension
    CannotRead,      // error holds the system's message
    NoLength,        // too short to hold the check and the length field
    EmptySection,    // the two-byte function file of an empty section
    LengthTooSmall,  // length field below what the format allows
    TooLarge,        // length field above limit
    Truncated,       // the file is shorter than its length field says
    CheckWrong,      // the check value does not match the bytes
};

struct FileReading {
    FileVerdict verdict = FileVerdict::CannotRead;
    bool functionFile = false;
    std::string bytes;
    std::string error;
    std::uint32_t length = 0;  // the length field, once read
    std::uint32_t limit = 0;   // the largest length field the reader accepts
};

// Reads and verifies a program file whose total length may be up to
// maxTotal (Open: 200,000; the main part of a file for Import: 2,000,000).
// Loads nothing and shows nothing.
FileReading readProgramFile(const std::string& path, std::uint32_t maxTotal = kMaxImageBytes);
// The same for a function file (block length 6 to 200,000).
FileReading readFunctionFile(const std::string& path,
                             const std::string& extension = kFunctionExtension);
// The verdict on the bytes of a whole function file.
FileVerdict judgeFunctionFile(const std::string& bytes);
// One sentence (GBK) saying why a file was not loaded; empty when it was.
std::string verdictText(const FileReading& reading);

// Reads a program file into the process-wide program and name table.
// False (with a message where the user must know) when nothing was loaded.
bool openProgramFile(const std::string& path);

// Writes the process-wide program; ".qv3" is appended to a path without it.
// Returns the path written, or empty (after a message) on failure.
std::string saveProgramFile(const std::string& path);

// Replaces the section's lines with those of a function file (extension
// section.fileExtension). False when nothing was loaded.
bool loadFunctionFile(ProgramSection& section, const std::string& path);

// Writes the section as a function file; ".hanshu" is appended to a path
// without it. Returns the path written, or empty on failure.
std::string saveFunctionFile(const ProgramSection& section, const std::string& path);

// Replaces the section's lines with the main-program block of a program file.
bool loadMainPart(ProgramSection& section, const std::string& path);

// Inserts the lines of a function file, or of the main-program block of a
// program file, into the main program before position (capped at its line
// count). False when nothing was read.
bool importFile(const std::string& path, unsigned position);

// The bytes of a function file for the section, and their reading; used by
// the file operations above and by tools that hold the bytes in memory.
std::string functionFileBytes(const ProgramSection& section);
// Empty message on success; else the text to show (nothing is loaded).
std::string parseFunctionFile(ProgramSection& section, const std::string& bytes);

}  // namespace orlo
