// The property grid: population, the commit protocol with its host, keyboard
// and mouse editing, the comment pane and the TeX field's button.

#include "widgets/CommentPane.h"
#include "widgets/PropCtrl.h"
#include "widgets/PropHost.h"
#include "widgets/PropListCtrl.h"
#include "widgets/PropModel.h"
#include "widgets/PropView.h"
#include "widgets/Property.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <map>

namespace {

enum Id { KeyId = 100, TypeId = 101, Author = 0, Journal, Title, Year, Volume, Number, Pages };

const QStringList kTypes = {"article", "book", "booklet", "conference", "inbook"};

// Presents one made-up item: key and type under "General", then required and
// optional TeX fields.
class TestHost : public EPropHost {
public:
    QString key = QStringLiteral("knuth1984");
    int type = 0;
    std::map<int, QString> fields = {{Author, "Donald E. Knuth"},
                                     {Journal, "The Computer Journal"},
                                     {Title, "Literate Programming"},
                                     {Year, "1984"},
                                     {Volume, "27"},
                                     {Number, "2"},
                                     {Pages, "97--111"}};
    QSet<int> refused;
    QSet<int> disabled;
    QList<QPair<int, QVariant>> calls;
    QList<int> buttons;
    // Runs inside OnPropertyChanged, before the answer.
    std::function<void(const EProperty&)> during;

    void Populate(EPropList& list) override {
        list.AddGroup(QStringLiteral("General"));
        list.AddText(KeyId, QStringLiteral("key"), key,
                     QStringLiteral("A unique key for this entry."));
        list.AddChoice(TypeId, QStringLiteral("type"), type, kTypes,
                       QStringLiteral("An article from a journal or magazine."));
        list.AddGroup(QStringLiteral("Required fields"));
        for (int id : {Author, Journal, Title, Year}) {
            list.AddTexField(id, Name(id), fields[id], Help(id));
        }
        list.AddGroup(QStringLiteral("Optional fields"));
        for (int id : {Volume, Number, Pages}) {
            list.AddTexField(id, Name(id), fields[id], Help(id));
        }
    }

    bool OnPropertyChanged(const EProperty& prop, const QVariant& value) override {
        calls.append({prop.GetId(), value});
        const int id = prop.GetId();
        if (during) {
            during(prop);
        }
        if (refused.contains(id)) {
            return false;
        }
        if (id == KeyId) {
            key = value.toString();
        } else if (id == TypeId) {
            type = value.toInt();
        } else {
            fields[id] = value.toString();
        }
        return true;
    }

    bool IsPropertyEnabled(const EProperty& prop) const override {
        return !disabled.contains(prop.GetId());
    }

    void OnTexFieldButton(const EProperty& prop) override { buttons.append(prop.GetId()); }

    static QString Name(int id) {
        static const char* const names[] = {"author", "journal", "title", "year",
                                            "volume", "number",  "pages"};
        return QString::fromLatin1(names[id]);
    }
    static QString Help(int id) {
        static const char* const help[] = {
            "The name(s) of the author(s).",
            "A journal name.",
            "The work's title.",
            "The year of publication.",
            "The volume of a journal or multivolume book.",
            "The number of a journal, magazine or technical report.",
            "One or more page numbers or ranges of numbers, such as 42--111 or 7,41,73--97."};
        return QString::fromLatin1(help[id]);
    }
};

// A TeX editor of the host's own kind, to see that the grid uses it.
class HostEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
};

} // namespace

class TestPropGrid : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void populatesInOrderUnderGroups_data();
    void populatesInOrderUnderGroups();
    void withoutHostShowsTheEmptyText();
    void acceptedEditIsStoredAndAnnounced_data();
    void acceptedEditIsStoredAndAnnounced();
    void refusedEditShowsTheOldValue();
    void unchangedValueIsNotAChange();
    void disabledPropertyCannotBeEdited();
    void arrowKeysWalkEveryVisibleRow();
    void leftRightAndEnterFoldGroups();
    void escapeCancelsTheEdit();
    void tabCommitsAndMovesOn_data();
    void tabCommitsAndMovesOn();
    void tabSkipsDisabledAndCollapsed();
    void focusLossCommits();
    void dialogDuringCommitDoesNotCommitTwice();
    void hostRepopulatingDuringCommit();
    void commentPaneFollowsSelection();
    void repopulationKeepsSelectionAndCollapsedGroups();
    void texButtonCallsHostWithItsProperty();
    void editorButtonCommitsFirst();
    void texEditorComesFromTheFactory();
    void choiceIsEditedByIndex();
    void choiceCommitsWhenPickedFromTheList();
    void clickOnValueStartsEditing();
    void splitterDragResizesNameColumn();
    void viewForwardsAcceptedChanges();
    void modelPassesTheModelTester();
    void screenshot();

