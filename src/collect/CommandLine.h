#pragma once

#include <QIODevice>
#include <QStringList>

// Exit statuses of the collector.
enum CollectStatus
{
    AllAccepted = 0,
    SomeLeftOut = 1, // also when nothing went into the table
    BadUsage = 2,    // also when a file cannot be read or written
};

struct Streams
{
    QIODevice &out; // the table, unless written to a file
    QIODevice &err;
    bool errIsTerminal;
};

// The long names of every option the program takes, "--help" first.
QStringList optionNames();

// The whole program: arguments (the program name first) to exit status.
int runCollector(const QStringList &arguments, Streams streams);
