// The readable text form of a program: JSON in UTF-8, for people who keep
// controller programs in version control. Each line carries its exact
// instruction bytes (what the controller runs) and, for the reader, its
// rendered text. Building from JSON uses the bytes when present; a line that
// gives only its third parameter as text is encoded as the line editor would.
#pragma once

#include <string>

#include "model/program.h"

namespace orlo {

class NameTable;

// The whole program and its aliases. Sections without lines are left out.
std::string programToJson(Program& program, const NameTable& names);
// One section, as a function file holds it (block id kept).
std::string sectionToJson(ProgramSection& section);

// Replaces program and names with the content of the JSON text. Returns an
// empty message on success; otherwise a message (UTF-8 safe ASCII/GBK) and
// the program and names are left as they were. A text with a character that
// GBK has not is refused (textRefused set), never stored as '?'.
std::string programFromJson(const std::string& json, Program& program, NameTable& names,
                            bool* textRefused = nullptr);
// Reads a JSON text with exactly one section into section (lines and id).
std::string sectionFromJson(const std::string& json, ProgramSection& section,
                            bool* textRefused = nullptr);

}  // namespace orlo
