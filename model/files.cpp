// Program and function files (see files.h).
#include "model/files.h"

#include "expr/byte_io.h"
#include "expr/names.h"
#include "model/crc16.h"
#include "model/image.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace orlo {

namespace {

// Texts of the damaged-file messages; the others are the system's own.
const char* const kDamagedFile = "文件已损坏（校验错误），没有载入！";
const char* const kShortFile = "文件不完整（长度不够），没有载入！";
const char* const kEmptyFunctionFile = "文件中没有指令，没有载入！";

void tell(const std::string& text, const char* caption = "提示")
{
    shell().messageBox(text, caption, Buttons::Ok, Icon::Warning);
}

void tellFileError(const std::string& path, const std::string& error)
{
    tell(path + "\n" + error);
}

std::uint32_t u32beAt(const std::string& b, std::size_t at)
{
    ByteReader r(std::string_view(b).substr(std::min(at, b.size())));
    std::uint32_t v = r.u32be();
    return r.ok() ? v : 0;
}

// Reads a program file whose length field may be up to maxTotal. On success
// image holds exactly the image's bytes, check verified. Silent refusals (as
// the tool has always made them) return false without a message.
bool readProgramImage(const std::string& path, std::uint32_t maxTotal, std::string& image)
{
    std::string error;
    if (!readFilePrefix(path, 6, image, error)) {
        tellFileError(path, error);
        return false;
    }
    if (image.size() < 6) {
        tell(kShortFile);
        return false;
    }
    const std::uint32_t total = u32beAt(image, 2);
    if (total > maxTotal)
        return false;
    if (total <= 15)
        return false;
    if (!readFilePrefix(path, total, image, error)) {
        tellFileError(path, error);
        return false;
    }
    if (image.size() < total) {
        tell(kShortFile);
        return false;
    }
    if (!imageCheckMatches(image)) {
        tell(kDamagedFile);
        return false;
    }
    return true;
}

}  // namespace

bool endsWith(const std::string& path, const std::string& extension)
{
    return path.size() >= extension.size() &&
           path.compare(path.size() - extension.size(), extension.size(), extension) == 0;
}

bool openProgramFile(const std::string& path)
{
    if (!endsWith(path, kProgramExtension)) {
        tell("文件扩展名字出错！！！");
        return false;
    }
    std::string image;
    if (!readProgramImage(path, kMaxImageBytes, image))
        return false;
    parseImage(program(), names(), image);
    return true;
}

std::string saveProgramFile(const std::string& path)
{
    std::string target = endsWith(path, kProgramExtension) ? path : path + kProgramExtension;
    std::string error;
    if (!writeFileSafely(target, buildImage(program(), names()), error)) {
        tellFileError(target, error);
        return {};
    }
    return target;
}

std::string functionFileBytes(const ProgramSection& section)
{
    std::string block;
    writeBlock(section, block);
    // An empty section has no block; its check over no bytes is 00 00.
    const std::uint16_t check = functionFileCheck(crc16(block));
    std::string out;
    out += static_cast<char>(check >> 8);
    out += static_cast<char>(check & 0xFF);
    return out + block;
}

std::string parseFunctionFile(ProgramSection& section, const std::string& bytes)
{
    if (bytes.size() < 6)
        return bytes.size() == 2 ? kEmptyFunctionFile : kShortFile;
    const std::uint32_t b = u32beAt(bytes, 2);
    if (b < 6 || b > kMaxBlockBytes)
        return kDamagedFile;
    if (bytes.size() < std::size_t{b} + 2)
        return kShortFile;
    const std::string block = bytes.substr(2, b);
    const std::uint16_t stored = static_cast<std::uint16_t>(
        static_cast<std::uint8_t>(bytes[0]) << 8 | static_cast<std::uint8_t>(bytes[1]));
    if (functionFileCheck(crc16(block)) != stored)
        return kDamagedFile;
    parseBlock(section, block);
    return {};
}

bool loadFunctionFile(ProgramSection& section, const std::string& path)
{
    if (!endsWith(path, section.fileExtension)) {
        tell("文件扩展名出错", "提示：");
        return false;
    }
    std::string bytes, error;
    if (!readFilePrefix(path, 6, bytes, error)) {
        tellFileError(path, error);
        return false;
    }
    if (bytes.size() >= 6) {
        const std::uint32_t b = u32beAt(bytes, 2);
        if (b < 6 || b > kMaxBlockBytes)
            return false;  // refused without a message, as always
        if (!readFilePrefix(path, std::size_t{b} + 2, bytes, error)) {
            tellFileError(path, error);
            return false;
        }
    }
    std::string message = parseFunctionFile(section, bytes);
    if (!message.empty()) {
        tell(message);
        return false;
    }
    return true;
}

std::string saveFunctionFile(const ProgramSection& section, const std::string& path)
{
    std::string target = endsWith(path, kFunctionExtension) ? path : path + kFunctionExtension;
    std::string error;
    if (!writeFileSafely(target, functionFileBytes(section), error)) {
        tellFileError(target, error);
        return {};
    }
    return target;
}

bool loadMainPart(ProgramSection& section, const std::string& path)
{
    if (!endsWith(path, kProgramExtension))
        return false;
    std::string image;
    if (!readProgramImage(path, kMaxMainPartFileBytes, image))
        return false;
    section.clear();
    std::size_t offset = kImageHeaderBytes;
    while (offset + kBlockHeaderBytes <= image.size()) {
        ByteReader r(std::string_view(image).substr(offset));
        const std::uint32_t b = r.u32be();
        const unsigned id = r.u16be();
        if (b < kBlockHeaderBytes || b > image.size() - offset)
            break;
        if (id == kMainSectionId) {
            ProgramSection part;
            parseBlock(part, std::string_view(image).substr(offset, b));
            section.lines = std::move(part.lines);
            section.id = 0;
        }
        offset += b;
    }
    return true;
}

bool importFile(const std::string& path, unsigned position)
{
    ProgramSection work;
    bool loaded;
    if (endsWith(path, kFunctionExtension)) {
        loaded = loadFunctionFile(work, path);
    } else if (endsWith(path, kProgramExtension)) {
        loaded = loadMainPart(work, path);
    } else {
        tell("文件类型不对", "注意");
        return false;
    }
    if (!loaded)
        return false;
    ProgramSection& main = program().main;
    main.insertRange(std::min(position, main.count()), work.lines);
    return true;
}

}  // namespace orlo
