// The condition and result sides as tables of operations (see line_sides.h).
#include "catalogue/line_sides.h"

#include "catalogue/condition_encoding.h"
#include "catalogue/condition_text.h"
#include "catalogue/conditions.h"
#include "catalogue/param_text_prep.h"
#include "catalogue/result_encoding.h"
#include "catalogue/result_text.h"
#include "catalogue/results.h"

namespace orlo {

namespace {

void chooseConditionKind(std::uint8_t* instruction, int kind)
{
    instruction[0] = static_cast<std::uint8_t>(kind);
}

bool conditionTakesData(const std::uint8_t* record)
{
    using L = ConditionParam3;
    switch (conditionParam3Layout(record)) {
    case L::String:
    case L::CheckedHex:
    case L::Hex:
    case L::LocalArrayHex:
    case L::LocalArrayString:
    case L::CompoundCondition:
    case L::FunctionCallTest:
    case L::Expression:
    case L::ExpressionList:
        return true;
    default:
        return false;
    }
}

bool resultTakesData(const std::uint8_t* instruction)
{
    return resultParam3Layout(instruction).data != ResultParam3Layout::Data::None;
}

const LineSide kConditions = {
    "condition",      conditionKindInfo,    conditionKindName,
    conditionText,    conditionParam3Source, pickConditionParam3,
    encodeConditionParam3, conditionParam3IsFormula, chooseConditionKind,
    conditionTakesData,
};

const LineSide kResults = {
    "result",        resultKindInfo,    resultKindName,
    resultLineText,  resultParam3Text,  pickResultParam3,
    encodeResultParam3, resultParam3IsFormula, applyResultKindDefaults,
    resultTakesData,
};

}  // namespace

const LineSide& conditionSide()
{
    return kConditions;
}

const LineSide& resultSide()
{
    return kResults;
}

void dropUnwrittenCount(const LineSide& side, std::uint8_t* instruction)
{
    const int count = side.kindInfo(instruction).countByte;
    if (count != 0 && !side.takesData(instruction))
        instruction[count] = 0;
}

void composeLine(const LineSide& side, std::uint8_t* instruction, int kind, int param1,
                 int param2, int pick, const std::string& text)
{
    side.chooseKind(instruction, kind);
    instruction[1] = static_cast<std::uint8_t>(param1);
    instruction[2] = static_cast<std::uint8_t>(param2);
    if (pick > 0)
        side.pick(instruction, pick);
    side.encode(prepareParam3Text(text, side.isFormula(kind)), instruction);
}

}  // namespace orlo
