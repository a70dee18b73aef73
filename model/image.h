// The program image: the one byte form of a whole program, stored in program
// files, written to the controller and read back. A 16-byte header (check
// value, total length, format marks), then one block per non-empty section
// (main, functions 1-100, threads 1-100) and a name block. Numbers are
// big-endian; the check value is stored hi register (low CRC byte) first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/program.h"

namespace orlo {

class NameTable;

constexpr std::size_t kImageHeaderBytes = 16;
constexpr std::size_t kBlockHeaderBytes = 6;
constexpr std::uint32_t kMaxBlockBytes = 200000;
constexpr std::uint32_t kMaxImageBytes = 200000;
constexpr std::size_t kMaxStoredRemark = 63;

// The line's encoded length from its catalogue (two header bytes included);
// 0 when its kind is 0 or not in the catalogue.
unsigned encodedLength(const ProgramLine& line);

// Bytes of the remark that are stored: at most 63, never ending inside a
// double-byte character, 0 when the line would reach 255 bytes with them.
unsigned storedRemarkLength(const ProgramLine& line);

// The stored length of a line, 0 for a line that has no stored form (kind 0
// or unknown); such lines are left out of blocks.
unsigned storedLineLength(const ProgramLine& line);

// Appends the stored form of the line (nothing when it has none).
void writeLine(const ProgramLine& line, std::string& out);

// 0 for a section without stored lines, else 6 + the stored line lengths.
std::uint32_t blockSize(const ProgramSection& section);
// Appends the section's block (nothing when blockSize is 0).
void writeBlock(const ProgramSection& section, std::string& out);
// Replaces the section's lines with those of one block and sets its id to 0.
// A block length outside 7 to 200,000 leaves the section empty; a line of
// length below 2, or one that runs past the block or the data, ends the block.
void parseBlock(ProgramSection& section, std::string_view block);

// The size figure: the sum of all block lengths (header not counted).
std::uint32_t imageSize(const Program& program, const NameTable& names);
// The whole image; sets every section's id on the way.
std::string buildImage(Program& program, const NameTable& names);
// Replaces program (sections, not the clipboard) and names with the content
// of an image. Does not verify the check value: callers do (checkImage).
// A block shorter than its header or running past the image ends the walk.
void parseImage(Program& program, NameTable& names, std::string_view image);
// The controller-read acceptance test: total length 16 to 200,000 and no more
// than the bytes given, check value right, format marks 00 17 00 0A.
bool checkImage(std::string_view image);
// The check value over bytes 2 to end of an image; true when it matches bytes 0, 1.
bool imageCheckMatches(std::string_view image);

// The same over the process-wide program and name table.
std::uint32_t imageSize();
std::string buildImage();
void parseImage(std::string_view image);

}  // namespace orlo
