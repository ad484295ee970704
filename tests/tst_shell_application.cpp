#include "document/MapModule.h"
#include "shell/FileDialogFolder.h"
#include "shell/FileDialogWithFallback.h"
#include "shell/GridforgeApplication.h"
#include "shell/QtFileDialog.h"
#include "shell/QtMessageBox.h"
#include "shell/SystemFileDialog.h"
#include "support/FakeMessageBox.h"
#include "support/ModalAnswer.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QProxyStyle>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

// Runs under the program's own application object, started with the system
// language of the test environment (C.UTF-8), with its home and settings
// folders in an empty temporary folder.
class TestApplication : public QObject {
    Q_OBJECT
public:
    explicit TestApplication(const QString& home) : home_(home) {}

private slots:
    void initTestCase();
    void buttonsHaveNoIcons_data();
    void buttonsHaveNoIcons();
    void fileListInJapanese_data();
    void fileListInJapanese();
    void dialogsStartWhereTheMapIs_data();
    void dialogsStartWhereTheMapIs();
    void systemDialogFailing_data();
    void systemDialogFailing();
    void cleanupTestCase();

private:
    QStringList SharedQtSettings() const;

    QString home_;
    QTemporaryDir files_;
    QStringList homeEntries_;
    QStringList sharedSettings_;
};

// What Qt's programs share where Qt keeps them for the user, read there and
// not through the paths the program gives Qt's settings: the registry on
// Windows, QtProject.conf in the settings folder elsewhere. As "key=value"
// lines.
QStringList TestApplication::SharedQtSettings() const
{
#ifdef Q_OS_WIN
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "QtProject");
#else
    QSettings settings(home_ + "/QtProject.conf", QSettings::IniFormat);
#endif
    QStringList lines;
    for (const QString& key : settings.allKeys())
        lines << key + "=" + settings.value(key).toString();
    lines.sort();
    return lines;
}

namespace {
// What another Qt program left in the shared settings, among them a value
// where Qt's file dialog keeps its own.
const QStringList OtherProgramSettings{"FileDialog/lastVisited=file:///another/program", "Other/kept=yes"};

// The system's dialog that fails to appear or is cancelled, as scripted.
class ScriptedSystemDialog : public SystemFileDialog {
public:
    explicit ScriptedSystemDialog(long failure, int& shown) : failure_(failure), shown_(shown) {}
    Result Choose(bool) override
    {
        ++shown_;
        return {std::nullopt, failure_};
    }

private:
    long failure_;
    int& shown_;
};

// A style as desktops give it that want icons on dialog buttons.
class IconButtonsStyle : public QProxyStyle {
public:
    IconButtonsStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Qt's own file dialog is the one of Linux; on Windows the one shown where
// the system's fails, whose columns the test cannot measure there.
[[maybe_unused]] const char* const NoFontOnWindows =
    "Qt without a display under wine has no font: the columns' widths cannot be measured";

const QDateTime Modified(QDate(2026, 12, 8), QTime(9, 44, 5));

void WriteFile(const QString& path, int bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
    QVERIFY(file.flush());
    QVERIFY(file.setFileTime(Modified, QFileDevice::FileModificationTime));
}

// The texts of one row of the file list, found by name, once it has loaded.
QStringList RowTexts(QTreeView& list, const QString& name)
{
    QAbstractItemModel* model = list.model();
    QStringList texts;
    const bool loaded = QTest::qWaitFor([&] {
        const QModelIndexList hits = model->match(model->index(0, 0, list.rootIndex()), Qt::DisplayRole, name, 1,
                                                  Qt::MatchExactly);
        if (hits.isEmpty())
            return false;
        texts.clear();
        for (int column = 0; column < model->columnCount(list.rootIndex()); ++column)
            texts << hits.first().siblingAtColumn(column).data().toString();
        return !texts.value(2).isEmpty();
    });
    return loaded ? texts : QStringList();
}

// Columns whose text is wider than the column at the dialog's first size.
QStringList CutColumns(QTreeView& list)
{
    QStringList cut;
    QAbstractItemModel* model = list.model();
    for (int row = 0; row < model->rowCount(list.rootIndex()); ++row)
        for (int column = 1; column < model->columnCount(list.rootIndex()); ++column) {
            const QModelIndex index = model->index(row, column, list.rootIndex());
            if (list.sizeHintForIndex(index).width() > list.header()->sectionSize(column))
                cut << index.data().toString();
        }
    return cut;
}
}  // namespace

void TestApplication::initTestCase()
{
    // The application's style stands between the widgets and the desktop's.
    auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
    QVERIFY(style != nullptr);
    style->setBaseStyle(new IconButtonsStyle);
    QVERIFY(files_.isValid());
    QVERIFY(QDir(files_.path()).mkdir("サブフォルダ"));
    WriteFile(files_.filePath("地図.kxgf"), 332);
    QVERIFY(QDir::setCurrent(files_.path()));
    {
#ifdef Q_OS_WIN
        QSettings other(QSettings::NativeFormat, QSettings::UserScope, "QtProject");
#else
        QSettings other(home_ + "/QtProject.conf", QSettings::IniFormat);
#endif
        for (const QString& line : OtherProgramSettings)
            other.setValue(line.section('=', 0, 0), line.section('=', 1));
    }
    homeEntries_ = QDir(home_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    sharedSettings_ = SharedQtSettings();
    QCOMPARE(sharedSettings_, OtherProgramSettings);
}

void TestApplication::buttonsHaveNoIcons_data()
{
    QTest::addColumn<int>("dialog");
    QTest::newRow("message box Yes/No/Cancel") << 0;
    QTest::newRow("open dialog") << 1;
}

void TestApplication::buttonsHaveNoIcons()
{
    QFETCH(int, dialog);
    QWidget parent;
    QStringList withIcon;
    int buttons = 0;
    WhenModalShows(this, [&](QWidget* modal) {
        for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
            if (button->text().isEmpty())
                continue;  // tool buttons of the file dialog are pictures only
            ++buttons;
            if (!button->icon().isNull())
                withIcon << button->text();
        }
        qobject_cast<QDialog*>(modal)->reject();
    });
    if (dialog == 0)
        QtMessageBox(&parent).Show("変更されていますが終了しますか?", "終了", MessageButtons::YesNoCancel,
                                   MessageIcon::Question, MessageAnswer::Yes);
    else
        QtFileDialog(&parent).ChooseOpenPath();
    QVERIFY(buttons >= 2);
    QVERIFY2(withIcon.isEmpty(), qPrintable(withIcon.join(", ")));
}

void TestApplication::fileListInJapanese_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("map file size") << "地図.kxgf" << 1 << "332 バイト";
    QTest::newRow("map file type of its own") << "地図.kxgf" << 2 << "Gridforge マップ";
    QTest::newRow("map file date") << "地図.kxgf" << 3 << "2026/12/08 9:44";
    QTest::newRow("folder size") << "サブフォルダ" << 1 << "";
    QTest::newRow("folder type") << "サブフォルダ" << 2 << "フォルダ";
}

