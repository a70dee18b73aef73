// Program and function files (see files.h).
#include "model/files.h"

#include "expr/byte_io.h"
#include "expr/names.h"
#include "model/crc16.h"
#include "model/image.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/strings.h"
#include "platform/text.h"

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
    tell(pathToText(path) + "\n" + error);
}

std::uint32_t u32beAt(const std::string& b, std::size_t at)
{
    ByteReader r(std::string_view(b).substr(std::min(at, b.size())));
    std::uint32_t v = r.u32be();
    return r.ok() ? v : 0;
}

std::uint16_t u16beAt(const std::string& b, std::size_t at)
{
    ByteReader r(std::string_view(b).substr(std::min(at, b.size())));
    std::uint16_t v = static_cast<std::uint16_t>(r.u16be());
    return r.ok() ? v : 0;
}

// Tells the user what the main window tells about a file that did not
// load. Lengths outside the format are refused silently, as the tool always
// has; the tarn commands say why (verdictText).
bool tellVerdict(const std::string& path, const FileReading& reading)
{
    switch (reading.verdict) {
    case FileVerdict::Loaded:
        return true;
    case FileVerdict::WrongExtension:
        if (reading.functionFile)
            tell("文件扩展名出错", "提示：");
        else
            tell("文件扩展名字出错！！！");
        break;
    case FileVerdict::CannotRead:
        tellFileError(path, reading.error);
        break;
    case FileVerdict::EmptySection:
        tell(kEmptyFunctionFile);
        break;
    case FileVerdict::NoLength:
    case FileVerdict::Truncated:
        tell(kShortFile);
        break;
    case FileVerdict::CheckWrong:
        tell(kDamagedFile);
        break;
    case FileVerdict::LengthTooSmall:
    case FileVerdict::TooLarge:
        break;
    }
    return false;
}

}  // namespace

bool endsWith(const std::string& path, const std::string& extension)
{
    return path.size() >= extension.size() &&
           path.compare(path.size() - extension.size(), extension.size(), extension) == 0;
}

FileReading readProgramFile(const std::string& path, std::uint32_t maxTotal)
{
    FileReading reading;
    reading.limit = maxTotal;
    if (!endsWith(path, kProgramExtension)) {
        reading.verdict = FileVerdict::WrongExtension;
        return reading;
    }
    if (!readFilePrefix(path, 6, reading.bytes, reading.error))
        return reading;
    if (reading.bytes.size() < 6) {
        reading.verdict = FileVerdict::NoLength;
        return reading;
    }
    reading.length = u32beAt(reading.bytes, 2);
    if (reading.length < kImageHeaderBytes) {
        reading.verdict = FileVerdict::LengthTooSmall;
        return reading;
    }
    if (reading.length > maxTotal) {
        reading.verdict = FileVerdict::TooLarge;
        return reading;
    }
    if (!readFilePrefix(path, reading.length, reading.bytes, reading.error))
        return reading;
    if (reading.bytes.size() < reading.length)
        reading.verdict = FileVerdict::Truncated;
    else if (!imageCheckMatches(reading.bytes))
        reading.verdict = FileVerdict::CheckWrong;
    else
        reading.verdict = FileVerdict::Loaded;
    return reading;
}

FileVerdict judgeFunctionFile(const std::string& bytes)
{
    if (bytes.size() < 6)
        return bytes.size() == 2 ? FileVerdict::EmptySection : FileVerdict::NoLength;
    const std::uint32_t b = u32beAt(bytes, 2);
    if (b < kBlockHeaderBytes)
        return FileVerdict::LengthTooSmall;
    if (b > kMaxBlockBytes)
        return FileVerdict::TooLarge;
    if (bytes.size() < std::size_t{b} + 2)
        return FileVerdict::Truncated;
    if (functionFileCheck(crc16(bytes.substr(2, b))) != u16beAt(bytes, 0))
        return FileVerdict::CheckWrong;
    return FileVerdict::Loaded;
}

FileReading readFunctionFile(const std::string& path, const std::string& extension)
{
    FileReading reading;
    reading.functionFile = true;
    reading.limit = kMaxBlockBytes;
    if (!endsWith(path, extension)) {
        reading.verdict = FileVerdict::WrongExtension;
        return reading;
    }
    if (!readFilePrefix(path, 6, reading.bytes, reading.error))
        return reading;
    // Only a block length the format allows is read on: a damaged length
    // field must not make the reader take in a huge file.
    if (reading.bytes.size() >= 6) {
        reading.length = u32beAt(reading.bytes, 2);
        if (reading.length >= kBlockHeaderBytes && reading.length <= kMaxBlockBytes &&
            !readFilePrefix(path, std::size_t{reading.length} + 2, reading.bytes, reading.error))
            return reading;
    }
    reading.verdict = judgeFunctionFile(reading.bytes);
    return reading;
}

std::string verdictText(const FileReading& reading)
{
    switch (reading.verdict) {
    case FileVerdict::Loaded:
        return {};
    case FileVerdict::WrongExtension:
        return reading.functionFile ? "文件扩展名出错" : "文件扩展名字出错！！！";
    case FileVerdict::CannotRead:
        return reading.error;
    case FileVerdict::EmptySection:
        return kEmptyFunctionFile;
    case FileVerdict::NoLength:
    case FileVerdict::Truncated:
        return kShortFile;
    case FileVerdict::CheckWrong:
        return kDamagedFile;
    case FileVerdict::LengthTooSmall:
        return reading.functionFile
                   ? format("块长度 %u 小于 6，没有载入！", reading.length)
                   : format("文件头中的长度 %u 小于 16，没有载入！", reading.length);
    case FileVerdict::TooLarge:
        return format(reading.functionFile ? "块长度 %u 超过上限 %u 字节，没有载入！"
                                           : "文件长度 %u 超过上限 %u 字节，没有载入！",
                      reading.length, reading.limit);
    }
    return {};
}

bool openProgramFile(const std::string& path)
{
    const FileReading reading = readProgramFile(path);
    if (!tellVerdict(path, reading))
        return false;
    parseImage(program(), names(), reading.bytes);
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
    FileReading reading;
    reading.functionFile = true;
    reading.limit = kMaxBlockBytes;
    reading.length = u32beAt(bytes, 2);
    reading.verdict = judgeFunctionFile(bytes);
    if (reading.verdict != FileVerdict::Loaded)
        return verdictText(reading);
    parseBlock(section, std::string_view(bytes).substr(2, reading.length));
    return {};
}

bool loadFunctionFile(ProgramSection& section, const std::string& path)
{
    const FileReading reading = readFunctionFile(path, section.fileExtension);
    if (!tellVerdict(path, reading))
        return false;
    parseBlock(section, std::string_view(reading.bytes).substr(2, reading.length));
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
    const FileReading reading = readProgramFile(path, kMaxMainPartFileBytes);
    if (reading.verdict == FileVerdict::WrongExtension || !tellVerdict(path, reading))
        return false;
    const std::string& image = reading.bytes;
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
