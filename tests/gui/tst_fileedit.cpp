// The edit box with a browse button, the folder chooser and the file dialog
// with scripted answers, and the translation of file-type filters.

#include "widgets/FECFileDialog.h"
#include "widgets/FileEditCtrl.h"
#include "widgets/FileFilters.h"
#include "widgets/FolderDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TestFileEdit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filterTranslation_data();
    void filterTranslation();
    void defaultSuffix_data();
    void defaultSuffix();

    void folderChooserAnswers_data();
    void folderChooserAnswers();
    void scopedChooserRestoresThePrevious();
    void realFolderDialog_data();
    void realFolderDialog();
    void realSaveDialog();

    void fileDialogAnswers_data();
    void fileDialogAnswers();

    void browseForFolder();
    void browseForFolderNotConfirmed_data();
    void browseForFolderNotConfirmed();
    void browseForFileToSave();
    void typingSignalsTextChanges();

private:
    QTemporaryDir m_dir;
};

void TestFileEdit::filterTranslation_data() {
    QTest::addColumn<QString>("windows");
    QTest::addColumn<QStringList>("qt");
    QTest::newRow("one type") << "BibTeX files (*.bib)|*.bib||"
                              << QStringList{"BibTeX files (*.bib)"};
    QTest::newRow("every file is *") << "BibTeX files (*.bib)|*.bib|All files (*.*)|*.*||"
                                     << QStringList{"BibTeX files (*.bib)", "All files (*)"};
    QTest::newRow("patterns added to a bare description")
        << "Quorvane projects|*.qvp||" << QStringList{"Quorvane projects (*.qvp)"};
    QTest::newRow("several patterns")
        << "TeX files (*.tex;*.ltx)|*.tex; *.ltx||" << QStringList{"TeX files (*.tex *.ltx)"};
    QTest::newRow("words in brackets stay")
        << "Log (plain text)|*.log||" << QStringList{"Log (plain text) (*.log)"};
    QTest::newRow("no closing bars")
        << "Text files (*.txt)|*.txt" << QStringList{"Text files (*.txt)"};
    QTest::newRow("description without patterns")
        << "BibTeX files (*.bib)|*.bib|Orphan||" << QStringList{"BibTeX files (*.bib)"};
    QTest::newRow("empty patterns") << "Nothing||Logs|*.log||" << QStringList{"Logs (*.log)"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("only bars") << "||" << QStringList{};
}

void TestFileEdit::filterTranslation() {
    QFETCH(QString, windows);
    QFETCH(QStringList, qt);
    QCOMPARE(QtFiltersFromWindowsFilter(windows), qt);
}

void TestFileEdit::defaultSuffix_data() {
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("with dot") << ".bib"
                              << "bib";
    QTest::newRow("without dot") << "bib"
                                 << "bib";
    QTest::newRow("none") << ""
                          << "";
}

void TestFileEdit::defaultSuffix() {
    QFETCH(QString, extension);
    QFETCH(QString, suffix);
    QCOMPARE(QtDefaultSuffix(extension), suffix);
}

void TestFileEdit::folderChooserAnswers_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("answered"); // relative to the temporary folder
    QTest::addColumn<bool>("fileSystemOnly");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("folder"); // relative, when Ok
    const int ok = int(CFolderDialog::Result::Ok);
    const int failed = int(CFolderDialog::Result::Failed);
    const int cancelled = int(CFolderDialog::Result::Cancelled);
    QTest::newRow("chosen") << ok << "sub" << true << ok << "sub";
    QTest::newRow("trailing separator dropped") << ok << "sub/" << true << ok << "sub";
    QTest::newRow("dot segments cleaned") << ok << "sub/../sub/." << true << ok << "sub";
    QTest::newRow("cancelled") << cancelled << "sub" << true << cancelled << "";
    QTest::newRow("no file-system path") << failed << "" << true << failed << "";
    QTest::newRow("ok without a path") << ok << "" << false << failed << "";
    QTest::newRow("missing folder") << ok << "missing" << true << failed << "";
    QTest::newRow("a file is no folder") << ok << "file.bib" << true << failed << "";
    QTest::newRow("missing folder, any path") << ok << "missing" << false << ok << "missing";
}

