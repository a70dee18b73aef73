// Names of single numbered resources, alias included (see resource_names.h).
#include "catalogue/resource_names.h"

#include "expr/names.h"

namespace orlo {

std::string globalIntegerName(int n) { return displayName(kGlobalIntegerWord, n); }
std::string timerName(int n) { return displayName(kTimerWord, n); }
std::string inputName(int n) { return displayName(kInputWord, n); }
std::string outputName(int n) { return displayName(kOutputWord, n); }
std::string analogInputName(int n) { return displayName(kAnalogInputWord, n); }
std::string dataPortName(int n) { return displayName(kDataPortWord, n); }
std::string bitVariableName(int n) { return displayName(kBitVariableWord, n); }

std::string dataPortChoiceName(int n)
{
    return n >= 33 ? std::string() : dataPortName(n);
}

}  // namespace orlo
