#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

CommandLine stop(int status, const QString& message)
{
    CommandLine line;
    line.exitStatus = status;
    line.message = message;
    return line;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Breed superformula creatures; keep them in world files."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption seedOption(
        "seed", QCoreApplication::translate("main", "Seed the first population and all breeding with N."), "N");
    parser.addOption(seedOption);
    parser.addPositionalArgument("WORLD.json", QCoreApplication::translate("main", "A world file to open."),
                                 "[WORLD.json]");

    const QString program = QCoreApplication::applicationName();
    const QString tryHelp = QCoreApplication::translate("main", "\nTry '%1 --help'.").arg(program);
    if (!parser.parse(arguments)) {
        CommandLine line = stop(2, parser.errorText() + tryHelp);
        line.parsed = false;
        return line;
    }
    if (parser.isSet(help))
        return stop(0, parser.helpText());
    if (parser.isSet(version))
        return stop(0, program + ' ' + QCoreApplication::applicationVersion());

    CommandLine line;
    if (parser.isSet(seedOption)) {
        bool ok = false;
        line.seed = parser.value(seedOption).toUInt(&ok);
        if (!ok)
            return stop(2, QCoreApplication::translate("main", "--seed takes a whole number from 0 to 4294967295, "
                                                                "not '%1'.")
                               .arg(parser.value(seedOption)) +
                               tryHelp);
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return stop(2, QCoreApplication::translate("main", "Only one world file can be opened, not %1.")
                               .arg(files.size()) +
                           tryHelp);
    if (files.size() == 1) {
        WorldRecord world;
        QString error;
        if (!readWorldFile(files.front(), world, error))
            return stop(2, QCoreApplication::translate("main", "Could not open '%1': %2.").arg(files.front(), error));
        line.worldPath = files.front();
        line.world = std::move(world);
    }
    return line;
}