void TestFileEdit::folderChooserAnswers() {
    QFETCH(int, answer);
    QFETCH(QString, answered);
    QFETCH(bool, fileSystemOnly);
    QFETCH(int, result);
    QFETCH(QString, folder);
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("sub")));
    QFile file(m_dir.filePath(QStringLiteral("file.bib")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QList<CFolderDialog::Request> asked;
    CFolderDialog::ScopedChooser chooser([&](const CFolderDialog::Request& request) {
        asked << request;
        const QString path = answered.isEmpty() ? QString() : m_dir.path() + '/' + answered;
        return CFolderDialog::Answer{CFolderDialog::Result(answer), path};
    });
    const auto options =
        fileSystemOnly
            ? CFolderDialog::Options(CFolderDialog::FileSystemOnly | CFolderDialog::ShowEditField)
            : CFolderDialog::Options(CFolderDialog::ShowEditField);
    CFolderDialog dialog(QStringLiteral("Select a folder for the BibTex files:"), m_dir.path(),
                         nullptr, options);
    QCOMPARE(int(dialog.Exec()), result);
    QCOMPARE(dialog.GetFolderPath(), folder.isEmpty() ? QString() : m_dir.path() + '/' + folder);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].title, QStringLiteral("Select a folder for the BibTex files:"));
    QCOMPARE(asked[0].initialFolder, m_dir.path());
    QCOMPARE(asked[0].options, options);
}

void TestFileEdit::scopedChooserRestoresThePrevious() {
    int outerCalls = 0;
    int innerCalls = 0;
    CFolderDialog::ScopedChooser outer([&](const CFolderDialog::Request&) {
        ++outerCalls;
        return CFolderDialog::Answer{CFolderDialog::Result::Cancelled, {}};
    });
    {
        CFolderDialog::ScopedChooser inner([&](const CFolderDialog::Request&) {
            ++innerCalls;
            return CFolderDialog::Answer{CFolderDialog::Result::Cancelled, {}};
        });
        CFolderDialog().Exec();
    }
    CFolderDialog().Exec();
    QCOMPARE(innerCalls, 1);
    QCOMPARE(outerCalls, 1);
}

void TestFileEdit::realFolderDialog_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("accepted") << true;
    QTest::newRow("cancelled") << false;
}

void TestFileEdit::realFolderDialog() {
    // Qt's own dialog, answered as soon as it shows: it opens with the
    // initial folder selected, lists folders only and gives back what the
    // user accepted.
    QFETCH(bool, accept);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("start")));
    const QString start = m_dir.path() + QStringLiteral("/start");
    QString selected;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    bool dirsOnly = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        selected = dialog->selectedFiles().value(0);
        mode = dialog->fileMode();
        dirsOnly = dialog->testOption(QFileDialog::ShowDirsOnly);
        accept ? static_cast<QDialog*>(dialog)->accept() : dialog->reject();
    });
    CFolderDialog dialog(QStringLiteral("Select a folder"), start);
    const CFolderDialog::Result result = dialog.Exec();
    QCOMPARE(selected, start);
    QCOMPARE(mode, QFileDialog::Directory);
    QVERIFY(dirsOnly);
    if (accept) {
        QCOMPARE(result, CFolderDialog::Result::Ok);
        QCOMPARE(dialog.GetFolderPath(), start);
    } else {
        QCOMPARE(result, CFolderDialog::Result::Cancelled);
        QVERIFY(dialog.GetFolderPath().isEmpty());
    }
}

