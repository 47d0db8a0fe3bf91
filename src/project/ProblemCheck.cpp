#include "project/ProblemCheck.h"

#include "model/BibTexEntry.h"
#include "model/BibTexMap.h"
#include "model/BibTexStringTable.h"
#include "model/Catalogue.h"
#include "model/TexText.h"
#include "model/TextUtil.h"

#include <algorithm>
#include <array>
#include <functional>
#include <span>

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                      "jul", "aug", "sep", "oct", "nov", "dec"};

// Partners of a same-work problem named by key; the rest are counted.
constexpr std::size_t kNamedPartners = 3;

std::string_view NamedValue(const CBibTexEntry& item, std::string_view name) {
    return item.GetNamedValue(name);
}

// Every value of the item with its field name.
template <typename F> void ForEachNamedValue(const CBibTexEntry& item, F&& f) {
    item.ForEachValue([&](int index, std::string_view value) {
        if (index >= 0 && index < kFieldCount) {
            f(FieldName(index), value);
        }
    });
    item.ForEachOtherField([&](std::string_view name, std::string_view value) { f(name, value); });
}

bool IsEmptyValue(std::string_view value) {
    return qvn::TrimView(CTexObject::StripDelimitersView(value)).empty();
}

// The bare names of a value: the parts of a # concatenation (or the whole
// value) that stand in neither braces nor quotes and are not numbers.
std::vector<std::string_view> BareNames(std::string_view value) {
    std::vector<std::string_view> names;
    std::size_t i = 0;
    const std::size_t n = value.size();
    while (i < n) {
        while (i < n && (qvn::IsSpace(value[i]) || value[i] == '#')) {
            ++i;
        }
        if (i >= n) {
            break;
        }
        if (value[i] == '{') {
            int depth = 0;
            for (; i < n; ++i) {
                if (value[i] == '{') {
                    ++depth;
                } else if (value[i] == '}' && --depth == 0) {
                    ++i;
                    break;
                }
            }
            continue;
        }
        if (value[i] == '"') {
            int depth = 0;
            for (++i; i < n; ++i) {
                if (value[i] == '{') {
                    ++depth;
                } else if (value[i] == '}') {
                    --depth;
                } else if (value[i] == '"' && depth <= 0) {
                    ++i;
                    break;
                }
            }
            continue;
        }
        const std::size_t start = i;
        while (i < n && !qvn::IsSpace(value[i]) && value[i] != '#' && value[i] != '{' &&
               value[i] != '"') {
            ++i;
        }
        const std::string_view name = value.substr(start, i - start);
        if (!CTexObject::IsNumber(name)) {
            names.push_back(name);
        }
    }
    return names;
}

std::uint64_t HashKey(const std::string& key) {
    if (key.empty()) {
        return 0;
    }
    const std::uint64_t hash = std::hash<std::string>{}(key);
    return hash == 0 ? 1 : hash;
}

std::string Quoted(std::string_view text) {
    std::string out = "'";
    out += text;
    out += '\'';
    return out;
}

// Required fields of which one is enough, as BibTeX's styles read them.
bool AreAlternatives(int a, int b) {
    const auto pair = [&](int x, int y) { return (a == x && b == y) || (a == y && b == x); };
    static const int chapter = FindField("chapter");
    return pair(kFieldAuthor, kFieldEditor) || pair(chapter, kFieldPages);
}

} // namespace

CProblemCheck::CProblemCheck(const CBibTexMap& items, const CBibTexStringTable& strings)
    : m_items(items), m_strings(strings) {}

void CProblemCheck::MarkChanged(const CBibTexEntry& item) {
    if (m_pendingSet.insert(&item).second) {
        m_pending.push_back(&item);
    }
}

void CProblemCheck::MarkAll() {
    m_syncDue = true;
}

void CProblemCheck::Forget(const CBibTexEntry& item) {
    m_pendingSet.erase(&item);
    if (m_syncPos < m_syncItems.size()) {
        m_forgottenInSync.insert(&item);
    }
    const auto it = m_facts.find(&item);
    if (it != m_facts.end()) {
        Unindex(item, it->second);
        m_facts.erase(it);
    }
}

