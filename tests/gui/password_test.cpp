// The access-code window: which codes choose which edition, the one attempt,
// and the configuration written before the main window opens.
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "app/AccessCodeDialog.h"
#include "gui_support.h"
#include "store/ConfigFiles.h"

using namespace corvane;
using namespace corvane::guitest;

class PasswordTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    Workspace ws_;
    RecordingMessages messages_;
    std::unique_ptr<AccessCodeStep> step_;
    std::unique_ptr<AccessCodeDialog> window_;

    void Open(int16_t storedEdition) {
        dir_ = std::make_unique<QTemporaryDir>();
        ws_ = Workspace{};
        ws_.programFolder = dir_->path().toStdString();
        if (storedEdition != 0) {
            ws_.edition = storedEdition;
            ws_.portName = "5";
            QVERIFY(SaveConfigFile(ws_).ok());
            ws_.edition = 0;
        }
        messages_.Clear();
        window_.reset();
        step_ = std::make_unique<AccessCodeStep>(ws_);
        window_ = std::make_unique<AccessCodeDialog>(*step_, messages_);
        window_->Prepare();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    QLineEdit& CodeBox() { return *window_->findChild<QLineEdit*>(QStringLiteral("Text1")); }
    int16_t StoredEdition() const {
        Workspace reread;
        reread.programFolder = ws_.programFolder;
        // The files are compared, not the load's report.
        (void)LoadConfigFile(reread);
        return reread.edition;
    }

private slots:
    void codesChooseEditions_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("edition");
        QTest::newRow("qzv") << "qzv" << int(kEditionPmrLpd);
        QTest::newRow("QZV") << "QZV" << int(kEditionPmrLpd);
        QTest::newRow("wbn") << "wbn" << int(kEditionKorea);
        QTest::newRow("WBN") << "WBN" << int(kEditionKorea);
    }
    void codesChooseEditions() {
        QFETCH(QString, code);
        QFETCH(int, edition);
        const int16_t other = edition == kEditionKorea ? kEditionPmrLpd : kEditionKorea;
        Open(other);
        QCOMPARE(ws_.previousEdition, other);
        QSignalSpy accepted(window_.get(), &AccessCodeDialog::codeAccepted);
        int16_t storedWhenAccepted = 0;
        connect(window_.get(), &AccessCodeDialog::codeAccepted, this, [&] { storedWhenAccepted = StoredEdition(); });
        QTest::keyClicks(&CodeBox(), code);
        QTest::keyClick(&CodeBox(), Qt::Key_Return);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(ws_.edition, edition);
        QCOMPARE(ws_.previousEdition, other);        // the editor compares the two
        QCOMPARE(int(storedWhenAccepted), edition);  // stored before the main window opens
        QVERIFY(!window_->isVisible());
        QVERIFY(messages_.texts.isEmpty());
    }

    void otherTextsEndTheProgram_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("mixed case") << "Qzv";
        QTest::newRow("leading blank") << " wbn";
        QTest::newRow("trailing blank") << "qzv ";
        QTest::newRow("unknown") << "abc";
    }
    void otherTextsEndTheProgram() {
        QFETCH(QString, code);
        Open(kEditionKorea);
        QSignalSpy accepted(window_.get(), &AccessCodeDialog::codeAccepted);
        QSignalSpy refused(window_.get(), &AccessCodeDialog::codeRefused);
        QTest::keyClicks(&CodeBox(), code);
        QTest::keyClick(&CodeBox(), Qt::Key_Return);
        QCOMPARE(messages_.texts, QStringList{"Invalid Password !!!!! "});
        QCOMPARE(refused.count(), 1);
        QCOMPARE(accepted.count(), 0);
        QVERIFY(!window_->isVisible());
        QCOMPARE(StoredEdition(), kEditionKorea);  // nothing written
    }

    void enterOnAnEmptyBoxKeepsTheWindow() {
        Open(kEditionKorea);
        QSignalSpy accepted(window_.get(), &AccessCodeDialog::codeAccepted);
        QSignalSpy refused(window_.get(), &AccessCodeDialog::codeRefused);
        QTest::keyClick(&CodeBox(), Qt::Key_Return);
        QVERIFY(window_->isVisible());
        QCOMPARE(accepted.count() + refused.count(), 0);
        QVERIFY(messages_.texts.isEmpty());
        QTest::keyClicks(&CodeBox(), QStringLiteral("wbn"));
        QTest::keyClick(&CodeBox(), Qt::Key_Enter);
        QCOMPARE(accepted.count(), 1);
    }

    void closingWithoutACodeIsAnEnd() {
        Open(kEditionKorea);
        QSignalSpy closed(window_.get(), &AccessCodeDialog::closedWithoutCode);
        QSignalSpy accepted(window_.get(), &AccessCodeDialog::codeAccepted);
        window_->close();
        QCOMPARE(closed.count(), 1);
        QTest::keyClicks(&CodeBox(), QStringLiteral("qzv"));
        window_->Text1_Enter();  // too late: the window is gone
        QCOMPARE(accepted.count(), 0);
    }

    void aMissingConfigurationIsWrittenFirst() {
        Open(0);
        QVERIFY(QFileInfo::exists(dir_->filePath("Port.txt")));
        QCOMPARE(ws_.edition, kEditionKorea);  // the fresh file names Korea
        QCOMPARE(ws_.previousEdition, kEditionKorea);
        QCOMPARE(window_->windowTitle(), QStringLiteral("Corvane Password"));
        QCOMPARE(CodeBox().echoMode(), QLineEdit::Password);
        QVERIFY(window_->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void editionForAccessCode() {
        QCOMPARE(EditionForAccessCode(QStringLiteral("qzv")), std::optional<int16_t>(kEditionPmrLpd));
        QCOMPARE(EditionForAccessCode(QStringLiteral("WBN")), std::optional<int16_t>(kEditionKorea));
        QVERIFY(!EditionForAccessCode(QStringLiteral("wBN")));
        QVERIFY(!EditionForAccessCode(QString()));
    }
};

QTEST_MAIN(PasswordTest)
#include "password_test.moc"