void TestFileEdit::realSaveDialog() {
    QStringList filters;
    QString suffix;
    bool confirmsOverwrite = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        filters = dialog->nameFilters();
        suffix = dialog->defaultSuffix();
        confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        dialog->selectFile(m_dir.path() + QStringLiteral("/out"));
        static_cast<QDialog*>(dialog)->accept();
    });
    CFECFileDialog dialog(CFECFileDialog::Mode::Save,
                          QStringLiteral("BibTeX files (*.bib)|*.bib|All files (*.*)|*.*||"),
                          QStringLiteral(".bib"), m_dir.path() + QStringLiteral("/strings.bib"));
    QVERIFY(dialog.Exec());
    QCOMPARE(filters, (QStringList{"BibTeX files (*.bib)", "All files (*)"}));
    QCOMPARE(suffix, QStringLiteral("bib"));
    QVERIFY(confirmsOverwrite);
    QCOMPARE(dialog.GetPath(), m_dir.path() + QStringLiteral("/out.bib"));
}

void TestFileEdit::fileDialogAnswers_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("answered"); // relative to the temporary folder
    QTest::addColumn<QStringList>("paths");
    const int save = int(CFECFileDialog::Mode::Save);
    const int open = int(CFECFileDialog::Mode::Open);
    const int multiple = int(CFECFileDialog::Mode::OpenMultiple);
    QTest::newRow("save adds the extension")
        << save << QStringList{"refs"} << QStringList{"refs.bib"};
    QTest::newRow("save keeps a given extension")
        << save << QStringList{"refs.txt"} << QStringList{"refs.txt"};
    QTest::newRow("save into a missing folder")
        << save << QStringList{"missing/refs.bib"} << QStringList{};
    QTest::newRow("cancelled") << save << QStringList{} << QStringList{};
    QTest::newRow("open takes one")
        << open << QStringList{"a.bib", "b.bib"} << QStringList{"a.bib"};
    QTest::newRow("open adds no extension") << open << QStringList{"a"} << QStringList{"a"};
    QTest::newRow("open several") << multiple << QStringList{"a.bib", "b.bib"}
                                  << QStringList{"a.bib", "b.bib"};
}

void TestFileEdit::fileDialogAnswers() {
    QFETCH(int, mode);
    QFETCH(QStringList, answered);
    QFETCH(QStringList, paths);
    QVERIFY(m_dir.isValid());
    CFECFileDialog::Request asked;
    CFECFileDialog::ScopedChooser chooser([&](const CFECFileDialog::Request& request) {
        asked = request;
        QStringList result;
        for (const QString& name : answered) {
            result << m_dir.path() + '/' + name;
        }
        return result;
    });
    CFECFileDialog dialog(CFECFileDialog::Mode(mode),
                          QStringLiteral("BibTeX files (*.bib)|*.bib||"), QStringLiteral(".bib"),
                          m_dir.path());
    QCOMPARE(dialog.Exec(), !paths.isEmpty());
    QStringList expected;
    for (const QString& name : paths) {
        expected << m_dir.path() + '/' + name;
    }
    QCOMPARE(dialog.GetPaths(), expected);
    QCOMPARE(dialog.GetPath(), expected.value(0));
    QCOMPARE(asked.filters, QStringList{"BibTeX files (*.bib)"});
    QCOMPARE(asked.defaultSuffix, QStringLiteral("bib"));
    QCOMPARE(asked.initialPath, m_dir.path());
    QCOMPARE(int(asked.mode), mode);
}

void TestFileEdit::browseForFolder() {
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("export")));
    QWidget window;
    CFileEditCtrl edit(&window);
    edit.SetFolderMode(QStringLiteral("Select a destination path for the BibTex files:"));
    edit.SetText(m_dir.path());
    QList<CFolderDialog::Request> asked;
    CFolderDialog::ScopedChooser chooser([&](const CFolderDialog::Request& request) {
        asked << request;
        return CFolderDialog::Answer{CFolderDialog::Result::Ok, m_dir.path() + "/export/"};
    });
    QSignalSpy confirmed(&edit, &CFileEditCtrl::BrowseConfirmed);
    QSignalSpy changed(&edit, &CFileEditCtrl::TextChanged);
    QTest::mouseClick(edit.GetButton(), Qt::LeftButton);
    const QString chosen = QDir::toNativeSeparators(m_dir.path() + "/export");
    QCOMPARE(edit.GetText(), chosen);
    QCOMPARE(confirmed.size(), 1);
    QCOMPARE(confirmed[0][0].toString(), chosen);
    QCOMPARE(confirmed[0][1].toString(), m_dir.path());
    QCOMPARE(changed.size(), 1);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].title, QStringLiteral("Select a destination path for the BibTex files:"));
    QCOMPARE(asked[0].initialFolder, m_dir.path());
    QCOMPARE(asked[0].owner, &window);
    QVERIFY(asked[0].options & CFolderDialog::FileSystemOnly);
    QVERIFY(asked[0].options & CFolderDialog::ShowEditField);
}

