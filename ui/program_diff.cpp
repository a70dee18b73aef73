// Rule-level comparison of programs (see program_diff.h).
#include "ui/program_diff.h"

#include <algorithm>
#include <unordered_map>

#include "model/image.h"
#include "platform/strings.h"
#include "ui/names_in_use.h"
#include "ui/program_list.h"

namespace orlo {

namespace {

constexpr std::size_t kMaxAlignCells = 64u << 20;

// What a file or the controller holds of a line. A line without a stored
// form (kind 0 or unknown) is never written; it is told apart by all it has.
std::string storedForm(const ProgramLine& line)
{
    std::string out;
    writeLine(line, out);
    if (out.empty()) {
        out.push_back(static_cast<char>(line.isResult));
        out.push_back(static_cast<char>(line.orElse));
        out.append(reinterpret_cast<const char*>(line.instruction.data()), line.instruction.size());
        out += line.remark;
    }
    return out;
}

// The rows, and each row's rule-number label apart: an insertion renumbers
// the rules after it, which is no change of those lines.
struct Rows {
    std::vector<std::string> labels, texts;
};

Rows rowsOf(const ProgramSection& section, const NameTable& table)
{
    ProgramSection copy = section;
    NamesInUse use(table);
    Rows rows;
    rows.texts = sectionRows(copy);
    for (std::size_t i = 0; i < rows.texts.size(); ++i) {
        const std::size_t n = std::min(rows.texts[i].size(), copy.lines[i].label.size());
        rows.labels.push_back(rows.texts[i].substr(0, n));
        rows.texts[i].erase(0, n);
    }
    return rows;
}

// Pairs of matched indexes (a, b), in order, by a longest common subsequence
// of equal keys; the common head and tail are matched first.
std::vector<std::pair<unsigned, unsigned>> align(const std::vector<int>& a,
                                                 const std::vector<int>& b)
{
    std::vector<std::pair<unsigned, unsigned>> matched;
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) {
        matched.push_back({static_cast<unsigned>(head), static_cast<unsigned>(head)});
        ++head;
    }
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    const std::size_t n = a.size() - head - tail, m = b.size() - head - tail;
    if (n > 0 && m > 0 && n * m <= kMaxAlignCells) {
        // Suffix lengths two rows at a time; per cell only the step taken,
        // two bits: 0 match, 1 skip a line of A, 2 skip a line of B.
        std::vector<std::uint32_t> below(m + 1, 0), row(m + 1, 0);
        std::vector<std::uint8_t> steps((n * m + 3) / 4, 0);
        auto setStep = [&](std::size_t i, std::size_t j, unsigned step) {
            const std::size_t c = i * m + j;
            steps[c / 4] = static_cast<std::uint8_t>(steps[c / 4] | step << (c % 4 * 2));
        };
        auto stepAt = [&](std::size_t i, std::size_t j) {
            const std::size_t c = i * m + j;
            return steps[c / 4] >> (c % 4 * 2) & 3u;
        };
        for (std::size_t i = n; i-- > 0;) {
            row[m] = 0;
            for (std::size_t j = m; j-- > 0;) {
                if (a[head + i] == b[head + j]) {
                    row[j] = below[j + 1] + 1;
                } else if (below[j] >= row[j + 1]) {
                    row[j] = below[j];
                    setStep(i, j, 1);
                } else {
                    row[j] = row[j + 1];
                    setStep(i, j, 2);
                }
            }
            std::swap(row, below);
        }
        std::size_t i = 0, j = 0;
        while (i < n && j < m) {
            const unsigned step = stepAt(i, j);
            if (step == 0)
                matched.push_back({static_cast<unsigned>(head + i++), static_cast<unsigned>(head + j++)});
            else if (step == 1)
                ++i;
            else
                ++j;
        }
    }
    for (std::size_t k = tail; k > 0; --k)
        matched.push_back({static_cast<unsigned>(a.size() - k), static_cast<unsigned>(b.size() - k)});
    return matched;
}

}  // namespace

std::string sectionLabel(int sectionId)
{
    if (sectionId == kMainSectionId)
        return "主程序";
    if (sectionId > kThreadIdBase)
        return format("线程%d", sectionId - kThreadIdBase);
    return format("函数%d", sectionId);
}

