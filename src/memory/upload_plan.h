#pragma once
// Which lines of a memory data file the upload writes into the instrument. The first line is the
// header and never read. An empty line (or one of only commas and blanks, as spreadsheets write
// empty rows) carries nothing and is passed over. A line with fewer than eight fields is not
// written: its missing fields would come from the line before it or from the empty-text rules
// (protections on); such lines are reported. Every other line is a record, its fields beyond the
// eighth dropped.

#include <QList>
#include <QStringList>

namespace orx {

inline constexpr int kRecordFields = 8;

struct UploadRecord
{
    int line;           // line number in the file, the header being line 1
    QStringList fields; // exactly eight, trimmed
    bool operator==(const UploadRecord&) const = default;
};

struct UploadPlan
{
    QList<UploadRecord> records; // in file order
    QList<int> shortLines;       // line numbers of lines with fewer than eight fields
};

UploadPlan planUpload(const QStringList& fileLines);

} // namespace orx
