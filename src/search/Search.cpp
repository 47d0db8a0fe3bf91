#include "search/Search.h"

#include "model/BibTexMap.h"
#include "model/Catalogue.h"
#include "model/TextUtil.h"

#include <algorithm>

namespace {

// Lower-cases `text` into `out`, reusing its storage: plain ASCII in a tight
// loop, the rest from the first other byte on through Unicode lower-casing.
void LowerInto(std::string& out, std::string_view text) {
    out.resize(text.size());
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b >= 0x80) {
            break;
        }
        out[i] = static_cast<char>((b >= 'A' && b <= 'Z') ? b + 32 : b);
    }
    if (i < text.size()) {
        out.resize(i);
        out += qvn::ToLower(text.substr(i));
    }
}

} // namespace

CSearch::CSearch(const CBibTexMap* collection, std::string query, bool ignoreCase)
    : m_collection(collection), m_query(std::move(query)), m_ignoreCase(ignoreCase) {}

bool CSearch::AddField(const CFieldRef& field) {
    if (!field.IsValid()) {
        return false;
    }
    m_fields.push_back(field);
    return true;
}

const std::vector<CBibTexEntry*>& CSearch::GetResults() const {
    if (m_dirty) {
        std::erase_if(m_results, [this](CBibTexEntry* item) { return m_live.count(item) == 0; });
        m_dirty = false;
    }
    return m_results;
}

int CSearch::Run() {
    if (!GetResults().empty()) {
        return GetResultCount();
    }
    if (m_collection == nullptr || m_fields.empty()) {
        return 0;
    }
    const std::string needle = m_ignoreCase ? qvn::ToLower(m_query) : m_query;
    std::string lowered;
    m_collection->ForEachItem([&](const CBibTexEntry& item) {
        for (const CFieldRef& field : m_fields) {
            const std::string_view value = CTexObject::StripDelimitersView(field.ValueOf(item));
            bool hit;
            if (m_ignoreCase) {
                LowerInto(lowered, value);
                hit = lowered.find(needle) != std::string::npos;
            } else {
                hit = value.find(needle) != std::string_view::npos;
            }
            if (hit) {
                // An item that matches in several fields is listed once.
                m_results.push_back(const_cast<CBibTexEntry*>(&item));
                if (m_liveBuilt) {
                    m_live.insert(&item);
                }
                break;
            }
        }
    });
    return GetResultCount();
}

const std::string& CSearch::GetLabel() {
    if (m_label.empty()) {
        std::string fields;
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            if (i > 0) {
                fields += ", ";
            }
            fields += m_fields[i].GetName();
        }
        m_label = "\"" + m_query + "\" (" + std::to_string(GetResults().size()) +
                  " results) in \"" + fields + "\"";
    }
    return m_label;
}

bool CSearch::operator==(const CSearch& other) const {
    return m_query == other.m_query && m_fields == other.m_fields;
}

void CSearch::RemoveResult(const CBibTexEntry* item) {
    // Built once: rebuilding it from m_results later would bring back
    // results that were removed but not yet filtered out.
    if (!m_liveBuilt) {
        m_live.insert(m_results.begin(), m_results.end());
        m_liveBuilt = true;
    }
    if (m_live.erase(item) > 0) {
        m_dirty = true;
    }
}

void CSearch::RemoveAllResults() {
    m_results.clear();
    m_live.clear();
    m_liveBuilt = false;
    m_dirty = false;
}

bool AddToQueryHistory(std::vector<std::string>& history, std::string_view text) {
    for (const std::string& entry : history) {
        if (qvn::EqualsNoCase(entry, text)) {
            return false;
        }
    }
    history.emplace_back(text);
    return true;
}
