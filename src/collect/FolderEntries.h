#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// An entry of a folder as a search for results files needs it: what it is,
// following a link to what it links to.
struct FolderEntry
{
    QString name;
    bool isSymLink = false;
    bool exists = false; // false for a link to nothing
    bool isDir = false;
    bool isFile = false; // a regular file
};

struct FolderListing
{
    QList<FolderEntry> entries; // in name order, without "." and ".."
    QStringList namesNotUtf8;   // names that are not UTF-8, shown as Windows-1251, in order
};

// The entries of a folder, hidden ones too. Where the system says what an
// entry is as it lists the folder, only links and entries of an unknown kind
// are looked up one by one.
FolderListing listFolder(const QString &folder);