private:
    const EProperty* Prop(int id) const { return m_ctrl->FindProperty(id); }
    QString Shown(int id) const {
        return m_list->GetModel()
            ->IndexOf(Prop(id), EPropModel::ValueColumn)
            .data(Qt::DisplayRole)
            .toString();
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target != nullptr);
        QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
    }
    void TypeText(const QString& text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target != nullptr);
        QTest::keyClicks(target, text);
    }
    QLineEdit* OpenLineEdit() const {
        EPropWnd* wnd = m_list->GetDelegate()->GetEditor();
        return wnd != nullptr ? wnd->GetLineEdit() : nullptr;
    }
    void Select(int id) {
        m_ctrl->SelectProperty(Prop(id));
        m_list->setFocus();
    }

    QWidget* m_window = nullptr;
    EPropCtrl* m_ctrl = nullptr;
    EPropListCtrl* m_list = nullptr;
    QLineEdit* m_other = nullptr;
    TestHost* m_host = nullptr;
};

void TestPropGrid::init() {
    m_window = new QWidget;
    auto* layout = new QVBoxLayout(m_window);
    m_ctrl = new EPropCtrl(m_window);
    m_other = new QLineEdit(m_window);
    layout->addWidget(m_ctrl);
    layout->addWidget(m_other);
    m_list = m_ctrl->GetListCtrl();
    m_host = new TestHost;
    m_window->resize(360, 520);
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_ctrl->SetHost(m_host);
    m_list->setFocus();
}

void TestPropGrid::cleanup() {
    delete m_window;
    delete m_host;
}

void TestPropGrid::populatesInOrderUnderGroups_data() {
    QTest::addColumn<int>("ordinal");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("group");
    const int group = int(EProperty::Kind::Group);
    const int tex = int(EProperty::Kind::TexField);
    QTest::newRow("first header") << 0 << "General" << group << "";
    QTest::newRow("key") << 1 << "key" << int(EProperty::Kind::Text) << "General";
    QTest::newRow("type") << 2 << "type" << int(EProperty::Kind::Choice) << "General";
    QTest::newRow("second header") << 3 << "Required fields" << group << "";
    QTest::newRow("author") << 4 << "author" << tex << "Required fields";
    QTest::newRow("year") << 7 << "year" << tex << "Required fields";
    QTest::newRow("third header") << 8 << "Optional fields" << group << "";
    QTest::newRow("pages") << 11 << "pages" << tex << "Optional fields";
}

void TestPropGrid::populatesInOrderUnderGroups() {
    QFETCH(int, ordinal);
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QString, group);
    QCOMPARE(m_ctrl->GetPropertyCount(), 12);
    const EProperty* prop = m_ctrl->GetProperty(ordinal);
    QVERIFY(prop != nullptr);
    QCOMPARE(prop->GetName(), name);
    QCOMPARE(int(prop->GetKind()), kind);
    QCOMPARE(prop->GetGroup() ? prop->GetGroup()->GetName() : QString(), group);
    // The tree: three groups at the top, each property under its own header.
    EPropModel* model = m_list->GetModel();
    QCOMPARE(model->rowCount(), 3);
    const QModelIndex index = model->IndexOf(prop);
    QCOMPARE(index.data().toString(), name);
    QCOMPARE(index.parent().data().toString(), group);
    if (prop->IsGroup()) {
        QVERIFY(m_list->isExpanded(index));
        QVERIFY(m_list->isFirstColumnSpanned(index.row(), {}));
    }
}

