#include "search/QuickFilter.h"

#include "model/BibTexEntry.h"
#include "model/Catalogue.h"
#include "model/TexText.h"
#include "model/TextUtil.h"

#include <algorithm>
#include <cstring>

CQuickFilter::CQuickFilter(std::string_view typed) {
    const std::string folded = qvn::FoldTex(typed);
    std::size_t pos = 0;
    while (pos < folded.size()) {
        while (pos < folded.size() && qvn::IsSpace(folded[pos])) {
            ++pos;
        }
        std::size_t end = pos;
        while (end < folded.size() && !qvn::IsSpace(folded[end])) {
            ++end;
        }
        if (end > pos) {
            std::string word = folded.substr(pos, end - pos);
            // A word typed twice counts once.
            if (std::find(m_words.begin(), m_words.end(), word) == m_words.end()) {
                m_words.push_back(std::move(word));
            }
        }
        pos = end;
    }
    // The longest word first: it fails soonest.
    std::stable_sort(
        m_words.begin(), m_words.end(),
        [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
}

bool CQuickFilter::Matches(std::string_view itemText) const {
    for (const std::string& word : m_words) {
        // memmem's two-way search outruns a loop of memchr and compare on
        // texts full of the word's first letter.
        if (::memmem(itemText.data(), itemText.size(), word.data(), word.size()) == nullptr) {
            return false;
        }
    }
    return true;
}

bool CQuickFilter::Narrows(const CQuickFilter& previous) const {
    for (const std::string& old : previous.m_words) {
        const bool kept = std::any_of(m_words.begin(), m_words.end(), [&old](const std::string& w) {
            return w.find(old) != std::string::npos;
        });
        if (!kept) {
            return false;
        }
    }
    return true;
}

std::string CQuickFilter::ItemText(const CBibTexEntry& item) {
    std::string text;
    qvn::AppendFolded(text, item.GetKey());
    text += '\n';
    qvn::AppendFolded(text, item.GetTypeName());
    item.ForEachValue([&text](int, std::string_view value) {
        text += '\n';
        qvn::AppendFolded(text, qvn::TexToText(value));
    });
    item.ForEachOtherField([&text](std::string_view, std::string_view value) {
        text += '\n';
        qvn::AppendFolded(text, qvn::TexToText(value));
    });
    return text;
}
