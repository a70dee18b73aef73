// NamesInUse: the rows of the lists are rendered through the process-wide
// name table; tools that show another program's lines (a comparison, a
// cross-reference) put that program's aliases in place for the rendering
// and the table is put back when the guard goes. User-interface thread only.
#pragma once

#include "expr/names.h"

namespace orlo {

class NamesInUse {
public:
    explicit NamesInUse(const NameTable& table) : saved_(names()) { names() = table; }
    ~NamesInUse() { names() = saved_; }
    NamesInUse(const NamesInUse&) = delete;
    NamesInUse& operator=(const NamesInUse&) = delete;

private:
    NameTable saved_;
};

}  // namespace orlo