void TestPropGrid::withoutHostShowsTheEmptyText() {
    EPropCtrl fresh;
    QCOMPARE(fresh.GetEmptyText(), QStringLiteral("No properties available."));
    QCOMPARE(fresh.GetListCtrl()->GetModel()->rowCount(), 0);

    m_ctrl->SetEmptyText(QStringLiteral("No item selected."));
    const QImage withRows = m_list->viewport()->grab().toImage();
    m_ctrl->SetHost(nullptr);
    QCOMPARE(m_ctrl->GetHost(), nullptr);
    QCOMPARE(m_list->GetModel()->rowCount(), 0);
    QCOMPARE(m_ctrl->GetPropertyCount(), 0);
    QCOMPARE(m_ctrl->GetEmptyText(), QStringLiteral("No item selected."));
    // The text is painted: an empty grid with a text differs from one without.
    const QImage withText = m_list->viewport()->grab().toImage();
    m_ctrl->SetEmptyText(QString());
    const QImage blank = m_list->viewport()->grab().toImage();
    QVERIFY(withText != blank);
    QVERIFY(withText != withRows);
}

void TestPropGrid::acceptedEditIsStoredAndAnnounced_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("text") << int(KeyId) << "knuth84"
                          << "knuth84";
    QTest::newRow("tex field") << int(Title) << "The {TeX}book"
                               << "The {TeX}book";
    QTest::newRow("emptied tex field") << int(Pages) << ""
                                       << "";
}

void TestPropGrid::acceptedEditIsStoredAndAnnounced() {
    QFETCH(int, id);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QSignalSpy changed(m_ctrl, &EPropCtrl::PropertyChanged);
    Select(id);
    Key(Qt::Key_Return);
    QVERIFY(m_ctrl->IsEditing());
    QLineEdit* edit = OpenLineEdit();
    QVERIFY(edit != nullptr);
    QVERIFY(edit->hasFocus());
    edit->clear();
    TypeText(typed);
    Key(Qt::Key_Return);
    QVERIFY(!m_ctrl->IsEditing());
    QCOMPARE(m_host->calls.size(), 1);
    QCOMPARE(m_host->calls[0].first, id);
    QCOMPARE(m_host->calls[0].second, QVariant(typed));
    QCOMPARE(Shown(id), shown);
    QCOMPARE(Prop(id)->GetText(), typed);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toInt(), id);
    QVERIFY(m_list->hasFocus());
}

void TestPropGrid::refusedEditShowsTheOldValue() {
    m_host->refused.insert(KeyId);
    QSignalSpy changed(m_ctrl, &EPropCtrl::PropertyChanged);
    Select(KeyId);
    Key(Qt::Key_F2);
    OpenLineEdit()->setText(QStringLiteral("taken"));
    Key(Qt::Key_Return);
    QCOMPARE(m_host->calls.size(), 1);
    QVERIFY(!m_ctrl->IsEditing());
    QCOMPARE(Shown(KeyId), QStringLiteral("knuth1984"));
    QCOMPARE(Prop(KeyId)->GetText(), QStringLiteral("knuth1984"));
    QCOMPARE(changed.size(), 0);
    // Committed from outside, too.
    QVERIFY(!m_ctrl->CommitValue(KeyId, QStringLiteral("taken")));
    QCOMPARE(changed.size(), 0);
    QCOMPARE(Shown(KeyId), QStringLiteral("knuth1984"));
}

void TestPropGrid::unchangedValueIsNotAChange() {
    QSignalSpy changed(m_ctrl, &EPropCtrl::PropertyChanged);
    Select(Title);
    Key(Qt::Key_Return);
    Key(Qt::Key_Return);
    QVERIFY(!m_ctrl->IsEditing());
    QVERIFY(m_host->calls.isEmpty());
    QCOMPARE(changed.size(), 0);
}

void TestPropGrid::disabledPropertyCannotBeEdited() {
    m_host->disabled.insert(Journal);
    m_ctrl->Refresh();
    const QModelIndex value = m_list->GetModel()->IndexOf(Prop(Journal), EPropModel::ValueColumn);
    QVERIFY(!(value.flags() & Qt::ItemIsEditable));
    Select(Journal);
    Key(Qt::Key_Return);
    QVERIFY(!m_ctrl->IsEditing());
    QVERIFY(!m_ctrl->StartEdit(Prop(Journal)));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, m_list->visualRect(value).center());
    QVERIFY(!m_ctrl->IsEditing());
    Key(Qt::Key_F4);
    QVERIFY(m_host->buttons.isEmpty());
    QVERIFY(!m_ctrl->CommitValue(Journal, QStringLiteral("x")));
    QVERIFY(m_host->calls.isEmpty());
    // Still selectable, so that its help line can be read.
    QCOMPARE(m_ctrl->GetSelectedProperty(), Prop(Journal));
}

