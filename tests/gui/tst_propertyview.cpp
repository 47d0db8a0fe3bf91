// The property window: what it shows for an item and a string, how it
// follows the update hints, and every change it writes into the project
// (checked, stored, announced).
#include "HintRecorder.h"
#include "app/QtUserInterface.h"
#include "kit/AbbrDlg.h"
#include "kit/StringPickModel.h"
#include "kit/TexEdit.h"
#include "model/BibTexEntry.h"
#include "model/BibTexString.h"
#include "project/QVNDoc.h"
#include "project/QVNSettings.h"
#include "search/Search.h"
#include "support/FakeViewHost.h"
#include "support/GuiTestSupport.h"
#include "support/PickerScript.h"
#include "views/AddFieldDlg.h"
#include "views/ItemPropHost.h"
#include "views/QVNPropertyView.h"
#include "views/StringPropHost.h"
#include "widgets/CommentPane.h"
#include "widgets/PropCtrl.h"
#include "widgets/PropListCtrl.h"
#include "widgets/PropModel.h"
#include "widgets/PropView.h"
#include "widgets/PropWnd.h"
#include "widgets/Property.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int kKey = CItemPropHost::kKeyId;
constexpr int kType = CItemPropHost::kTypeId;
constexpr int kArticle = 0;
constexpr int kBook = 1;
constexpr int kVolume = 36; // the field "volume"

using testsupport::HintRecorder;

// The grid as lines: "[caption]" for a group header, else "name=value".
QStringList Rows(const EPropCtrl& ctrl) {
    QStringList rows;
    for (int i = 0; i < ctrl.GetPropertyCount(); ++i) {
        const EProperty* prop = ctrl.GetProperty(i);
        rows << (prop->IsGroup() ? "[" + prop->GetName() + "]"
                                 : prop->GetName() + "=" + prop->GetDisplayText());
    }
    return rows;
}

QStringList Names(const EPropCtrl& ctrl) {
    QStringList names;
    for (int i = 0; i < ctrl.GetPropertyCount(); ++i) {
        const EProperty* prop = ctrl.GetProperty(i);
        names << (prop->IsGroup() ? "[" + prop->GetName() + "]" : prop->GetName());
    }
    return names;
}

const QStringList kArticleRows = {"[General]",
                                  "key",
                                  "type",
                                  "[Required fields]",
                                  "author",
                                  "journal",
                                  "title",
                                  "year",
                                  "[Optional fields]",
                                  "volume",
                                  "number",
                                  "pages",
                                  "month",
                                  "note",
                                  "key"};

// The ignored fields of an article with the default flags (lccn and price
// hidden).
const QStringList kArticleIgnored = {"[Ignored fields]",
                                     "abstract",
                                     "address",
                                     "affiliation",
                                     "annote",
                                     "booktitle",
                                     "chapter",
                                     "contents",
                                     "copyright",
                                     "crossref",
                                     "edition",
                                     "editor",
                                     "howpublished",
                                     "institution",
                                     "isbn",
                                     "issn",
                                     "keywords",
                                     "language",
                                     "location",
                                     "mrnumber",
                                     "organization",
                                     "publisher",
                                     "school",
                                     "series",
                                     "size",
                                     "type",
                                     "url"};

} // namespace

class TestPropertyView : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void articleGroups_data();
    void articleGroups();
    void valuesAreShownWithoutOuterDelimiters_data();
    void valuesAreShownWithoutOuterDelimiters();
    void typeChangeRegroupsAndKeepsValues();
    void typeChangeFromTheKeyboard();
    void keyChangeKeepsTheItem();
    void keyChangeRefused_data();
    void keyChangeRefused();
    void fieldEditStoresValueText_data();
    void fieldEditStoresValueText();
    void fieldEditFromTheKeyboard();
    void unbalancedValueRefused();
    void inactiveProjectRefusesSilently();
    void hintsChooseWhatIsShown();
    void appearanceChangeShowsTheItemAgain();
    void stringRename_data();
    void stringRename();
    void fullStringChange();
    void deletedStringIsNotRecreated();
    void deletedItemWhileShown();
    void deletedItemWhileEditing();
    void buttonOpensModelessPickerAndCommits();
    void pickerGoesWithTheItem();
    void pickerOfDeletedItemCommitsNothing();
    void doubleClickInTheGridPicks();
    void otherFieldsAreAGroupOfTheirOwn();
    void otherFieldEditStoresValueText_data();
    void otherFieldEditStoresValueText();
    void otherTypeListsEveryFieldAsOther();
    void addField_data();
    void addField();
    void deleteField();

protected:
    CBibTexEntry* AddArticle(const std::string& file, const std::string& key);
    void Show(CBibTexEntry* item) {
        m_doc->UpdateAllViews(nullptr, UpdateHint::Change, item);
        m_recorder->hints.clear();
    }
    EPropCtrl& Ctrl() const { return *m_view->GetPropCtrl(); }
    QString Shown(int id) const {
        const EProperty* prop = Ctrl().FindProperty(id);
        return prop != nullptr ? prop->GetDisplayText() : QStringLiteral("<none>");
    }
    // The hints the view sent itself.
    std::vector<HintRecorder::Hint> SentByView() const { return m_recorder->From(m_view); }
    void VerifySentItem(CBibTexEntry* item) {
        const auto sent = SentByView();
        QCOMPARE(sent.size(), size_t(1));
        QCOMPARE(sent[0].hint, UpdateHint::Change);
        QVERIFY(std::holds_alternative<CBibTexEntry*>(sent[0].object));
        QCOMPARE(std::get<CBibTexEntry*>(sent[0].object), item);
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target != nullptr);
        QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
    }
    // Runs `script` on the modal "Add a field" dialog once it shows.
    static void WhenAddFieldDialogShows(std::function<void(CAddFieldDlg&)> script) {
        QTimer::singleShot(0, [script] {
            auto* dialog = qobject_cast<CAddFieldDlg*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            script(*dialog);
        });
    }
    QLineEdit* OpenLineEdit() const {
        EPropWnd* wnd = Ctrl().GetListCtrl()->GetDelegate()->GetEditor();
        return wnd != nullptr ? wnd->GetLineEdit() : nullptr;
    }

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<CQtUserInterface> m_ui;
    std::unique_ptr<CQVNDoc> m_doc;
    std::unique_ptr<CFakeViewHost> m_host;
    CQVNSettings* m_settings = nullptr;
    std::unique_ptr<HintRecorder> m_recorder;
    QWidget* m_window = nullptr;
    CQVNPropertyView* m_view = nullptr;
    CBibTexEntry* m_article = nullptr;
};

CBibTexEntry* TestPropertyView::AddArticle(const std::string& file, const std::string& key) {
    auto owned = std::make_unique<CBibTexEntry>(file, key, kArticle);
    CBibTexEntry* item = owned.get();
    m_doc->AddItem(std::move(owned));
    return m_doc->LookupItem(file, key) == item ? item : nullptr;
}

