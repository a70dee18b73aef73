// Program files (".qv3": one program image) and function files (".hanshu":
// a 2-byte check and one section block). Reading verifies lengths and check
// values before anything is replaced; a damaged file loads nothing and the
// user is told. Saving never destroys the previous file. Messages go through
// the shell; the main window does the rest (title, list, modified flag).
#pragma once

#include <string>

#include "model/program.h"

namespace orlo {

constexpr const char* kProgramExtension = ".qv3";
constexpr const char* kFunctionExtension = ".hanshu";
constexpr std::uint32_t kMaxMainPartFileBytes = 2000000;

// True when path ends with extension exactly (letter case included).
bool endsWith(const std::string& path, const std::string& extension);

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
