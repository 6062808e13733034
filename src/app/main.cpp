// corvane: the desktop program.
#include <QApplication>
#include <cstdio>

#include "app/AppOptions.h"
#include "app/Application.h"
#include "app/MessageBoxes.h"
#include "app/ProgramLink.h"
#include "app/Resources.h"

int main(int argc, char* argv[]) {
    // --version and a refused command line need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const corvane::AppOptions options = corvane::ParseAppOptions(arguments);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(options.error));
        return 2;
    }
    if (!options.help.isEmpty()) {
        std::printf("%s", qPrintable(options.help));
        return 0;
    }
    if (options.showVersion) {
        std::printf("corvane %s\n", CORVANE_VERSION);
        return 0;
    }

    QApplication app(argc, argv);
    // The short name makes the per-user data folder ~/.local/share/corvane, shared with corvane-cli.
    QApplication::setApplicationName(QStringLiteral("corvane"));
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
    corvane::InitResources();
    // The program ends when its windows say so, not when the access-code window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    corvane::MessageBoxes messages;
    corvane::Application program(options, messages,
                                 corvane::MakeProgramLinkFactory(options.serialDir.toStdString()));
    QObject::connect(&program, &corvane::Application::finished, &app, &QCoreApplication::quit);
    program.Start();
    return app.exec();
}
