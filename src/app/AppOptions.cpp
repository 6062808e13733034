#include "app/AppOptions.h"

#include <QCommandLineParser>

namespace corvane {

AppOptions ParseAppOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Corvane PC Programmer"));
    const QCommandLineOption folder(QStringLiteral("folder"), QStringLiteral("Program folder holding the working files."),
                                    QStringLiteral("DIR"));
    const QCommandLineOption serialDir(QStringLiteral("serial-dir"),
                                       QStringLiteral("Folder that replaces /dev for the serial devices."),
                                       QStringLiteral("DIR"));
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Running against the simulated radio."));
    const QCommandLineOption noDemo(QStringLiteral("no-demo"), QStringLiteral("Running against a real radio."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Print the version and exit."));
    QCommandLineOption accessCode(QStringLiteral("access-code"), QStringLiteral("Access code typed at start."),
                                  QStringLiteral("CODE"));
    accessCode.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({folder, serialDir, demo, noDemo, version, accessCode});
    parser.addHelpOption();

    AppOptions options;
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.error = QStringLiteral("Unexpected argument: ") + parser.positionalArguments().first();
        return options;
    }
    if (parser.isSet(QStringLiteral("help"))) options.help = parser.helpText();
    options.folder = parser.value(folder);
    options.serialDir = parser.value(serialDir);
    options.demo = parser.isSet(demo) && !parser.isSet(noDemo);
    options.showVersion = parser.isSet(version);
    options.accessCode = parser.value(accessCode);
    return options;
}

}  // namespace corvane
