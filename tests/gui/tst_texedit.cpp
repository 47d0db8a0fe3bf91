// The TeX edit box (its colours and its picker) and the "Select a string"
// dialog with its model.
#include "app/Resources.h"
#include "kit/AbbrDlg.h"
#include "kit/StringPickModel.h"
#include "kit/TexEdit.h"
#include "model/BibTexStringTable.h"
#include "support/PickerScript.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace {

const QColor kBlue(237, 246, 255);
const QColor kYellow(255, 253, 156);

// The table of the tests: in this order, one value in braces, one that is
// not a single group, one empty.
void FillStrings(CBibTexStringTable& strings) {
    strings.AddString("jacm", "Journal of the ACM", false);
    strings.AddString("cacm", "{Communications of the ACM}", false);
    strings.AddString("ieee", "{IEEE} {Press}", false);
    strings.AddString("blank", "", false);
}

QColor PaintedBackground(QLineEdit& edit) {
    // A pixel inside the frame, right of the text.
    const QImage image = edit.grab().toImage();
    return image.pixelColor(image.width() - 6, image.height() / 2);
}

int SelectedRow(const CAbbrDlg& dlg) {
    const QModelIndexList rows = dlg.GetListView()->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void DoubleClickRow(CAbbrDlg& dlg, int row) {
    QTreeView* list = dlg.GetListView();
    const QPoint at = list->visualRect(dlg.GetModel()->index(row, 1)).center();
    // As the mouse does it: a click, then the double click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestTexEdit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qvn::InitResources(); }
    void init() { FillStrings(m_strings); }
    void cleanup() { m_strings.RemoveAll(); }

    void colourFollowsTheText_data();
    void colourFollowsTheText();
    void colourSwitchesWhileTyping();
    void doubleClickPicksAString();
    void doubleClickCancelled();
    void doubleClickWithoutStrings();
    void pickerCaption_data();
    void pickerCaption();
    void pickerPreselects_data();
    void pickerPreselects();
    void pickerOkFollowsTheSelection();
    void pickerDoubleClickActsAsOk();
    void pickerRows();
    void pickerModelPassesTheTester();

private:
    CBibTexStringTable m_strings;
};

void TestTexEdit::colourFollowsTheText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("marked");
    QTest::newRow("abbreviation") << "jacm" << true;
    QTest::newRow("another abbreviation") << "ieee" << true;
    QTest::newRow("abbreviation with an empty value") << "blank" << true;
    QTest::newRow("longer") << "jacm2" << false;
    QTest::newRow("shorter") << "jac" << false;
    QTest::newRow("other case") << "JACM" << false;
    QTest::newRow("with a blank") << "jacm " << false;
    QTest::newRow("in braces") << "{jacm}" << false;
    QTest::newRow("the full string") << "Journal of the ACM" << false;
    QTest::newRow("month name") << "jan" << false;
    QTest::newRow("empty") << "" << false;
}

void TestTexEdit::colourFollowsTheText() {
    QFETCH(QString, text);
    QFETCH(bool, marked);
    CTexEdit edit(nullptr, &m_strings, QStringLiteral("journal"));
    edit.resize(200, edit.sizeHint().height());
    edit.setText(text);
    QCOMPARE(edit.isMarked(), marked);
    const QColor expected = marked ? kYellow : kBlue;
    QCOMPARE(edit.palette().color(QPalette::Base), expected);
    QCOMPARE(edit.palette().color(QPalette::Text), QColor(Qt::black));
    QCOMPARE(PaintedBackground(edit), expected);
}

void TestTexEdit::colourSwitchesWhileTyping() {
    CTexEdit edit(nullptr, &m_strings);
    edit.resize(200, edit.sizeHint().height());
    edit.show();
    QCOMPARE(PaintedBackground(edit), kBlue);
    QTest::keyClicks(&edit, QStringLiteral("jac"));
    QVERIFY(!edit.isMarked());
    QTest::keyClick(&edit, Qt::Key_M);
    QVERIFY(edit.isMarked());
    QCOMPARE(PaintedBackground(edit), kYellow);
    QTest::keyClick(&edit, Qt::Key_X);
    QVERIFY(!edit.isMarked());
    QCOMPARE(PaintedBackground(edit), kBlue);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QVERIFY(edit.isMarked());
    // Without strings nothing is ever marked.
    CTexEdit plain(nullptr, nullptr);
    plain.setText(QStringLiteral("jacm"));
    QVERIFY(!plain.isMarked());
    QCOMPARE(plain.palette().color(QPalette::Base), kBlue);
}

void TestTexEdit::doubleClickPicksAString() {
    CTexEdit edit(nullptr, &m_strings, QStringLiteral("journal"));
    edit.setText(QStringLiteral("cacm"));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    bool seen = false;
    OnPicker(edit, [&seen](CAbbrDlg* dlg) {
        seen = true;
        QCOMPARE(dlg->GetCaptionLabel()->text(),
                 QStringLiteral("Select a string for the field 'journal':"));
        QCOMPARE(SelectedRow(*dlg), 1); // the current text is preselected
        DoubleClickRow(*dlg, 2);
    });
    QTest::mouseDClick(&edit, Qt::LeftButton);
    QVERIFY(seen);
    QCOMPARE(edit.text(), QStringLiteral("ieee"));
    QVERIFY(edit.isMarked());
    QCOMPARE(edit.picker(), nullptr);
    // The focus is back in the box (once its window is active again).
    QCOMPARE(edit.window()->focusWidget(), &edit);
}

