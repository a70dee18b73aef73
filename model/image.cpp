// Writing and reading program images (see image.h). Reading is defensive:
// images come from files and from the wire, and a damaged one must never make
// the reader loop or look outside the bytes it was given.
#include "model/image.h"

#include <algorithm>

#include "catalogue/conditions.h"
#include "catalogue/results.h"
#include "expr/byte_io.h"
#include "expr/fullwidth.h"
#include "expr/names.h"
#include "model/crc16.h"

namespace orlo {

namespace {

constexpr std::uint8_t kFormatMarks[4] = {0x00, 0x17, 0x00, 0x0A};

std::uint32_t u32beAt(std::string_view b, std::size_t at)
{
    ByteReader r(b.substr(std::min(at, b.size())));
    std::uint32_t v = r.u32be();
    return r.ok() ? v : 0;
}

}  // namespace

unsigned encodedLength(const ProgramLine& line)
{
    KindInfo info = line.isResult ? resultKindInfo(line.instruction.data())
                                  : conditionKindInfo(line.instruction.data());
    return info.length > 0 ? static_cast<unsigned>(info.length) : 0;
}

unsigned storedRemarkLength(const ProgramLine& line)
{
    const unsigned e = encodedLength(line);
    // Whole characters only: a remark cut inside a double-byte character
    // would show a broken character at the end when it is read back.
    std::size_t r = 0;
    while (r < line.remark.size()) {
        std::size_t n = gbkCharLength(line.remark, r);
        if (r + n > kMaxStoredRemark)
            break;
        r += n;
    }
    return e + r < 255 ? static_cast<unsigned>(r) : 0;
}

unsigned storedLineLength(const ProgramLine& line)
{
    const unsigned e = encodedLength(line);
    return e == 0 ? 0 : e + storedRemarkLength(line);
}

void writeLine(const ProgramLine& line, std::string& out)
{
    const unsigned e = encodedLength(line);
    if (e == 0)
        return;
    const unsigned r = storedRemarkLength(line);
    out += static_cast<char>(e + r);
    out += static_cast<char>(((line.isResult ? 2 : 0) + (line.orElse & 1)) * 64 + r);
    out.append(reinterpret_cast<const char*>(line.instruction.data()), e - 2);
    out.append(line.remark, 0, r);
}

std::uint32_t blockSize(const ProgramSection& section)
{
    std::uint32_t sum = 0;
    for (const ProgramLine& l : section.lines)
        sum += storedLineLength(l);
    return sum == 0 ? 0 : sum + static_cast<std::uint32_t>(kBlockHeaderBytes);
}

void writeBlock(const ProgramSection& section, std::string& out)
{
    const std::uint32_t size = blockSize(section);
    if (size == 0)
        return;
    ByteWriter w;
    w.u32be(size);
    w.u16be(static_cast<unsigned>(section.id));
    out += w.data();
    for (const ProgramLine& l : section.lines)
        writeLine(l, out);
}

void parseBlock(ProgramSection& section, std::string_view block)
{
    section.clear();
    section.id = 0;
    const std::uint32_t b = u32beAt(block, 0);
    if (b < 7 || b > kMaxBlockBytes || block.size() < kBlockHeaderBytes)
        return;
    // Lines are read only from bytes that are both inside the block and present.
    const std::size_t end = std::min<std::size_t>(b, block.size());
    std::string_view body = block.substr(kBlockHeaderBytes, end - kBlockHeaderBytes);

    // One working line: bytes of the instruction beyond those a stored line
    // carries keep the values of the line before, as the controller's own
    // reader does.
    ProgramLine work;
    std::size_t p = 0;
    while (p < body.size()) {
        const std::size_t l = static_cast<std::uint8_t>(body[p]);
        if (l < 2 || p + l > body.size())
            break;  // a zero or overlong length cannot be stepped over
        const std::uint8_t flags = static_cast<std::uint8_t>(body[p + 1]);
        const std::size_t r = flags & 0x3F;
        if (r < l) {
            work.isResult = (flags >> 7) & 1;
            work.orElse = (flags >> 6) & 1;
            const std::size_t instrBytes = l - r >= 2 ? l - r - 2 : 0;
            std::copy_n(body.data() + p + 2, instrBytes, work.instruction.begin());
            std::string_view remark = body.substr(p + l - r, r);
            work.remark.assign(remark.data(), std::min(remark.size(), remark.find('\0')));
        }
        ProgramLine copy = work;
        copy.label.clear();
        section.lines.push_back(copy);
        p += l;
    }
}

std::uint32_t imageSize(const Program& program, const NameTable& names)
{
    std::uint32_t sum = blockSize(program.main);
    for (const ProgramSection& s : program.functions)
        sum += blockSize(s);
    for (const ProgramSection& s : program.threads)
        sum += blockSize(s);
    const std::string text = names.exportText();
    if (!text.empty())
        sum += static_cast<std::uint32_t>(text.size() + kBlockHeaderBytes);
    return sum;
}

std::string buildImage(Program& program, const NameTable& names)
{
    std::string out(kImageHeaderBytes, '\0');
    program.main.id = kMainSectionId;
    writeBlock(program.main, out);
    for (int n = 1; n <= kFunctionCount; ++n) {
        ProgramSection& s = program.functions[static_cast<std::size_t>(n - 1)];
        s.id = n;
        writeBlock(s, out);
    }
    for (int n = 1; n <= kThreadCount; ++n) {
        ProgramSection& s = program.threads[static_cast<std::size_t>(n - 1)];
        s.id = kThreadIdBase + n;
        writeBlock(s, out);
    }
    const std::string text = names.exportText();
    if (!text.empty()) {
        ByteWriter w;
        w.u32be(static_cast<std::uint32_t>(text.size() + kBlockHeaderBytes));
        w.u16be(kNameBlockId);
        out += w.data();
        out += text;
    }

    ByteWriter header;
    header.u16be(0);  // check value, filled in below
    header.u32be(static_cast<std::uint32_t>(out.size()));
    for (std::uint8_t m : kFormatMarks)
        header.u8(m);
    out.replace(0, header.size(), header.data());

    Crc16 c = crc16(reinterpret_cast<const std::uint8_t*>(out.data()) + 2, out.size() - 2);
    out[0] = static_cast<char>(c.hi);
    out[1] = static_cast<char>(c.lo);
    return out;
}

void parseImage(Program& program, NameTable& names, std::string_view image)
{
    program.clearSections();
    names.clear();
    const std::size_t total = std::min<std::size_t>(u32beAt(image, 2), image.size());
    std::size_t offset = kImageHeaderBytes;
    while (offset + kBlockHeaderBytes <= total) {
        ByteReader r(image.substr(offset, total - offset));
        const std::uint32_t b = r.u32be();
        const unsigned id = r.u16be();
        if (b < kBlockHeaderBytes || b > total - offset)
            break;  // cannot be stepped over, or runs past the image
        std::string_view block = image.substr(offset, b);
        if (id == kMainSectionId) {
            parseBlock(program.main, block);
        } else if (ProgramSection* s = program.sectionById(static_cast<int>(id))) {
            parseBlock(*s, block);
            s->id = static_cast<std::int32_t>(id);
        } else if (id == kNameBlockId && b > kBlockHeaderBytes) {
            names.clear();
            names.importText(std::string(block.substr(kBlockHeaderBytes)));
        }
        offset += b;
    }
}

bool imageCheckMatches(std::string_view image)
{
    if (image.size() < 2)
        return false;
    Crc16 c = crc16(reinterpret_cast<const std::uint8_t*>(image.data()) + 2, image.size() - 2);
    return static_cast<std::uint8_t>(image[0]) == c.hi && static_cast<std::uint8_t>(image[1]) == c.lo;
}

bool checkImage(std::string_view image)
{
    const std::uint32_t total = u32beAt(image, 2);
    if (total < kImageHeaderBytes || total > kMaxImageBytes || total > image.size())
        return false;
    std::string_view whole = image.substr(0, total);
    for (std::size_t i = 0; i < 4; ++i)
        if (static_cast<std::uint8_t>(whole[6 + i]) != kFormatMarks[i])
            return false;
    return imageCheckMatches(whole);
}

std::uint32_t imageSize()
{
    return imageSize(program(), names());
}

std::string buildImage()
{
    return buildImage(program(), names());
}

void parseImage(std::string_view image)
{
    parseImage(program(), names(), image);
}

}  // namespace orlo
