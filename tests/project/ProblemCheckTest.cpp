// The check of items for problems: what it finds, and that after a change it
// finds what the project holds now.
#include "project/ProblemCheck.h"

#include "model/BibTexMap.h"
#include "model/BibTexReader.h"
#include "model/BibTexStringTable.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

class ProblemCheckTest : public ::testing::Test {
protected:
    // Reads .bib text into the project's items and strings.
    void Load(const std::string& text) {
        CBibTexReader reader("refs.bib");
        ASSERT_EQ(reader.ReadText(text), 1);
        for (const auto& [abbreviation, value] : reader.GetStrings()) {
            strings.AddString(abbreviation, CTexObject::StripOneGroup(value), false);
        }
        items.MoveAllFrom(reader.GetItems(), [](CBibTexEntry&) {});
    }
    std::vector<std::string> Problems(const std::string& key) {
        check.RunAll();
        std::vector<std::string> texts;
        const CBibTexEntry* item = items.FindKey(key);
        EXPECT_NE(item, nullptr) << key;
        if (item != nullptr) {
            for (const ItemProblem& problem : check.GetProblems(*item)) {
                texts.push_back(problem.field + ": " + problem.text);
            }
        }
        return texts;
    }
    using Texts = std::vector<std::string>;

    CBibTexMap items;
    CBibTexStringTable strings;
    CActiveStringTableScope active{&strings};
    CProblemCheck check{items, strings};
};

TEST_F(ProblemCheckTest, FindsEachKindOfProblem) {
    Load("@string{jacm = {Journal of the ACM}}\n"
         "@article{ok, author={A}, title={T}, journal=jacm, year=2001, month=Jan}\n"
         "@article{bare, author={A}, title={T2}, journal=jcam # { x}, year=2001, month=sept}\n"
         "@article{empty, author={ }, title={T3}, journal={J}, year=2001}\n"
         "@book{editoronly, editor={E}, title={B}, publisher={P}, year=1999}\n"
         "@book{neither, title={B2}, publisher={P}, year=1999}\n"
         "@inbook{pagesonly, author={A}, title={C}, pages={1--2}, publisher={P}, year=1}\n"
         "@misc{ref, crossref={nowhere}}\n"
         "@misc{dup1, title={The {B}ook of {\\\"U}ber}, year=2000}\n"
         "@misc{dup2, title={the book  of \\\"uber}, year={2000}}\n"
         "@misc{otheryear, title={The Book of Uber}, year=2001}\n");
    EXPECT_EQ(Problems("ok"), Texts{});
    EXPECT_EQ(Problems("bare"),
              (Texts{"journal: 'jcam' in 'journal' is neither a defined string nor a month",
                     "month: 'sept' in 'month' is neither a defined string nor a month"}));
    EXPECT_EQ(Problems("empty"), Texts{"author: required field 'author' is empty"});
    // One of author and editor is enough, as is one of chapter and pages.
    EXPECT_EQ(Problems("editoronly"), Texts{});
    EXPECT_EQ(Problems("neither"), Texts{"author: required field 'author' or 'editor' is empty"});
    EXPECT_EQ(Problems("pagesonly"), Texts{});
    EXPECT_EQ(Problems("ref"), Texts{"crossref: crossref 'nowhere' names no item"});
    EXPECT_EQ(Problems("dup1"), Texts{"title: same work as 'dup2' (same title and year)"});
    EXPECT_EQ(Problems("dup2"), Texts{"title: same work as 'dup1' (same title and year)"});
    EXPECT_EQ(Problems("otheryear"), Texts{});
}

TEST_F(ProblemCheckTest, UnbalancedBracesAreReported) {
    // The reader takes a value as written; one that lost a brace is shown.
    Load("@misc{m, note={x}}\n");
    CBibTexEntry* item = items.FindKey("m");
    item->SetField(kFieldNote, "{a {b}", true);
    check.MarkChanged(*item);
    EXPECT_EQ(Problems("m"), Texts{"note: braces do not balance in 'note'"});
}

TEST_F(ProblemCheckTest, CrossrefSuppliesRequiredFieldsAndFollowsKeys) {
    Load("@inproceedings{paper, author={A}, title={T}, year=2001, crossref={conf}}\n"
         "@proceedings{conf2, title={Proc}, year=2001, booktitle={Proc}}\n");
    EXPECT_EQ(Problems("paper"), (Texts{"crossref: crossref 'conf' names no item",
                                        "booktitle: required field 'booktitle' is empty"}));
    // The item it names appears: found at once, no item checked again.
    CBibTexEntry* conf = items.FindKey("conf2");
    std::unique_ptr<CBibTexEntry> detached = items.Detach("conf2");
    check.Forget(*conf);
    detached->SetKey("conf");
    ASSERT_TRUE(items.Add(detached));
    check.MarkChanged(*items.FindKey("conf"));
    EXPECT_EQ(Problems("paper"), Texts{});
}

TEST_F(ProblemCheckTest, ChangesAreCheckedAgain) {
    Load("@article{a, author={A}, title={T}, journal={J}, year=2001}\n"
         "@article{b, author={B}, title={U}, journal={J}, year=2001}\n");
    EXPECT_EQ(Problems("a"), Texts{});
    CBibTexEntry* a = items.FindKey("a");
    // A change that is announced.
    a->SetField(kFieldAuthor, "", true);
    check.MarkChanged(*a);
    EXPECT_EQ(Problems("a"), Texts{"author: required field 'author' is empty"});
    // Changes nobody announced one by one (a replace over all items).
    a->SetField(kFieldAuthor, "{A}", true);
    items.FindKey("b")->SetField(kFieldTitle, "{T}", true);
    check.MarkAll();
    EXPECT_EQ(Problems("a"), Texts{"title: same work as 'b' (same title and year)"});
    EXPECT_EQ(Problems("b"), Texts{"title: same work as 'a' (same title and year)"});
    // A deleted partner is no longer named.
    const CBibTexEntry* b = items.FindKey("b");
    check.Forget(*b);
    items.Delete("b");
    EXPECT_EQ(Problems("a"), Texts{});
    // A string defined later makes the name good without checking again.
    a->SetField(kFieldJournal, "jacm", true);
    check.MarkChanged(*a);
    EXPECT_EQ(Problems("a").size(), 1u);
    strings.AddString("JACM", "Journal of the ACM", false);
    EXPECT_EQ(Problems("a"), Texts{});
}

TEST_F(ProblemCheckTest, StepsEndWithinTheirBudget) {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += "@article{k" + std::to_string(i) + ", title={Same}, year=2000}\n";
    }
    Load(text);
    int steps = 0;
    while (!check.Run(std::chrono::microseconds(1))) {
        ++steps;
    }
    EXPECT_GT(steps, 1) << "a step ends when its time is spent";
    const std::vector<ItemProblem> problems = check.GetProblems(*items.FindKey("k0"));
    // Many partners are named by the first few and counted.
    bool sameWork = false;
    for (const ItemProblem& problem : problems) {
        if (problem.field == "title") {
            sameWork = true;
            EXPECT_EQ(problem.text, "same work as 'k1', 'k2', 'k3' and 2996 more "
                                    "(same title and year)");
        }
    }
    EXPECT_TRUE(sameWork);
}

} // namespace
