// The new-item wizard: the type list, the five checks of the first page in
// their order, the field pages following the entry type, the question for
// empty required fields, and the item that Finish adds.
#include "dialogs/NewEntryDlg.h"
#include "dialogs/NewEntryPage1.h"
#include "dialogs/NewEntryPage2.h"
#include "model/BibTexEntry.h"
#include "model/TexObject.h"
#include "support/DialogFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

const QString kIllegalKey =
    QString::fromUtf8("Please do not use one of the folling characters in\nthe reference's name: "
                      "\\/'><@,$%^*+?{}\xC2\xB4`;\"!\t#[]() ");
const QString kIllegalFile =
    QString::fromUtf8("Please do not use one of the following characters in\nthe file name: "
                      "\\/'><@,$%^*+?{}\xC2\xB4`:;\"!\t#[]");

// The labels of the shown rows of a field page.
QStringList ShownLabels(const CNewEntryPage2& page) {
    QStringList labels;
    for (int row = 0; row < CNewEntryPage2::kRowCount; ++row) {
        if (!page.GetLabel(row)->isHidden()) {
            labels << page.GetLabel(row)->text();
            if (page.GetValueEdit(row)->isHidden()) {
                labels << QStringLiteral("(box hidden)");
            }
        }
    }
    return labels;
}

void FillFirstPage(CNewEntryDlg& wizard, const QString& key, int type, const QString& file) {
    CNewEntryPage1* first = wizard.GetFirstPage();
    first->GetKeyEdit()->setText(key);
    first->GetTypeBox()->setCurrentIndex(type);
    first->GetFileBox()->setEditText(file);
}

} // namespace

