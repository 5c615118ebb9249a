#pragma once

#include <QString>
#include <QStringList>

// A program run to its end by a benchmark, measured as the system measures it.
struct ProcessRun {
    bool succeeded = false;
    double seconds = 0;
    // Peak resident memory of the process.
    double megabytes = 0;
};

// Runs `program` with `arguments`, its output discarded; it succeeds when it exits with 0.
ProcessRun runProcess(const QString& program, const QStringList& arguments);

// The path of one of our programs, beside the application's executable.
QString programPath(const char* name);
