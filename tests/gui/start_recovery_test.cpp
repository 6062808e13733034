// The start and what survives a run that did not end: a refused code writes
// nothing, a killed run's edit is taken back in as one step, a workbook of the
// other edition is one step, a damaged Group.txt is said by the group window.
//
// The killed run is this program itself, started again with --edit-then-wait:
// it opens the real program on a folder, makes one pick in the grid, says so,
// and waits for its SIGKILL.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "app/AppOptions.h"
#include "app/Application.h"
#include "app/CrashRecovery.h"
#include "app/MainWindow.h"
#include "editor/ChannelWindow.h"
#include "editor/FrozenColumnTableView.h"
#include "editor/UndoHistory.h"
#include "forms/GroupWindow.h"
#include "frame_fixture.h"
#include "gui_support.h"
#include "model/ChannelDefaults.h"
#include "store/RecoverySet.h"
#include "store/workbook/SpreadsheetExport.h"

using namespace corvane;
using namespace corvane::guitest;

namespace {

const char* const kChildOption = "--edit-then-wait";
constexpr int kPickRow = 3;
constexpr int kPickIndex = 12;  // a CTCSS tone other than none

AppOptions OptionsFor(const QString& folder, const char* code) {
    AppOptions options;
    options.folder = folder;
    options.accessCode = QString::fromLatin1(code);
    return options;
}

// Every file under folder and its bytes.
std::map<QString, QByteArray> FolderBytes(const QString& folder) {
    std::map<QString, QByteArray> bytes;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly)) bytes[file.fileName()] = file.readAll();
    }
    return bytes;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

QComboBox* OpenPicker(ChannelWindow& editor, int row, int col) {
    ClickCell(editor.Grid(), row, col);
    for (auto* combo : editor.Grid().parentWidget()->findChildren<QComboBox*>())
        if (combo->isVisible()) return combo;
    return nullptr;
}

// The killed run: the program on folder, one pick, then nothing but waiting.
int RunUntilKilled(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // Inside the folder the parent removes: this process never cleans up.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromLocal8Bit(argv[2]) + "/.settings");
    RecordingMessages messages;
    Application program(OptionsFor(QString::fromLocal8Bit(argv[2]), "qzv"), messages, LinkFactory{});
    program.Start();
    QElapsedTimer waited;
    waited.start();
    while (program.MainFrame() == nullptr && waited.elapsed() < 30000) QTest::qWait(10);
    if (program.MainFrame() == nullptr || !QTest::qWaitForWindowExposed(program.MainFrame())) return 2;
    QComboBox* picker = OpenPicker(program.MainFrame()->Editor(), kPickRow, ColCtcss);
    if (picker == nullptr) return 3;
    picker->setCurrentIndex(kPickIndex);
    emit picker->activated(kPickIndex);
    std::printf("edited %s\n", program.workspace().channels.GetCell(kPickRow, ColCtcss).c_str());
    std::fflush(stdout);
    return app.exec();
}

}  // namespace