void TestPropertyView::init() {
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_ui = std::make_unique<CQtUserInterface>();
    m_doc = std::make_unique<CQVNDoc>(m_ui.get());
    m_doc->NewProject();
    m_doc->StartProject({"Property window", "/tmp", "strings.bib"});
    m_doc->AddString("jacm", "Journal of the ACM", false);
    m_doc->AddString("cacm", "{Communications of the ACM}", false);
    m_article = AddArticle("refs", "knuth84");
    m_article->SetField(kFieldAuthor, "Donald E. Knuth", false);
    m_article->SetField(kFieldJournal, "The Computer Journal", false);
    m_article->SetField(kFieldTitle, "Literate Programming", false);
    m_article->SetField(kFieldYear, "1984", false);
    m_article->SetField(kFieldPages, "97--111", false);
    m_article->SetField(kFieldPublisher, "Oxford", false); // ignored for an article
    m_doc->SetModifiedFlag(false);

    m_host = std::make_unique<CFakeViewHost>(*m_doc);
    m_settings = &m_host->appearance;
    m_window = new QWidget;
    auto* layout = new QVBoxLayout(m_window);
    m_view = new CQVNPropertyView(*m_doc, *m_host, m_window);
    layout->addWidget(m_view);
    layout->addWidget(new QLineEdit(m_window)); // somewhere else for the focus to go
    m_window->resize(380, 640);
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_recorder = std::make_unique<HintRecorder>(*m_doc);
}

void TestPropertyView::cleanup() {
    delete m_window; // the view first: it leaves the document
    m_recorder.reset();
    m_host.reset();
    m_settings = nullptr;
    m_doc.reset();
    m_ui.reset();
    m_dialogs.reset();
}

void TestPropertyView::articleGroups_data() {
    QTest::addColumn<bool>("showIgnored");
    QTest::addColumn<QList<int>>("hiddenIgnored");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("ignored fields off") << false << QList<int>{} << kArticleRows;
    QTest::newRow("ignored fields on") << true << QList<int>{} << kArticleRows + kArticleIgnored;
    QStringList fewer = kArticleRows;
    fewer << "[Ignored fields]"
          << "booktitle";
    QList<int> allButBooktitle;
    for (int field = 0; field < kFieldCount; ++field) {
        if (field != kFieldBooktitle) {
            allButBooktitle << field;
        }
    }
    QTest::newRow("one ignored field shown") << true << allButBooktitle << fewer;
    QList<int> all;
    for (int field = 0; field < kFieldCount; ++field) {
        all << field;
    }
    // The header stands alone when no ignored field is shown.
    QTest::newRow("no ignored field shown")
        << true << all << kArticleRows + QStringList{"[Ignored fields]"};
}

void TestPropertyView::articleGroups() {
    QFETCH(bool, showIgnored);
    QFETCH(QList<int>, hiddenIgnored);
    QFETCH(QStringList, names);
    m_settings->SetShowIgnoredFields(showIgnored);
    for (int field : hiddenIgnored) {
        m_settings->SetIgnoredFieldShown(field, false);
    }
    Show(m_article);
    QCOMPARE(Names(Ctrl()), names);

    // Who belongs where, and the help lines.
    const EProperty* key = Ctrl().FindProperty(kKey);
    QCOMPARE(key->GetKind(), EProperty::Kind::Text);
    QCOMPARE(key->GetGroup()->GetName(), QStringLiteral("General"));
    QCOMPARE(key->GetComment(), QStringLiteral("A unique key for this entry."));
    QCOMPARE(key->GetText(), QStringLiteral("knuth84"));
    const EProperty* type = Ctrl().FindProperty(kType);
    QCOMPARE(type->GetKind(), EProperty::Kind::Choice);
    QCOMPARE(type->GetChoices().size(), 16);
    QCOMPARE(type->GetChoices().first(), QStringLiteral("article"));
    QCOMPARE(type->GetChoices().last(), QStringLiteral("unpublished"));
    QCOMPARE(type->GetIndex(), kArticle);
    QCOMPARE(type->GetComment(), QStringLiteral("An article from a journal or magazine."));
    const EProperty* author = Ctrl().FindProperty(kFieldAuthor);
    QCOMPARE(author->GetKind(), EProperty::Kind::TexField);
    QCOMPARE(author->GetGroup()->GetName(), QStringLiteral("Required fields"));
    QCOMPARE(author->GetComment(), QStringLiteral("The name(s) of the author(s)."));
    QCOMPARE(Ctrl().FindProperty(kFieldPages)->GetGroup()->GetName(),
             QStringLiteral("Optional fields"));
    // The field "key" is an optional field, not the citation key.
    QCOMPARE(Ctrl().FindProperty(kFieldKey)->GetGroup()->GetName(),
             QStringLiteral("Optional fields"));
    if (const EProperty* publisher = Ctrl().FindProperty(kFieldPublisher)) {
        QCOMPARE(publisher->GetGroup()->GetName(), QStringLiteral("Ignored fields"));
        QCOMPARE(publisher->GetText(), QStringLiteral("Oxford"));
    }
    QVERIFY(Ctrl().IsCommentPaneVisible());
}

void TestPropertyView::valuesAreShownWithoutOuterDelimiters_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    // The value text after the shown text is stored again (as a commit of it
    // does): never a change of meaning.
    QTest::addColumn<QString>("restored");
    QTest::newRow("braces") << "{Literate Programming}"
                            << "Literate Programming"
                            << "{Literate Programming}";
    QTest::newRow("quotes") << "\"Literate Programming\""
                            << "Literate Programming"
                            << "{Literate Programming}";
    QTest::newRow("inner braces kept") << "{The {TeX}book}"
                                       << "The {TeX}book"
                                       << "{The {TeX}book}";
    QTest::newRow("number") << "1984"
                            << "1984"
                            << "1984";
    QTest::newRow("string reference") << "jacm"
                                      << "jacm"
                                      << "jacm";
    // Outer delimiters that are not one pair: the value shows whole.
    QTest::newRow("two groups") << "{IEEE} {INFOCOM}"
                                << "{IEEE} {INFOCOM}"
                                << "{{IEEE} {INFOCOM}}";
    QTest::newRow("quoted concatenation") << "\"Proc. \" # \"2005\""
                                          << "\"Proc. \" # \"2005\""
                                          << "\"Proc. \" # \"2005\"";
    QTest::newRow("concatenation") << "jacm # { Letters}"
                                   << "jacm # { Letters}"
                                   << "jacm # { Letters}";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void TestPropertyView::valuesAreShownWithoutOuterDelimiters() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, restored);
    m_article->SetField(kFieldTitle, stored.toStdString(), true);
    Show(m_article);
    QCOMPARE(Shown(kFieldTitle), shown);
    // The grid skips unchanged values; the host is asked directly.
    QVERIFY(Ctrl().GetHost()->OnPropertyChanged(*Ctrl().FindProperty(kFieldTitle), shown));
    QCOMPARE(QString::fromStdString(std::string(m_article->GetValue(kFieldTitle))), restored);
}

