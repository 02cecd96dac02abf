#pragma once
// The lines of a memory data file held in memory, as the program's readers take them.

#include "memory/memory_file.h"

#include <QBuffer>

inline QStringList memoryLinesOf(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return orx::readMemoryFileLines(buffer);
}
