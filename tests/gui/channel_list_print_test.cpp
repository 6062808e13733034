// The printed channel list as the desktop paints it: a PDF of a known set,
// read back with pdftotext, has the core's pages with the expected rows, the
// header on every page and the settings on the first.
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "forms/ChannelListPrinter.h"
#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "model/ToneTable.h"
#include "model/Workspace.h"

using namespace corvane;

namespace {

// All 255 channels with a frequency; tones, switches and groups vary.
Workspace KnownSet(const std::string& nameId) {
    Workspace ws;
    ws.edition = kEditionKorea;
    ResetToEditionDefaults(ws);
    ws.channelMode = kModeCustom;
    for (int c = 1; c <= kChannelCount; ++c) {
        const double rx = 420.0 + c * 0.1;
        ws.channels.SetFrequencyCell(rx, c, ColRxFreq);
        ws.channels.SetFrequencyCell(c % 7 == 0 ? rx + 2.5 : rx, c, ColTxFreq);
        if (c % 2 == 1) ws.channels.SetCell(c, ColCtcss, CtcssLabel(c % 74));
        if (c % 2 == 0) ws.channels.SetCell(c, ColDcs, DcsLabel(c % 209, ws.edition));
        ws.channels.SetCell(c, ColPower, std::string(c % 3 == 0 ? kLow : kHigh));
    }
    ws.groups.GroupSize = {3, 0, 2, 0, 0, 0, 0, 0, 0, 0};
    ws.groups.GroupsEnabled = 2;
    FillGroupColumn(ws.groups, ws.channels);
    ws.settings.NameId = nameId;
    ws.settings.DtmfId = "90817";
    ws.settings.Squelch = 4;
    return ws;
}

QString Squeezed(const QString& text) { return text.simplified(); }

QStringList ChannelLabels(const QString& text) {
    static const QRegularExpression label(QStringLiteral("\\[CH-\\d{3}\\]"));
    QStringList labels;
    for (auto it = label.globalMatch(text); it.hasNext();) labels << it.next().captured();
    labels.sort();
    return labels;
}

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class ChannelListPrintTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        for (const char* tool : {"pdftotext", "pdfinfo"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QFAIL(qPrintable(QStringLiteral("%1 is missing (poppler-utils; ./scripts/deps.sh)").arg(tool)));
        }
    }

    void pdfHasThePagesAndRows_data() {
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("layout");
        QTest::addColumn<QString>("nameId");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("pageSize");
        QTest::newRow("A4") << int(Paper::A4) << int(SheetLayout::Table) << "KZ" << 6 << "(A4)";
        QTest::newRow("Letter") << int(Paper::Letter) << int(SheetLayout::Table) << "KZ" << 6 << "612 x 792 pts";
        QTest::newRow("pocket, no image") << int(Paper::A4) << int(SheetLayout::Pocket) << "" << 2 << "(A4)";
    }

    void pdfHasThePagesAndRows() {
        QFETCH(int, paper);
        QFETCH(int, layout);
        QFETCH(QString, nameId);
        QFETCH(int, pages);
        QFETCH(QString, pageSize);
        const SheetFormat format{static_cast<Paper>(paper), static_cast<SheetLayout>(layout)};
        const ChannelSheet sheet = BuildChannelSheet(KnownSet(nameId.toStdString()), "2025-03-07");
        const std::vector<SheetPage> expected = PaginateSheet(static_cast<int>(sheet.rows.size()), GeometryFor(format));
        QCOMPARE(static_cast<int>(expected.size()), pages);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
        const Status written = WriteChannelListPdf(pdf, sheet, format);
        QVERIFY2(written.ok(), written.message().c_str());
        const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))), qPrintable(info));
        QVERIFY2(info.contains(pageSize), qPrintable(info));

        QStringList texts = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).split(QChar('\f'));
        if (!texts.isEmpty() && texts.last().trimmed().isEmpty()) texts.removeLast();
        QCOMPARE(texts.size(), pages);
        const QString imageLine = nameId.isEmpty() ? QStringLiteral("No image: Name ID")
                                                   : QStringLiteral("Image fingerprint ") + QString::fromStdString(sheet.fingerprint);
        for (const SheetPage& page : expected) {
            const QString text = Squeezed(texts[page.number - 1]);
            const QByteArray where = "page " + QByteArray::number(page.number);
            QVERIFY2(text.contains(QStringLiteral("Corvane PC Programmer - Channel List")), where);
            QVERIFY2(text.contains(QStringLiteral("Page %1 of %2").arg(page.number).arg(pages)), where);
            QVERIFY2(text.contains(QStringLiteral("Korea, Custom mode, 2025-03-07")), where);
            QVERIFY2(text.contains(imageLine), where);
            QCOMPARE(text.contains(QStringLiteral("DTMF ID:")), page.number == 1);
            QVERIFY2(!text.contains(QChar(0x2026)), where);  // no text cut to fit
            QStringList labels;
            for (const RowBlock& block : page.blocks) {
                for (int i = block.first; i < block.first + block.count; ++i)
                    labels << QString::fromStdString(sheet.rows[static_cast<std::size_t>(i)].cells[SheetChannel]);
            }
            labels.sort();
            QCOMPARE(ChannelLabels(text), labels);
        }
        const QString first = Squeezed(texts.front());
        QVERIFY(first.contains(QStringLiteral("Name ID: DTMF ID: P1-Side P2-Left P3-Center P4-Right Squelch")));
        QVERIFY(first.contains(QStringLiteral("90817 SQUELCH MENU_FUN DOWN UP 4")));
        QVERIFY(first.contains(QStringLiteral("No GROUP RX - FREQ TX - FREQ TONE SCAN BAND POWER SCR COM")));
        QVERIFY(first.contains(QStringLiteral("[CH-001] A-1 420.100000 420.100000 [01] C67.0 Yes Narrow High Off Off")));
        QVERIFY(first.contains(QStringLiteral("[CH-014] 421.400000 423.900000 [014] D074 Yes Narrow High Off Off")));
        QVERIFY(Squeezed(texts.back()).contains(QStringLiteral("[CH-255] 445.500000 445.500000 [33] C210.7 Yes Wide Low Off Off")));
    }
};

QTEST_MAIN(ChannelListPrintTest)
#include "channel_list_print_test.moc"
