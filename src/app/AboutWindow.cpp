#include "app/AboutWindow.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Resources.h"
#include "app/WindowPinning.h"

namespace corvane {

namespace {
constexpr int kLogoSize = 96;
}

AboutWindow::AboutWindow(const std::filesystem::path& programFolder, QWidget* parent) : QWidget(parent, Qt::Window) {
    InitResources();  // registering twice is harmless
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("About Corvane"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image1"));
    logo->setPixmap(QIcon(QStringLiteral(":/icons/logo.svg")).pixmap(kLogoSize, kLogoSize));

    auto* text = new QVBoxLayout;
    int number = 1;
    for (const char* line : {"Velta Series PC Programmer", "Version: 1.00.15", "Date: May 12, 2012",
                             "Frequency Range: 420 ~ 450 [MHz]"}) {
        auto* label = new QLabel(QString::fromLatin1(line), this);
        label->setObjectName(QStringLiteral("Label%1").arg(number++));
        text->addWidget(label);
    }
    auto* folder = new QLabel(QStringLiteral("Files: %1").arg(QString::fromStdString(programFolder.string())), this);
    folder->setObjectName(QStringLiteral("LabelFolder"));
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->addWidget(folder);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);

    auto* top = new QHBoxLayout;
    top->addWidget(logo);
    top->addSpacing(12);
    top->addLayout(text);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setFixedSize(sizeHint());
    AllwaysOntop();
}

void AboutWindow::AllwaysOntop() { PinAboveOthers(*this, true); }

void AboutWindow::NoAllwaysOnTop() { PinAboveOthers(*this, false); }

}  // namespace corvane
