// Port > Diagnose Connection... and File > Print Channel List... on the
// desktop: the doctor's window names each line of the shared table (the
// simulated radio on a pseudo-terminal in each fault mode), and the frame
// lets go of its port for the checks and takes it back after.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "forms/ConnectionDoctorWindow.h"
#include "frame_fixture.h"
#include "link/ConnectionDiagnosis.h"

using namespace corvane;
using namespace corvane::guitest;

namespace {

constexpr int kFindingWaitMs = 10000;
constexpr const char* kNoRadio = "none";

QString LabelText(const QWidget& window, const char* name) {
    const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("(no %1)").arg(QString::fromLatin1(name));
}

QString IdOf(Diagnosis diagnosis) {
    const std::string_view id = TextOf(diagnosis).id;
    return QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size()));
}

}  // namespace

class ConnectionDoctorTest : public FrameFixture {
    Q_OBJECT

private slots:
    void windowNamesEachLine_data() {
        QTest::addColumn<QStringList>("radioOptions");
        QTest::addColumn<QString>("expected");
        QFile table(QStringLiteral(CORVANE_TEST_DATA "/doctor_lines.tsv"));
        QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
        while (!table.atEnd()) {
            const QString line = QString::fromUtf8(table.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith(u'#')) continue;
            const QStringList fields = line.split(u'\t');
            QVERIFY(fields.size() == 3);
            QTest::newRow(qPrintable(fields[0])) << fields[1].split(u' ', Qt::SkipEmptyParts) << fields[2];
        }
    }

    void windowNamesEachLine() {
#ifndef CORVANE_SIM_PATH
        QSKIP("the radio simulator is not built");
#else
        QFETCH(QStringList, radioOptions);
        QFETCH(QString, expected);
        QTemporaryDir serial;
        QProcess radio;
        const bool attached = radioOptions != QStringList{QString::fromLatin1(kNoRadio)};
        if (attached) {
            radio.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            radio.start(QStringLiteral(CORVANE_SIM_PATH), QStringList{"--link", serial.filePath("ttyUSB0")} + radioOptions);
            QVERIFY(radio.waitForStarted());
            QVERIFY(QTest::qWaitFor([&serial] { return QFileInfo::exists(serial.filePath("ttyUSB0")); }, 5000));
        }
        int releases = 0;
        int reconnects = 0;
        // COM5 is ttyUSB0 in the serial folder; nothing is linked as ttyUSB1 (COM6).
        ConnectionDoctorWindow window(PortMap::WithSerialDir(serial.path().toStdString()), attached ? "5" : "6",
                                      {[&releases] { return ++releases > 0; }, [&reconnects] { ++reconnects; }});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.objectName(), QStringLiteral("frmDoctor"));
        QCOMPARE(window.findChild<QComboBox*>(QStringLiteral("cboPort"))->currentText(),
                 attached ? QStringLiteral("COM5  ") + serial.filePath("ttyUSB0")
                          : QStringLiteral("COM6  ") + serial.filePath("ttyUSB1") + QStringLiteral(" (not present)"));
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdDiagnose")), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&window] { return window.Finding().has_value(); }, kFindingWaitMs));
        const DoctorFinding finding = *window.Finding();
        QCOMPARE(IdOf(finding.diagnosis), expected);
        // The finding and its fix in the words every face shows.
        QCOMPARE(LabelText(window, "lblFinding"), QString::fromStdString(FindingLine(finding)));
        QCOMPARE(LabelText(window, "lblFix"), QStringLiteral("Fix: ") + QString::fromStdString(FixLine(finding)));
        // The link had let go of the port and has it again.
        QVERIFY(QTest::qWaitFor([&reconnects] { return reconnects == 1; }, 1000));
        QCOMPARE(releases, 1);
        window.close();
        QCOMPARE(reconnects, 1);
        radio.kill();
        radio.waitForFinished();
#endif
    }

    // The Port menu item hands the frame's port to the doctor and back; it
    // waits while a transfer holds the port.
    void portMenuRunsTheDoctorOnTheFramesPort() {
        OpenFrame(kEditionPmrLpd);
        sim_->AnswerConnection();
        QVERIFY(sim_->Link().engine.Connected());
        Action("diagnoseConnection").trigger();
        ConnectionDoctorWindow* window = frame_->ShownDoctorWindow();
        QVERIFY(window != nullptr && window->isVisible());
        QVERIFY(window->isModal());
        QVERIFY(window->findChild<QComboBox*>(QStringLiteral("cboPort"))->currentText().startsWith(QStringLiteral("COM5  ")));
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdDiagnose")), Qt::LeftButton);
        QVERIFY(!sim_->Link().port.IsOpen());
        QVERIFY(!sim_->Link().engine.Connected());
        // /sim/ttyUSB0 does not exist on this machine.
        QVERIFY(QTest::qWaitFor([window] { return window->Finding().has_value(); }, kFindingWaitMs));
        QCOMPARE(window->Finding()->diagnosis, Diagnosis::NoSuchDevice);
        const std::size_t opens = sim_->Link().port.opened.size();
        QVERIFY(QTest::qWaitFor([this, opens] { return sim_->Link().port.opened.size() > opens; }, 1000));
        QVERIFY(sim_->Link().port.IsOpen());
        window->close();
        QTRY_VERIFY(frame_->ShownDoctorWindow() == nullptr);

        sim_->RunFor(300);  // the connection request of the port taken back has gone out
        sim_->AnswerConnection();
        QVERIFY(sim_->Link().engine.Connected());
        sim_->Link().engine.RequestRead();
        sim_->RunFor(50);
        QVERIFY(sim_->Link().engine.PortInUse());
        QVERIFY(!Action("diagnoseConnection").isEnabled());
    }

    void fileMenuOpensThePrintDialog() {
        OpenFrame(kEditionPmrLpd);
        QString title;
        QTimer::singleShot(0, this, [&title] {
            QTRY_VERIFY(qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()) != nullptr);
            title = QApplication::activeModalWidget()->windowTitle();
            QApplication::activeModalWidget()->close();
        });
        Action("printChannelList").trigger();
        QCOMPARE(title, QStringLiteral("Print Channel List"));
        QVERIFY(messages_.texts.isEmpty());
    }
};

QTEST_MAIN(ConnectionDoctorTest)
#include "connection_doctor_test.moc"
