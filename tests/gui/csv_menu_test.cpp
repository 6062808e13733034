// File > Export CHIRP CSV... / Import CHIRP CSV...: the commands run on a
// path (as after their dialogs) against the whole frame.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/MainWindow.h"
#include "editor/UndoHistory.h"
#include "editor/ChannelWindow.h"
#include "frame_fixture.h"
#include "gui_support.h"
#include "model/ChannelDefaults.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"

using namespace corvane;
using namespace corvane::guitest;

class CsvMenuTest : public FrameFixture {
    Q_OBJECT

private:
    void Open() { OpenFrame(kEditionPmrLpd); }
    QString Path(const char* name) const { return dir_->filePath(QString::fromLatin1(name)); }
    static void WriteText(const QString& path, const QByteArray& text) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    static QByteArray ReadText(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void menuTexts() {
        Open();
        QCOMPARE(Action("exportCsv").text(), QStringLiteral("Export CHIRP CSV..."));
        QCOMPARE(Action("importCsv").text(), QStringLiteral("Import CHIRP CSV..."));
    }

    void exportWritesThePresetPlanAndTellsTheSummary() {
        Open();
        QVERIFY(frame_->RunExportCsv(Path("out.csv")));
        const QList<QByteArray> lines = ReadText(Path("out.csv")).split('\n');
        QVERIFY(lines.at(0).startsWith("Location,Name,Frequency,Duplex,Offset,Tone,"));
        QVERIFY(lines.at(1).startsWith("1,CH-001,446.006250,,0.000000,"));
        QCOMPARE(messages_.texts.size(), 1);
        QVERIFY(messages_.Last().contains(QStringLiteral("77")));
    }

    void importSwitchesToCustomModeAndIsOneUndoStep() {
        Open();
        QVERIFY(Action("default").isChecked());
        WriteText(Path("in.csv"), "Location,Frequency,Duplex,Offset,Tone,cToneFreq,Mode\r\n"
                                  "3,433.200000,,0.000000,TSQL,100.0,FM\r\n"
                                  "4,999.000000,,0.000000,,88.5,FM\r\n");
        QVERIFY(frame_->RunImportCsv(Path("in.csv")));
        QCOMPARE(Ws().channelMode, kModeCustom);
        QVERIFY(Action("custom").isChecked());
        QCOMPARE(QString::fromStdString(Ws().channels.GetCell(3, ColRxFreq)), QStringLiteral("433.200000"));
        QCOMPARE(QString::fromStdString(Ws().channels.GetCell(3, ColCtcss)), QStringLiteral("[12] C100.0"));
        QCOMPARE(QString::fromStdString(Ws().channels.GetCell(1, ColRxFreq)), QString());
        // The skipped line is named in the one message.
        QCOMPARE(messages_.texts.size(), 1);
        QVERIFY(messages_.Last().contains(QStringLiteral("line 3")));

        UndoHistory& history = frame_->Editor().History();
        QCOMPARE(history.UndoName(), QStringLiteral("Import CHIRP CSV"));
        QVERIFY(history.Undo().ok());
        QCOMPARE(Ws().channelMode, kModeDefault);
        QVERIFY(Action("default").isChecked());
        QCOMPARE(QString::fromStdString(Ws().channels.GetCell(1, ColRxFreq)), QStringLiteral("446.006250"));
    }

    void unreadableFileChangesNothing() {
        Open();
        const std::string before = Ws().channels.GetCell(1, ColRxFreq);
        QVERIFY(!frame_->RunImportCsv(Path("missing.csv")));
        QCOMPARE(Ws().channels.GetCell(1, ColRxFreq), before);
        QCOMPARE(Ws().channelMode, kModeDefault);
        QCOMPARE(messages_.texts.size(), 1);
        QVERIFY(!frame_->Editor().History().CanUndo());
    }
};

QTEST_MAIN(CsvMenuTest)
#include "csv_menu_test.moc"
