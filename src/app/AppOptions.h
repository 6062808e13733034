#pragma once
// Command-line options of the desktop program.
#include <QString>
#include <QStringList>

namespace corvane {

struct AppOptions {
    QString folder;       // program folder; empty: beside the executable, or the per-user folder
    QString serialDir;    // replaces /dev when mapping COMn to a device
    bool demo = false;
    bool showVersion = false;
    QString accessCode;   // typed into the access-code window (automation)
    QString help;         // set when --help was asked for
    QString error;        // why the command line was refused
};

AppOptions ParseAppOptions(const QStringList& arguments);

}  // namespace corvane
