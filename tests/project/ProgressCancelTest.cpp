// A long import, open or save can be cancelled from its progress dialog;
// whenever the user presses Cancel, the project stays exactly as it was and
// no file is written.
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "project/QVNDoc.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace testsupport;

namespace {

// About 3 MB of items: the reader reports its progress every megabyte, the
// project file every 1 024 items.
std::string ManyItems() {
    std::string text;
    for (int i = 0; i < 12000; ++i) {
        text += "@article{k" + std::to_string(i) + ",\n  author = {Author " + std::to_string(i) +
                "},\n  title = {A title long enough to make the file of some size, number " +
                std::to_string(i) +
                "},\n  journal = {Journal}, year = 2001,\n"
                "  doi = {10.1000/" +
                std::to_string(i) + "}\n}\n";
    }
    return text;
}

TEST(ProgressCancel, CancelLeavesProjectAndFilesAsTheyWere) {
    TempDir dir;
    const std::string bib = dir.File("many.bib");
    WriteBytes(bib, ManyItems());
    // A large project file to open, made by another window.
    const std::string large = dir.File("large.qvp");
    {
        ScriptedUi ui;
        CQVNDoc other(&ui);
        other.NewProject();
        other.ImportFiles({bib});
        ASSERT_TRUE(other.SaveProject(large));
    }
    const std::string largeBytes = ReadBytes(large);

    struct Command {
        const char* name;
        std::function<void(CQVNDoc&)> run;
        const char* status;
    };
    const Command commands[] = {
        {"import", [&](CQVNDoc& doc) { doc.OnImportBibTex({bib}); },
         "Import cancelled: nothing was added to the project."},
        {"open", [&](CQVNDoc& doc) { EXPECT_FALSE(doc.OpenProject(large)); },
         "Opening cancelled: the project is as it was."},
        {"open a .bib file", [&](CQVNDoc& doc) { EXPECT_FALSE(doc.OpenBibTexFiles({bib})); },
         "Opening cancelled: the project is as it was."},
        {"save over the large file", [&](CQVNDoc& doc) { EXPECT_FALSE(doc.SaveProject(large)); },
         "Saving cancelled: the project file was not written."},
    };
    for (const Command& command : commands) {
        // At the first report, and in the middle of the work.
        for (const int step : {1, 2}) {
            SCOPED_TRACE(std::string(command.name) + " cancelled at step " + std::to_string(step));
            ScriptedUi ui;
            CQVNDoc doc(&ui);
            doc.NewProject();
            const std::string own = dir.File("own.qvp");
            doc.ImportFiles({bib});
            ASSERT_TRUE(doc.SaveProject(own));
            ASSERT_TRUE(doc.RenameFile("many", "renamed")); // a change not saved yet
            const std::string before = doc.SaveToBytes();
            const std::vector<std::string> names = dir.Names();
            ui.cancelAtStep = step;
            ui.progressSteps = 0;
            ui.answers.push_back(MsgResult::No); // do not save the changes first
            command.run(doc);
            EXPECT_GE(ui.progressSteps, step);
            EXPECT_TRUE(doc.SaveToBytes() == before) << "the project changed";
            EXPECT_TRUE(doc.IsModified());
            EXPECT_EQ(doc.GetPathName(), own);
            for (const RecordedMessage& message : ui.messages) {
                EXPECT_NE(message.buttons, MsgButtons::Ok) << message.text; // questions only
            }
            EXPECT_EQ(ui.statusMessages, std::vector<std::string>{command.status});
            EXPECT_EQ(ReadBytes(large), largeBytes);
            EXPECT_EQ(dir.Names(), names);
        }
    }
}

} // namespace