class StartRecoveryTest : public FrameFixture {
    Q_OBJECT

private:
    QString Folder() const { return dir_->path(); }
    std::filesystem::path FolderPath() const { return dir_->path().toStdString(); }
    static void Exit(Application& program) {
        QSignalSpy finished(&program, &Application::finished);
        program.MainFrame()->RunCommand(Command::Exit);
        QTRY_COMPARE(finished.count(), 1);
    }

private slots:
    void aKilledRunsEditIsRecoveredAsOneStep() {
        IsolateUserSettings();
        dir_ = std::make_unique<QTemporaryDir>();
        QProcess killed;
        killed.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        killed.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildOption), Folder()});
        QVERIFY(killed.waitForStarted());
        QByteArray said;
        while (!said.contains('\n') && killed.waitForReadyRead(60000)) said += killed.readAll();
        QVERIFY2(said.startsWith("edited "), said.constData());
        const QString picked = QString::fromUtf8(said.mid(7).trimmed());
        killed.kill();  // SIGKILL: no save point runs
        QVERIFY(killed.waitForFinished());

        messages_.Clear();
        Application program(OptionsFor(Folder(), "qzv"), messages_, LinkFactory{});
        program.Start();
        QTRY_VERIFY(program.MainFrame() != nullptr);
        Workspace& ws = program.workspace();
        QVERIFY(Cell(ws, kPickRow) != picked);  // the working files never got the pick
        QCOMPARE(messages_.texts.size(), 1);    // said once, after the frame opened
        QVERIFY(messages_.Last().contains(QStringLiteral("File > Recover Unsaved Changes...")));
        QAction& recover = *program.MainFrame()->MenuAction(Command::RecoverUnsaved);
        QCOMPARE(recover.text(), QStringLiteral("Recover Unsaved Changes..."));
        QVERIFY(recover.isEnabled());

        recover.trigger();
        QCOMPARE(Cell(ws, kPickRow), picked);
        QVERIFY(!recover.isEnabled());
        UndoHistory& history = program.MainFrame()->Editor().History();
        QCOMPARE(history.StepCount(), 1);
        QCOMPARE(history.UndoName(), QStringLiteral("Recover unsaved changes"));
        QVERIFY(history.Undo().ok());
        QVERIFY(Cell(ws, kPickRow) != picked);
        QVERIFY(history.Redo().ok());
        Exit(program);
        QVERIFY(!std::filesystem::exists(RecoveryFolder(FolderPath())));

        // Ended through Exit: the next start finds the pick saved and nothing to recover.
        messages_.Clear();
        Application again(OptionsFor(Folder(), "qzv"), messages_, LinkFactory{});
        again.Start();
        QTRY_VERIFY(again.MainFrame() != nullptr);
        QCOMPARE(Cell(again.workspace(), kPickRow), picked);
        QVERIFY(messages_.texts.isEmpty());
        QVERIFY(!again.MainFrame()->MenuAction(Command::RecoverUnsaved)->isEnabled());
        Exit(again);
    }

    void aRefusedCodeWritesNothingAndTheAcceptedOneKeepsCopies() {
        IsolateUserSettings();
        dir_ = std::make_unique<QTemporaryDir>();
        const std::filesystem::path folder = FolderPath();
        WriteFile(folder / "Port.txt", "\r\n 2 \r\n 0 \r\n");
        WriteFile(folder / "Group.txt", " 0 \r\n");
        WriteFile(folder / "Tx_Freq.txt", "0\r\n446.006250\r\n");
        const auto before = FolderBytes(Folder());

        messages_.Clear();
        {
            Application refused(OptionsFor(Folder(), "Qzv"), messages_, LinkFactory{});
            QSignalSpy finished(&refused, &Application::finished);
            refused.Start();
            QTRY_COMPARE(finished.count(), 1);
        }
        QCOMPARE(messages_.texts, QStringList{"Invalid Password !!!!! "});
        QVERIFY(FolderBytes(Folder()) == before);
        QVERIFY(!std::filesystem::exists(folder / "Data"));

        messages_.Clear();
        Application accepted(OptionsFor(Folder(), "qzv"), messages_, LinkFactory{});
        accepted.Start();
        QTRY_VERIFY(accepted.MainFrame() != nullptr);
        QCOMPARE(messages_.texts.size(), 1);
        for (const char* named : {"Port.txt has no serial port on its first line", "Group.txt has only 1 of its 26 lines",
                                  "Tx_Freq.txt has only 2 of its 256 lines"}) {
            QVERIFY2(messages_.Last().contains(QLatin1String(named)), qPrintable(messages_.Last()));
        }
        // Port.txt's copy is the damaged one, kept before the code's edition was saved over it.
        QDirIterator copies(QString::fromStdString((folder / "Data" / "backups").string()), QStringList{QStringLiteral("Port.txt")}, QDir::Files,
                            QDirIterator::Subdirectories);
        QVERIFY(copies.hasNext());
        QFile copy(copies.next());
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), before.at(QString::fromStdString((folder / "Port.txt").string())));
        QCOMPARE(accepted.workspace().edition, kEditionPmrLpd);
        Exit(accepted);
    }

    void aWorkbookOfTheOtherEditionIsOneStepAndSaysWhatItReset() {
        OpenFrame(kEditionPmrLpd, kModeCustom);
        Workspace korea;
        korea.edition = kEditionKorea;
        ApplyRadioDefaults(korea.settings);
        korea.settings.Squelch = 2;
        FillDefaults(korea);
        const std::filesystem::path workbook = Ws().DataFolder() / "korea.xlsx";
        QVERIFY(ExportSpreadsheet(korea, workbook).ok());
        const uint8_t squelch = Ws().settings.Squelch;
        UndoHistory& history = frame_->Editor().History();
        const int steps = history.StepCount();

        QVERIFY(frame_->RunOpenWorkbook(QString::fromStdString(workbook.string())));
        QCOMPARE(history.StepCount(), steps + 1);
        QCOMPARE(history.UndoName(), QStringLiteral("Import spreadsheet"));
        QCOMPARE(Ws().channelMode, kModeDefault);
        QVERIFY(Action("default").isChecked());
        QCOMPARE(Cell(1, ColRxFreq), QStringLiteral("446.006250"));
        QCOMPARE(Ws().settings.Squelch, uint8_t{2});
        QCOMPARE(messages_.texts.size(), 1);
        QVERIFY(messages_.Last().contains(QStringLiteral("saved in the Korea edition")));
        QVERIFY(messages_.Last().contains(QStringLiteral("preset plan in Default mode and the group set-up was reset")));

        QVERIFY(history.Undo().ok());
        QCOMPARE(Ws().channelMode, kModeCustom);
        QVERIFY(Action("custom").isChecked());
        QCOMPARE(Cell(1, ColRxFreq), QString());
        QCOMPARE(Ws().settings.Squelch, squelch);
    }

    void theGroupWindowSaysADamagedGroupFile() {
        OpenFrame(kEditionPmrLpd, kModeCustom);
        std::string emptyLine13;
        for (int line = 1; line <= 12; ++line) emptyLine13 += " 0 \r\n";
        WriteFile(FolderPath() / "Group.txt", emptyLine13 + "\r\n");
        frame_->RunCommand(Command::Group);
        QVERIFY(frame_->ShownGroupWindow() != nullptr);
        QCOMPARE(messages_.texts.size(), 1);
        QVERIFY(messages_.Last().startsWith(QStringLiteral("Group.txt has an empty line 13, so it was reset")));
        QVERIFY(messages_.Last().contains(QString::fromStdString((FolderPath() / "Data" / "backups" / "damaged-").string())));
    }

private:
    static QString Cell(const Workspace& ws, int row) { return QString::fromStdString(ws.channels.GetCell(row, ColCtcss)); }
    using FrameFixture::Cell;
};

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == kChildOption) return RunUntilKilled(argc, argv);
    QApplication app(argc, argv);
    StartRecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "start_recovery_test.moc"
