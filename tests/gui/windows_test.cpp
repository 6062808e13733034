// Windows and their messages: who owns a message box and where it stacks,
// window captions and tool tips, the channel window that stays put and where
// the group window opens.
#include <QComboBox>
#include <QDialog>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>
#include <functional>

#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/WindowPlacement.h"
#include "app/AboutWindow.h"
#include "editor/ChannelWindow.h"
#include "forms/GroupWindow.h"
#include "forms/SettingsWindow.h"
#include "frame_fixture.h"

using namespace corvane;
using namespace corvane::guitest;

namespace {

constexpr QChar kZeroWidthSpace(0x200B);

// The lines a word-wrapping label breaks its text into at its width.
QStringList WrappedLines(const QLabel& label) {
    QTextLayout layout(label.text(), label.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label.contentsRect().width());
        lines << label.text().mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

}  // namespace

class WindowsTest : public FrameFixture {
    Q_OBJECT

private:
    GroupWindow& OpenGroupWindow() {
        Action("group").trigger();
        GroupWindow* group = frame_->ShownGroupWindow();
        if (group == nullptr || !group->isVisible()) qFatal("no group window");
        return *group;
    }
    QMdiSubWindow& ChannelSubWindow() { return *frame_->findChild<QMdiSubWindow*>(QStringLiteral("PCSettingWindow")); }

    // What a modal box or dialog opened by open() looked like once up; it is then closed.
    struct Seen {
        QString title;
        QPointer<QWindow> over;  // the window it stacks over
        bool pinned = false;
        bool active = false;
    };
    static Seen WhileOpen(const std::function<void()>& open) {
        Seen seen;
        QTimer::singleShot(0, [&seen] {
            QWidget* modal = nullptr;
            (void)QTest::qWaitFor([&modal] {
                modal = QApplication::activeModalWidget();
                return modal != nullptr && modal->isVisible();
            });
            if (modal == nullptr) return;
            (void)QTest::qWaitFor([modal] { return QApplication::activeWindow() == modal; }, 2000);
            seen.title = modal->windowTitle();
            seen.over = modal->windowHandle()->transientParent();
            seen.pinned = modal->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
            seen.active = QApplication::activeWindow() == modal;
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        });
        open();
        return seen;
    }

private slots:
    void messagesBelongToTheWindowThatRaisedThem() {
        OpenFrame(kEditionPmrLpd, kModeCustom);
        GroupWindow& group = OpenGroupWindow();
        QTest::keyClicks(group.findChild<QLineEdit*>(QStringLiteral("Text1")), QStringLiteral("0"));
        QCOMPARE(messages_.Last(), QStringLiteral("[Error] Channel Legnth !!!"));
        QCOMPARE(messages_.owners.back().data(), static_cast<QWidget*>(&group));

        Action("setup").trigger();
        SettingsWindow* setup = frame_->ShownSettingsWindow();
        QVERIFY(setup != nullptr && setup->isVisible());
        for (const char* list : {"Combo13", "Combo14", "Combo15", "Combo16"})
            setup->findChild<QComboBox*>(QString::fromLatin1(list))->setCurrentIndex(0);
        QTest::mouseClick(setup->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        QCOMPARE(messages_.Last(), QStringLiteral("Key Define Error !!!"));
        QCOMPARE(messages_.owners.back().data(), static_cast<QWidget*>(setup));  // not the hidden frame
    }

    // A box or dialog opens above every window of the program, whoever opened
    // it: a transfer's message while the user is in the pinned group window
    // stacks over that window, pinned itself, and takes the focus.
    void boxesAndDialogsOpenAboveEveryWindow() {
        OpenFrame(kEditionPmrLpd, kModeCustom);
        MessageBoxes boxes;
        frame_->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(frame_.get()));
        const Seen plain = WhileOpen([&] { boxes.Show(&frame_->Editor(), QStringLiteral("UPLOAD COMPLETE")); });
        QCOMPARE(plain.title, QStringLiteral("Corvane PC Programmer"));
        QCOMPARE(plain.over.data(), frame_->windowHandle());
        QVERIFY(!plain.pinned);
        QVERIFY(plain.active);

        GroupWindow& group = OpenGroupWindow();
        QVERIFY(group.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        group.activateWindow();  // the user clicked into it during the transfer
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&group));
        const Seen done = WhileOpen(
            [&] { boxes.Show(&frame_->Editor(), QStringLiteral("DOWNLOAD COMPLETE"), MessageIcon::Exclamation); });
        QCOMPARE(done.over.data(), group.windowHandle());
        QVERIFY(done.pinned);
        QVERIFY(done.active);
        const Seen dialog = WhileOpen([&] { Action("openImage").trigger(); });
        QCOMPARE(dialog.title, QStringLiteral("Open Image"));
        QCOMPARE(dialog.over.data(), group.windowHandle());
        QVERIFY(dialog.pinned);
        QVERIFY(dialog.active);

