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

const LineSide kConditions = {
    "condition",      conditionKindInfo,    conditionKindName,
    conditionText,    conditionParam3Source, pickConditionParam3,
    encodeConditionParam3, conditionParam3IsFormula, chooseConditionKind,
};

const LineSide kResults = {
    "result",        resultKindInfo,    resultKindName,
    resultLineText,  resultParam3Text,  pickResultParam3,
    encodeResultParam3, resultParam3IsFormula, applyResultKindDefaults,
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
