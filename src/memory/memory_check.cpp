#include "memory/memory_check.h"

#include "base/model_limits.h"
#include "base/numbers.h"
#include "memory/held_record.h"
#include "memory/memory_file.h"
#include "memory/memory_rules.h"
#include "memory/upload_plan.h"

#include <QFile>
#include <map>

namespace orx {
namespace {

enum Field
{
    RecordField,
    VoltageField,
    CurrentField,
    DelayField,
    OvpField,
    OcpField,
    OvpStatusField,
    OcpStatusField,
};

QString quoted(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("an empty field") : u'\'' + text + u'\'';
}

class Checker
{
public:
    explicit Checker(int modelIndex)
        : m_model(kModelNames[static_cast<size_t>(modelIndex)]), m_limits(limitsOfModel(modelIndex))
    {}

    void header(const QStringList& lines);
    void shortLine(int line, const QString& text);
    void record(const UploadRecord& record, const QString& text);
    void noRecords(int line);

    QList<FileProblem> problems;

private:
    void add(int line, const QString& field, const QString& found, const QString& instead,
             const QString& message)
    {
        problems.append({line, field, found, instead, message});
    }
    void add(int line, Field field, const QString& found, const QString& instead, const QString& message)
    {
        add(line, recordFieldNames()[field], found, instead, message);
    }
    void recordNumber(const UploadRecord& record, const HeldRecord& held);
    void level(int line, Field field, const QString& found, double held, const HeldRecord& r);
    void status(int line, Field field, const QString& found, bool on);

