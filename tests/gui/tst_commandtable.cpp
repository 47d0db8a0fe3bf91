// Every command of the program exists with its menu text, keys, prompt and
// place in the menus, exactly as users know them.
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "project/CommandIds.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include <memory>

namespace {

QStringList TextsOf(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* action : actions) {
        if (action->isSeparator()) {
            texts << QStringLiteral("-");
        } else if (action->menu() != nullptr) {
            texts << QStringLiteral("[") + action->text() + QStringLiteral("]");
        } else if (action->isVisible()) {
            texts << action->text();
        }
    }
    return texts;
}

QMenu* SubMenu(QMenu* menu, const QString& title) {
    for (QAction* action : menu->actions()) {
        if (action->menu() != nullptr && action->text() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

} // namespace

class TestCommandTable : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppSession> m_session;
    CQVNApp* m_app = nullptr;

    QMenu* TopMenu(const QString& title) {
        for (QAction* action : m_app->GetMainFrame()->menuBar()->actions()) {
            if (action->text() == title) {
                return action->menu();
            }
        }
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase() {
        m_session = std::make_unique<AppSession>();
        m_app = &m_session->app;
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
    }
    void cleanupTestCase() { m_session.reset(); }

    void commands_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("tip");
        const QStringList none;
        auto row = [](const char* name, int id, const char* text, QStringList keys,
                      const char* status, const char* tip) {
            QTest::newRow(name) << id << QString::fromLatin1(text) << keys
                                << QString::fromLatin1(status) << QString::fromLatin1(tip);
        };
        row("new project", 57600, "&Project...", none, "Create a new project", "New project");
        row("new BibTeX file", 32873, "BibTeX &file", none, "", "");
        row("new item", 32779, "&BibTex item\tCtrl+N", {"Ctrl+N"}, "Create a new BibTeX entry",
            "New BibTeX entry");
        row("open", 57601, "&Open...\tCtrl+O", {"Ctrl+O"}, "Open an existing document", "Open");
        row("save", 57603, "&Save\tCtrl+S", {"Ctrl+S"}, "Save the active document",
            "Save document");
        row("save as", 57604, "Save &As...", none, "Save the active document with a new name",
            "Save As");
        row("import", 32786, "&Open...\tCtrl+Shft+O", {"Ctrl+Shift+O"}, "Import BibTeX files",
            "Import BibTeX files");
        // The menu names Ctrl+Shft+S, the key is Ctrl+B.
        row("save all BibTeX", 32812, "&Save\tCtrl+Shft+S", {"Ctrl+B"},
            "Save all files in BibTeX format to the specified location", "Save all BibTeX files");
        row("BibTeX save as", 32787, "Save &As...", none, "", "");
        row("save selected BibTeX", 32809, "", {"Ctrl+Shift+S"},
            "Save the selected BibTeX file(s) in BibTeX format to the specified location",
            "Save selected BibTeX file(s)");
        row("print", 57607, "&Print...\tCtrl+P", {"Ctrl+P"}, "Print the active document", "Print");
        row("print preview", 57609, "Print Pre&view", none, "Display full pages", "Print Preview");
        row("print setup", 57606, "P&rint Setup...", none,
            "Change the printer and printing options", "Print Setup");
        row("recent file", 57616, "Recent File", none, "Open this document", "");
        row("exit", 57665, "E&xit", none, "Quit the application; prompts to save documents",
            "Exit");
        row("undo", 57643, "&Undo\tCtrl+Z", {"Ctrl+Z", "Alt+Backspace"}, "Undo the last action",
            "Undo");
        row("redo", 57644, "&Redo\tCtrl+Y", {"Ctrl+Y", "Ctrl+Shift+Z"},
            "Redo the last action undone", "Redo");
        row("cut", 57635, "Cu&t\tCtrl+X", {"Ctrl+X", "Shift+Del"},
            "Cut the selection and put it on the Clipboard", "Cut");
        row("copy", 57634, "&Copy\tCtrl+C", {"Ctrl+C", "Ctrl+Ins"},
            "Copy the selection and put it on the Clipboard", "Copy");
        row("paste", 57637, "&Paste\tCtrl+V", {"Ctrl+V", "Shift+Ins"}, "Insert Clipboard contents",
            "Paste");
        row("search", 32860, "&Search...\tCtrl+F", {"Ctrl+F"}, "", "");
        row("replace", 57641, "&Replace...\tCtrl+H", {"Ctrl+H"},
            "Replace specific text with different text", "Replace");
        row("select all", 57642, "Select &All\tCtrl+A", {"Ctrl+A"}, "Select the entire document",
            "Select All");
        row("invert selection", 32868, "&Invert selection", none, "", "");
        row("preview window", 32850, "&Preview Window", none, "Show or hide the Preview Window",
            "Toggle Preview Window");
        row("property window", 32882, "Property &Window", none, "Show or hide the Property Window",
            "Toggle Property Window");
        row("project toolbar", 59392, "&Project Toolbar", none, "Show or hide the toolbar",
            "Toggle ToolBar");
        row("BibTeX toolbar", 32856, "&BibTeX Toolbar", none, "Show or hide the searchbar",
            "Toggle BibTeX bar");
        row("search toolbar", 32842, "Se&arch Toolbar", none, "Show or hide the searchbar",
            "Toggle SearchBar");
        row("project explorer", 32887, "Project &Explorer", none,
            "Show or hide the Project Explorer", "Toggle Project Explorer");
        row("status bar", 59393, "&Status Bar", none, "Show or hide the status bar",
            "Toggle StatusBar");
        row("update", 32789, "&Update\tF5", {"F5"}, "", "");
        row("project settings", 32798, "&Project settings...", none, "Project settings",
            "Project settings");
        row("appearance", 32886, "&Appearance...", none, "", "");
        row("help topics", 57667, "&Help Topics", none, "List Help topics", "Help Topics");
        row("homepage", 32870, "Quorvane Home&page...", none, "", "");
        row("manual", 32880, "Quorvane &Manual...", none, "", "");
        row("about", 57664, "&About Quorvane...", none,
            "Display program information, version number and copyright", "About");
        row("large icons", 59409, "", none, "Display items by using large icons.", "Large Icons");
        row("small icons", 59408, "", none, "Display items by using small icons.", "Small Icons");
        row("list", 59410, "", none, "Displays items in a list.", "List");
        row("details", 59411, "", none,
            "Displays detailed information about each item in the window.", "Details");
        row("arrange icons", 59412, "", none, "Arranges icons in a grid.", "");
        row("sort ascending", 32884, "", none, "", "");
        row("sort descending", 32885, "", none, "", "");
        row("context help", 57669, "", {"Shift+F1"},
            "Display help for clicked on buttons, menus and windows", "Help");
        row("help", 57670, "", {"F1"}, "Display help for current task or command", "Help");
        row("default help", 57671, "", none, "", "");
        row("next pane", 57680, "", {"F6"}, "Switch to the next window pane", "Next Pane");
        row("previous pane", 57681, "", {"Shift+F6"}, "Switch back to the previous window pane",
            "Previous Pane");
    }
    void commands() {
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(QStringList, keys);
        QFETCH(QString, status);
        QFETCH(QString, tip);
        QAction* action = m_app->GetMainFrame()->GetAction(id);
        QVERIFY2(action != nullptr, "command missing");
        QCOMPARE(action->data().toInt(), id);
        if (!text.isEmpty()) {
            QCOMPARE(action->text(), text);
        }
        QStringList shortcuts;
        for (const QKeySequence& key : action->shortcuts()) {
            shortcuts << key.toString(QKeySequence::PortableText);
        }
        QCOMPARE(shortcuts, keys);
        QCOMPARE(action->statusTip(), status);
        if (!tip.isEmpty()) {
            QCOMPARE(action->toolTip(), tip);
        }
    }

    void fourRecentFileCommands() {
        for (int i = 0; i < 4; ++i) {
            QAction* action = m_app->GetMainFrame()->GetAction(ID_FILE_MRU_FILE1 + i);
            QVERIFY(action != nullptr);
            QCOMPARE(action->statusTip(), QStringLiteral("Open this document"));
        }
        QVERIFY(m_app->GetMainFrame()->GetAction(ID_FILE_MRU_FILE1 + 4) == nullptr);
    }

    void noKeyIsBoundTwice() {
        QMap<QString, int> owners;
        for (const CommandInfo& info : CommandTable()) {
            QAction* action = m_app->GetMainFrame()->GetAction(info.id);
            for (const QKeySequence& key : action->shortcuts()) {
                const QString name = key.toString(QKeySequence::PortableText);
                QVERIFY2(!owners.contains(name), qPrintable(name));
                owners[name] = info.id;
            }
        }
    }

    void menus_data() {
        QTest::addColumn<QStringList>("path");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("bar") << QStringList{}
                             << QStringList{"&File", "&Edit", "&View", "E&xtras", "&Help"};
        QTest::newRow("File") << QStringList{"&File"}
                              << QStringList{"[&New...]",
                                             "&Open...\tCtrl+O",
                                             "&Save\tCtrl+S",
                                             "Save &As...",
                                             "-",
                                             "[&BibTeX format]",
                                             "-",
                                             "&Print...\tCtrl+P",
                                             "Print Pre&view",
                                             "P&rint Setup...",
                                             "-",
                                             "Recent File",
                                             "-",
                                             "E&xit"};
        QTest::newRow("File > New")
            << QStringList{"&File", "&New..."}
            << QStringList{"&Project...", "BibTeX &file", "&BibTex item\tCtrl+N"};
        QTest::newRow("File > BibTeX format")
            << QStringList{"&File", "&BibTeX format"}
            << QStringList{"&Open...\tCtrl+Shft+O", "&Save\tCtrl+Shft+S", "Save &As..."};
        QTest::newRow("Edit") << QStringList{"&Edit"}
                              << QStringList{"&Undo\tCtrl+Z",
                                             "&Redo\tCtrl+Y",
                                             "-",
                                             "Cu&t\tCtrl+X",
                                             "&Copy\tCtrl+C",
                                             "&Paste\tCtrl+V",
                                             "-",
                                             "&Search...\tCtrl+F",
                                             "&Replace...\tCtrl+H",
                                             "-",
                                             "Select &All\tCtrl+A",
                                             "&Invert selection"};
        QTest::newRow("View") << QStringList{"&View"}
                              << QStringList{"[&Windows]",  "[&Toolbars]", "Project &Explorer",
                                             "&Status Bar", "-",           "&Update\tF5"};
        QTest::newRow("View > Windows") << QStringList{"&View", "&Windows"}
                                        << QStringList{"&Preview Window", "Property &Window"};
        QTest::newRow("View > Toolbars")
            << QStringList{"&View", "&Toolbars"}
            << QStringList{"&Project Toolbar", "&BibTeX Toolbar", "Se&arch Toolbar"};
        QTest::newRow("Extras") << QStringList{"E&xtras"}
                                << QStringList{"&Project settings...", "&Appearance..."};
        QTest::newRow("Help") << QStringList{"&Help"}
                              << QStringList{"&Help Topics",        "-", "Quorvane Home&page...",
                                             "Quorvane &Manual...", "-", "&About Quorvane..."};
    }
    void menus() {
        QFETCH(QStringList, path);
        QFETCH(QStringList, items);
        if (path.isEmpty()) {
            QStringList titles;
            for (QAction* action : m_app->GetMainFrame()->menuBar()->actions()) {
                titles << action->text();
            }
            QCOMPARE(titles, items);
            return;
        }
        QMenu* menu = TopMenu(path.first());
        for (int i = 1; i < path.size() && menu != nullptr; ++i) {
            menu = SubMenu(menu, path[i]);
        }
        QVERIFY(menu != nullptr);
        QCOMPARE(TextsOf(menu->actions()), items);
    }

    void toolbarButtons_data() {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("standard") << "standardBar"
                                  << QList<int>{57600, 57601, 57603, 0,     57635, 57634, 57637,
                                                0,     57607, 0,     59409, 59408, 59410, 59411,
                                                0,     32884, 32885, 0,     57664, 57669};
        QTest::newRow("BibTeX") << "bibtexBar" << QList<int>{32779, 32791, 0,     32786, 32812, 0,
                                                             32887, 32882, 32850, 0,     32798};
    }
    void toolbarButtons() {
        QFETCH(QString, bar);
        QFETCH(QList<int>, ids);
        auto* toolbar = m_app->GetMainFrame()->findChild<QToolBar*>(bar);
        QVERIFY(toolbar != nullptr);
        QList<int> shown;
        for (QAction* action : toolbar->actions()) {
            shown << (action->isSeparator() ? 0 : action->data().toInt());
            if (!action->isSeparator()) {
                QVERIFY(!action->icon().isNull());
            }
        }
        QCOMPARE(shown, ids);
    }
};

QTEST_MAIN(TestCommandTable)
#include "tst_commandtable.moc"