void CProblemCheck::ForgetAll() {
    m_syncItems.clear();
    m_syncPos = 0;
    m_forgottenInSync.clear();
    m_facts.clear();
    m_byDoi.clear();
    m_byTitle.clear();
    m_pending.clear();
    m_pendingSet.clear();
    m_syncDue = true;
}

std::size_t CProblemCheck::Fingerprint(const CBibTexEntry& item) {
    std::size_t hash = std::hash<std::string_view>{}(item.GetKey()) ^
                       (std::hash<std::string_view>{}(item.GetTypeName()) * 0x9E3779B97F4A7C15ULL);
    ForEachNamedValue(item, [&hash](std::string_view name, std::string_view value) {
        hash = (hash * 1099511628211ULL) ^ std::hash<std::string_view>{}(name);
        hash = (hash * 1099511628211ULL) ^ std::hash<std::string_view>{}(value);
    });
    return hash;
}

void CProblemCheck::Sync() {
    // A list of every item, taken in one go; the items are compared with
    // what was checked in the steps that follow (one whose fingerprint shows
    // no change costs a hash).
    m_syncDue = false;
    ++m_generation;
    m_syncItems.clear();
    m_syncItems.reserve(static_cast<std::size_t>(m_items.GetTotalCount()));
    m_items.ForEachItem([this](const CBibTexEntry& item) { m_syncItems.push_back(&item); });
    m_syncPos = 0;
    m_forgottenInSync.clear();
}

void CProblemCheck::Sweep() {
    // Items that left the project unannounced are dropped with their index
    // entries; none of them is read.
    for (auto it = m_facts.begin(); it != m_facts.end();) {
        if (it->second.generation != m_generation) {
            Unindex(*it->first, it->second);
            it = m_facts.erase(it);
        } else {
            ++it;
        }
    }
}

void CProblemCheck::Refresh(const CBibTexEntry& item) {
    const auto it = m_facts.find(&item);
    if (it != m_facts.end() && it->second.fingerprint == Fingerprint(item)) {
        it->second.generation = m_generation;
    } else {
        Check(item);
    }
}

bool CProblemCheck::Run(std::chrono::steady_clock::duration budget) {
    const auto deadline = std::chrono::steady_clock::now() + budget;
    if (m_syncDue) {
        Sync();
    }
    std::size_t done = 0;
    const auto spent = [&done, &deadline] {
        return ++done % 64 == 0 && std::chrono::steady_clock::now() >= deadline;
    };
    // Announced changes first: they are what the user just did.
    while (!m_pending.empty()) {
        const CBibTexEntry* item = m_pending.front();
        m_pending.pop_front();
        if (m_pendingSet.erase(item) == 0) {
            continue; // forgotten, or already checked
        }
        Refresh(*item);
        if (spent()) {
            return false;
        }
    }
    while (m_syncPos < m_syncItems.size()) {
        const CBibTexEntry* item = m_syncItems[m_syncPos++];
        if (m_forgottenInSync.empty() || !m_forgottenInSync.contains(item)) {
            Refresh(*item);
        }
        if (spent()) {
            return !IsPending();
        }
    }
    if (!m_syncItems.empty()) {
        m_syncItems.clear();
        m_syncItems.shrink_to_fit();
        m_forgottenInSync.clear();
        Sweep();
    }
    return !IsPending();
}

void CProblemCheck::RunAll() {
    while (!Run(std::chrono::hours(1))) {
    }
}

void CProblemCheck::Unindex(const CBibTexEntry& item, const Facts& facts) {
    const auto drop = [&item](auto& index, std::uint64_t hash) {
        if (hash == 0) {
            return;
        }
        const auto it = index.find(hash);
        if (it == index.end()) {
            return;
        }
        std::erase(it->second, &item);
        if (it->second.empty()) {
            index.erase(it);
        }
    };
    drop(m_byDoi, facts.doiHash);
    drop(m_byTitle, facts.titleHash);
}