class TestNewItemWizard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void offersFifteenTypesWithTheirDescription() {
        DialogProject p;
        CNewEntryDlg wizard(p.doc, p.ui, "refs");
        QCOMPARE(wizard.windowTitle(), QStringLiteral("BibTeX Wizard"));
        QComboBox* types = wizard.GetFirstPage()->GetTypeBox();
        QStringList names;
        for (int i = 0; i < types->count(); ++i) {
            names << types->itemText(i);
        }
        QCOMPARE(names,
                 QStringList({"article", "book", "booklet", "collection", "conference", "inbook",
                              "incollection", "inproceedings", "manual", "mastersthesis", "misc",
                              "patent", "phdthesis", "proceedings", "techreport"}));
        QVERIFY(!types->isEditable());
        QCOMPARE(types->currentIndex(), 0);
        QLabel* description = wizard.GetFirstPage()->GetTypeDescription();
        QCOMPARE(description->text(), QStringLiteral("An article from a journal or magazine."));
        types->setCurrentIndex(7);
        QCOMPARE(description->text(), QStringLiteral("An article in a conference proceedings.  "));
        types->setCurrentIndex(14);
        QCOMPARE(description->text(),
                 QStringLiteral("A report published by a school or other institution, usually "
                                "numbered within a series. "));
    }

    void fileBoxListsTheFilesAndPreselects_data() {
        QTest::addColumn<QString>("preselected");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::newRow("first file") << "refs" << 0 << "refs";
        QTest::newRow("second file") << "papers" << 1 << "papers";
        QTest::newRow("unknown file") << "other" << -1 << "";
        QTest::newRow("none") << "" << -1 << "";
    }
    void fileBoxListsTheFilesAndPreselects() {
        QFETCH(QString, preselected);
        QFETCH(int, index);
        QFETCH(QString, text);
        DialogProject p;
        CNewEntryDlg wizard(p.doc, p.ui, preselected.toStdString());
        QComboBox* files = wizard.GetFirstPage()->GetFileBox();
        QVERIFY(files->isEditable());
        QCOMPARE(files->count(), 2);
        QCOMPARE(files->itemText(0), QStringLiteral("refs"));
        QCOMPARE(files->itemText(1), QStringLiteral("papers"));
        QCOMPARE(files->currentIndex(), index);
        QCOMPARE(files->currentText(), text);
        QVERIFY(wizard.GetFirstPage()->GetKeyEdit()->text().isEmpty());
    }

    void firstPageChecks_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("focus"); // "key", "file" or "" (next page)
        const QString duplicate = QStringLiteral(
            "There is already an entry with name 'knuth84'\ndefined in file 'refs'. Please select "
            "another name.");
        QTest::newRow("blank in key") << "my key"
                                      << "refs" << kIllegalKey << "Illegal name"
                                      << "key";
        QTest::newRow("parenthesis in key") << "key(1)"
                                            << "refs" << kIllegalKey << "Illegal name"
                                            << "key";
        QTest::newRow("acute accent in key")
            << QString::fromUtf8("caf\xC2\xB4") << "refs" << kIllegalKey << "Illegal name"
            << "key";
        QTest::newRow("colon in key is fine") << "knuth:tex"
                                              << "refs"
                                              << ""
                                              << ""
                                              << "";
        QTest::newRow("colon in file") << "k"
                                       << "a:b" << kIllegalFile << "Illegal filename"
                                       << "file";
        QTest::newRow("key checked before file") << "a b"
                                                 << "a:b" << kIllegalKey << "Illegal name"
                                                 << "key";
        QTest::newRow("file checked before duplicate")
            << "knuth84"
            << "a:b" << kIllegalFile << "Illegal filename"
            << "file";
        QTest::newRow("duplicate in another file") << "knuth84"
                                                   << "papers" << duplicate << "Duplicate name"
                                                   << "key";
        QTest::newRow("duplicate before empty file") << "knuth84"
                                                     << "" << duplicate << "Duplicate name"
                                                     << "key";
        QTest::newRow("empty key") << ""
                                   << "refs"
                                   << "Define a name for this BibTex item."
                                   << "No name specified"
                                   << "key";
        QTest::newRow("empty key before empty file") << ""
                                                     << ""
                                                     << "Define a name for this BibTex item."
                                                     << "No name specified"
                                                     << "key";
        QTest::newRow("empty file")
            << "k"
            << ""
            << "Select an existing file or create a new file for this BibTex item."
            << "No file specified"
            << "file";
        QTest::newRow("new file") << "k"
                                  << "new file"
                                  << ""
                                  << ""
                                  << "";
    }
    void firstPageChecks() {
        QFETCH(QString, key);
        QFETCH(QString, file);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        QFETCH(QString, focus);
        DialogProject p;
        CNewEntryDlg wizard(p.doc, p.ui, "");
        QVERIFY(ShowWindow(wizard));
        FillFirstPage(wizard, key, 0, file);
        // Focus elsewhere first, so that the check has to move it.
        wizard.GetFirstPage()->GetTypeBox()->setFocus();
        wizard.next();
        CNewEntryPage1* first = wizard.GetFirstPage();
        if (message.isEmpty()) {
            QVERIFY(p.dialogs.messages.empty());
            QCOMPARE(wizard.currentId(), int(CNewEntryDlg::RequiredPage));
            return;
        }
        QCOMPARE(wizard.currentId(), int(CNewEntryDlg::KeyPage));
        QCOMPARE(p.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(p.dialogs.messages[0].text), message);
        QCOMPARE(QString::fromStdString(p.dialogs.messages[0].caption), caption);
        QCOMPARE(p.dialogs.messages[0].icon, MsgIcon::Error);
        QCOMPARE(p.dialogs.messages[0].buttons, MsgButtons::Ok);
        if (focus == QStringLiteral("key")) {
            QCOMPARE(wizard.focusWidget(), first->GetKeyEdit());
            QCOMPARE(first->GetKeyEdit()->selectedText(), key);
        } else {
            QCOMPARE(wizard.focusWidget(), first->GetFileBox());
        }
        QCOMPARE(p.doc.GetItems().GetTotalCount(), 3);
    }

    void fieldPagesFollowTheEntryType_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("required");
        QTest::addColumn<QStringList>("optional");
        QTest::newRow("article") << "article" << QStringList{"author", "journal", "title", "year"}
                                 << QStringList{"volume", "number", "pages",
                                                "month",  "note",   "key"};
        QTest::newRow("inbook") << "inbook"
                                << QStringList{"author", "editor",    "title", "chapter",
                                               "pages",  "publisher", "year"}
                                << QStringList{"volume", "series", "address", "edition",
                                               "month",  "note",   "key"};
        QTest::newRow("inproceedings")
            << "inproceedings" << QStringList{"author", "title", "booktitle", "year"}
            << QStringList{"editor",  "pages", "organization", "publisher",
                           "address", "month", "note",         "key"};
        QTest::newRow("manual") << "manual" << QStringList{"title"}
                                << QStringList{"author", "organization", "address", "edition",
                                               "month",  "year",         "note"};
        QTest::newRow("misc") << "misc" << QStringList{}
                              << QStringList{"author", "title", "howpublished", "month",
                                             "year",   "note",  "key"};
        QTest::newRow("patent") << "patent" << QStringList{} << QStringList{};
    }
    void fieldPagesFollowTheEntryType() {
        QFETCH(QString, type);
        QFETCH(QStringList, required);
        QFETCH(QStringList, optional);
        DialogProject p;
        CNewEntryDlg wizard(p.doc, p.ui, "refs");
        FillFirstPage(wizard, QStringLiteral("k"),
                      wizard.GetFirstPage()->GetTypeBox()->findText(type), QStringLiteral("refs"));
        wizard.next();
        QCOMPARE(wizard.currentId(), int(CNewEntryDlg::RequiredPage));
        QCOMPARE(wizard.currentPage()->title(), QStringLiteral("Required fields"));
        QCOMPARE(wizard.currentPage()->subTitle(),
                 QStringLiteral("Enter the values for the BibTeX fields."));
        QCOMPARE(ShownLabels(*wizard.GetRequiredPage()), required);
        // Every empty required field is asked about; Yes goes on.
        wizard.next();
        QCOMPARE(p.dialogs.messages.size(), std::size_t(required.size()));
        QCOMPARE(wizard.currentId(), int(CNewEntryDlg::OptionalPage));
        QCOMPARE(wizard.currentPage()->title(), QStringLiteral("Optional fields"));
        QCOMPARE(ShownLabels(*wizard.GetOptionalPage()), optional);
        QVERIFY(wizard.currentPage()->isFinalPage());
    }

    void emptyRequiredFieldIsAskedAbout() {
        DialogProject p;
        CNewEntryDlg wizard(p.doc, p.ui, "refs");
        QVERIFY(ShowWindow(wizard));
        FillFirstPage(wizard, QStringLiteral("k"), 0, QStringLiteral("refs")); // article
        wizard.next();
        CNewEntryPage2* page = wizard.GetRequiredPage();
        page->GetValueEdit(0)->setText(QStringLiteral("Smith")); // author
        page->GetValueEdit(2)->setText(QStringLiteral("Title")); // title
        // journal (row 1) and year (row 3) are empty: No on the first stops.
        p.dialogs.answers = {MsgResult::No};
        page->GetValueEdit(0)->setFocus();
        wizard.next();
        QCOMPARE(wizard.currentId(), int(CNewEntryDlg::RequiredPage));
        QCOMPARE(p.dialogs.messages.size(), std::size_t(1));
        const RecordedMessage& asked = p.dialogs.messages[0];
        QCOMPARE(asked.text, std::string("There is no value defined for the required\nfield "
                                         "'journal'. Do you want to continue anyway?"));
        QCOMPARE(asked.caption, std::string("Required field"));
        QCOMPARE(asked.icon, MsgIcon::Warning);
        QCOMPARE(asked.buttons, MsgButtons::YesNo);
        QCOMPARE(wizard.focusWidget(), page->GetValueEdit(1));
        // Yes for journal, No for year: the year box.
        p.dialogs.messages.clear();
        p.dialogs.answers = {MsgResult::Yes, MsgResult::No};
        wizard.next();
        QCOMPARE(wizard.currentId(), int(CNewEntryDlg::RequiredPage));
        QCOMPARE(p.dialogs.messages.size(), std::size_t(2));
        QVERIFY(p.dialogs.messages[1].text.find("'year'") != std::string::npos);
        QCOMPARE(wizard.focusWidget(), page->GetValueEdit(3));
        // With every box filled nothing is asked.
        p.dialogs.messages.clear();
        page->GetValueEdit(1)->setText(QStringLiteral("jacm"));
        page->GetValueEdit(3)->setText(QStringLiteral("2001"));
        wizard.next();
        QVERIFY(p.dialogs.messages.empty());
        QCOMPARE(wizard.currentId(), int(CNewEntryDlg::OptionalPage));
    }

    // Both field pages refuse a value whose braces do not balance, naming the
    // field, before anything else is asked; Finish adds nothing then.
    void unbalancedValuesAreRefused() {
        DialogProject p;
        CNewEntryDlg wizard(p.doc, p.ui, "refs");
        QVERIFY(ShowWindow(wizard));
        FillFirstPage(wizard, QStringLiteral("k"), 0, QStringLiteral("refs")); // article
        wizard.next();
        CNewEntryPage2* page = wizard.GetRequiredPage();
        page->GetValueEdit(0)->setText(QStringLiteral("Smith"));
        page->GetValueEdit(1)->setText(QStringLiteral("J. {ACM"));
        wizard.next();
        QCOMPARE(wizard.currentId(), int(CNewEntryDlg::RequiredPage));
        QCOMPARE(p.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(p.dialogs.messages[0].text, CTexObject::UnbalancedBracesMessage("journal"));
        QCOMPARE(p.dialogs.messages[0].caption, std::string(kUnbalancedBracesCaption));
        QCOMPARE(wizard.focusWidget(), page->GetValueEdit(1));

        page->GetValueEdit(1)->setText(QStringLiteral("J. {ACM}"));
        page->GetValueEdit(2)->setText(QStringLiteral("T"));
        page->GetValueEdit(3)->setText(QStringLiteral("2001"));
        p.dialogs.messages.clear();
        wizard.next();
        QCOMPARE(wizard.currentId(), int(CNewEntryDlg::OptionalPage));
        CNewEntryPage2* optional = wizard.GetOptionalPage();
        optional->GetValueEdit(4)->setText(QStringLiteral("see Appendix}")); // note
        wizard.accept();
        QVERIFY(wizard.isVisible());
        QCOMPARE(p.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(p.dialogs.messages[0].text, CTexObject::UnbalancedBracesMessage("note"));
        QCOMPARE(wizard.focusWidget(), optional->GetValueEdit(4));
        QCOMPARE(p.doc.LookupItem("refs", "k"), nullptr);
    }

    void typedTextsStayInTheirBoxes() {
        DialogProject p;
        CNewEntryDlg wizard(p.doc, p.ui, "refs");
        FillFirstPage(wizard, QStringLiteral("k"), 0, QStringLiteral("refs")); // article
        wizard.next();
        wizard.GetRequiredPage()->GetValueEdit(0)->setText(QStringLiteral("Smith"));
        wizard.GetRequiredPage()->GetValueEdit(1)->setText(QStringLiteral("jacm"));
        wizard.back();
        QCOMPARE(wizard.currentId(), int(CNewEntryDlg::KeyPage));
        wizard.GetFirstPage()->GetTypeBox()->setCurrentIndex(1); // book
        wizard.next();
        CNewEntryPage2* page = wizard.GetRequiredPage();
        QCOMPARE(ShownLabels(*page),
                 QStringList({"author", "editor", "title", "publisher", "year"}));
        QCOMPARE(page->GetValueEdit(0)->text(), QStringLiteral("Smith"));
        QCOMPARE(page->GetValueEdit(1)->text(), QStringLiteral("jacm"));
    }

    void finishAddsTheItem() {
        DialogProject p;
        CNewEntryDlg wizard(p.doc, p.ui, "papers");
        FillFirstPage(wizard, QStringLiteral("knuth:tex"), 7, QStringLiteral("proceedings"));
        wizard.next();
        CNewEntryPage2* required = wizard.GetRequiredPage();
        required->GetValueEdit(0)->setText(QStringLiteral("Knuth, Donald E."));
        required->GetValueEdit(1)->setText(QStringLiteral("Literate Programming"));
        required->GetValueEdit(2)->setText(QStringLiteral("jacm")); // booktitle: a string
        // year (row 3) stays empty: Yes.
        wizard.next();
        CNewEntryPage2* optional = wizard.GetOptionalPage();
        optional->GetValueEdit(1)->setText(QStringLiteral("97--111")); // pages
        optional->GetValueEdit(5)->setText(QStringLiteral("jan"));     // month
        QVERIFY(p.hints.hints.empty());
        wizard.accept();
        QCOMPARE(wizard.result(), int(QDialog::Accepted));
        CBibTexEntry* item = p.doc.LookupItem("proceedings", "knuth:tex");
        QVERIFY(item != nullptr);
        QCOMPARE(item->GetType(), 7);
        QCOMPARE(item->GetValue(kFieldAuthor), std::string("{Knuth, Donald E.}"));
        QCOMPARE(item->GetValue(kFieldTitle), std::string("{Literate Programming}"));
        QCOMPARE(item->GetValue(kFieldBooktitle), std::string("jacm"));
        QCOMPARE(item->GetValue(kFieldYear), std::string());
        QCOMPARE(item->GetValue(kFieldPages), std::string("{97--111}"));
        QCOMPARE(item->GetValue(kFieldMonth), std::string("jan"));
        QCOMPARE(item->GetValue(kFieldEditor), std::string());
        QVERIFY(p.doc.HasFile("proceedings"));
        QVERIFY(p.doc.IsModified());
    }

    void hiddenRowsAreNotUsed() {
        DialogProject p;
        CNewEntryDlg wizard(p.doc, p.ui, "refs");
        FillFirstPage(wizard, QStringLiteral("k"), 7, QStringLiteral("refs")); // inproceedings
        wizard.next();
        wizard.next();
        // note and key are rows 6 and 7 of an inproceedings.
        wizard.GetOptionalPage()->GetValueEdit(6)->setText(QStringLiteral("Hidden note"));
        wizard.GetOptionalPage()->GetValueEdit(7)->setText(QStringLiteral("hiddenkey"));
        wizard.back();
        wizard.back();
        wizard.GetFirstPage()->GetTypeBox()->setCurrentIndex(0); // article: six optional rows
        wizard.next();
        wizard.next();
        QVERIFY(wizard.GetOptionalPage()->GetValueEdit(6)->isHidden());
        wizard.accept();
        CBibTexEntry* item = p.doc.LookupItem("refs", "k");
        QVERIFY(item != nullptr);
        QCOMPARE(item->GetValue(kFieldNote), std::string());
        QCOMPARE(item->GetValue(kFieldKey), std::string());
    }

    void cancelChangesNothing() {
        DialogProject p;
        CNewEntryDlg wizard(p.doc, p.ui, "refs");
        FillFirstPage(wizard, QStringLiteral("k"), 0, QStringLiteral("refs"));
        wizard.next();
        wizard.reject();
        QCOMPARE(p.doc.GetItems().GetTotalCount(), 3);
        QVERIFY(!p.doc.IsModified());
    }

    void newItemCommandRunsTheWizard() {
        DialogProject p;
        QString preselected;
        ScriptDialog<CNewEntryDlg>(p.dialogs, [&preselected](CNewEntryDlg* wizard) {
            preselected = wizard->GetFirstPage()->GetFileBox()->currentText();
            wizard->GetFirstPage()->GetKeyEdit()->setText(QStringLiteral("new01"));
            wizard->GetFirstPage()->GetTypeBox()->setCurrentIndex(10); // misc
            wizard->next();
            wizard->next();
            wizard->accept();
        });
        p.doc.NewItem("papers");
        QCOMPARE(p.dialogs.dialogTitles, std::vector<QString>{QStringLiteral("BibTeX Wizard")});
        QCOMPARE(preselected, QStringLiteral("papers"));
        QVERIFY(p.doc.LookupItem("papers", "new01") != nullptr);
        QVERIFY(p.dialogs.messages.empty());
        QCOMPARE(p.hints.Sent(), (std::vector<SentHint>{{UpdateHint::Bulk, false}}));
        QVERIFY(p.doc.IsModified());
    }
};

QTEST_MAIN(TestNewItemWizard)
#include "tst_newitemwizard.moc"