void TestApplication::fileListInJapanese()
{
    QFETCH(QString, name);
    QFETCH(int, column);
    QFETCH(QString, text);
#ifdef Q_OS_WIN
    QSKIP(NoFontOnWindows);
#endif
    QWidget parent;
    QStringList row;
    QStringList cut;
    WhenModalShows(this, [&](QWidget* modal) {
        auto* list = modal->findChild<QTreeView*>("treeView");
        if (list != nullptr) {
            // The folder's entries arrive from the file system model's own
            // thread, and the columns fit them when the event loop next turns.
            (void)QTest::qWaitFor([&] { return !RowTexts(*list, name).value(column).isEmpty() || text.isEmpty(); }, 2000);
            (void)QTest::qWaitFor([&] { return CutColumns(*list).isEmpty(); }, 2000);
            row = RowTexts(*list, name);
            cut = CutColumns(*list);
        }
        qobject_cast<QDialog*>(modal)->reject();
    });
    // The dialog starts in the folder of the map last opened or saved.
    MapModule::CurrentFileName = files_.filePath("地図.kxgf").toStdString();
    QtFileDialog(&parent).ChooseSavePath();
    MapModule::CurrentFileName.clear();
    QCOMPARE(row.value(column), text);
    QVERIFY2(cut.isEmpty(), qPrintable("cut off: " + cut.join(", ")));
}

void TestApplication::dialogsStartWhereTheMapIs_data()
{
    QTest::addColumn<QString>("mapFile");  // in the test's folder; empty: no map yet
    QTest::addColumn<bool>("documents");   // the user has a documents folder
    QTest::addColumn<QString>("start");    // "map", "documents" or "home"
    QTest::newRow("no map yet: the documents folder") << "" << true << "documents";
    QTest::newRow("no map yet, no documents folder: home") << "" << false << "home";
    QTest::newRow("the folder of the map last opened or saved") << "サブフォルダ/地図.kxgf" << true << "map";
    QTest::newRow("the map's folder is gone: the documents folder") << "消えた/地図.kxgf" << true << "documents";
}

