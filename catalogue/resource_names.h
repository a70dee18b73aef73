// The words of the numbered resources that the catalogues name ("定时器5"),
// and the names of single resources as the user sees them: through
// displayName, so that a user alias replaces the system name.
#pragma once

#include <string>

namespace orlo {

constexpr char kGlobalIntegerWord[] = "全局整数";
constexpr char kTimerWord[] = "定时器";
constexpr char kInputWord[] = "输入";
constexpr char kOutputWord[] = "输出";
constexpr char kAnalogInputWord[] = "模拟量输入";
constexpr char kDataPortWord[] = "数据口";
constexpr char kBitVariableWord[] = "位变量";
constexpr char kGlobalArrayWord[] = "全局数组";
constexpr char kFunctionWord[] = "函数";

// "%s%d" of the word and n, or the user's alias for it.
std::string globalIntegerName(int n);
std::string timerName(int n);
std::string inputName(int n);
std::string outputName(int n);
std::string analogInputName(int n);
std::string dataPortName(int n);
std::string bitVariableName(int n);
// The data-port name for the 32 ports a choice list offers: empty for n >= 33.
std::string dataPortChoiceName(int n);

}  // namespace orlo
