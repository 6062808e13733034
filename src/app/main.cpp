// corvane: the desktop program.
#include <QApplication>
#include <cstdio>

#include "app/AppOptions.h"
#include "app/Application.h"
#include "app/MessageBoxes.h"
#include "app/ProgramLink.h"
#include "app/Resources.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    corvane::InitResources();
    // The program ends when its windows say so, not when the access-code window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Corvane PC Programmer"));
    QApplication::setApplicationVersion(QString::fromLatin1(corvane::kProgramVersion));
    const corvane::AppOptions options = corvane::ParseAppOptions(QApplication::arguments());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(options.error));
        return 2;
    }
    if (options.showVersion) {
        std::printf("corvane %s\n", corvane::kProgramVersion);
        return 0;
    }
    corvane::MessageBoxes messages;
    corvane::Application program(options, messages,
                                 corvane::MakeProgramLinkFactory(options.serialDir.toStdString()));
    QObject::connect(&program, &corvane::Application::finished, &app, &QCoreApplication::quit);
    program.Start();
    return app.exec();
}
