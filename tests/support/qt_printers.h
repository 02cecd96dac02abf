#pragma once
// Lets GoogleTest print Qt texts and lists as text in its failure messages.

#include <QByteArray>
#include <QList>
#include <QString>
#include <gtest/gtest.h>
#include <ostream>

QT_BEGIN_NAMESPACE

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"' << bytes.toStdString() << '"';
}

template <typename T>
void PrintTo(const QList<T>& list, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i)
            *os << ", ";
        *os << ::testing::PrintToString(list[i]);
    }
    *os << '}';
}

QT_END_NAMESPACE
