#pragma once
// Checks a memory data file against a model without an instrument: every place where the panel
// would not write what the file says, or where the file would surprise its reader, with its line,
// its field, the text found and what the panel uses instead. The rules are the upload's own (which
// lines are records, how each field is read and held) and, for the record number, the editor's too.

#include <QList>
#include <QString>
#include <QStringList>

namespace orx {

struct FileProblem
{
    int line;        // in the file, the header being line 1
    QString field;   // header name of the field ("Record" .. "OCP status"), or "Field 9" and on
    QString found;   // the field's text in the file
    QString instead; // what the panel uses in its place; empty where it leaves the line out
    QString message; // what is wrong and what happens, one sentence
    bool operator==(const FileProblem&) const = default;
};

// The problems of a file's lines (as readMemoryFileLines gives them) for a model index (0..2), in
// file order.
QList<FileProblem> checkMemoryLines(const QStringList& lines, int modelIndex);

struct FileCheck
{
    bool readable = false;
    QString why; // when not readable
    QList<FileProblem> problems;
};

// Reads and checks a file; a file that goes on past the lines any reader takes is one problem more.
FileCheck checkMemoryFile(const QString& path, int modelIndex);

// "FILE:LINE: FIELD: message", as compilers print their findings.
QString problemLine(const QString& file, const FileProblem& problem);

} // namespace orx
