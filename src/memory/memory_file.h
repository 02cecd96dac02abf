#pragma once
// The memory data file: one header line, then one line per memory record, fields joined by commas.
// Pure reading and writing rules shared by the download, the upload and the editor; nothing here
// knows a window or the instrument.
//
// Reading is bounded: at most a fixed number of lines is read, and each line keeps at most
// kMaxMemoryFileLineLength characters (the rest of an over-long line is read past and dropped), so a
// hostile file never makes memory grow without bound.

#include "base/whole_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <optional>

class QIODevice;

namespace orx {

inline constexpr int kMemoryCount = 100;              // memories 00..99
inline constexpr int kMaxMemoryFileLines = 1002;      // header + 1001 record lines are ever held
inline constexpr int kMaxMemoryFileLineLength = 4096; // characters kept of one line

// The filter of the file dialogs that choose a memory data file: one entry showing every file.
inline const QString kMemoryFileFilter = QStringLiteral("All File(*,*)|*.*");

// Reads the lines of a memory data file from a device. A line ends at CR, CR LF or a lone LF, none of
// them part of the line; a last line without an end counts as a line. Bytes are Latin-1. At most
// `maxLines` lines are read (the rest of the device is not read at all). When `readFailed` is given it
// tells whether the device reported a read error; the lines read before it are returned.
QStringList readMemoryFileLines(QIODevice& device, int maxLines = kMaxMemoryFileLines,
                                bool* readFailed = nullptr);

// Opens and reads a file; nothing (and `why` set to a readable reason) when it cannot be opened/read.
std::optional<QStringList> readMemoryFile(const QString& path, QString* why = nullptr);

// Splits a record line at every comma; each field is trimmed of leading/trailing spaces (spaces only).
QStringList splitRecordFields(QStringView line);

// A line of only commas and blanks (spaces or tabs; what spreadsheets write for an empty row), or an
// empty line.
bool isEmptyRecordLine(QStringView line);

// The record number of a line as the editor reads it: one number whose whole value (halves to even)
// fits 16 bits; nothing for any other text, and the editor leaves such a line out.
std::optional<qint16> editorRecordNumber(const QString& text);

// Status field rule: the text equal to "FALSE" without regard to case means off; anything else on.
bool statusIsOn(QStringView text);
QString statusText(bool on); // "True" / "False"

// The seven texts after the record number, as a record line holds them.
struct MemoryRecordTexts
{
    QString voltage, current, delay, ovpLevel, ocpLevel, ovpStatus, ocpStatus;
    bool operator==(const MemoryRecordTexts&) const = default;
};

// "05, 12.500, 1.000, 10, 13.000, 1.100, True, False": number formatted "00", fields joined by ", ".
QString recordLine(int number, const MemoryRecordTexts& texts);

// The whole file: header line, then the 100 record lines, every line ending in CR LF, Latin-1 bytes.
QByteArray memoryFileBytes(const QString& header, const std::array<MemoryRecordTexts, kMemoryCount>& records);

} // namespace orx