// Both dialogs start there, never in the process's current folder (the test's
// folder, which holds the map folder).
void TestApplication::dialogsStartWhereTheMapIs()
{
    QFETCH(QString, mapFile);
    QFETCH(bool, documents);
    QFETCH(QString, start);
    const QString documentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
#ifdef Q_OS_WIN
    if (!documents)
        QSKIP("the documents folder of Windows is always there");
#endif
    const bool made = documents && !QFileInfo::exists(documentsFolder) && QDir().mkpath(documentsFolder);
    if (!documents)
        QVERIFY(!QFileInfo::exists(documentsFolder));
    MapModule::CurrentFileName = mapFile.isEmpty() ? std::string() : files_.filePath(mapFile).toStdString();
    const QString expected = start == "map"         ? QFileInfo(files_.filePath(mapFile)).absolutePath()
                             : start == "documents" ? documentsFolder
                                                    : QDir::homePath();
    QStringList seen;
    for (const bool save : {false, true}) {
        // (On Windows the system's dialog starts there too: wine_window.py.)
        QWidget parent;
        WhenModalShows(this, [&](QWidget* modal) {
            if (auto* dialog = qobject_cast<QFileDialog*>(modal))
                seen << dialog->directory().absolutePath();
            qobject_cast<QDialog*>(modal)->reject();
        });
        if (save)
            QtFileDialog(&parent).ChooseSavePath();
        else
            QtFileDialog(&parent).ChooseOpenPath();
    }
    MapModule::CurrentFileName.clear();
    if (made)
        QVERIFY(QDir(documentsFolder).removeRecursively());
    QCOMPARE(seen, QStringList({expected, expected}));
}

void TestApplication::systemDialogFailing_data()
{
    QTest::addColumn<long>("failure");      // 0: the user cancelled the system's dialog
    QTest::addColumn<int>("systemShown");   // of two commands
    QTest::addColumn<QStringList>("told");  // the messages
    QTest::addColumn<int>("qtShown");
    const long notRegistered = long(0x80040154ul);  // REGDB_E_CLASSNOTREG
    QTest::newRow("cancelled: nothing more") << 0L << 2 << QStringList() << 0;
    QTest::newRow("cannot be created: told once, then Qt's dialog each time")
        << notRegistered << 1
        << QStringList{"Windows のファイル ダイアログを表示できませんでした（エラー 0x80040154）。\n"
                       "代わりに Gridforge のファイル ダイアログを使います。"}
        << 2;
}

// When the system's dialog does not appear, the user is told and gets Qt's
// own dialog; a cancel is not a failure.
void TestApplication::systemDialogFailing()
{
    QFETCH(long, failure);
    QFETCH(int, systemShown);
    QFETCH(QStringList, told);
    QFETCH(int, qtShown);
    QWidget parent;
    FakeMessageBox messages;
    int shown = 0;
    FileDialogWithFallback dialogs(std::make_unique<ScriptedSystemDialog>(failure, shown),
                                   std::make_unique<QtFileDialog>(&parent), messages);
    QStringList qtDialogs;
    QObject watch;  // the watches that find no dialog end with it
    const auto rejectQtDialog = [&](QWidget* modal) {
        qtDialogs << modal->objectName();
        qobject_cast<QDialog*>(modal)->reject();
    };
    WhenModalShows(&watch, rejectQtDialog);
    QCOMPARE(dialogs.ChooseSavePath(), std::nullopt);
    WhenModalShows(&watch, rejectQtDialog);
    QCOMPARE(dialogs.ChooseOpenPath(), std::nullopt);

    QStringList texts;
    for (const FakeMessageBox::Call& call : messages.Calls())
        texts << QString::fromStdString(call.text);
    QCOMPARE(shown, systemShown);
    QCOMPARE(texts, told);
    QCOMPARE(int(qtDialogs.size()), qtShown);
    if (qtShown == 2)
        QCOMPARE(qtDialogs, QStringList({"SaveMapDialog", "OpenMapDialog"}));
}

void TestApplication::cleanupTestCase()
{
    // Nothing of the program or of Qt was written to the home folder, and
    // Qt's shared settings hold what another program had left there, no more.
    const QStringList left = QDir(home_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const QStringList settings = SharedQtSettings();
#ifdef Q_OS_WIN
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "QtProject").clear();
#endif
    QCOMPARE(left, homeEntries_);
    QCOMPARE(settings, sharedSettings_);
}

int main(int argc, char** argv)
{
    QTemporaryDir home;
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        qputenv(variable, home.path().toUtf8());
    GridforgeApplication app(argc, argv);
    TestApplication test(home.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shell_application.moc"