std::string CProblemCheck::DoiKey(const CBibTexEntry& item) {
    std::string doi =
        qvn::ToLowerAscii(qvn::TrimView(CTexObject::StripDelimitersView(NamedValue(item, "doi"))));
    // The same DOI written as an address or with its prefix.
    for (const std::string_view prefix : {"https://doi.org/", "http://doi.org/",
                                          "https://dx.doi.org/", "http://dx.doi.org/", "doi:"}) {
        if (doi.starts_with(prefix)) {
            doi.erase(0, prefix.size());
            break;
        }
    }
    return std::string(qvn::TrimView(doi));
}

std::string CProblemCheck::TitleYearKey(const CBibTexEntry& item) {
    const std::string_view title = CTexObject::StripDelimitersView(item.GetValue(kFieldTitle));
    const std::string_view year =
        qvn::TrimView(CTexObject::StripDelimitersView(item.GetValue(kFieldYear)));
    if (qvn::TrimView(title).empty() || year.empty()) {
        return {};
    }
    // Case, accents, braces and runs of blanks do not make another title.
    const std::string folded = qvn::FoldTex(title);
    std::string key;
    key.reserve(folded.size() + year.size() + 1);
    for (const char c : folded) {
        if (qvn::IsSpace(c)) {
            if (!key.empty() && key.back() != ' ') {
                key += ' ';
            }
        } else {
            key += c;
        }
    }
    if (!key.empty() && key.back() == ' ') {
        key.pop_back();
    }
    key += '\x1F';
    key += year;
    return key;
}

void CProblemCheck::Check(const CBibTexEntry& item) {
    auto it = m_facts.find(&item);
    if (it != m_facts.end()) {
        Unindex(item, it->second);
    } else {
        it = m_facts.emplace(&item, Facts{}).first;
    }
    Facts& facts = it->second;
    facts = Facts{};
    facts.fingerprint = Fingerprint(item);
    facts.generation = m_generation;

    const int type = item.GetType();
    if (type >= 0 && type < kEntryTypeCount) {
        const std::span<const int> required = RequiredFields(type);
        for (std::size_t i = 0; i < required.size(); ++i) {
            const int field = required[i];
            if (i > 0 && AreAlternatives(required[i - 1], field)) {
                continue; // judged with the one before
            }
            const bool hasAlternative =
                i + 1 < required.size() && AreAlternatives(field, required[i + 1]);
            const bool empty = IsEmptyValue(item.GetValue(field)) &&
                               (!hasAlternative || IsEmptyValue(item.GetValue(required[i + 1])));
            if (empty) {
                facts.missing.push_back(field);
            }
        }
    }
    ForEachNamedValue(item, [&facts](std::string_view name, std::string_view value) {
        if (!CTexObject::HasBalancedBraces(value)) {
            facts.own.push_back({std::string(name), "braces do not balance in " + Quoted(name)});
            return;
        }
        if (CTexObject::IsDelimited(value) && CTexObject::IsOneGroup(value)) {
            return;
        }
        for (const std::string_view bare : BareNames(value)) {
            facts.names.emplace_back(std::string(name), std::string(bare));
        }
    });
    facts.doiHash = HashKey(DoiKey(item));
    facts.titleHash = HashKey(TitleYearKey(item));
    if (facts.doiHash != 0) {
        m_byDoi[facts.doiHash].push_back(&item);
    }
    if (facts.titleHash != 0) {
        m_byTitle[facts.titleHash].push_back(&item);
    }
}

bool CProblemCheck::IsNameDefined(std::string_view name) const {
    if (m_strings.HasString(name)) {
        return true;
    }
    // BibTeX reads the names of strings and months in any letter case.
    for (const std::string_view month : kMonths) {
        if (qvn::EqualsNoCase(name, month)) {
            return true;
        }
    }
    for (const auto& [abbreviation, value] : m_strings) {
        if (qvn::EqualsNoCase(abbreviation, name)) {
            return true;
        }
    }
    return false;
}