void TestFileEdit::browseForFolderNotConfirmed_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("cancelled") << int(CFolderDialog::Result::Cancelled);
    QTest::newRow("failed") << int(CFolderDialog::Result::Failed);
}

void TestFileEdit::browseForFolderNotConfirmed() {
    QFETCH(int, answer);
    CFileEditCtrl edit;
    edit.SetText(QStringLiteral("/somewhere/else"));
    CFolderDialog::ScopedChooser chooser([&](const CFolderDialog::Request&) {
        return CFolderDialog::Answer{CFolderDialog::Result(answer), m_dir.path()};
    });
    QSignalSpy confirmed(&edit, &CFileEditCtrl::BrowseConfirmed);
    QVERIFY(!edit.Browse());
    QCOMPARE(edit.GetText(), QStringLiteral("/somewhere/else"));
    QCOMPARE(confirmed.size(), 0);
}

void TestFileEdit::browseForFileToSave() {
    CFileEditCtrl edit;
    edit.SetSaveFileMode(QStringLiteral("BibTeX files (*.bib)|*.bib||"), QStringLiteral(".bib"));
    QCOMPARE(edit.GetMode(), CFileEditCtrl::Mode::SaveFile);
    const QString start = m_dir.path() + QStringLiteral("/thesis.bib");
    edit.SetText(start);
    CFECFileDialog::Request asked;
    QString answer = m_dir.path() + QStringLiteral("/chapter1");
    CFECFileDialog::ScopedChooser chooser([&](const CFECFileDialog::Request& request) {
        asked = request;
        return answer.isEmpty() ? QStringList() : QStringList{answer};
    });
    QSignalSpy confirmed(&edit, &CFileEditCtrl::BrowseConfirmed);
    QVERIFY(edit.Browse());
    QCOMPARE(edit.GetText(), QDir::toNativeSeparators(m_dir.path() + "/chapter1.bib"));
    QCOMPARE(asked.mode, CFECFileDialog::Mode::Save);
    QCOMPARE(asked.initialPath, start);
    QCOMPARE(asked.filters, QStringList{"BibTeX files (*.bib)"});
    QCOMPARE(asked.defaultSuffix, QStringLiteral("bib"));
    QVERIFY(asked.options & CFECFileDialog::OverwritePrompt);
    QVERIFY(asked.options & CFECFileDialog::PathMustExist);
    QCOMPARE(confirmed.size(), 1);
    QCOMPARE(confirmed[0][1].toString(), start);
    // Cancelled: the box keeps its text.
    answer.clear();
    QVERIFY(!edit.Browse());
    QCOMPARE(edit.GetText(), QDir::toNativeSeparators(m_dir.path() + "/chapter1.bib"));
    QCOMPARE(confirmed.size(), 1);
}

void TestFileEdit::typingSignalsTextChanges() {
    CFileEditCtrl edit;
    QSignalSpy changed(&edit, &CFileEditCtrl::TextChanged);
    QTest::keyClicks(edit.GetEdit(), QStringLiteral("ab"));
    QCOMPARE(changed.size(), 2);
    QCOMPARE(changed[1][0].toString(), QStringLiteral("ab"));
    QCOMPARE(edit.GetText(), QStringLiteral("ab"));
}

QTEST_MAIN(TestFileEdit)
#include "tst_fileedit.moc"
