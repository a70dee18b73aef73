// The reader of the result text tables (see result_forms.h).
#include "catalogue/result_forms.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "catalogue/byte_text.h"
#include "catalogue/resource_names.h"
#include "catalogue/result_text.h"
#include "catalogue/results.h"
#include "expr/decoder.h"
#include "expr/names.h"
#include "platform/strings.h"

namespace orlo {
namespace form {

namespace {

constexpr std::size_t kParam3 = 3;  // instruction byte of param3 byte 0

// The data counted in P[count] that starts right after it, cut where the
// 256-byte instruction ends.
std::string_view countedData(const std::uint8_t* instruction, std::size_t count)
{
    const std::size_t offset = kParam3 + count + 1;
    const std::size_t n = fitInInstruction(offset, instruction[kParam3 + count]);
    return std::string_view(reinterpret_cast<const char*>(instruction + offset), n);
}

double doubleAt(const std::uint8_t* bytes)
{
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | bytes[i];
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string joined(const std::vector<std::string>& items, std::size_t from)
{
    std::string out;
    for (std::size_t i = from; i < items.size(); ++i) {
        if (i > from)
            out += ", ";
        out += items[i];
    }
    return out;
}

}  // namespace

struct Line::Decoded {
    std::vector<std::string> expressions;  // the list from P[1], rendered
};

struct Line::Item {
    enum Type { Number, Text, Real } type = Text;
    std::int64_t number = 0;
    std::string text;
    double real = 0;

