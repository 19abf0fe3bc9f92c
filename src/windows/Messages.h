#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Qt's own Russian texts for its standard buttons and dialogs, built into the
// program; for the rest of the process.
void useQtRussianTexts();

// The title of every message box: the program's name as the subject knows it.
QString messageTitle();

// A modal message box with the text alone and one OK button. Each message
// and question is told to the witness first, if one is set.
void showMessage(const QString &text);

// A modal message box with the text and one button per answer, in order;
// returns the index of the answer given. The safe answer is the default
// button and what Escape and the box's close button give.
int askMessage(const QString &text, const QStringList &answers, int safe);

// A folder chosen by the subject in the system's folder chooser; empty when
// the subject cancels it.
QString chooseFolder(const QString &caption);

// Replace the message box, the question and the folder chooser for the rest
// of the process (tests record the texts and give the answers); an empty
// function restores the real one.
void setMessageSink(std::function<void(const QString &)> sink);
void setQuestionSink(std::function<int(const QString &text, const QStringList &answers, int safe)> sink);
void setFolderSink(std::function<QString(const QString &caption)> sink);

// Tells `witness` the text of every message and question shown from now on
// (the run notes them in its item log); an empty function stops it.
void setMessageWitness(std::function<void(const QString &text)> witness);