void TestTexEdit::doubleClickCancelled() {
    CTexEdit edit(nullptr, &m_strings, QStringLiteral("journal"));
    edit.setText(QStringLiteral("Journal of Irreproducible Results"));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    OnPicker(edit, [](CAbbrDlg* dlg) {
        QCOMPARE(SelectedRow(*dlg), -1);
        dlg->reject();
    });
    QTest::mouseDClick(&edit, Qt::LeftButton);
    QCOMPARE(edit.text(), QStringLiteral("Journal of Irreproducible Results"));
    // The focus is back in the box (once its window is active again).
    QCOMPARE(edit.window()->focusWidget(), &edit);
}

void TestTexEdit::doubleClickWithoutStrings() {
    // The ordinary double click: a word is selected, no dialog opens.
    CTexEdit edit(nullptr, nullptr, QStringLiteral("journal"));
    edit.setText(QStringLiteral("word"));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QTest::mouseDClick(&edit, Qt::LeftButton, {}, QPoint(4, edit.height() / 2));
    QCOMPARE(edit.picker(), nullptr);
    QCOMPARE(edit.selectedText(), QStringLiteral("word"));
}

void TestTexEdit::pickerCaption_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("caption");
    QTest::newRow("field") << "journal"
                           << "Select a string for the field 'journal':";
    QTest::newRow("no field") << ""
                              << "Select a string.";
}

void TestTexEdit::pickerCaption() {
    QFETCH(QString, field);
    QFETCH(QString, caption);
    CAbbrDlg dlg(m_strings, field, {});
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Select a string"));
    QCOMPARE(dlg.GetCaptionLabel()->text(), caption);
    QVERIFY(dlg.GetCaptionLabel()->font().bold());
}

void TestTexEdit::pickerPreselects_data() {
    QTest::addColumn<QString>("current");
    QTest::addColumn<int>("row");
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("first") << "jacm" << 0;
    QTest::newRow("third") << "ieee" << 2;
    QTest::newRow("other case") << "CACM" << -1;
    QTest::newRow("part of one") << "cac" << -1;
    QTest::newRow("a full string") << "Journal of the ACM" << -1;
}

void TestTexEdit::pickerPreselects() {
    QFETCH(QString, current);
    QFETCH(int, row);
    CAbbrDlg dlg(m_strings, QStringLiteral("journal"), current);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(SelectedRow(dlg), row);
    QCOMPARE(dlg.GetOkButton()->isEnabled(), row >= 0);
    if (row >= 0) {
        QCOMPARE(dlg.GetListView()->currentIndex().row(), row);
        QVERIFY(dlg.GetListView()->hasFocus());
    }
    dlg.reject();
    QCOMPARE(dlg.GetAbbreviation(), QString());
}

void TestTexEdit::pickerOkFollowsTheSelection() {
    CAbbrDlg dlg(m_strings, QStringLiteral("journal"), {});
    QItemSelectionModel* selection = dlg.GetListView()->selectionModel();
    QVERIFY(!dlg.GetOkButton()->isEnabled());
    selection->select(dlg.GetModel()->index(3, 0),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QVERIFY(dlg.GetOkButton()->isEnabled());
    selection->clearSelection();
    QVERIFY(!dlg.GetOkButton()->isEnabled());
    // OK without a row keeps the dialog open.
    dlg.accept();
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    selection->select(dlg.GetModel()->index(1, 1),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::mouseClick(dlg.GetOkButton(), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.GetAbbreviation(), QStringLiteral("cacm"));
}

void TestTexEdit::pickerDoubleClickActsAsOk() {
    CAbbrDlg dlg(m_strings, {}, QStringLiteral("jacm"));
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    DoubleClickRow(dlg, 3);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.GetAbbreviation(), QStringLiteral("blank"));
    // Enter on the current row as well.
    CAbbrDlg again(m_strings, {}, QStringLiteral("ieee"));
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QTest::keyClick(again.GetListView(), Qt::Key_Return);
    QCOMPARE(again.result(), int(QDialog::Accepted));
    QCOMPARE(again.GetAbbreviation(), QStringLiteral("ieee"));
}

void TestTexEdit::pickerRows() {
    CAbbrDlg dlg(m_strings, {}, {});
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const CStringPickModel& model = *dlg.GetModel();
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("String"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Value"));
    QCOMPARE(dlg.GetListView()->header()->sectionSize(0), 100);
    QCOMPARE(dlg.GetListView()->header()->sectionSize(1), 250);
    // Both columns fit beside the scroll bar.
    QVERIFY(dlg.GetListView()->viewport()->width() >= 350);
    QCOMPARE(dlg.GetListView()->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(dlg.GetListView()->selectionBehavior(), QAbstractItemView::SelectRows);
    const QStringList abbreviations = {"jacm", "cacm", "ieee", "blank"};
    // Values without the delimiters of one group; two groups stay whole.
    const QStringList values = {"Journal of the ACM", "Communications of the ACM", "{IEEE} {Press}",
                                ""};
    QCOMPARE(model.rowCount(), 4);
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(model.index(row, 0).data().toString(), abbreviations[row]);
        QCOMPARE(model.index(row, 1).data().toString(), values[row]);
        QVERIFY(!model.index(row, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(model.index(row, 1).data(Qt::DecorationRole).isNull());
    }
}

void TestTexEdit::pickerModelPassesTheTester() {
    CStringPickModel model(m_strings);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.FindRow(QStringLiteral("ieee")), 2);
    QCOMPARE(model.FindRow(QStringLiteral("IEEE")), -1);
    CBibTexStringTable none;
    CStringPickModel empty(none);
    QAbstractItemModelTester emptyTester(&empty,
                                         QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(empty.rowCount(), 0);
    QCOMPARE(empty.columnCount(), 2);
}

QTEST_MAIN(TestTexEdit)
#include "tst_texedit.moc"
