// Unit-by-unit walking of formula text (see expression_scan.h).
#include "expr/expression_scan.h"

#include "expr/fullwidth.h"

namespace orlo {

TextWalker::TextWalker(const std::string& text) : text_(text)
{
    settle();
}

void TextWalker::settle()
{
    if (done())
        return;
    length_ = gbkCharLength(text_, pos_);
    const char c = text_[pos_];
    togglesString_ = length_ == 1 && c == '"' && backslashes_ % 2 == 0;
    quoted_ = inString_ || togglesString_;
    shift_ = !quoted_ && length_ == 1 && (c == '<' || c == '>') && pos_ + 1 < text_.size()
             && text_[pos_ + 1] == c;
    if (shift_)
        length_ = 2;
}

void TextWalker::next()
{
    if (done())
        return;
    if (togglesString_)
        inString_ = !inString_;
    backslashes_ = length_ == 1 && text_[pos_] == '\\' ? backslashes_ + 1 : 0;
    pos_ += length_;
    settle();
}

namespace {

bool matchesAt(const TextWalker& w, const std::string& text, const std::string& needle)
{
    return !needle.empty() && !w.quoted() && !w.shift()
           && text.compare(w.pos(), needle.size(), needle) == 0;
}

}  // namespace

std::size_t findOutsideStrings(const std::string& text, const std::string& needle)
{
    for (TextWalker w(text); !w.done(); w.next()) {
        if (matchesAt(w, text, needle))
            return w.pos();
    }
    return std::string::npos;
}

std::string removeOutsideStrings(const std::string& text, const std::string& needle)
{
    std::string out;
    TextWalker w(text);
    while (!w.done()) {
        if (matchesAt(w, text, needle)) {
            const std::size_t end = w.pos() + needle.size();
            while (!w.done() && w.pos() < end)
                w.next();
            continue;
        }
        out.append(text, w.pos(), w.length());
        w.next();
    }
    return out;
}

}  // namespace orlo