void TestPropGrid::arrowKeysWalkEveryVisibleRow() {
    m_ctrl->SelectProperty(m_ctrl->GetProperty(0));
    m_list->setFocus();
    for (int ordinal = 1; ordinal < m_ctrl->GetPropertyCount(); ++ordinal) {
        Key(Qt::Key_Down);
        QCOMPARE(m_ctrl->GetSelectedProperty(), m_ctrl->GetProperty(ordinal));
    }
    Key(Qt::Key_Down); // stays on the last row
    QCOMPARE(m_ctrl->GetSelectedProperty(), m_ctrl->GetProperty(11));
    for (int ordinal = 10; ordinal >= 0; --ordinal) {
        Key(Qt::Key_Up);
        QCOMPARE(m_ctrl->GetSelectedProperty(), m_ctrl->GetProperty(ordinal));
    }
    // While a text is edited, Up and Down commit it and move on.
    Select(Title);
    Key(Qt::Key_Return);
    OpenLineEdit()->setText(QStringLiteral("moved"));
    Key(Qt::Key_Down);
    QVERIFY(!m_ctrl->IsEditing());
    QCOMPARE(Shown(Title), QStringLiteral("moved"));
    QCOMPARE(m_ctrl->GetSelectedProperty(), Prop(Year));
    QVERIFY(m_list->hasFocus());
    Key(Qt::Key_Return);
    Key(Qt::Key_Up);
    QCOMPARE(m_ctrl->GetSelectedProperty(), Prop(Title));
    QCOMPARE(m_host->calls.size(), 1); // the unchanged year was no change
}

void TestPropGrid::leftRightAndEnterFoldGroups() {
    EPropModel* model = m_list->GetModel();
    const EProperty* required = m_ctrl->GetProperty(3);
    const QModelIndex group = model->IndexOf(required);
    // Left on a property goes to its header; Left there collapses it.
    Select(Author);
    Key(Qt::Key_Left);
    QCOMPARE(m_ctrl->GetSelectedProperty(), required);
    Key(Qt::Key_Left);
    QVERIFY(!m_list->isExpanded(group));
    // Down from a collapsed group skips its properties.
    Key(Qt::Key_Down);
    QCOMPARE(m_ctrl->GetSelectedProperty()->GetName(), QStringLiteral("Optional fields"));
    Key(Qt::Key_Up);
    Key(Qt::Key_Right);
    QVERIFY(m_list->isExpanded(group));
    Key(Qt::Key_Return);
    QVERIFY(!m_list->isExpanded(group));
    Key(Qt::Key_Enter);
    QVERIFY(m_list->isExpanded(group));
    QVERIFY(!m_ctrl->IsEditing());
}

void TestPropGrid::escapeCancelsTheEdit() {
    Select(Year);
    Key(Qt::Key_Return);
    OpenLineEdit()->setText(QStringLiteral("2001"));
    Key(Qt::Key_Escape);
    QVERIFY(!m_ctrl->IsEditing());
    QVERIFY(m_host->calls.isEmpty());
    QCOMPARE(Shown(Year), QStringLiteral("1984"));
    QVERIFY(m_list->hasFocus());
    QCOMPARE(m_ctrl->GetSelectedProperty(), Prop(Year));
}

void TestPropGrid::tabCommitsAndMovesOn_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<int>("to"); // -1: the edit ends and nothing else opens
    QTest::newRow("next in group") << int(KeyId) << false << int(TypeId);
    QTest::newRow("over a header") << int(Year) << false << int(Volume);
    QTest::newRow("back over a header") << int(Author) << true << int(TypeId);
    QTest::newRow("back in group") << int(Journal) << true << int(Author);
    QTest::newRow("past the last") << int(Pages) << false << -1;
    QTest::newRow("before the first") << int(KeyId) << true << -1;
}