        // Back in the frame: still over the pinned window, which a click could otherwise raise over it.
        frame_->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(frame_.get()));
        const Seen csv = WhileOpen([&] { Action("importCsv").trigger(); });
        QCOMPARE(csv.over.data(), group.windowHandle());
        QVERIFY(csv.pinned);
        QVERIFY(csv.active);
        QVERIFY(!frame_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));  // nothing else changed
    }

    void boxTitlesStayWholeAndPathsWrapBetweenNames() {
        OpenFrame(kEditionPmrLpd);
        const std::unique_ptr<QMessageBox> shortBox = MakeMessageBox(frame_.get(), QStringLiteral("OK"), MessageIcon::None);
        shortBox->show();
        QFont bold = shortBox->font();
        bold.setBold(true);
        QVERIFY(shortBox->width() > QFontMetrics(bold).horizontalAdvance(shortBox->windowTitle()) + 100);
        shortBox->hide();

        QString path = QStringLiteral("/home/operator");
        for (int i = 0; i < 12; ++i) path += QStringLiteral("/folder_number_%1").arg(i);
        path += QStringLiteral("/Data/Rx_Freq.txt");
        const std::unique_ptr<QMessageBox> box =
            MakeMessageBox(frame_.get(), QStringLiteral("Could not write ") + path, MessageIcon::Exclamation);
        box->show();
        const QLabel* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label != nullptr && label->wordWrap());
        QString shown = label->text();
        QCOMPARE(shown.remove(kZeroWidthSpace), QStringLiteral("Could not write ") + path);  // nothing else changed
        const QStringList lines = WrappedLines(*label);
        QVERIFY(lines.size() > 1);
        for (int i = 0; i + 1 < lines.size(); ++i) {
            const QString& line = lines[i];
            QVERIFY2(line.endsWith(QLatin1Char(' ')) || line.endsWith(QStringLiteral("/") + kZeroWidthSpace),
                     qPrintable(line));
        }
        box->hide();
    }

    void leavingCustomModeClosesTheGroupWindow() {
        OpenFrame(kEditionPmrLpd, kModeCustom);
        OpenGroupWindow();
        Action("custom").trigger();
        QVERIFY(frame_->ShownGroupWindow() != nullptr);
        Action("default").trigger();
        QTRY_VERIFY(frame_->ShownGroupWindow() == nullptr);
    }

    void theGroupWindowOpensOverTheFrameAndWhollyOnScreen() {
        OpenFrame(kEditionPmrLpd, kModeCustom);
        const QRect screen = frame_->screen()->availableGeometry();
        // No room beside the frame on this screen: it opens centred over it.
        QRect frameRect = frame_->frameGeometry();
        frameRect.moveCenter(screen.center());
        frame_->move(frameRect.topLeft());
        QTRY_COMPARE(frame_->frameGeometry().topLeft(), frameRect.topLeft());
        const QRect centred = OpenGroupWindow().frameGeometry();
        QVERIFY((centred.center() - frame_->frameGeometry().center()).manhattanLength() <= 2);
        frame_->ShownGroupWindow()->close();
        QTRY_VERIFY(frame_->ShownGroupWindow() == nullptr);

        // The frame dragged to the bottom-right corner, mostly off the screen:
        // the group window still opens wholly on it, and again where it was left.
        frame_->move(screen.bottomRight() - QPoint(80, 60));
        QTRY_VERIFY(frame_->frameGeometry().contains(screen.bottomRight() - QPoint(80, 60)));
        GroupWindow& group = OpenGroupWindow();
        QVERIFY2(screen.contains(group.frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                 .arg(group.frameGeometry().x()).arg(group.frameGeometry().y())
                 .arg(group.frameGeometry().width()).arg(group.frameGeometry().height())));
        QCOMPARE(group.frameGeometry().bottomRight(), screen.bottomRight());
        group.move(screen.topLeft() + QPoint(10, 10));
        const QRect left = group.frameGeometry();
        QCOMPARE(&OpenGroupWindow(), &group);  // the open window only comes to the front
        QCOMPARE(group.frameGeometry(), left);
    }

    void aWindowOpensBesideItsOwnerWhereTheScreenHasRoom() {
        const QRect screen(0, 0, 1920, 1080);
        const QRect owner(0, 0, 1000, 700);
        const QSize window(780, 360);
        QCOMPARE(PlaceFrameNear(owner, window, screen), QRect(QPoint(1000, 0), window));  // right of it
        QCOMPARE(PlaceFrameNear(owner.translated(200, 0), window, screen), QRect(QPoint(200, 700), window));  // below
        // No room beside: centred over it, moved onto the screen.
        QCOMPARE(PlaceFrameNear(owner.translated(300, 200), window, screen), QRect(QPoint(410, 370), window));
        QCOMPARE(PlaceFrameNear(owner.translated(1500, 900), window, screen), QRect(QPoint(1140, 720), window));
        // Taller than the screen: its title bar stays on it.
        QCOMPARE(PlaceFrameNear(owner.translated(300, 200), QSize(780, 1200), screen), QRect(410, 0, 780, 1200));
    }

    void captionsAndToolTipsAreExactlyTheirOwn() {
        OpenFrame(kEditionPmrLpd, kModeCustom);
        QCOMPARE(frame_->windowTitle(), QStringLiteral("Corvane PC Programmer - Kestrel : PMR + LPD"));
        frame_->ShowHelp();
        QCOMPARE(frame_->HelpWindow()->windowTitle(), QStringLiteral("About Corvane"));
        QCOMPARE(frame_->Editor().windowTitle(), QStringLiteral("PC Setting"));
        // No display name is set that the platform would append to every title.
        QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());

        // Every widget of every window asked for its tip: only the three
        // toolbar buttons that have one show one (not the status label, not a
        // button's caption, not a Port menu item).
        GroupWindow& group = OpenGroupWindow();
        const QString untouched = QStringLiteral("(no tip)");
        QMap<QString, QString> shown;
        const auto askEveryWidget = [&](QWidget* window) {
            QList<QWidget*> widgets = window->findChildren<QWidget*>();
            widgets << window;
            for (QWidget* widget : widgets) {
                if (!widget->isVisible()) continue;
                QToolTip::showText(QPoint(0, 0), untouched);
                const QPoint centre = widget->rect().center();
                QHelpEvent help(QEvent::ToolTip, centre, widget->mapToGlobal(centre));
                QApplication::sendEvent(widget, &help);
                if (QToolTip::text() == untouched) continue;
                const auto* button = qobject_cast<QToolButton*>(widget);
                const QString name = button != nullptr && button->defaultAction() != nullptr
                                         ? button->defaultAction()->objectName()
                                         : widget->objectName() + u'/' + QString::fromLatin1(widget->metaObject()->className());
                shown.insert(name, QToolTip::text());
            }
        };
        for (QWidget* window : {static_cast<QWidget*>(frame_.get()), static_cast<QWidget*>(&group),
                                static_cast<QWidget*>(frame_->HelpWindow())}) {
            askEveryWidget(window);
        }
        Action("setup").trigger();
        QVERIFY(frame_->ShownSettingsWindow() != nullptr);
        askEveryWidget(frame_->ShownSettingsWindow());
        QToolTip::hideText();
        const QMap<QString, QString> tips{
            {"program", "Write to Radio"}, {"upload", "Read from Radio"}, {"auto", "Auto Detect"}};
        QCOMPARE(shown, tips);
        for (const QMenu* menu : frame_->findChildren<QMenu*>()) QVERIFY(!menu->toolTipsVisible());
    }

    void theChannelWindowCannotBeMovedOrMinimised() {
        OpenFrame(kEditionPmrLpd);
        QMdiSubWindow& child = ChannelSubWindow();
        QVERIFY(child.systemMenu() == nullptr);
        const QRect before = child.geometry();
        const QPoint title(child.width() / 2, child.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &child) / 2);
        QTest::mousePress(&child, Qt::LeftButton, {}, title);
        QTest::mouseMove(&child, title + QPoint(120, 90));
        QTest::mouseRelease(&child, Qt::LeftButton, {}, title + QPoint(120, 90));
        QCOMPARE(child.geometry(), before);
        QTest::mouseDClick(&child, Qt::LeftButton, {}, title);
        QVERIFY(!child.isShaded() && !child.isMinimized() && !child.isMaximized());
        const QPoint corner(child.width() - 2, child.height() - 2);  // the resize grip, were there one
        QTest::mousePress(&child, Qt::LeftButton, {}, corner);
        QTest::mouseMove(&child, corner - QPoint(200, 150));
        QTest::mouseRelease(&child, Qt::LeftButton, {}, corner - QPoint(200, 150));
        QCOMPARE(child.geometry(), before);
        child.showMinimized();
        QTRY_VERIFY(!child.isMinimized());
        QTRY_COMPARE(child.geometry(), before);
        QVERIFY(frame_->Editor().StatusLabel().isVisible());
    }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