    QString m_model;
    ModelLimits m_limits;
    std::map<int, int> m_lineOfMemory;
};

void Checker::header(const QStringList& lines)
{
    const QString first = splitRecordFields(lines.value(0)).value(0);
    if (parseNumber(first))
        add(1, RecordField, first, QString(),
            quoted(first) +
                QStringLiteral(" starts a record, but the first line is always taken as the header: "
                               "this record is never read"));
}

void Checker::shortLine(int line, const QString& text)
{
    const qsizetype count = splitRecordFields(text).size();
    add(line, recordFieldNames()[count], QString(), QString(),
        QStringLiteral("missing: the line has %1 of %2 fields and the upload leaves it out")
            .arg(count)
            .arg(kRecordFields));
}

void Checker::noRecords(int line)
{
    add(line, RecordField, QString(), QString(),
        QStringLiteral("the file holds no record line: nothing is written"));
}

void Checker::record(const UploadRecord& record, const QString& text)
{
    const HeldRecord held = heldRecord(record.fields, m_limits);
    const int line = record.line;
    recordNumber(record, held);
    const QStringList& f = record.fields;
    level(line, VoltageField, f[VoltageField], held.voltage, held);
    level(line, CurrentField, f[CurrentField], held.current, held);
    level(line, DelayField, f[DelayField], held.delay, held);
    level(line, OvpField, f[OvpField], held.ovpLevel, held);
    level(line, OcpField, f[OcpField], held.ocpLevel, held);
    status(line, OvpStatusField, f[OvpStatusField], held.ovpOn);
    status(line, OcpStatusField, f[OcpStatusField], held.ocpOn);
    if (held.ovpOn && held.ovpLevel < held.voltage)
        add(line, OvpField, f[OvpField], format3(held.ovpLevel),
            QStringLiteral("%1 is below the voltage set-point %2 with OVP on: the output trips as soon as it "
                           "reaches its set-point")
                .arg(format3(held.ovpLevel), format3(held.voltage)));
    const QStringList all = splitRecordFields(text);
    const qsizetype count = all.size();
    if (count > kRecordFields)
        add(line, QStringLiteral("Field %1").arg(kRecordFields + 1), all[kRecordFields], QString(),
            QStringLiteral("the line has %1 fields: those after the eighth are ignored (a comma inside a "
                           "number splits it)")
                .arg(count));
}

void Checker::recordNumber(const UploadRecord& record, const HeldRecord& held)
{
    const QString& found = record.fields[RecordField];
    const QString memory = formatTwoDigit(held.memory);
    const QString upload =
        QStringLiteral(": the upload writes memory %1, the editor leaves the line out").arg(memory);
    const std::optional<double> number = parseNumber(found);
    if (!number)
        add(record.line, RecordField, found, memory,
            quoted(found) + QStringLiteral(" is not a number") + upload);
    else if (wholeNumber(*number) != held.memory)
        add(record.line, RecordField, found, memory, found + QStringLiteral(" is outside 0 to 99") + upload);
    const auto [earlier, isNew] = m_lineOfMemory.try_emplace(held.memory, record.line);
    if (!isNew) {
        add(record.line, RecordField, found, memory,
            QStringLiteral("memory %1 is also on line %2: this later line replaces it")
                .arg(memory)
                .arg(earlier->second));
        earlier->second = record.line;
    }
}

void Checker::level(int line, Field field, const QString& found, double held, const HeldRecord& r)
{
    const QString instead = field == DelayField ? formatWhole(held) : format3(held);
    const double value = leadingNumber(found);
    if (!parseNumber(found)) {
        add(line, field, found, instead,
            quoted(found) + QStringLiteral(" is not a number: the panel uses ") + instead);
        return;
    }
    // A limit just below the decimal the panel writes (7.7f is 7.6999998) holds that decimal to itself.
    if (held == value || instead == (field == DelayField ? formatWhole(value) : format3(value)))
        return;
    static const char* const what[] = {"", "voltage", "current", "delay", "OVP level", "OCP level"};
    const QString name = QString::fromLatin1(what[field]);
    QString limit;
    if (held > value)
        limit = QStringLiteral("below the lowest %1").arg(name);
    else if (field == CurrentField && r.voltage >= double(m_limits.voltMaxLow))
        limit = QStringLiteral("above the highest current of the %1 at %2 V (high range)")
                    .arg(m_model, format3(r.voltage));
    else
        limit = QStringLiteral("above the highest %1 of the %2").arg(name, m_model);
    add(line, field, found, instead,
        found + QStringLiteral(" is ") + limit + QStringLiteral(": the panel uses ") + instead);
}

void Checker::status(int line, Field field, const QString& found, bool on)
{
    if (found.compare(statusText(true), Qt::CaseInsensitive) == 0 ||
        found.compare(statusText(false), Qt::CaseInsensitive) == 0)
        return;
    add(line, field, found, statusText(on),
        quoted(found) + QStringLiteral(" is neither True nor False: the panel takes it as True (on)"));
}

} // namespace

QList<FileProblem> checkMemoryLines(const QStringList& lines, int modelIndex)
{
    Checker checker(heldModelIndex(modelIndex));
    checker.header(lines);
    const UploadPlan plan = planUpload(lines);
    qsizetype shortIndex = 0;
    for (const UploadRecord& record : plan.records) {
        while (shortIndex < plan.shortLines.size() && plan.shortLines[shortIndex] < record.line) {
            const int line = plan.shortLines[shortIndex++];
            checker.shortLine(line, lines[line - 1]);
        }
        checker.record(record, lines[record.line - 1]);
    }
    for (; shortIndex < plan.shortLines.size(); ++shortIndex)
        checker.shortLine(plan.shortLines[shortIndex], lines[plan.shortLines[shortIndex] - 1]);
    if (plan.records.isEmpty() && plan.shortLines.isEmpty())
        checker.noRecords(static_cast<int>(qMax<qsizetype>(1, lines.size())));
    return checker.problems;
}

FileCheck checkMemoryFile(const QString& path, int modelIndex)
{
    FileCheck check;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        check.why = file.errorString();
        return check;
    }
    bool failed = false;
    // One line more than any reader takes, to tell whether the file goes on past them.
    QStringList lines = readMemoryFileLines(file, kMaxMemoryFileLines + 1, &failed);
    if (failed) {
        check.why = file.errorString();
        return check;
    }
    check.readable = true;
    const bool tooLong = lines.size() > kMaxMemoryFileLines;
    if (tooLong)
        lines.removeLast();
    check.problems = checkMemoryLines(lines, modelIndex);
    if (tooLong)
        check.problems.append({kMaxMemoryFileLines + 1, recordFieldNames()[RecordField], QString(), QString(),
                               QStringLiteral("the file goes on past line %1: nothing from here on is read")
                                   .arg(kMaxMemoryFileLines)});
    return check;
}

QString problemLine(const QString& file, const FileProblem& problem)
{
    return QStringLiteral("%1:%2: %3: %4").arg(file).arg(problem.line).arg(problem.field, problem.message);
}

} // namespace orx