void TestPropGrid::tabCommitsAndMovesOn() {
    QFETCH(int, from);
    QFETCH(bool, backwards);
    QFETCH(int, to);
    Select(from);
    Key(Qt::Key_Return);
    OpenLineEdit()->setText(QStringLiteral("new value"));
    Key(Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(m_host->calls.size(), 1);
    QCOMPARE(m_host->calls[0].first, from);
    QCOMPARE(Shown(from), QStringLiteral("new value"));
    if (to < 0) {
        QVERIFY(!m_ctrl->IsEditing());
        QCOMPARE(m_ctrl->GetSelectedProperty(), Prop(from));
        return;
    }
    QVERIFY(m_ctrl->IsEditing());
    QCOMPARE(m_ctrl->GetSelectedProperty(), Prop(to));
    EPropWnd* wnd = m_list->GetDelegate()->GetEditor();
    QCOMPARE(m_ctrl->GetProperty(wnd->GetOrdinal()), Prop(to));
    QVERIFY(wnd->GetEditor()->hasFocus());
}

void TestPropGrid::tabSkipsDisabledAndCollapsed() {
    m_host->disabled.insert(Journal);
    m_list->collapse(m_list->GetModel()->IndexOf(m_ctrl->GetProperty(8))); // optional fields
    Select(Author);
    Key(Qt::Key_Return);
    Key(Qt::Key_Tab);
    QCOMPARE(m_ctrl->GetSelectedProperty(), Prop(Title));
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    // Year was the last value that can be reached.
    QVERIFY(!m_ctrl->IsEditing());
    QCOMPARE(m_ctrl->GetSelectedProperty(), Prop(Year));
    // A refused value keeps the selection where it was.
    m_host->refused.insert(Title);
    Select(Title);
    Key(Qt::Key_Return);
    OpenLineEdit()->setText(QStringLiteral("refused"));
    Key(Qt::Key_Tab);
    QVERIFY(!m_ctrl->IsEditing());
    QCOMPARE(m_ctrl->GetSelectedProperty(), Prop(Title));
    QCOMPARE(Shown(Title), QStringLiteral("Literate Programming"));
}

void TestPropGrid::focusLossCommits() {
    QSignalSpy changed(m_ctrl, &EPropCtrl::PropertyChanged);
    Select(Journal);
    Key(Qt::Key_Return);
    OpenLineEdit()->setText(QStringLiteral("Comput. J."));
    m_other->setFocus(Qt::MouseFocusReason);
    QVERIFY(m_other->hasFocus());
    QVERIFY(!m_ctrl->IsEditing());
    QCOMPARE(m_host->calls.size(), 1);
    QCOMPARE(Shown(Journal), QStringLiteral("Comput. J."));
    QCOMPARE(changed.size(), 1);
    QVERIFY(m_other->hasFocus()); // the focus stays where the user put it
}

void TestPropGrid::dialogDuringCommitDoesNotCommitTwice() {
    // A host that explains a refusal in a modal dialog: the editor loses the
    // focus to it, which must not commit the same value again.
    m_host->refused.insert(KeyId);
    m_host->during = [this](const EProperty&) {
        QDialog message(m_window);
        QTimer::singleShot(50, &message, &QDialog::reject);
        message.exec();
    };
    Select(KeyId);
    Key(Qt::Key_Return);
    OpenLineEdit()->setText(QStringLiteral("taken"));
    Key(Qt::Key_Return);
    QTRY_VERIFY(!m_ctrl->IsEditing());
    QCOMPARE(m_host->calls.size(), 1);
    QCOMPARE(Shown(KeyId), QStringLiteral("knuth1984"));
}

void TestPropGrid::hostRepopulatingDuringCommit() {
    // The property window shows its item again after a change of type; the
    // grid is repopulated while the commit is still running.
    QSignalSpy changed(m_ctrl, &EPropCtrl::PropertyChanged);
    m_host->during = [this](const EProperty& prop) {
        if (prop.GetId() == TypeId) {
            m_host->type = 2;
            m_ctrl->SetHost(m_host);
        }
    };
    Select(TypeId);
    Key(Qt::Key_Return);
    QComboBox* combo = m_list->GetDelegate()->GetEditor()->GetComboBox();
    QVERIFY(combo != nullptr);
    combo->setCurrentIndex(2);
    Key(Qt::Key_Tab);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toInt(), int(TypeId));
    QCOMPARE(Shown(TypeId), QStringLiteral("booklet"));
    // Tab went on from the row of the type to the first field.
    QVERIFY(m_ctrl->IsEditing());
    QCOMPARE(m_ctrl->GetSelectedProperty(), Prop(Author));
    Key(Qt::Key_Escape);
    QVERIFY(m_list->hasFocus());
}

