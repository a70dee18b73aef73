// The JSON form of programs: byte-exact round trips and lines built from text.
#include <gtest/gtest.h>

#include <random>

#include "catalogue/conditions.h"
#include "catalogue/results.h"
#include "cli/json/program_json.h"
#include "expr/names.h"
#include "model/image.h"
#include "platform/strings.h"

namespace orlo {
namespace {

// A random line of a kind in the catalogue, with random parameter bytes.
ProgramLine randomLine(std::mt19937& rng)
{
    ProgramLine l;
    l.isResult = rng() % 2;
    for (;;) {
        l.instruction[0] = static_cast<std::uint8_t>(1 + rng() % 40);
        const KindInfo info = l.isResult ? resultKindInfo(l.instruction.data())
                                         : conditionKindInfo(l.instruction.data());
        if (info.length > 0)
            break;
    }
    for (std::size_t i = 1; i < l.instruction.size(); ++i)
        l.instruction[i] = static_cast<std::uint8_t>(rng() % 4 ? rng() % 8 : rng());
    l.orElse = rng() % 2;
    const int remark = rng() % 5;
    if (remark == 1)
        l.remark = "备注文字";
    else if (remark == 2)
        l.remark = std::string(70, 'x');
    else if (remark == 3)
        l.remark = std::string("bad\x81", 4);  // not valid GBK at the end
    return l;
}

TEST(ProgramJson, ImageToJsonToImageIsByteIdentical)
{
    std::mt19937 rng(2024);
    for (int round = 0; round < 40; ++round) {
        Program p;
        NameTable n;
        const int lines = 1 + rng() % 40;
        for (int i = 0; i < lines; ++i) {
            const int where = rng() % 3;
            ProgramSection& s = where == 0   ? p.main
                                : where == 1 ? p.functions[rng() % 100]
                                             : p.threads[rng() % 100];
            s.lines.push_back(randomLine(rng));
        }
        if (round % 2)
            n.rename(format("整数%d", round), format("温度%d", round));
        const std::string image = buildImage(p, n);

        Program loaded;
        NameTable loadedNames;
        parseImage(loaded, loadedNames, image);
        const std::string json = programToJson(loaded, loadedNames);

        Program rebuilt;
        NameTable rebuiltNames;
        rebuiltNames.rename("整数999", "旧名");  // replaced, not merged
        ASSERT_EQ(programFromJson(json, rebuilt, rebuiltNames), "") << json;
        EXPECT_EQ(buildImage(rebuilt, rebuiltNames), image) << "round " << round;
    }
}

TEST(ProgramJson, LinesCarryReadableFields)
{
    Program p;
    NameTable n;
    ProgramLine l;
    l.instruction = {};
    l.instruction[0] = 1;
    l.instruction[1] = 2;
    l.instruction[2] = 1;
    l.remark = "门";
    p.functions[4].lines.push_back(l);
    n.rename("函数5", "开门");
    const std::string json = programToJson(p, n);
    EXPECT_NE(json.find("\"format\": \"orlo-program\""), std::string::npos);
    EXPECT_NE(json.find("\"section\": \"function\""), std::string::npos);
    EXPECT_NE(json.find("\"number\": 5"), std::string::npos);
    EXPECT_NE(json.find(u8"\"name\": \"开门\""), std::string::npos);
    EXPECT_NE(json.find("\"bytes\": \"01 02 01\""), std::string::npos);
    EXPECT_NE(json.find(u8"\"remark\": \"门\""), std::string::npos);
    EXPECT_NE(json.find("\"text\": "), std::string::npos);
}

TEST(ProgramJson, LineFromParam3TextIsEncodedAsTheEditorDoes)
{
    const std::string json = u8R"({"format": "orlo-program", "version": 1, "sections": [
        {"section": "main", "lines": [
          {"type": "condition", "kind": 21, "param1": 1, "param2": 2, "param3": "整数2 = 300"}
        ]}]})";
    Program p;
    NameTable n;
    ASSERT_EQ(programFromJson(json, p, n), "");
    ASSERT_EQ(p.main.count(), 1u);
    EXPECT_EQ(hexText(p.main.lines[0].instruction.data(), 9), "15 01 02 02 00 00 00 01 2C");
}

TEST(ProgramJson, BadInputLeavesTheProgramAlone)
{
    Program p;
    NameTable n;
    ProgramLine keep;
    keep.instruction[0] = 1;
    p.main.lines.push_back(keep);
    const char* bad[] = {
        "not json",
        R"({"format": "other"})",
        R"({"format": "orlo-program", "sections": 5})",
        R"({"format": "orlo-program", "sections": [{"section": "function", "lines": []}]})",
        R"({"format": "orlo-program", "sections": [{"section": "main", "lines": [{"type": "x"}]}]})",
        R"({"format": "orlo-program", "sections": [{"section": "main", "lines": [{"type": "result", "bytes": "ZZ"}]}]})",
        R"({"format": "orlo-program", "sections": [{"section": "main", "lines": [{"type": 7}]}]})",
        R"({"format": "orlo-program", "version": 99, "sections": []})",
    };
    for (const char* text : bad) {
        EXPECT_NE(programFromJson(text, p, n), "") << text;
        EXPECT_EQ(p.main.count(), 1u) << text;
    }
}

TEST(ProgramJson, SectionRoundTripKeepsTheBlockId)
{
    std::mt19937 rng(5);
    ProgramSection s;
    s.id = 507;
    for (int i = 0; i < 10; ++i)
        s.lines.push_back(randomLine(rng));
    std::string block;
    writeBlock(s, block);
    ProgramSection back;
    ASSERT_EQ(sectionFromJson(sectionToJson(s), back), "");
    EXPECT_EQ(back.id, 507);
    std::string again;
    writeBlock(back, again);
    EXPECT_EQ(again, block);
}

}  // namespace
}  // namespace orlo
