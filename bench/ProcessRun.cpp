#include "ProcessRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <vector>

extern char** environ;

// Runs a program to its end, measuring it as the system does.
ProcessRun runProcess(const QString& program, const QStringList& arguments) {
    std::vector<QByteArray> storage{QFile::encodeName(program)};
    for (const QString& argument : arguments) {
        storage.push_back(argument.toLocal8Bit());
    }
    std::vector<char*> argv;
    for (QByteArray& argument : storage) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ProcessRun result;
    QElapsedTimer timer;
    timer.start();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(child, &status, 0, &usage) == child) {
            result.seconds = double(timer.nsecsElapsed()) / 1e9;
            result.megabytes = double(usage.ru_maxrss) / 1024.0;
            result.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return result;
}

QString programPath(const char* name) {
    return QFileInfo(QStringLiteral(ORVELLA_EXECUTABLE)).dir().filePath(QString::fromLatin1(name));
}