void TestPropGrid::commentPaneFollowsSelection() {
    ECommentPane* pane = m_ctrl->GetCommentPane();
    Select(KeyId);
    QCOMPARE(pane->GetTitle(), QStringLiteral("key"));
    QCOMPARE(pane->GetComment(), QStringLiteral("A unique key for this entry."));
    Key(Qt::Key_Down);
    QCOMPARE(pane->GetTitle(), QStringLiteral("type"));
    QCOMPARE(pane->GetComment(), QStringLiteral("An article from a journal or magazine."));
    Key(Qt::Key_Down);
    QCOMPARE(pane->GetTitle(), QStringLiteral("Required fields"));
    QCOMPARE(pane->GetComment(), QString());
    m_ctrl->SetHost(nullptr);
    QCOMPARE(pane->GetTitle(), QString());
    QCOMPARE(pane->GetComment(), QString());

    QVERIFY(m_ctrl->IsCommentPaneVisible());
    QVERIFY(pane->isVisible());
    m_ctrl->ShowCommentPane(false);
    QVERIFY(!m_ctrl->IsCommentPaneVisible());
    QVERIFY(!pane->isVisible());
    m_ctrl->ShowCommentPane(true);
    QVERIFY(pane->isVisible());
}

void TestPropGrid::repopulationKeepsSelectionAndCollapsedGroups() {
    const QString optional = m_ctrl->GetProperty(8)->GetName();
    m_list->collapse(m_list->GetModel()->IndexOf(m_ctrl->GetProperty(8)));
    Select(Title);
    TestHost other;
    other.fields[Title] = QStringLiteral("Another title");
    m_ctrl->SetHost(&other);
    QCOMPARE(m_ctrl->GetSelectedProperty(), m_ctrl->FindProperty(Title));
    QCOMPARE(m_ctrl->GetCommentPane()->GetTitle(), QStringLiteral("title"));
    QCOMPARE(Shown(Title), QStringLiteral("Another title"));
    const QModelIndex group = m_list->GetModel()->IndexOf(m_ctrl->GetProperty(8));
    QCOMPARE(group.data().toString(), optional);
    QVERIFY(!m_list->isExpanded(group));
    QVERIFY(m_list->isExpanded(m_list->GetModel()->IndexOf(m_ctrl->GetProperty(3))));
    m_ctrl->SetHost(nullptr); // before `other` goes
}

void TestPropGrid::texButtonCallsHostWithItsProperty() {
    Select(Journal);
    const QModelIndex value = m_list->GetModel()->IndexOf(Prop(Journal), EPropModel::ValueColumn);
    const QRect button = m_list->GetDelegate()->ButtonRect(m_list->visualRect(value));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, button.center());
    QCOMPARE(m_host->buttons, QList<int>{Journal});
    QVERIFY(!m_ctrl->IsEditing());
    Select(Year);
    Key(Qt::Key_F4);
    Key(Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(m_host->buttons, (QList<int>{Journal, Year, Year}));
    // Not for other kinds of property.
    Select(KeyId);
    Key(Qt::Key_F4);
    QCOMPARE(m_host->buttons.size(), 3);
    // The host answers through the grid, as the user would have.
    QSignalSpy changed(m_ctrl, &EPropCtrl::PropertyChanged);
    QVERIFY(m_ctrl->CommitValue(Journal, QStringLiteral("cj")));
    QCOMPARE(Shown(Journal), QStringLiteral("cj"));
    QCOMPARE(changed.size(), 1);
    QVERIFY(!m_ctrl->CommitValue(12345, QStringLiteral("x")));
}