void TestPropertyView::typeChangeRegroupsAndKeepsValues() {
    m_article->SetField(kVolume, "27", false);
    Show(m_article);
    QCOMPARE(Shown(kFieldJournal), QStringLiteral("The Computer Journal"));

    QVERIFY(Ctrl().CommitValue(kType, kBook));
    QCOMPARE(m_article->GetType(), kBook);
    QVERIFY(m_doc->IsModified());
    VerifySentItem(m_article);
    // Regrouped at once for a book; journal is now an ignored field, which
    // is not shown.
    const QStringList book = {"[General]", "key",
                              "type",      "[Required fields]",
                              "author",    "editor",
                              "title",     "publisher",
                              "year",      "[Optional fields]",
                              "volume",    "series",
                              "address",   "edition",
                              "month",     "note",
                              "key"};
    QCOMPARE(Names(Ctrl()), book);
    QCOMPARE(Ctrl().FindProperty(kType)->GetComment(),
             QStringLiteral("A book with an explicit publisher. "));
    QCOMPARE(Shown(kFieldPublisher), QStringLiteral("Oxford"));
    QCOMPARE(Shown(kVolume), QStringLiteral("27"));
    QCOMPARE(Shown(kFieldJournal), QStringLiteral("<none>"));
    // The value stays in the item.
    QCOMPARE(m_article->GetValue(kFieldJournal), std::string("{The Computer Journal}"));

    // Typed while it is a book, then back to an article.
    QVERIFY(Ctrl().CommitValue(kFieldEditor, QStringLiteral("Ed Itor")));
    QVERIFY(Ctrl().CommitValue(kType, kArticle));
    QCOMPARE(Names(Ctrl()), kArticleRows);
    QCOMPARE(Shown(kFieldJournal), QStringLiteral("The Computer Journal"));
    QCOMPARE(Shown(kVolume), QStringLiteral("27"));
    QCOMPARE(m_article->GetValue(kFieldEditor), std::string("{Ed Itor}"));
    QCOMPARE(m_article->GetValue(kFieldPublisher), std::string("{Oxford}"));

    // With ignored fields shown, they move into their group.
    m_settings->SetShowIgnoredFields(true);
    QVERIFY(Ctrl().CommitValue(kType, kBook));
    QCOMPARE(Ctrl().FindProperty(kFieldJournal)->GetGroup()->GetName(),
             QStringLiteral("Ignored fields"));
    QCOMPARE(Shown(kFieldJournal), QStringLiteral("The Computer Journal"));
}

void TestPropertyView::typeChangeFromTheKeyboard() {
    Show(m_article);
    Ctrl().SelectProperty(Ctrl().FindProperty(kType));
    Ctrl().GetListCtrl()->setFocus();
    Key(Qt::Key_Return);
    QComboBox* combo = Ctrl().GetListCtrl()->GetDelegate()->GetEditor()->GetComboBox();
    QVERIFY(combo != nullptr);
    Key(Qt::Key_Down); // book
    Key(Qt::Key_Tab);
    QCOMPARE(m_article->GetType(), kBook);
    QCOMPARE(Shown(kType), QStringLiteral("book"));
    QCOMPARE(Ctrl().FindProperty(kFieldEditor)->GetGroup()->GetName(),
             QStringLiteral("Required fields"));
    // Tab went on to the first field of the new grouping.
    QVERIFY(Ctrl().IsEditing());
    QCOMPARE(Ctrl().GetSelectedProperty(), Ctrl().FindProperty(kFieldAuthor));
    Key(Qt::Key_Escape);
    QVERIFY(!Ctrl().IsEditing());
    QVERIFY(Ctrl().GetListCtrl()->hasFocus());
}

void TestPropertyView::keyChangeKeepsTheItem() {
    Show(m_article);
    QVERIFY(Ctrl().CommitValue(kKey, QStringLiteral("knuth1984")));
    QCOMPARE(m_article->GetKey(), std::string("knuth1984"));
    QCOMPARE(m_doc->LookupItem("refs", "knuth1984"), m_article);
    std::string file;
    QCOMPARE(m_doc->FindItem("knuth84", file), nullptr);
    QCOMPARE(Shown(kKey), QStringLiteral("knuth1984"));
    QVERIFY(m_doc->IsModified());
    QVERIFY(m_doc->GetItems().IsConsistent());
    VerifySentItem(m_article);
    // The window still follows the item under its new key.
    QCOMPARE(m_view->GetItem(), m_article);
    QVERIFY(Ctrl().CommitValue(kFieldNote, QStringLiteral("Renamed")));
    QCOMPARE(m_article->GetValue(kFieldNote), std::string("{Renamed}"));
}

void TestPropertyView::keyChangeRefused_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::newRow("key of an item in another file")
        << "lamport94"
        << "There is already a BibTeX item with the key\n'lamport94' in the database. It's "
           "located in file: \n'other'."
        << "";
    QTest::newRow("empty") << ""
                           << "Define a name for this BibTex item."
                           << "No name specified";
    const QString forbidden = "Please do not use one of the folling characters in\nthe "
                              "reference's name: \\/'><@,$%^*+?{}\u00b4`;\"!\t#[]() ";
    QTest::newRow("blank") << "knuth 84" << forbidden << "Illegal name";
    QTest::newRow("comma") << "knuth,84" << forbidden << "Illegal name";
    QTest::newRow("brace") << "knuth{84}" << forbidden << "Illegal name";
    QTest::newRow("acute accent") << "knuth\u00b484" << forbidden << "Illegal name";
}

void TestPropertyView::keyChangeRefused() {
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    CBibTexEntry* other = AddArticle("other", "lamport94");
    QVERIFY(other != nullptr);
    m_doc->SetModifiedFlag(false);
    Show(m_article);
    // Typed into the grid, as the user does.
    Ctrl().SelectProperty(Ctrl().FindProperty(kKey));
    Ctrl().GetListCtrl()->setFocus();
    Key(Qt::Key_F2);
    QLineEdit* edit = OpenLineEdit();
    QVERIFY(edit != nullptr);
    edit->setText(key);
    Key(Qt::Key_Return);
    QVERIFY(!Ctrl().IsEditing());

    QCOMPARE(m_dialogs->messages.size(), size_t(1));
    const RecordedMessage& message = m_dialogs->messages[0];
    QCOMPARE(QString::fromStdString(message.text), text);
    QCOMPARE(QString::fromStdString(message.caption), caption);
    QCOMPARE(message.icon, MsgIcon::Error);
    QCOMPARE(message.buttons, MsgButtons::Ok);
    QCOMPARE(m_article->GetKey(), std::string("knuth84"));
    QCOMPARE(other->GetKey(), std::string("lamport94"));
    QCOMPARE(Shown(kKey), QStringLiteral("knuth84"));
    QVERIFY(!m_doc->IsModified());
    QVERIFY(SentByView().empty());
    QVERIFY(m_doc->GetItems().IsConsistent());
}

