#include "app/cli/CommandLineTool.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = application.arguments();
    arguments.removeFirst();
    CommandLineTool tool(out, err);
    return tool.run(arguments);
}