void TestPropGrid::editorButtonCommitsFirst() {
    Select(Title);
    Key(Qt::Key_Return);
    EPropWnd* wnd = m_list->GetDelegate()->GetEditor();
    QVERIFY(wnd->GetButton() != nullptr);
    wnd->GetLineEdit()->setText(QStringLiteral("typed"));
    QTest::mouseClick(wnd->GetButton(), Qt::LeftButton);
    QCOMPARE(m_host->calls.size(), 1);
    QCOMPARE(m_host->calls[0].second, QVariant(QStringLiteral("typed")));
    QCOMPARE(m_host->buttons, QList<int>{Title});
    QVERIFY(!m_ctrl->IsEditing());
    // F4 in the editor does the same.
    Select(Year);
    Key(Qt::Key_Return);
    Key(Qt::Key_F4);
    QCOMPARE(m_host->buttons, (QList<int>{Title, Year}));
    // Text properties have no button.
    Select(KeyId);
    Key(Qt::Key_Return);
    QCOMPARE(m_list->GetDelegate()->GetEditor()->GetButton(), nullptr);
}

void TestPropGrid::texEditorComesFromTheFactory() {
    QList<int> madeFor;
    m_ctrl->SetTexEditorFactory([&madeFor](QWidget* parent, const EProperty& prop) {
        madeFor << prop.GetId();
        return new HostEdit(parent);
    });
    Select(Author);
    Key(Qt::Key_Return);
    QVERIFY(dynamic_cast<HostEdit*>(OpenLineEdit()) != nullptr);
    QCOMPARE(OpenLineEdit()->text(), QStringLiteral("Donald E. Knuth"));
    QCOMPARE(madeFor, QList<int>{Author});
    Key(Qt::Key_Escape);
    Select(KeyId);
    Key(Qt::Key_Return);
    QVERIFY(dynamic_cast<HostEdit*>(OpenLineEdit()) == nullptr);
    QCOMPARE(madeFor.size(), 1);
}

void TestPropGrid::choiceIsEditedByIndex() {
    QCOMPARE(Shown(TypeId), QStringLiteral("article"));
    Select(TypeId);
    Key(Qt::Key_Return);
    QComboBox* combo = m_list->GetDelegate()->GetEditor()->GetComboBox();
    QVERIFY(combo != nullptr);
    QCOMPARE(combo->count(), kTypes.size());
    QCOMPARE(combo->currentIndex(), 0);
    Key(Qt::Key_Down); // a closed list only chooses
    Key(Qt::Key_Down);
    QVERIFY(m_ctrl->IsEditing());
    QVERIFY(m_host->calls.isEmpty());
    Key(Qt::Key_Return);
    QCOMPARE(m_host->calls.size(), 1);
    QCOMPARE(m_host->calls[0].second, QVariant(2));
    QCOMPARE(Shown(TypeId), QStringLiteral("booklet"));
    QCOMPARE(Prop(TypeId)->GetIndex(), 2);
    // Indexes outside the list are refused without asking the host.
    QVERIFY(!m_ctrl->CommitValue(TypeId, 5));
    QVERIFY(!m_ctrl->CommitValue(TypeId, -1));
    QCOMPARE(m_host->calls.size(), 1);
    QVERIFY(m_ctrl->CommitValue(TypeId, 4));
    QCOMPARE(Shown(TypeId), QStringLiteral("inbook"));
}

void TestPropGrid::choiceCommitsWhenPickedFromTheList() {
    const QModelIndex value = m_list->GetModel()->IndexOf(Prop(TypeId), EPropModel::ValueColumn);
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, m_list->visualRect(value).center());
    QVERIFY(m_ctrl->IsEditing());
    QComboBox* combo = m_list->GetDelegate()->GetEditor()->GetComboBox();
    QVERIFY(combo->view()->isVisible()); // a click opens the list at once
    combo->view()->setCurrentIndex(combo->model()->index(3, 0));
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QTRY_VERIFY(!m_ctrl->IsEditing());
    QCOMPARE(m_host->calls.size(), 1);
    QCOMPARE(m_host->calls[0].second, QVariant(3));
    QCOMPARE(Shown(TypeId), QStringLiteral("conference"));
}