void TestPropertyView::fieldEditStoresValueText_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("text in braces") << int(kFieldTitle) << "Some Title"
                                    << "{Some Title}";
    QTest::newRow("number bare") << int(kFieldYear) << "1999"
                                 << "1999";
    QTest::newRow("month bare") << int(kFieldMonth) << "jan"
                                << "jan";
    QTest::newRow("string reference bare") << int(kFieldJournal) << "jacm"
                                           << "jacm";
    QTest::newRow("other case is text") << int(kFieldJournal) << "JACM"
                                        << "{JACM}";
    QTest::newRow("concatenation bare") << int(kFieldJournal) << "jacm # { Letters}"
                                        << "jacm # { Letters}";
    QTest::newRow("emptied") << int(kFieldPages) << ""
                             << "";
    QTest::newRow("ignored field") << int(kFieldUrl) << "https://example.org/lp"
                                   << "{https://example.org/lp}";
}

void TestPropertyView::fieldEditStoresValueText() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    m_settings->SetShowIgnoredFields(true);
    Show(m_article);
    QVERIFY(Ctrl().CommitValue(field, typed));
    QCOMPARE(QString::fromStdString(std::string(m_article->GetValue(field))), stored);
    QCOMPARE(Shown(field), typed);
    QVERIFY(m_doc->IsModified());
    VerifySentItem(m_article);
}

void TestPropertyView::fieldEditFromTheKeyboard() {
    Show(m_article);
    // From the key row down to the title, as the user walks the grid.
    Ctrl().SelectProperty(Ctrl().FindProperty(kKey));
    Ctrl().GetListCtrl()->setFocus();
    for (int step = 0; step < 4; ++step) { // type, header, author, journal
        Key(Qt::Key_Down);
    }
    Key(Qt::Key_Down);
    QCOMPARE(Ctrl().GetSelectedProperty(), Ctrl().FindProperty(kFieldTitle));
    QCOMPARE(Ctrl().GetCommentPane()->GetComment(), QStringLiteral("The work's title."));
    Key(Qt::Key_Return);
    QLineEdit* edit = OpenLineEdit();
    QVERIFY(edit != nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Some Title"));
    Key(Qt::Key_Tab); // commits, and goes on to the year
    QCOMPARE(m_article->GetValue(kFieldTitle), std::string("{Some Title}"));
    VerifySentItem(m_article);
    QVERIFY(Ctrl().IsEditing());
    QCOMPARE(Ctrl().GetSelectedProperty(), Ctrl().FindProperty(kFieldYear));
    OpenLineEdit()->setText(QStringLiteral("2001"));
    Key(Qt::Key_Escape); // cancelled: nothing stored
    QCOMPARE(m_article->GetValue(kFieldYear), std::string("1984"));
    QCOMPARE(SentByView().size(), size_t(1));
}

// A value whose braces do not balance would make BibTeX read the fields
// behind it into it: refused with a message naming the field, old value kept.
void TestPropertyView::unbalancedValueRefused() {
    Show(m_article);
    Ctrl().SelectProperty(Ctrl().FindProperty(kFieldTitle));
    Ctrl().GetListCtrl()->setFocus();
    Key(Qt::Key_F2);
    QLineEdit* edit = OpenLineEdit();
    QVERIFY(edit != nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("see {Appendix"));
    Key(Qt::Key_Return);
    QVERIFY(!Ctrl().IsEditing());
    QCOMPARE(m_dialogs->messages.size(), size_t(1));
    QCOMPARE(m_dialogs->messages[0].text, CTexObject::UnbalancedBracesMessage("title"));
    QCOMPARE(m_dialogs->messages[0].caption, std::string(kUnbalancedBracesCaption));
    QCOMPARE(m_dialogs->messages[0].icon, MsgIcon::Warning);
    QCOMPARE(m_article->GetValue(kFieldTitle), std::string("{Literate Programming}"));
    QCOMPARE(Shown(kFieldTitle), QStringLiteral("Literate Programming"));
    QVERIFY(!m_doc->IsModified());
    QVERIFY(SentByView().empty());

    // The full string of a string: the same rule.
    CBibTexString jacm("jacm", "Journal of the ACM");
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change, static_cast<const CBibTexString*>(&jacm));
    QVERIFY(!Ctrl().CommitValue(CStringPropHost::kFullStringId, QStringLiteral("Journal} of")));
    QCOMPARE(m_dialogs->messages.size(), size_t(2));
    QCOMPARE(m_dialogs->messages[1].text, CTexObject::UnbalancedBracesMessage("jacm"));
    QCOMPARE(*m_doc->GetStrings().FindString("jacm"), std::string("Journal of the ACM"));

    // A field outside the catalogue, edited and added: the same rule.
    m_article->SetOtherField("doi", "{10.1/x}");
    Show(m_article);
    QVERIFY(!Ctrl().CommitValue(CItemPropHost::kOtherFieldId, QStringLiteral("10.1/{x")));
    QCOMPARE(m_dialogs->messages.size(), size_t(3));
    QCOMPARE(m_dialogs->messages[2].text, CTexObject::UnbalancedBracesMessage("doi"));
    QCOMPARE(m_article->GetNamedValue("doi"), std::string_view("{10.1/x}"));
    Ctrl().GetListCtrl()->setFocus();
    bool stayedOpen = false;
    WhenAddFieldDialogShows([&stayedOpen](CAddFieldDlg& dialog) {
        dialog.GetNameEdit()->setText(QStringLiteral("eprint"));
        dialog.GetValueEdit()->setText(QStringLiteral("see {Appendix"));
        QTest::mouseClick(dialog.GetOkButton(), Qt::LeftButton);
        stayedOpen = dialog.isVisible();
        dialog.GetValueEdit()->setText(QStringLiteral("see {Appendix}"));
        QTest::mouseClick(dialog.GetOkButton(), Qt::LeftButton);
    });
    QTest::keyClick(Ctrl().GetListCtrl(), Qt::Key_Insert);
    QVERIFY(stayedOpen);
    QCOMPARE(m_dialogs->messages.size(), size_t(4));
    QCOMPARE(m_dialogs->messages[3].text, CTexObject::UnbalancedBracesMessage("eprint"));
    QCOMPARE(m_article->GetNamedValue("eprint"), std::string_view("{see {Appendix}}"));
}

