// The program's own link (QSerialPort, real timers) against the simulated
// radio on a pseudo-terminal: connect at start-up, then a whole read.
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QProcess>
#include <QtTest>

#include "app/MDIForm1.h"
#include "app/MessageBoxes.h"
#include "app/ProgramLink.h"
#include "editor/frmRadioMain.h"
#include "gui_support.h"
#include "store/ConfigFiles.h"

using namespace corvane;
using namespace corvane::guitest;

class RadioLinkTest : public QObject {
    Q_OBJECT

private slots:
    void readFromTheSimulatedRadio() {
#ifndef CORVANE_SIM_PATH
        QSKIP("the radio simulator is not built");
#else
        QTemporaryDir serial;
        QTemporaryDir folder;
        QProcess radio;
        radio.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A fast burst keeps the read short; the pacing is the simulator's business.
        radio.start(QStringLiteral(CORVANE_SIM_PATH),
                    {"--link", serial.filePath("ttyUSB0"), "--byte-time-us", "200"});
        QVERIFY(radio.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(serial.filePath("ttyUSB0")), 5000);

        Workspace ws;
        ws.programFolder = folder.path().toStdString();
        ws.edition = ws.previousEdition = kEditionPmrLpd;
        ws.portName = "5";
        QVERIFY(SaveConfigFile(ws).ok());
        RecordingMessages messages;
        {
            MDIForm1 frame(ws, messages, MakeProgramLinkFactory(serial.path().toStdString()));
            frame.MDIForm_Load();
            frame.show();
            QLabel& label = frame.Editor().StatusLabel();
            QTRY_COMPARE_WITH_TIMEOUT(label.text(), QStringLiteral("(COM5)  Connected ..."), 5000);

            ws.channels.SetCell(1, ColRxFreq, "");
            frame.Toolbar1_ButtonClick(QStringLiteral("upload"));
            QTRY_VERIFY_WITH_TIMEOUT(messages.texts.contains(QStringLiteral("UPLOAD COMPLETE")), 15000);
            QCOMPARE(messages.texts, QStringList{"UPLOAD COMPLETE"});
            QVERIFY(!ws.channels.GetCell(1, ColRxFreq).empty());  // the radio's channel 1
            QVERIFY(frame.ToolbarAction(QStringLiteral("nFile"))->isEnabled());
        }
        radio.terminate();
        QVERIFY(radio.waitForFinished(5000));
#endif
    }

    // The one place a real box appears: title, text, icon, a single OK.
    void messageBoxesAreModalWithOneOk() {
        MessageBoxes boxes;
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = static_cast<int>(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
        });
        boxes.Show(nullptr, QStringLiteral("DOWNLOAD COMPLETE"), MessageIcon::Exclamation);
        QCOMPARE(title, QStringLiteral("Corvane PC Programmer"));
        QCOMPARE(text, QStringLiteral("DOWNLOAD COMPLETE"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, 1);
    }
};

QTEST_MAIN(RadioLinkTest)
#include "tst_radio_link.moc"