void TestPropGrid::clickOnValueStartsEditing() {
    const QModelIndex value = m_list->GetModel()->IndexOf(Prop(Volume), EPropModel::ValueColumn);
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, m_list->visualRect(value).center());
    QVERIFY(m_ctrl->IsEditing());
    QCOMPARE(m_ctrl->GetSelectedProperty(), Prop(Volume));
    QCOMPARE(OpenLineEdit()->text(), QStringLiteral("27"));
    QVERIFY(OpenLineEdit()->hasFocus());
    // A click on a name only selects.
    Key(Qt::Key_Escape);
    const QModelIndex name = m_list->GetModel()->IndexOf(Prop(Number));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, m_list->visualRect(name).center());
    QVERIFY(!m_ctrl->IsEditing());
    QCOMPARE(m_ctrl->GetSelectedProperty(), Prop(Number));
    // A click on a header opens or closes its group.
    const QModelIndex header = m_list->GetModel()->IndexOf(m_ctrl->GetProperty(0));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, m_list->visualRect(header).center());
    QVERIFY(!m_list->isExpanded(header));
}

void TestPropGrid::splitterDragResizesNameColumn() {
    const int before = m_list->GetSplitterPos();
    const QModelIndex row = m_list->GetModel()->IndexOf(Prop(Title));
    const int y = m_list->visualRect(row).center().y();
    QTest::mousePress(m_list->viewport(), Qt::LeftButton, {}, QPoint(before, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(before + 40, y),
                     m_list->viewport()->mapToGlobal(QPointF(before + 40, y)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_list->viewport(), &move);
    QTest::mouseRelease(m_list->viewport(), Qt::LeftButton, {}, QPoint(before + 40, y));
    QCOMPARE(m_list->GetSplitterPos(), before + 40);
    QVERIFY(!m_ctrl->IsEditing());
    // Never so far that a column disappears.
    m_list->SetSplitterPos(10000);
    QVERIFY(m_list->GetSplitterPos() < m_list->viewport()->width());
    m_list->SetSplitterPos(-50);
    QVERIFY(m_list->GetSplitterPos() > 0);
}

void TestPropGrid::viewForwardsAcceptedChanges() {
    EPropView view;
    TestHost host;
    host.refused.insert(Year);
    view.SetHost(&host);
    QSignalSpy changed(&view, &EPropView::PropertyChanged);
    QVERIFY(!view.GetPropCtrl()->CommitValue(Year, QStringLiteral("1985")));
    QCOMPARE(changed.size(), 0);
    QVERIFY(view.GetPropCtrl()->CommitValue(Volume, QStringLiteral("28")));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toInt(), int(Volume));
    QCOMPARE(host.fields[Volume], QStringLiteral("28"));
    view.SetHost(nullptr);
}

void TestPropGrid::modelPassesTheModelTester() {
    EPropModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    TestHost host;
    model.SetHost(&host);
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(model.Commit(model.FindById(Title), QStringLiteral("Another")));
    QVERIFY(model.Commit(model.FindById(TypeId), 1));
    model.SetHost(&host);
    model.SetHost(nullptr);
    QCOMPARE(model.rowCount(), 0);
}

void TestPropGrid::screenshot() {
    // A realistic item, also saved for looking at when QVN_SCREENSHOT_DIR is
    // set.
    m_host->fields[Title] = QStringLiteral(
        "Literate Programming: a practical approach to writing programs for people to read");
    m_ctrl->SetHost(m_host);
    m_window->resize(380, 560);
    Select(Journal);
    QApplication::processEvents();
    const QPixmap shot = m_window->grab();
    QVERIFY(!shot.isNull());
    const QByteArray dir = qgetenv("QVN_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QVERIFY(shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/propgrid.png")));
        Select(Pages);
        Key(Qt::Key_Return);
        QVERIFY(m_window->grab().save(QString::fromLocal8Bit(dir) +
                                      QStringLiteral("/propgrid-editing.png")));
        Key(Qt::Key_Escape);
        m_ctrl->SetHost(nullptr);
        m_ctrl->SetEmptyText(QStringLiteral("No item selected."));
        QVERIFY(m_window->grab().save(QString::fromLocal8Bit(dir) +
                                      QStringLiteral("/propgrid-empty.png")));
    }
}

QTEST_MAIN(TestPropGrid)
#include "tst_propgrid.moc"