void TestPropertyView::inactiveProjectRefusesSilently() {
    // A document that holds an item but no active project.
    CQVNDoc doc(m_ui.get());
    auto owned = std::make_unique<CBibTexEntry>("refs", "loose", kArticle);
    CBibTexEntry* item = owned.get();
    QVERIFY(doc.AddItem(std::move(owned)));
    QVERIFY(!doc.IsProjectActive());
    CItemPropHost host(doc, *m_settings);
    host.Load(*item);
    EPropList shown;
    host.Populate(shown);
    QCOMPARE(shown.GetCount(), 0);

    EPropList props;
    const EProperty& title = props.AddTexField(kFieldTitle, "title", {});
    const EProperty& key = props.AddText(kKey, "key", "loose");
    QVERIFY(!host.OnPropertyChanged(title, QStringLiteral("Typed")));
    QVERIFY(!host.OnPropertyChanged(key, QStringLiteral("other")));
    QCOMPARE(item->GetValue(kFieldTitle), std::string());
    QCOMPARE(item->GetKey(), std::string("loose"));

    CStringPropHost strings(doc);
    strings.Load(CBibTexString("jacm", "Journal of the ACM"));
    const EProperty& full = props.AddText(CStringPropHost::kFullStringId, "full string", {});
    QVERIFY(!strings.OnPropertyChanged(full, QStringLiteral("J. ACM")));
    QVERIFY(m_dialogs->messages.empty());
}

void TestPropertyView::hintsChooseWhatIsShown() {
    auto verifyEmpty = [this] {
        QCOMPARE(Ctrl().GetHost(), nullptr);
        QCOMPARE(Ctrl().GetPropertyCount(), 0);
        QCOMPARE(Ctrl().GetEmptyText(), QStringLiteral("No item selected."));
        QVERIFY(!Ctrl().IsCommentPaneVisible());
        QCOMPARE(m_view->GetItem(), nullptr);
        QCOMPARE(m_view->GetString(), nullptr);
    };
    verifyEmpty(); // as it starts

    Show(m_article);
    QCOMPARE(m_view->GetItem(), m_article);
    QVERIFY(Ctrl().IsCommentPaneVisible());
    // The keyboard starts on the first value, and its help line shows.
    QCOMPARE(Ctrl().GetSelectedProperty(), Ctrl().FindProperty(kKey));
    QCOMPARE(Ctrl().GetCommentPane()->GetTitle(), QStringLiteral("key"));

    // Another kind of object: a file, a search. Nothing changes.
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change, HintFile{"refs"});
    QCOMPARE(m_view->GetItem(), m_article);
    QCOMPARE(Names(Ctrl()), kArticleRows);
    CSearch search(&m_doc->GetItems(), "Knuth");
    m_doc->UpdateAllViews(nullptr, UpdateHint::Search, static_cast<const CSearch*>(&search));
    QCOMPARE(m_view->GetItem(), m_article);

    // A string: its copy is shown, the comment pane stays as it was.
    CBibTexString jacm("jacm", "Journal of the ACM");
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change, static_cast<const CBibTexString*>(&jacm));
    jacm.SetValue("changed after the hint"); // the window keeps its own copy
    QCOMPARE(m_view->GetItem(), nullptr);
    QVERIFY(m_view->GetString() != nullptr && m_view->GetString() != &jacm);
    QCOMPARE(Rows(Ctrl()),
             (QStringList{"[General]", "abbreviation=jacm", "full string=Journal of the ACM"}));
    QCOMPARE(Ctrl().GetSelectedProperty(), Ctrl().FindProperty(CStringPropHost::kAbbreviationId));
    QCOMPARE(Ctrl().FindProperty(CStringPropHost::kAbbreviationId)->GetComment(),
             QStringLiteral("The abbreviated form of the full string."));
    QCOMPARE(Ctrl().FindProperty(CStringPropHost::kFullStringId)->GetComment(),
             QStringLiteral("The full string (such as the name of a journal)."));
    QVERIFY(Ctrl().IsCommentPaneVisible());

    // Hints without an object clear the window, whatever their number.
    for (UpdateHint hint : {UpdateHint::Change, UpdateHint::Bulk, UpdateHint::Contents}) {
        Show(m_article);
        m_doc->UpdateAllViews(nullptr, hint);
        verifyEmpty();
    }
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change, static_cast<const CBibTexString*>(&jacm));
    QVERIFY(!Ctrl().IsCommentPaneVisible()); // stays hidden for a string
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change);
    verifyEmpty();
    // UpdateHint::IgnoredFields with nothing shown shows nothing.
    m_doc->UpdateAllViews(nullptr, UpdateHint::IgnoredFields);
    verifyEmpty();
}

void TestPropertyView::appearanceChangeShowsTheItemAgain() {
    Show(m_article);
    QCOMPARE(Names(Ctrl()), kArticleRows);
    // The appearance dialog's OK: the columns, then the ignored fields.
    m_settings->SetShowIgnoredFields(true);
    m_doc->UpdateAllViews(nullptr, UpdateHint::Columns);
    m_doc->UpdateAllViews(nullptr, UpdateHint::IgnoredFields);
    QCOMPARE(Names(Ctrl()), kArticleRows + kArticleIgnored);

    m_settings->SetIgnoredFieldShown(kFieldAbstract, false);
    m_settings->SetIgnoredFieldShown(kFieldPrice, true);
    // The values are read again from the item.
    m_article->SetField(kFieldTitle, "Changed elsewhere", false);
    m_doc->UpdateAllViews(nullptr, UpdateHint::IgnoredFields);
    QVERIFY(Ctrl().FindProperty(kFieldAbstract) == nullptr);
    QCOMPARE(Ctrl().FindProperty(kFieldPrice)->GetGroup()->GetName(),
             QStringLiteral("Ignored fields"));
    QCOMPARE(Shown(kFieldTitle), QStringLiteral("Changed elsewhere"));

    m_settings->SetShowIgnoredFields(false);
    m_doc->UpdateAllViews(nullptr, UpdateHint::IgnoredFields);
    QCOMPARE(Names(Ctrl()), kArticleRows);

    // A string shown is not touched by it.
    CBibTexString jacm("jacm", "Journal of the ACM");
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change, static_cast<const CBibTexString*>(&jacm));
    m_doc->UpdateAllViews(nullptr, UpdateHint::IgnoredFields);
    QCOMPARE(Shown(CStringPropHost::kAbbreviationId), QStringLiteral("jacm"));
}