void CProblemCheck::AppendSameWork(const CBibTexEntry& item, const Facts& facts,
                                   std::vector<ItemProblem>& problems) const {
    const auto partners = [this,
                           &item](const auto& index, std::uint64_t hash,
                                  const std::function<std::string(const CBibTexEntry&)>& keyOf,
                                  std::string& listed) {
        if (hash == 0) {
            return;
        }
        const auto it = index.find(hash);
        if (it == index.end() || it->second.size() < 2) {
            return;
        }
        const std::string mine = keyOf(item);
        std::size_t named = 0;
        std::size_t more = 0;
        for (const CBibTexEntry* other : it->second) {
            if (other == &item) {
                continue;
            }
            if (named == kNamedPartners) {
                ++more; // counted without comparing: a hash that agrees
                continue;
            }
            if (keyOf(*other) != mine) {
                continue;
            }
            listed += (named == 0 ? "" : ", ") +
                      Quoted(m_keyNamer ? m_keyNamer(*other) : other->GetKey());
            ++named;
        }
        if (named > 0 && more > 0) {
            listed += qvn::Format(" and %zu more", more);
        }
    };
    std::string byDoi;
    partners(m_byDoi, facts.doiHash, &CProblemCheck::DoiKey, byDoi);
    if (!byDoi.empty()) {
        problems.push_back({"doi", "same work as " + byDoi + " (same DOI)"});
    }
    std::string byTitle;
    partners(m_byTitle, facts.titleHash, &CProblemCheck::TitleYearKey, byTitle);
    if (!byTitle.empty()) {
        problems.push_back({"title", "same work as " + byTitle + " (same title and year)"});
    }
}

std::vector<ItemProblem> CProblemCheck::GetProblems(const CBibTexEntry& item) const {
    std::vector<ItemProblem> problems;
    const auto it = m_facts.find(&item);
    if (it == m_facts.end()) {
        return problems;
    }
    const Facts& facts = it->second;

    const std::string_view crossref =
        qvn::TrimView(CTexObject::StripDelimitersView(NamedValue(item, "crossref")));
    const CBibTexEntry* parent = nullptr;
    if (!crossref.empty()) {
        parent = m_items.FindKey(crossref);
        if (parent == nullptr) {
            problems.push_back({"crossref", "crossref " + Quoted(crossref) + " names no item"});
        }
    }
    const std::span<const int> required = item.GetType() >= 0 && item.GetType() < kEntryTypeCount
                                              ? RequiredFields(item.GetType())
                                              : std::span<const int>();
    for (const int field : facts.missing) {
        // A field the crossref'd item has is taken from there.
        const auto next = std::find(required.begin(), required.end(), field) + 1;
        const int alternative = next < required.end() && AreAlternatives(field, *next) ? *next : -1;
        if (parent != nullptr &&
            (!IsEmptyValue(parent->GetValue(field)) ||
             (alternative >= 0 && !IsEmptyValue(parent->GetValue(alternative))))) {
            continue;
        }
        std::string text = "required field " + Quoted(FieldName(field));
        if (alternative >= 0) {
            text += " or " + Quoted(FieldName(alternative));
        }
        problems.push_back({std::string(FieldName(field)), text + " is empty"});
    }
    for (const auto& [field, name] : facts.names) {
        if (!IsNameDefined(name)) {
            problems.push_back({field, Quoted(name) + " in " + Quoted(field) +
                                           " is neither a defined string nor a month"});
        }
    }
    problems.insert(problems.end(), facts.own.begin(), facts.own.end());
    AppendSameWork(item, facts, problems);
    return problems;
}

std::string CProblemCheck::DescribeProblems(const CBibTexEntry& item) const {
    std::string text;
    for (const ItemProblem& problem : GetProblems(item)) {
        if (!text.empty()) {
            text += '\n';
        }
        text += problem.text;
    }
    return text;
}
