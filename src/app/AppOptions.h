#pragma once
// Command-line options of the desktop program.
#include <QString>
#include <QStringList>

namespace corvane {

inline constexpr const char* kProgramVersion = "1.00.15";

struct AppOptions {
    QString folder;       // program folder; empty: the executable's folder
    QString serialDir;    // replaces /dev when mapping COMn to a device
    bool demo = false;
    bool showVersion = false;
    QString accessCode;   // typed into the access-code window (automation)
    QString help;         // set when --help was asked for
    QString error;        // why the command line was refused
};

AppOptions ParseAppOptions(const QStringList& arguments);

}  // namespace corvane