void TestPropertyView::stringRename_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TestPropertyView::stringRename() {
    QFETCH(bool, yes);
    m_article->SetField(kFieldJournal, "jacm", false);
    CBibTexEntry* second = AddArticle("other", "lamport94");
    second->SetField(kFieldJournal, "jacm", false);
    CBibTexEntry* braced = AddArticle("other", "braced");
    braced->SetField(kFieldJournal, "{jacm}", true); // text, not a reference
    m_doc->SetModifiedFlag(false);
    CBibTexString jacm("jacm", "Journal of the ACM");
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change, static_cast<const CBibTexString*>(&jacm));
    m_recorder->hints.clear();

    m_dialogs->answers.push_back(yes ? MsgResult::Yes : MsgResult::No);
    Ctrl().SelectProperty(Ctrl().FindProperty(CStringPropHost::kAbbreviationId));
    Ctrl().GetListCtrl()->setFocus();
    Key(Qt::Key_Return);
    OpenLineEdit()->setText(QStringLiteral("jacm2"));
    Key(Qt::Key_Return);

    QCOMPARE(m_dialogs->messages.size(), size_t(1));
    QCOMPARE(m_dialogs->messages[0].text,
             std::string("This abbreviation is used by one or more \nBibTeX items. Do you want "
                         "all occurences \nof string 'jacm' be replaced by 'jacm2'?"));
    QCOMPARE(m_dialogs->messages[0].icon, MsgIcon::Warning);
    QCOMPARE(m_dialogs->messages[0].buttons, MsgButtons::YesNo);
    std::string value;
    if (yes) {
        QCOMPARE(Shown(CStringPropHost::kAbbreviationId), QStringLiteral("jacm2"));
        QVERIFY(!m_doc->GetStrings().HasString("jacm"));
        QVERIFY(m_doc->LookupString("jacm2", value));
        QCOMPARE(value, std::string("Journal of the ACM"));
        QCOMPARE(m_article->GetValue(kFieldJournal), std::string("jacm2"));
        QCOMPARE(second->GetValue(kFieldJournal), std::string("jacm2"));
        QVERIFY(m_doc->IsModified());
        const auto sent = SentByView();
        QCOMPARE(sent.size(), size_t(1));
        QCOMPARE(sent[0].hint, UpdateHint::Change);
        QVERIFY(std::holds_alternative<const CBibTexString*>(sent[0].object));
        QCOMPARE(m_recorder->LastString().GetAbbreviation(), std::string("jacm2"));
        QCOMPARE(m_recorder->LastString().GetValue(), std::string("Journal of the ACM"));
    } else {
        QCOMPARE(Shown(CStringPropHost::kAbbreviationId), QStringLiteral("jacm"));
        QVERIFY(m_doc->LookupString("jacm", value));
        QVERIFY(!m_doc->GetStrings().HasString("jacm2"));
        QCOMPARE(m_article->GetValue(kFieldJournal), std::string("jacm"));
        QCOMPARE(second->GetValue(kFieldJournal), std::string("jacm"));
        QVERIFY(!m_doc->IsModified());
        QVERIFY(SentByView().empty());
    }
    QCOMPARE(braced->GetValue(kFieldJournal), std::string("{jacm}"));
}

void TestPropertyView::fullStringChange() {
    m_article->SetField(kFieldJournal, "jacm", false);
    CBibTexString jacm("jacm", "Journal of the ACM");
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change, static_cast<const CBibTexString*>(&jacm));
    m_recorder->hints.clear();
    QVERIFY(Ctrl().CommitValue(CStringPropHost::kFullStringId, QStringLiteral("J. ACM")));
    QCOMPARE(*m_doc->GetStrings().FindString("jacm"), std::string("J. ACM"));
    QCOMPARE(m_article->GetValue(kFieldJournal), std::string("jacm"));
    QVERIFY(m_dialogs->messages.empty());
    QCOMPARE(SentByView().size(), size_t(1));
    QCOMPARE(m_recorder->LastString().GetAbbreviation(), std::string("jacm"));
    QCOMPARE(m_recorder->LastString().GetValue(), std::string("J. ACM"));
}

void TestPropertyView::deletedStringIsNotRecreated() {
    CBibTexString jacm("jacm", "Journal of the ACM");
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change, static_cast<const CBibTexString*>(&jacm));
    QVERIFY(m_doc->DeleteString("jacm") == 1);
    QVERIFY(!Ctrl().CommitValue(CStringPropHost::kFullStringId, QStringLiteral("J. ACM")));
    QVERIFY(!Ctrl().CommitValue(CStringPropHost::kAbbreviationId, QStringLiteral("jacm2")));
    QVERIFY(!m_doc->GetStrings().HasString("jacm"));
    QVERIFY(!m_doc->GetStrings().HasString("jacm2"));
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change, HintFile{"refs"});
    QCOMPARE(m_view->GetString(), nullptr);
}

void TestPropertyView::deletedItemWhileShown() {
    m_settings->SetShowIgnoredFields(true);
    Show(m_article);
    // Deleted without a word to this window.
    QVERIFY(m_doc->DeleteItem("knuth84"));
    m_article = nullptr;
    QCOMPARE(m_view->GetItem(), nullptr);
    for (int id : {int(kFieldTitle), kKey, kType, int(kFieldUrl)}) {
        QVERIFY(!Ctrl().CommitValue(id, id == kType ? QVariant(kBook) : QVariant("x")));
    }
    QVERIFY(SentByView().empty());
    QVERIFY(m_dialogs->messages.empty());
    Ctrl().Refresh(); // repainting reads only the grid's own copies
    QApplication::processEvents();
    // UpdateHint::IgnoredFields finds the item gone and clears the window.
    m_doc->UpdateAllViews(nullptr, UpdateHint::IgnoredFields);
    QCOMPARE(Ctrl().GetHost(), nullptr);

    // A repaint hint does the same.
    CBibTexEntry* again = AddArticle("refs", "again");
    Show(again);
    QVERIFY(m_doc->DeleteItem("again"));
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change, HintFile{"refs"});
    QCOMPARE(Ctrl().GetHost(), nullptr);
    QCOMPARE(Ctrl().GetPropertyCount(), 0);
}

void TestPropertyView::deletedItemWhileEditing() {
    Show(m_article);
    Ctrl().SelectProperty(Ctrl().FindProperty(kFieldTitle));
    Ctrl().GetListCtrl()->setFocus();
    Key(Qt::Key_Return);
    QLineEdit* edit = OpenLineEdit();
    QVERIFY(edit != nullptr);
    edit->setText(QStringLiteral("Typed into a deleted item"));
    // The list deletes the item and then announces that nothing is selected.
    QVERIFY(m_doc->DeleteItem("knuth84"));
    m_article = nullptr;
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change);
    QVERIFY(!Ctrl().IsEditing());
    QCOMPARE(Ctrl().GetHost(), nullptr);
    QVERIFY(SentByView().empty());

    // A new item shown while a value is typed: the value goes to the item it
    // was typed for.
    CBibTexEntry* first = AddArticle("refs", "first");
    CBibTexEntry* second = AddArticle("refs", "second");
    Show(first);
    Ctrl().SelectProperty(Ctrl().FindProperty(kFieldTitle));
    Ctrl().GetListCtrl()->setFocus();
    Key(Qt::Key_Return);
    OpenLineEdit()->setText(QStringLiteral("For the first"));
    m_doc->UpdateAllViews(nullptr, UpdateHint::Change, second);
    QCOMPARE(first->GetValue(kFieldTitle), std::string("{For the first}"));
    QCOMPARE(second->GetValue(kFieldTitle), std::string());
    QCOMPARE(m_view->GetItem(), second);
    QCOMPARE(Shown(kFieldTitle), QString());
}