    static Item of(std::int64_t n) { Item i; i.type = Number; i.number = n; return i; }
    static Item of(std::string t) { Item i; i.type = Text; i.text = std::move(t); return i; }
    static Item ofReal(double r) { Item i; i.type = Real; i.real = r; return i; }
};

Line::Line(const std::uint8_t* instruction) : instruction_(instruction) {}

Line::~Line() = default;

int Line::expressionCount()
{
    if (!decoded_) {
        decoded_ = std::make_unique<Decoded>();
        const ExpressionList list = decodeExpressionList(countedData(instruction_, 0));
        for (const Expression& e : list.expressions)
            decoded_->expressions.push_back(renderExpression(e));
    }
    return static_cast<int>(decoded_->expressions.size());
}

bool Line::holds(When when)
{
    const std::uint32_t v = bigEndian32(instruction_ + kParam3);
    switch (when) {
    case When::Always: return true;
    case When::VZero: return v == 0;
    case When::VOne: return v == 1;
    case When::VNonZero: return v != 0;
    case When::Count0: return expressionCount() == 0;
    case When::Count1: return expressionCount() == 1;
    case When::Count2: return expressionCount() == 2;
    case When::Count3: return expressionCount() == 3;
    case When::Count4: return expressionCount() == 4;
    case When::Count5: return expressionCount() == 5;
    case When::Count2OrMore: return expressionCount() >= 2;
    case When::Count3OrMore: return expressionCount() >= 3;
    }
    return false;
}

Line::Item Line::item(Value value)
{
    const std::uint8_t* ins = instruction_;
    const std::uint8_t* p = ins + kParam3;
    const int kind = ins[0], param1 = ins[1], param2 = ins[2];
    const std::uint32_t v = bigEndian32(p);
    const std::string_view data = countedData(ins, 0);
    switch (value) {
    case None: return Item::of(std::string());
    case P0: return Item::of(p[0]);
    case P1: return Item::of(p[1]);
    case P2: return Item::of(p[2]);
    case P3: return Item::of(p[3]);
    case P4: return Item::of(p[4]);
    case P5: return Item::of(p[5]);
    case P23: return Item::of(p[2] * 256 + p[3]);
    case V: return Item::of(v);
    case W: return Item::of(bigEndian32(p + 2));
    case A: return Item::of(param1);
    case AMinus1: return Item::of(param1 - 1);
    case H: return Item::of(param2);
    case HMinus1: return Item::of(param2 - 1);
    case K: return Item::of(resultKindName(kind));
    case S: return Item::of(resultParam1Text(kind, param1));
    case R: return Item::of(resultParam2Text(kind, param1, param2));
    case Q: return Item::of(resultParam3Text(ins));
    case OutH: return Item::of(outputName(param2));
    case BitH: return Item::of(bitVariableName(param2));
    case GIntA: return Item::of(globalIntegerName(param1));
    case GIntV: return Item::of(globalIntegerName(static_cast<std::int32_t>(v)));
    case GIntP2: return Item::of(globalIntegerName(p[2]));
    case TmrV: return Item::of(timerName(static_cast<std::int32_t>(v)));
    case AInV: return Item::of(analogInputName(static_cast<std::int32_t>(v)));
    case InP3: return Item::of(inputName(p[3]));
    case OutP3: return Item::of(outputName(p[3]));
    case BitP3: return Item::of(bitVariableName(p[3]));
    case PortP3: return Item::of(dataPortName(p[3]));
    case PortH: return Item::of(dataPortName(param2));
    case PortChoiceH: return Item::of(dataPortChoiceName(param2));
    case GArrH: return Item::of(displayName(kGlobalArrayWord, param2));
    case MaskV: return Item::of(channelMaskText(v));
    case HexP1:
        return Item::of(hexBytesText(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
    case StrP1:
        return Item::of(bytesText(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
    case HexP5: {
        const std::string_view d = countedData(ins, 4);
        return Item::of(hexBytesText(reinterpret_cast<const std::uint8_t*>(d.data()), d.size()));
    }
    case StrP5: {
        const std::string_view d = countedData(ins, 4);
        return Item::of(bytesText(reinterpret_cast<const std::uint8_t*>(d.data()), d.size()));
    }
    case ChoiceP0: return Item::of(resultParam3Choice(ins, p[0]));
    case ChoiceP1: return Item::of(resultParam3Choice(ins, p[1]));
    case ExprP1: return Item::of(renderExpression(decodeExpression(data)));
    case ListP1: return Item::of(renderExpressionList(decodeExpressionList(data)));
    case StatementsBySemicolon:
        return Item::of(renderStatementList(decodeStatementList(data, data.size()), ";"));
    case StatementsByAnd:
        return Item::of(renderStatementList(decodeStatementList(data, data.size()), " 并且 "));
    case StatementsByOr:
        return Item::of(renderStatementList(decodeStatementList(data, data.size()), " 或者 "));
    case CallTestBlankName:
        return Item::of(renderFunctionCallTest(decodeFunctionCallTest(data), " "));
    case CallTestR:
        return Item::of(renderFunctionCallTest(decodeFunctionCallTest(data),
                                               resultParam2Text(kind, param1, param2)));
    case CallAssignNoName:
        return Item::of(renderFunctionCallAssign(decodeFunctionCallAssign(data), ""));
    case CallAssignFunctionName:
        return Item::of(renderFunctionCallAssign(decodeFunctionCallAssign(data), kFunctionWord));
    case RealP1: return Item::ofReal(doubleAt(p + 1));
    case RealP3: return Item::ofReal(doubleAt(p + 3));
    case OperatorP2: {
        static const char* const kOperators[] = {"+", "-", "*", "/"};
        return Item::of(std::string(p[2] < 4 ? kOperators[p[2]] : kOperators[0]));
    }
    case E0: case E1: case E2: case E3: case E4: {
        const int i = value - E0;
        return Item::of(i < expressionCount() ? decoded_->expressions[i] : std::string());
    }
    case E1On:
        expressionCount();
        return Item::of(joined(decoded_->expressions, 1));
    case E2On:
        expressionCount();
        return Item::of(joined(decoded_->expressions, 2));
    case EAll:
        expressionCount();
        return Item::of(joined(decoded_->expressions, 0));
    }
    return Item::of(std::string());
}

std::string Line::fill(const std::string& format, const Value* values)
{
    std::string out;
    int next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        char conversion = format[++i];
        if (conversion == '%') {
            out += '%';
            continue;
        }
        if (conversion == 'l' && i + 1 < format.size())
            conversion = format[++i];
        const Item it = next < kMaxValues ? item(values[next]) : Item::of(std::string());
        ++next;
        switch (it.type) {
        case Item::Text:
            out += it.text;
            break;
        case Item::Real:
            // Six decimals would change the double when the text is typed back.
            out += exactDecimalText(it.real);
            break;
        case Item::Number:
            if (conversion == 'd')
                out += orlo::format("%d", static_cast<std::int32_t>(static_cast<std::uint32_t>(it.number)));
            else
                out += orlo::format("%u", static_cast<std::uint32_t>(it.number));
            break;
        }
    }
    return out;
}

const Row* findRow(const Row* rows, std::size_t count, Line& line)
{
    const std::uint8_t* ins = line.instruction();
    for (std::size_t i = 0; i < count; ++i) {
        const Row& row = rows[i];
        if (row.kind.contains(ins[0]) && row.param1.contains(ins[1]) &&
            row.param2.contains(ins[2]) && line.holds(row.when))
            return &row;
    }
    return nullptr;
}

std::string rowText(const Row* rows, std::size_t count, Line& line)
{
    const Row* row = findRow(rows, count, line);
    return row ? line.fill(row->format, row->values) : std::string();
}

}  // namespace form
}  // namespace orlo
