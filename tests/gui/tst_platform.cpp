// The Qt side of the platform seams: the settings store on QSettings, the
// file filters and message boxes of the user-interaction host, and the
// shell for files.
#include "app/QtSettingsStore.h"
#include "app/QtShell.h"
#include "app/QtUserInterface.h"
#include "kit/QtText.h"
#include "model/OrderedMap.h"
#include "project/QVNSettings.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestPlatform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { UseCleanSettings(); }

    void keysMapToGroups_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("group");
        QTest::newRow("application key") << "Software\\Tavelmark\\Quorvane"
                                         << "Appearance";
        QTest::newRow("subkey") << "Software\\Tavelmark\\Quorvane\\Columns"
                                << "Appearance/Columns";
        QTest::newRow("other key") << "Software\\Other"
                                   << "Software/Other";
        // A key that only starts like ours is another key.
        QTest::newRow("prefix only") << "Software\\Tavelmark\\QuorvaneX"
                                     << "Software/Tavelmark/QuorvaneX";
    }
    void keysMapToGroups() {
        QFETCH(QString, key);
        QFETCH(QString, group);
        QCOMPARE(CQtSettingsStore::GroupOfKey(key.toStdString()), group);
    }

    void valuesRoundTrip() {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("store.ini"), QSettings::IniFormat);
        CQtSettingsStore store(&settings);
        const std::string key = CQVNSettings::kStoreKey;
        QVERIFY(!store.KeyExists(key));
        // Writing needs the key.
        QVERIFY(!store.WriteString(key, "author", "1,120,1"));
        QVERIFY(store.CreateKey(key));
        QVERIFY(store.KeyExists(key));
        QVERIFY(store.WriteString(key, "author", "1,120,1"));
        QVERIFY(store.WriteString(key, "note",
                                  "Gr\xC3\xBC\xC3\x9F"
                                  "e"));
        QVERIFY(store.WriteDWord(key, "ShowIF", 4000000000u));
        store.Flush();

        QSettings reread(dir.filePath("store.ini"), QSettings::IniFormat);
        CQtSettingsStore other(&reread);
        QVERIFY(other.KeyExists(key));
        QCOMPARE(other.ReadString(key, "author"), std::optional<std::string>("1,120,1"));
        QCOMPARE(other.ReadString(key, "note"), std::optional<std::string>("Gr\xC3\xBC\xC3\x9F"
                                                                           "e"));
        QCOMPARE(other.ReadDWord(key, "ShowIF"), std::optional<std::uint32_t>(4000000000u));
        QCOMPARE(other.ReadString(key, "missing"), std::optional<std::string>());
        QCOMPARE(other.ReadDWord(key, "author"), std::optional<std::uint32_t>());
        QCOMPARE(reread.value("Appearance/author").toString(), QStringLiteral("1,120,1"));
    }

    void appearanceSettingsThroughTheStore() {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("appearance.ini"), QSettings::IniFormat);
        CQtSettingsStore store(&settings);
        CQVNSettings written;
        written.ClearColumns();
        written.AddColumn(kFieldYear);
        written.AddColumn(kFieldAuthor);
        written.SetFieldWidth(kFieldYear, 44);
        written.SetShowIgnoredFields(true);
        written.SetIgnoredFieldShown(kFieldNote, false);
        written.Save(store);

        CQVNSettings read;
        read.Load(store);
        // Only membership is kept: the columns come back in field order.
        QCOMPARE(read.GetColumnCount(), 2);
        QCOMPARE(read.GetColumnField(0), int(kFieldAuthor));
        QCOMPARE(read.GetColumnField(1), int(kFieldYear));
        QCOMPARE(read.GetColumnWidth(1), 44);
        QVERIFY(read.GetShowIgnoredFields());
        QVERIFY(!read.IsIgnoredFieldShown(kFieldNote));
        QVERIFY(read.IsIgnoredFieldShown(kFieldTitle));
    }

    void noKeyKeepsTheDefaults() {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("empty.ini"), QSettings::IniFormat);
        CQtSettingsStore store(&settings);
        CQVNSettings read;
        read.ClearColumns();
        read.Load(store);
        QCOMPARE(read.GetColumnCount(), 0);
        QVERIFY(!store.KeyExists(CQVNSettings::kStoreKey));
    }

    void filtersTranslate_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("BibTeX") << "BibTeX files (*.bib)|*.bib|All files (*.*)|*.*||"
                                << QStringList{"BibTeX files (*.bib)", "All files (*)"};
        QTest::newRow("project") << "Quorvane Project (*.qvp)|*.qvp||"
                                 << QStringList{"Quorvane Project (*.qvp)"};
        // The text need not name its patterns; several patterns use ";".
        QTest::newRow("log") << "BibTeX files (*.log)|*.log||"
                             << QStringList{"BibTeX files (*.log)"};
        QTest::newRow("several") << "TeX|*.tex;*.ltx||" << QStringList{"TeX (*.tex *.ltx)"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void filtersTranslate() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(CQtUserInterface::NameFilters(filter.toStdString()), expected);
    }

    void messageBoxes_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("title");
        QTest::newRow("ok") << int(MsgButtons::Ok) << int(MsgIcon::None) << ""
                            << int(QMessageBox::Ok) << int(MsgResult::Ok) << "Quorvane";
        QTest::newRow("yes no") << int(MsgButtons::YesNo) << int(MsgIcon::Question)
                                << "Import errors" << int(QMessageBox::No) << int(MsgResult::No)
                                << "Import errors";
        QTest::newRow("yes no cancel")
            << int(MsgButtons::YesNoCancel) << int(MsgIcon::Warning) << ""
            << int(QMessageBox::Cancel) << int(MsgResult::Cancel) << "Quorvane";
        QTest::newRow("ok cancel") << int(MsgButtons::OkCancel) << int(MsgIcon::Error) << "Err"
                                   << int(QMessageBox::Ok) << int(MsgResult::Ok) << "Err";
    }
    void messageBoxes() {
        QFETCH(int, buttons);
        QFETCH(int, icon);
        QFETCH(QString, caption);
        QFETCH(int, press);
        QFETCH(int, result);
        QFETCH(QString, title);
        CQtUserInterface ui;
        QString shownTitle;
        QString shownText;
        QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
        int buttonCount = 0;
        // Answer the box once it is shown.
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            shownTitle = box->windowTitle();
            shownText = box->text();
            shownIcon = box->icon();
            buttonCount = int(box->buttons().size());
            box->button(QMessageBox::StandardButton(press))->click();
        });
        const MsgResult answer = ui.MessageBox("Line one\nline two", caption.toStdString(),
                                               MsgIcon(icon), MsgButtons(buttons));
        QCOMPARE(int(answer), result);
        QCOMPARE(shownTitle, title);
        QCOMPARE(shownText, QStringLiteral("Line one\nline two"));
        const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                           QMessageBox::Warning, QMessageBox::Critical,
                                           QMessageBox::Question};
        QCOMPARE(shownIcon, icons[icon]);
        const int counts[] = {1, 2, 2, 3};
        QCOMPARE(buttonCount, counts[buttons]);
    }

    void hooksReplaceTheBoxes() {
        ScriptedDialogs dialogs;
        dialogs.answers.push_back(MsgResult::No);
        CQtUserInterface ui;
        QCOMPARE(ui.MessageBox("Save changes to x?", {}, MsgIcon::Warning, MsgButtons::YesNoCancel),
                 MsgResult::No);
        QCOMPARE(dialogs.Texts(), std::vector<std::string>{"Save changes to x?"});
    }

    void textConversionKeepsEveryByte_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QByteArray("Knuth") << QStringLiteral("Knuth");
        QTest::newRow("utf-8") << QByteArray("Sch\xC3\xBCtze")
                               << QString::fromUtf8("Sch\xC3\xBCtze");
        // Not UTF-8: read as Windows-1252 rather than dropped.
        QTest::newRow("latin-1 byte") << QByteArray("Gr\xFC\xDF"
                                                    "e")
                                      << QString::fromUtf8("Gr\xC3\xBC\xC3\x9F"
                                                           "e");
        QTest::newRow("cp1252 quote")
            << QByteArray("\x93quoted\x94") << QString::fromUtf8("\xE2\x80\x9Cquoted\xE2\x80\x9D");
        QTest::newRow("astral") << QByteArray("\xF0\x9D\x90\x80")
                                << QString::fromUtf8("\xF0\x9D\x90\x80");
    }
    void textConversionKeepsEveryByte() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(qvn::ToQString(std::string_view(bytes.constData(), std::size_t(bytes.size()))),
                 text);
    }

    void coreHeadersAfterQtHeaders() {
        // Qt's keyword macros must not rewrite the core's own names ("slots"
        // in the map's iterator once emptied it).
        qvn::OrderedMap<int> map;
        map.set("b", 2);
        map.set("a", 1);
        QStringList keys;
        for (const auto& [key, value] : map) {
            keys << QString::fromStdString(key) + QString::number(value);
        }
        QCOMPARE(keys, (QStringList{"b2", "a1"}));
    }

    void shellRefusesMissingFiles() {
        CQtShell shell;
        bool reported = false;
        const auto report = [&reported] { reported = true; };
        QVERIFY(!shell.Open("definitely-not-here/Manual.pdf", report));
        QVERIFY(!shell.Open("", report));
        // A failure at once is the caller's to report.
        QVERIFY(!reported);
    }

    void desktopOpenerExitStatusIsWatched_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("failed");
        QTest::newRow("opened") << 0 << false;
        QTest::newRow("no application") << 3 << true;
        QTest::newRow("action failed") << 4 << true;
    }
    void desktopOpenerExitStatusIsWatched() {
        QFETCH(int, status);
        QFETCH(bool, failed);
        // A stand-in xdg-open that records its argument and exits as told.
        QTemporaryDir bin;
        const QString script = bin.filePath(QStringLiteral("xdg-open"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\necho \"$1\" > \"%1/called\"\nexit %2\n")
                       .arg(bin.path())
                       .arg(status)
                       .toUtf8());
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8() + ':' + path);
        CQtShell shell;
        bool reported = false;
        const bool started =
            shell.Open("https://quorvane.invalid/", [&reported] { reported = true; });
        qputenv("PATH", path);
        QVERIFY(started);
        QTRY_VERIFY(QFile::exists(bin.filePath(QStringLiteral("called"))));
        QTRY_COMPARE(reported, failed);
        // Give a late report a chance to arrive when none is expected.
        QTest::qWait(100);
        QCOMPARE(reported, failed);
        QFile called(bin.filePath(QStringLiteral("called")));
        QVERIFY(called.open(QIODevice::ReadOnly));
        QCOMPARE(called.readAll(), QByteArray("https://quorvane.invalid/\n"));
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
