// The settings window: loading, storing, key check, edition rules and the
// band plan it writes into the channel table when it closes.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "forms/SettingsWindow.h"
#include "image/MemoryImage.h"
#include "model/ChannelTable.h"
#include "model/Frequency.h"
#include "model/NumberParse.h"
#include "store/ConfigFiles.h"

using namespace corvane;

class SettingsWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    Workspace ws_;
    QStringList messages_;
    QWidget frame_;
    QPointer<SettingsWindow> window_;

    void Open() {
        window_ = new SettingsWindow(ws_, [this](const QString& text) { messages_ << text; }, &frame_);
        window_->show();
    }
    template <typename T>
    T* Find(const char* name) {
        T* widget = window_->findChild<T*>(name);
        if (!widget) qFatal("missing control %s", name);
        return widget;
    }
    QComboBox* List(int number) { return Find<QComboBox>(qPrintable(QStringLiteral("Combo%1").arg(number))); }
    QCheckBox* Box(int number) { return Find<QCheckBox>(qPrintable(QStringLiteral("Check%1").arg(number))); }
    void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
    void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    QString ConfigPath() const { return dir_.filePath("Port.txt"); }
    QByteArray ConfigBytes() const {
        QFile file(ConfigPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString Cell(int row, int col) const { return QString::fromStdString(ws_.channels.GetCell(row, col)); }
    static QString Preset(int index) {
        return QString::fromStdString(FormatFrequency(LenientNumber(PmrLpdPreset(index))));
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        QFile::remove(ConfigPath());
        ws_ = Workspace{};
        ws_.programFolder = dir_.path().toStdString();
        ws_.portName = "5";
        ws_.edition = kEditionPmrLpd;
        ws_.channelMode = kModeDefault;
        ws_.settings.BandSelect = 7;  // leaves the table alone on close unless a test picks a band
        messages_.clear();
        frame_.show();
    }
    void cleanup() {
        if (window_) window_->close();
        FlushDeletes();
    }

    void showsDefaultsWithExactTexts() {
        ws_.settings.BandSelect = kBandPmrLpd;
        Open();
        QCOMPARE(window_->windowTitle(), QString("Corvane PC Programmer Setup"));
        QCOMPARE(window_->objectName(), QString("frmSetup"));
        const QStringList expected{"OFF", "OFF", "OFF", "100 mS", "1.0 Sec", "50 ms", "50 ms", "500 ms",
                                   "300 ms", "350 ms", "5 Sec", "1 Sec", "SQUELCH", "MENU_FUN", "DOWN", "UP",
                                   "Off", "Auto", "5 Sec.", "ON", "1", "Auto"};
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(List(i + 1)->currentText(), expected[i]);
            QVERIFY(!List(i + 1)->isEditable());
        }
        QVERIFY(Find<QRadioButton>("Option3")->isChecked());
        QCOMPARE(Find<QRadioButton>("Option3")->text(), QString("PMR + LPD"));
        QCOMPARE(Find<QLineEdit>("Text1")->text(), QString("12345"));
        QCOMPARE(Find<QLineEdit>("Text2")->text(), QString("AA"));
        QVERIFY(!Find<QLineEdit>("Text3")->isEnabled());
        QVERIFY(Find<QLineEdit>("Text3")->text().isEmpty());
        const QStringList captions{"Tone", "Power", "DTMF", "Compandor", "Scrambler", "Vox", "Scan On/Off",
                                   "Scan Ch Memory", "Squelch", "Roger", "Beep", "Call Tone", "Bluetooth",
                                   "Dual Watch", "BCLO", "Power Control"};
        for (int i = 0; i < captions.size(); ++i) {
            QCOMPARE(Box(i + 1)->text(), captions[i]);
            const bool ticked = i < 6 || (i >= 8 && i < 15);
            QCOMPARE(Box(i + 1)->isChecked(), ticked);
        }
        QVERIFY(Box(16)->isEnabled());
        QCOMPARE(Find<QPushButton>("Command3")->text(), QString("DEBUG"));
    }

    void mainFrameHiddenWhileOpenAndShownOnClose() {
        Open();
        QVERIFY(!frame_.isVisible());
        Click("Command4");
        QVERIFY(frame_.isVisible());
        FlushDeletes();
        QVERIFY(window_.isNull());
    }

    void refusesKeysThatDoNotAddUpToSix() {
        ws_.settings.PriChannel = "12";
        Open();
        List(13)->setCurrentIndex(2);
        List(14)->setCurrentIndex(2);
        List(15)->setCurrentIndex(1);
        List(16)->setCurrentIndex(2);
        List(1)->setCurrentIndex(3);
        Click("Command1");
        QCOMPARE(messages_, QStringList{"Key Define Error !!!"});
        QVERIFY(window_ && window_->isVisible());
        QCOMPARE(List(13)->currentText(), QString("SQUELCH"));
        QCOMPARE(List(14)->currentText(), QString("MENU_FUN"));
        QCOMPARE(List(15)->currentText(), QString("DOWN"));
        QCOMPARE(List(16)->currentText(), QString("UP"));
        QCOMPARE(int(ws_.settings.KeyP1Side), 0);
        QCOMPARE(int(ws_.settings.KeyP4Right), 3);
        QCOMPARE(int(ws_.settings.TotalTime), 3);  // other values stay in memory
        QVERIFY(!QFile::exists(ConfigPath()));   // but are not written
        // The PRI Channel box stays disabled and empty; the record takes "0".
        auto* pri = Find<QLineEdit>("Text3");
        QVERIFY(!pri->isEnabled());
        QCOMPARE(pri->text(), QString());
        QCOMPARE(QString::fromStdString(ws_.settings.PriChannel), QString("0"));
        Click("Command4");
        QCOMPARE(int(ws_.settings.TotalTime), 3);
        QVERIFY(!QFile::exists(ConfigPath()));
    }

    void acceptsAnyKeysAddingUpToSix() {
        Open();
        List(13)->setCurrentIndex(0);
        List(14)->setCurrentIndex(2);
        List(15)->setCurrentIndex(2);
        List(16)->setCurrentIndex(2);
        Click("Command1");
        QVERIFY(messages_.isEmpty());
        QVERIFY(QFile::exists(ConfigPath()));
        QCOMPARE(int(ws_.settings.KeyP2Left), 2);
        QCOMPARE(int(ws_.settings.KeyP4Right), 2);
        FlushDeletes();
        QVERIFY(window_.isNull());
        QVERIFY(frame_.isVisible());
    }

    void clampsFourFieldsAndKeepsOtherUnshowableIndexes() {
        ws_.settings.Bclo = 5;
        ws_.settings.CallTone = 6;
        ws_.settings.TotalTime = 20;  // not clamped: shown as no selection
        ws_.settings.SpareSetting3 = 9;
        Open();
        QCOMPARE(List(17)->currentText(), QString("Off"));
        QCOMPARE(List(21)->currentText(), QString("OFF"));
        QCOMPARE(List(1)->currentIndex(), -1);
        Click("Command1");
        QCOMPARE(int(ws_.settings.Bclo), 0);
        QCOMPARE(int(ws_.settings.CallTone), 0);
        QCOMPARE(int(ws_.settings.TotalTime), 20);
        QCOMPARE(int(ws_.settings.SpareSetting3), 9);
    }

    void showsLastBcloItem() {
        ws_.settings.Bclo = 3;
        Open();
        QCOMPARE(List(17)->currentText(), QString("DT On"));
    }

    void storesTextsAndFlags() {
        Open();
        auto* name = Find<QLineEdit>("Text2");
        name->clear();
        QTest::keyClicks(name, "a1b");
        QCOMPARE(name->text(), QString("ab"));
        Find<QLineEdit>("Text1")->setText("98765");
        Box(1)->setChecked(false);
        Box(7)->setChecked(true);
        Box(15)->setChecked(false);
        Box(16)->setChecked(true);
        Click("Command1");
        QCOMPARE(QString::fromStdString(ws_.settings.NameId), QString("AB"));
        QCOMPARE(QString::fromStdString(ws_.settings.DtmfId), QString("98765"));
        QCOMPARE(QString::fromStdString(ws_.settings.PriChannel), QString("0"));
        QCOMPARE(int(ws_.settings.FunctionFlags1), 0x3E | 0x40);
        QCOMPARE(int(ws_.settings.FunctionFlags2), 0x3F);
        QCOMPARE(int(ws_.settings.PowerControl), 1);
    }

    // Typed one character at a time, as a keyboard layout delivers it.
    static void TypeText(QLineEdit* box, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
        }
    }

    void textBoxesTakeOnlyWhatPortTxtAndTheRadioHold() {
        Open();
        auto* name = Find<QLineEdit>("Text2");
        auto* dtmf = Find<QLineEdit>("Text1");
        name->clear();
        // "!" is below the radio's alphabet, the CJK character outside Windows-1252.
        TypeText(name, QString::fromUtf8("!\u4E2D\u00DF7\u00FFx"));
        QCOMPARE(name->text(), QString::fromUtf8("\u00DF\u00FF"));
        dtmf->clear();
        TypeText(dtmf, QString::fromUtf8("1\u20AC\u4E2D2"));
        QCOMPARE(dtmf->text(), QString::fromUtf8("1\u20AC2"));
        Click("Command1");
        // Upper-cased one character for one: "ß" stays, "ÿ" becomes "Ÿ".
        QCOMPARE(QString::fromStdString(ws_.settings.NameId), QString::fromUtf8("\u00DF\u0178"));
        QVERIFY(BuildImage(ws_).ok());
        const QList<QByteArray> lines = ConfigBytes().split('\n');
        QCOMPARE(lines.value(31), QByteArray("1\x80" "2\r"));
        QCOMPARE(lines.value(32), QByteArray("\xDF\x9F\r"));
    }

    void koreaForcesBandAndPowerControl() {
        ws_.edition = kEditionKorea;
        ws_.settings.BandSelect = kBandPmr;
        ws_.settings.PowerControl = 1;
        ws_.channels.SetCell(1, ColRxFreq, "423.187500");
        Open();
        QCOMPARE(int(ws_.settings.BandSelect), int(kBandPmrLpd));
        QVERIFY(QFile::exists(ConfigPath()));
        QVERIFY(!Find<QGroupBox>("Frame1")->isEnabled());
        QVERIFY(!Box(16)->isEnabled());
        QVERIFY(!Box(16)->isChecked());
        Click("Command1");
        QCOMPARE(int(ws_.settings.PowerControl), 0);
        QCOMPARE(int(ws_.settings.BandSelect), int(kBandPmrLpd));
        QCOMPARE(Cell(1, ColRxFreq), QString("423.187500"));  // no band plan outside PMR + LPD
    }

    void customModeForcesBand() {
        ws_.channelMode = kModeCustom;
        ws_.settings.BandSelect = kBandLpd;
        Open();
        QCOMPARE(int(ws_.settings.BandSelect), int(kBandPmrLpd));
        QVERIFY(!Find<QGroupBox>("Frame1")->isEnabled());
        QVERIFY(!Find<QRadioButton>("Option2")->isEnabled());
        Click("Command1");
        QCOMPARE(int(ws_.settings.BandSelect), int(kBandPmrLpd));
        QVERIFY(Cell(1, ColRxFreq).isEmpty());
    }

    void pmrPlanOnOk() {
        ws_.settings.BandSelect = kBandPmrLpd;
        ws_.channels.SetCell(1, ColPower, "Low");
        ws_.channels.SetCell(200, ColRxFreq, "430.000000");
        Open();
        Find<QRadioButton>("Option1")->setChecked(true);
        Click("Command1");
        QCOMPARE(int(ws_.settings.BandSelect), int(kBandPmr));
        QCOMPARE(Cell(1, ColRxFreq), QString("446.006250"));
        QCOMPARE(Cell(8, ColTxFreq), QString("446.093750"));
        QCOMPARE(Cell(8, ColBand), QString("Narrow"));
        QVERIFY(Cell(9, ColRxFreq).isEmpty());
        QVERIFY(Cell(200, ColRxFreq).isEmpty());
        QCOMPARE(Cell(255, ColBand), QString("Wide"));
        QCOMPARE(Cell(1, ColPower), QString("Low"));
    }

    void lpdPlanOnOk() {
        ws_.settings.BandSelect = kBandPmrLpd;
        Open();
        Find<QRadioButton>("Option2")->setChecked(true);
        Click("Command1");
        QCOMPARE(Cell(1, ColRxFreq), QString("433.075000"));
        QCOMPARE(Cell(69, ColTxFreq), Preset(77));
        QVERIFY(!Preset(77).isEmpty());
        QVERIFY(Cell(70, ColRxFreq).isEmpty());
        QCOMPARE(Cell(1, ColBand), QString("Wide"));
        QCOMPARE(Cell(255, ColBand), QString("Wide"));
    }

    void pmrLpdPlanOnExitUsesStoredChoice() {
        ws_.settings.BandSelect = kBandPmrLpd;
        ws_.channels.SetCell(78, ColBand, "Narrow");
        ws_.channels.SetCell(100, ColRxFreq, "430.000000");
        Open();
        Find<QRadioButton>("Option1")->setChecked(true);  // not stored by Exit
        Click("Command4");
        QCOMPARE(Cell(9, ColRxFreq), Preset(9));
        QCOMPARE(Cell(77, ColRxFreq), Preset(77));
        QCOMPARE(Cell(8, ColBand), QString("Narrow"));
        QCOMPARE(Cell(9, ColBand), QString("Wide"));
        QCOMPARE(Cell(78, ColBand), QString("Narrow"));
        QVERIFY(Cell(100, ColRxFreq).isEmpty());
        QCOMPARE(Cell(255, ColPower), QString("High"));
    }

    void resetTwiceEqualsOnce() {
        ws_.settings.SpareSetting1 = 4;
        Open();
        List(3)->setCurrentIndex(2);
        Box(2)->setChecked(false);
        Find<QLineEdit>("Text2")->setText("ZZ");
        Click("Command2");
        const SettingsRecord once = ws_.settings;
        const QByteArray fileOnce = ConfigBytes();
        QStringList shown;
        for (int i = 1; i <= 22; ++i) shown << List(i)->currentText();
        for (int i = 1; i <= 16; ++i) shown << QString::number(Box(i)->isChecked());
        shown << Find<QLineEdit>("Text2")->text() << Find<QLineEdit>("Text1")->text();
        Click("Command2");
        QStringList shownAgain;
        for (int i = 1; i <= 22; ++i) shownAgain << List(i)->currentText();
        for (int i = 1; i <= 16; ++i) shownAgain << QString::number(Box(i)->isChecked());
        shownAgain << Find<QLineEdit>("Text2")->text() << Find<QLineEdit>("Text1")->text();
        QCOMPARE(shownAgain, shown);
        QVERIFY(ws_.settings == once);
        QCOMPARE(ConfigBytes(), fileOnce);
        QCOMPARE(List(3)->currentText(), QString("OFF"));
        QCOMPARE(Find<QLineEdit>("Text2")->text(), QString("AA"));
        QVERIFY(window_->isVisible());
    }

    void pinning() {
        Open();
        window_->AllwaysOntop();
        QVERIFY(window_->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(window_->isVisible());
        window_->NoAllwaysOnTop();
        QVERIFY(!(window_->windowFlags() & Qt::WindowStaysOnTopHint));
    }
};

QTEST_MAIN(SettingsWindowTest)
#include "setup_test.moc"