void TestPropertyView::buttonOpensModelessPickerAndCommits() {
    m_article->SetField(kFieldJournal, "cacm", false);
    Show(m_article);
    Ctrl().SelectProperty(Ctrl().FindProperty(kFieldJournal));
    Ctrl().GetListCtrl()->setFocus();
    Key(Qt::Key_F4);
    CAbbrDlg* picker = m_view->GetPicker();
    QVERIFY(picker != nullptr);
    QVERIFY(picker->isVisible());
    QVERIFY(!picker->isModal());
    QCOMPARE(picker->GetCaptionLabel()->text(),
             QStringLiteral("Select a string for the field 'journal':"));
    // The current value is preselected.
    QTreeView* list = picker->GetListView();
    QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(list->selectionModel()->selectedRows().first().row(), 1);
    QVERIFY(picker->GetOkButton()->isEnabled());

    list->selectionModel()->select(picker->GetModel()->index(0, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::mouseClick(picker->GetOkButton(), Qt::LeftButton);
    QCOMPARE(m_article->GetValue(kFieldJournal), std::string("jacm"));
    QCOMPARE(Shown(kFieldJournal), QStringLiteral("jacm"));
    VerifySentItem(m_article);
    QTRY_COMPARE(m_view->GetPicker(), nullptr);

    // Cancel commits nothing.
    QApplication::setActiveWindow(m_window);
    Ctrl().GetListCtrl()->setFocus();
    Key(Qt::Key_F4);
    QVERIFY(m_view->GetPicker() != nullptr);
    QTest::mouseClick(
        m_view->GetPicker()->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
        Qt::LeftButton);
    QCOMPARE(m_article->GetValue(kFieldJournal), std::string("jacm"));
    QCOMPARE(SentByView().size(), size_t(1));
}

void TestPropertyView::pickerGoesWithTheItem() {
    CBibTexEntry* other = AddArticle("refs", "other");
    Show(m_article);
    Ctrl().SelectProperty(Ctrl().FindProperty(kFieldJournal));
    Ctrl().GetListCtrl()->setFocus();
    Key(Qt::Key_F4);
    QVERIFY(m_view->GetPicker() != nullptr);
    // The same item shown again keeps it open; another object closes it.
    Show(m_article);
    QVERIFY(m_view->GetPicker() != nullptr);
    Show(other);
    QCOMPARE(m_view->GetPicker(), nullptr);
    QCOMPARE(other->GetValue(kFieldJournal), std::string());
}

void TestPropertyView::pickerOfDeletedItemCommitsNothing() {
    Show(m_article);
    Ctrl().SelectProperty(Ctrl().FindProperty(kFieldJournal));
    Ctrl().GetListCtrl()->setFocus();
    Key(Qt::Key_F4);
    QPointer<CAbbrDlg> picker = m_view->GetPicker();
    QVERIFY(picker != nullptr);
    QVERIFY(m_doc->DeleteItem("knuth84"));
    m_article = nullptr;
    picker->GetListView()->selectionModel()->select(picker->GetModel()->index(0, 0),
                                                    QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    picker->accept();
    QVERIFY(SentByView().empty());
    QVERIFY(m_dialogs->messages.empty());
}

void TestPropertyView::doubleClickInTheGridPicks() {
    Show(m_article);
    Ctrl().SelectProperty(Ctrl().FindProperty(kFieldJournal));
    Ctrl().GetListCtrl()->setFocus();
    Key(Qt::Key_Return);
    auto* edit = qobject_cast<CTexEdit*>(OpenLineEdit());
    QVERIFY(edit != nullptr);
    QCOMPARE(edit->fieldName(), QStringLiteral("journal"));
    QVERIFY(!edit->isMarked());
    OnPicker(*edit, [](CAbbrDlg* dlg) {
        QCOMPARE(dlg->GetCaptionLabel()->text(),
                 QStringLiteral("Select a string for the field 'journal':"));
        dlg->GetListView()->selectionModel()->select(dlg->GetModel()->index(1, 0),
                                                     QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
        dlg->accept();
    });
    QTest::mouseDClick(edit, Qt::LeftButton);
    // The edit goes on with the chosen abbreviation; Enter stores it.
    QVERIFY(Ctrl().IsEditing());
    QCOMPARE(OpenLineEdit(), edit);
    QCOMPARE(edit->text(), QStringLiteral("cacm"));
    QVERIFY(edit->isMarked());
    QVERIFY(SentByView().empty());
    QApplication::setActiveWindow(m_window);
    QTRY_VERIFY(edit->hasFocus());
    Key(Qt::Key_Return);
    QCOMPARE(m_article->GetValue(kFieldJournal), std::string("cacm"));
    VerifySentItem(m_article);
    // The key is plain text, edited in a plain box.
    Ctrl().SelectProperty(Ctrl().FindProperty(kKey));
    Key(Qt::Key_Return);
    QVERIFY(OpenLineEdit() != nullptr);
    QVERIFY(qobject_cast<CTexEdit*>(OpenLineEdit()) == nullptr);
    Key(Qt::Key_Escape);
}

void TestPropertyView::otherFieldsAreAGroupOfTheirOwn() {
    m_article->SetOtherField("doi", "{10.1/x}");
    m_article->SetOtherField("PMID", "42");
    Show(m_article);
    QCOMPARE(Rows(Ctrl()).mid(kArticleRows.size()),
             (QStringList{"[Other fields]", "doi=10.1/x", "PMID=42"}));
    const EProperty* doi = Ctrl().FindProperty(CItemPropHost::kOtherFieldId);
    QCOMPARE(doi->GetKind(), EProperty::Kind::TexField);
    QVERIFY(doi->GetComment().startsWith(QStringLiteral("A field outside the catalogue.")));
    // After the ignored fields when those are shown.
    m_settings->SetShowIgnoredFields(true);
    Show(m_article);
    QCOMPARE(Names(Ctrl()).mid(kArticleRows.size() + kArticleIgnored.size()),
             (QStringList{"[Other fields]", "doi", "PMID"}));
}

void TestPropertyView::otherFieldEditStoresValueText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("text is braced") << "10.2/y"
                                    << "{10.2/y}";
    QTest::newRow("a string stays bare") << "jacm"
                                         << "jacm";
    QTest::newRow("a number stays bare") << "1999"
                                         << "1999";
    // Emptied, the field stays (deleting it is a command of its own).
    QTest::newRow("empty keeps the field") << ""
                                           << "{}";
}

void TestPropertyView::otherFieldEditStoresValueText() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    m_article->SetOtherField("doi", "{10.1/x}");
    m_article->SetOtherField("pmid", "42");
    Show(m_article);
    QVERIFY(Ctrl().CommitValue(CItemPropHost::kOtherFieldId, typed));
    QCOMPARE(m_article->GetOtherFieldCount(), 2);
    QCOMPARE(QString::fromStdString(std::string(m_article->GetOtherFieldValue(0))), stored);
    QCOMPARE(m_article->GetOtherFieldName(0), std::string_view("doi"));
    QVERIFY(m_doc->IsModified());
    VerifySentItem(m_article);
    QCOMPARE(Shown(CItemPropHost::kOtherFieldId), typed);
}

void TestPropertyView::otherTypeListsEveryFieldAsOther() {
    m_article->SetTypeName("web_page");
    m_article->SetOtherField("urldate", "{2020-01-02}");
    Show(m_article);
    QCOMPARE(Names(Ctrl()),
             (QStringList{"[General]", "key", "type", "[Other fields]", "author", "journal",
                          "pages", "publisher", "title", "year", "urldate"}));
    const EProperty* type = Ctrl().FindProperty(kType);
    QCOMPARE(type->GetChoices().size(), 17);
    QCOMPARE(type->GetChoices().last(), QStringLiteral("web_page"));
    QCOMPARE(type->GetDisplayText(), QStringLiteral("web_page"));
    // Its catalogue fields are edited in their slots.
    QVERIFY(Ctrl().CommitValue(kFieldTitle, QStringLiteral("A Page")));
    QCOMPARE(m_article->GetValue(kFieldTitle), std::string_view("{A Page}"));
    // Choosing its own type again changes nothing; a catalogue type regroups.
    QVERIFY(Ctrl().CommitValue(kType, kEntryTypeCount));
    QVERIFY(m_article->HasOtherType());
    QVERIFY(Ctrl().CommitValue(kType, kArticle));
    QVERIFY(!m_article->HasOtherType());
    QCOMPARE(Names(Ctrl()), (kArticleRows + QStringList{"[Other fields]", "urldate"}));
}

void TestPropertyView::addField_data() {
    QTest::addColumn<QStringList>("names"); // typed one after the other until accepted
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("textForm"); // the item's text after the head line, or empty
    QTest::newRow("other field") << QStringList{"doi"} << "10.1/x" << QStringList{}
                                 << "  doi = {10.1/x}";
    QTest::newRow("invalid, then taken, then free")
        << QStringList{"two words", "Author", "note"} << "jacm"
        << QStringList{"Illegal name", "Field exists"} << "  note = jacm";
    QTest::newRow("empty value") << QStringList{"eprint"} << "" << QStringList{} << "  eprint = {}";
    // A catalogue field the article ignores, while ignored fields are hidden:
    // stored in its slot, and the user is told where it went.
    QTest::newRow("hidden catalogue field")
        << QStringList{"URL"} << "http://x" << QStringList{"Add a field"} << "  url = {http://x}";
}

void TestPropertyView::addField() {
    QFETCH(QStringList, names);
    QFETCH(QString, value);
    QFETCH(QStringList, messages);
    QFETCH(QString, textForm);
    Show(m_article);
    Ctrl().GetListCtrl()->setFocus();
    WhenAddFieldDialogShows([names, value](CAddFieldDlg& dialog) {
        dialog.GetValueEdit()->setText(value);
        for (const QString& name : names) {
            dialog.GetNameEdit()->setText(name);
            QTest::mouseClick(dialog.GetOkButton(), Qt::LeftButton);
        }
    });
    QTest::keyClick(Ctrl().GetListCtrl(), Qt::Key_Insert);
    QStringList captions;
    for (const RecordedMessage& message : m_dialogs->messages) {
        captions << QString::fromStdString(message.caption);
    }
    QCOMPARE(captions, messages);
    const QString text = QString::fromStdString(m_article->FormatText());
    QVERIFY2(text.contains(textForm + ",\n") || text.contains(textForm + "\n}"), qPrintable(text));
    QVERIFY(m_doc->IsModified());
    VerifySentItem(m_article);
    if (messages.isEmpty()) {
        // The new row is selected.
        QCOMPARE(Ctrl().GetSelectedProperty()->GetName(), names.last());
    }
}

void TestPropertyView::deleteField() {
    m_article->SetOtherField("doi", "{10.1/x}");
    m_article->SetOtherField("pmid", "42");
    Show(m_article);
    const EProperty* doi = Ctrl().FindProperty(CItemPropHost::kOtherFieldId);
    Ctrl().SelectProperty(doi);
    Ctrl().GetListCtrl()->setFocus();
    QCOMPARE(m_view->SelectedOtherField(), QStringLiteral("doi"));
    m_dialogs->answers.push_back(MsgResult::No);
    QTest::keyClick(Ctrl().GetListCtrl(), Qt::Key_Delete);
    QCOMPARE(m_article->GetOtherFieldCount(), 2);
    QVERIFY(SentByView().empty());
    m_dialogs->answers.push_back(MsgResult::Yes);
    QTest::keyClick(Ctrl().GetListCtrl(), Qt::Key_Delete);
    QCOMPARE(m_dialogs->messages.size(), size_t(2));
    QCOMPARE(m_dialogs->messages[1].text,
             std::string("Do you really want to delete the field 'doi' of this BibTeX item?"));
    QCOMPARE(m_article->GetOtherFieldCount(), 1);
    QCOMPARE(m_article->GetOtherFieldName(0), std::string_view("pmid"));
    QVERIFY(m_doc->IsModified());
    VerifySentItem(m_article);
    // The row that took its place is selected; a catalogue row offers no
    // deletion.
    QCOMPARE(Ctrl().GetSelectedProperty()->GetName(), QStringLiteral("pmid"));
    Ctrl().SelectProperty(Ctrl().FindProperty(kFieldTitle));
    QCOMPARE(m_view->SelectedOtherField(), QString());
    QVERIFY(!m_view->DeleteSelectedField());
}

// Not a test: pictures of the property window for the help pages, taken by
// scripts/propertyview-screenshots.sh in the same setting as the tests.
class PropertyViewShots : public TestPropertyView {
    Q_OBJECT
public:
    explicit PropertyViewShots(QString folder) : m_folder(std::move(folder)) {}

private Q_SLOTS:
    void screenshots();

private:
    QString m_folder;
};

void PropertyViewShots::screenshots() {
    const QString& folder = m_folder;
    m_settings->SetShowIgnoredFields(true);
    m_article->SetField(kFieldJournal, "jacm", false);
    Show(m_article);
    Ctrl().SelectProperty(Ctrl().FindProperty(kFieldTitle));
    QApplication::processEvents(); // the comment pane's place
    QVERIFY(m_window->grab().save(folder + "/propertyview-article.png"));
    Ctrl().SelectProperty(Ctrl().FindProperty(kFieldJournal));
    Ctrl().GetListCtrl()->setFocus();
    Key(Qt::Key_Return);
    QVERIFY(m_window->grab().save(folder + "/propertyview-yellow.png"));
    Key(Qt::Key_Escape);
    Key(Qt::Key_F4);
    QVERIFY(m_view->GetPicker() != nullptr);
    QVERIFY(m_view->GetPicker()->grab().save(folder + "/propertyview-picker.png"));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    QTEST_SET_MAIN_SOURCE_PATH
    // tst_propertyview --screenshots FOLDER
    if (argc == 3 && qstrcmp(argv[1], "--screenshots") == 0) {
        PropertyViewShots shots(QString::fromLocal8Bit(argv[2]));
        char name[] = "screenshots";
        char* args[] = {argv[0], name};
        return QTest::qExec(&shots, 2, args);
    }
    TestPropertyView test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_propertyview.moc"