std::vector<LineDifference> diffSections(int sectionId, const ProgramSection& a,
                                         const NameTable& namesA, const ProgramSection& b,
                                         const NameTable& namesB)
{
    std::vector<std::string> formsA, formsB;
    std::unordered_map<std::string, int> keyOf;
    std::vector<int> keysA, keysB;
    for (const ProgramLine& l : a.lines) {
        formsA.push_back(storedForm(l));
        keysA.push_back(keyOf.emplace(formsA.back(), static_cast<int>(keyOf.size())).first->second);
    }
    for (const ProgramLine& l : b.lines) {
        formsB.push_back(storedForm(l));
        keysB.push_back(keyOf.emplace(formsB.back(), static_cast<int>(keyOf.size())).first->second);
    }
    const Rows rowsA = rowsOf(a, namesA), rowsB = rowsOf(b, namesB);

    std::vector<LineDifference> out;
    auto line = [&](LineDifference::Kind kind, unsigned i, unsigned j) {
        LineDifference d;
        d.kind = kind;
        d.sectionId = sectionId;
        if (kind != LineDifference::Kind::Inserted) {
            d.lineA = i + 1;
            d.rowA = rowsA.labels[i] + rowsA.texts[i];
        }
        if (kind != LineDifference::Kind::Removed) {
            d.lineB = j + 1;
            d.rowB = rowsB.labels[j] + rowsB.texts[j];
        }
        if (kind == LineDifference::Kind::Changed && rowsA.texts[i] == rowsB.texts[j]) {
            d.bytesA = hexText(formsA[i]);
            d.bytesB = hexText(formsB[j]);
        }
        out.push_back(std::move(d));
    };
    // Between two matched pairs, the unmatched lines of A and B pair up as
    // changes; what is left over was removed or inserted.
    std::vector<std::pair<unsigned, unsigned>> matched = align(keysA, keysB);
    matched.push_back({a.count(), b.count()});
    unsigned i = 0, j = 0;
    for (const auto& [mi, mj] : matched) {
        while (i < mi && j < mj)
            line(LineDifference::Kind::Changed, i++, j++);
        while (i < mi)
            line(LineDifference::Kind::Removed, i++, 0);
        while (j < mj)
            line(LineDifference::Kind::Inserted, 0, j++);
        i = mi + 1;
        j = mj + 1;
    }
    return out;
}

ProgramDifferences diffPrograms(const Program& a, const NameTable& namesA, const Program& b,
                                const NameTable& namesB)
{
    ProgramDifferences result;
    std::vector<int> ids{kMainSectionId};
    for (int n = 1; n <= kFunctionCount; ++n)
        ids.push_back(n);
    for (int n = 1; n <= kThreadCount; ++n)
        ids.push_back(kThreadIdBase + n);
    for (int id : ids) {
        const ProgramSection* sa = a.sectionById(id);
        const ProgramSection* sb = b.sectionById(id);
        if (sa->empty() && sb->empty())
            continue;
        std::vector<LineDifference> d = diffSections(id, *sa, namesA, *sb, namesB);
        result.lines.insert(result.lines.end(), d.begin(), d.end());
    }

    const std::string textA = namesA.exportText(), textB = namesB.exportText();
    if (textA != textB) {
        result.namesDiffer = true;
        auto linesOf = [](const std::string& text) {
            std::vector<std::string> lines;
            std::size_t start = 0;
            while (start < text.size()) {
                std::size_t end = text.find("\r\n", start);
                if (end == std::string::npos)
                    end = text.size();
                lines.push_back(text.substr(start, end - start));
                start = end + 2;
            }
            return lines;
        };
        const std::vector<std::string> la = linesOf(textA), lb = linesOf(textB);
        for (const std::string& l : la)
            if (std::find(lb.begin(), lb.end(), l) == lb.end())
                result.namesOnlyA.push_back(l);
        for (const std::string& l : lb)
            if (std::find(la.begin(), la.end(), l) == la.end())
                result.namesOnlyB.push_back(l);
    }
    return result;
}

std::vector<std::string> differenceReport(const ProgramDifferences& differences,
                                          std::size_t maxDifferences)
{
    std::vector<std::string> out;
    std::size_t shown = 0;
    for (const LineDifference& d : differences.lines) {
        if (maxDifferences != 0 && shown == maxDifferences)
            break;
        ++shown;
        const char* what = d.kind == LineDifference::Kind::Changed    ? "changed"
                           : d.kind == LineDifference::Kind::Inserted ? "inserted"
                                                                      : "removed";
        const unsigned line = d.kind == LineDifference::Kind::Inserted ? d.lineB : d.lineA;
        out.push_back(format("%s:%u: %s", sectionLabel(d.sectionId).c_str(), line, what));
        if (d.lineA)
            out.push_back(format("  - %u: ", d.lineA) + d.rowA);
        if (d.lineB)
            out.push_back(format("  + %u: ", d.lineB) + d.rowB);
        if (!d.bytesA.empty() || !d.bytesB.empty()) {
            out.push_back("  bytes - " + d.bytesA);
            out.push_back("  bytes + " + d.bytesB);
        }
    }
    if (shown < differences.lines.size())
        out.push_back(format("... %u more", static_cast<unsigned>(differences.lines.size() - shown)));
    if (differences.namesDiffer) {
        out.push_back("names: differ");
        auto alias = [](const std::string& line) {
            std::string text;
            for (char c : line)
                text += c == '\t' ? std::string(" ") : std::string(1, c);
            return text;
        };
        for (const std::string& l : differences.namesOnlyA)
            out.push_back("  - " + alias(l));
        for (const std::string& l : differences.namesOnlyB)
            out.push_back("  + " + alias(l));
        if (differences.namesOnlyA.empty() && differences.namesOnlyB.empty())
            out.push_back("  the same aliases in another order");
    }
    return out;
}

}  // namespace orlo
